#include "WebEdition.h"

#include "WebHtml.h"
#include "WebPages.h"

#include "matchdays/CalendarRules.h"
#include "projections/Projections.h"
#include "season/ResultsStore.h"
#include "standings/PossibleRanking.h"
#include "standings/TableExport.h"
#include "teamviews/CalendarExport.h"
#include "teamviews/EvolutionChart.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace kestrava {

namespace fs = std::filesystem;

QString EditionData::clubPage(const QString &team) const
{
    const int t = season.TeamIndexOf(team);
    return t < TeamCount ? QStringLiteral("club-") + stems[t] + QStringLiteral(".html") : QString();
}

QString EditionData::clubLink(const QString &team, bool crest) const
{
    const int t = season.TeamIndexOf(team);
    if (t >= TeamCount)
        return HtmlText(team);
    // Every page names the clubs many times over: each link is made once per edition.
    if (links[t].isEmpty()) {
        links[t] = QStringLiteral("<a href=\"") + clubPage(team) + QStringLiteral("\">") + HtmlText(team)
            + QStringLiteral("</a>");
        crestLinks[t] = CrestSvg(team) + links[t];
    }
    return crest ? crestLinks[t] : links[t];
}

std::array<QString, TeamCount> ClubFileStems(const SeasonData &season)
{
    std::array<QString, TeamCount> stems;
    for (int t = 0; t < TeamCount; ++t) {
        QString stem;
        for (const QChar c : season.teams[t].normalized(QString::NormalizationForm_KD).toLower()) {
            if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
                stem += c;
            else if (c.category() != QChar::Mark_NonSpacing && !stem.isEmpty() && !stem.endsWith(u'-'))
                stem += u'-';
        }
        while (stem.endsWith(u'-'))
            stem.chop(1);
        const QString letter = QString(QChar(u'a' + t));
        if (stem.isEmpty())
            stem = letter;
        // Two names folding to one stem (or a name folding to another's letter) keep apart by letter.
        for (int o = 0; o < t; ++o) {
            if (stems[o] == stem) {
                stem += u'-' + letter;
                break;
            }
        }
        stems[t] = stem;
    }
    return stems;
}

QList<WebFile> BuildWebEdition(SeasonData season, const IniSnapshot &store, const WebEditionOptions &options)
{
    ResultsStore::loadBonusMalus(store, season);
    EditionData d(season, store);
    d.now = options.now;
    d.edition = options.now.toString(Qt::ISODateWithMs);
    d.stems = ClubFileStems(season);
    d.currentMatchday = CurrentMatchday(season, options.now, MatchdayCount);

    // The table exactly as `kestrava-cli table` computes it.
    StandingsContext ctx;
    ctx.currentMatchday = d.currentMatchday;
    int last = 0;
    d.run = ComputeStandings(season, store, last, false, ctx, d.table);
    const QByteArray json = TableAsJson(d.table, season);
    ShowPossibleRanking(d.table);

    const QDateTime limit = ChartLimit(options.now, false);
    std::array<bool, MatchdayCount + 1> charted{};
    for (int j = 1; j <= MatchdayCount; ++j)
        charted[j] = ChartCounts(season, j, limit);
    RunStandingsAfterEachMatchday(season, store, charted, [&d, &season](const StandingsRun &run) {
        // As the chart reads its kept order: by name, the last place holding it.
        for (int k = 0; k < TeamCount; ++k) {
            for (int t = 0; t < TeamCount; ++t) {
                if (season.teams[t] == run.atRank(k).name)
                    d.chartPositions[t][run.lastMatchday] = k + 1;
            }
        }
    });

    static const QLocale french(QLocale::French, QLocale::France);
    d.footer = QStringLiteral("Édition du ") + french.toString(options.now, QStringLiteral("dd/MM/yyyy 'à' HH:mm"));
    if (!d.table.lastUpdate().isEmpty())
        d.footer += QStringLiteral(" · résultats mis à jour : ") + d.table.lastUpdate();

    QList<WebFile> files;
    const auto add = [&files](const QString &name, const QString &page) { files.append({name, page.toUtf8()}); };
    files.append({StylesheetName, EditionStylesheet()});
    add(QStringLiteral("index.html"), IndexPage(d));
    files.append({QStringLiteral("classement.json"), json});
    add(QStringLiteral("journees.html"), MatchdaysPage(d));
    for (int j = 1; j <= MatchdayCount; ++j)
        add(MatchdayFileName(j), MatchdayPage(d, j));
    add(QStringLiteral("clubs.html"), ClubsPage(d));
    const SeasonCalendars calendars = SeasonAsICalendars(season, store, options.now);
    files.append({QStringLiteral("calendrier.ics"), calendars.season});
    add(QStringLiteral("widget.html"), WidgetPage(d, QString()));
    for (int t = 0; t < TeamCount; ++t) {
        const QString &name = season.teams[t];
        add(QStringLiteral("club-") + d.stems[t] + QStringLiteral(".html"), ClubPage(d, t));
        files.append({QStringLiteral("club-") + d.stems[t] + QStringLiteral(".ics"),
                      calendars.clubs[t]});
        add(QStringLiteral("widget-") + d.stems[t] + QStringLiteral(".html"), WidgetPage(d, name));
    }
    add(QStringLiteral("classements.html"), CategoriesPage(d));
    add(QStringLiteral("records.html"), RecordsPage(d));
    if (options.projections) {
        std::atomic<bool> late{false};
        QElapsedTimer clock;
        clock.start();
        ProjectionControl control;
        if (options.projectionBudgetMs > 0) {
            control.cancel = &late;
            control.onProgress = [&](double) {
                if (clock.elapsed() > options.projectionBudgetMs)
                    late = true;
            };
        }
        const ProjectionReport report = ComputeProjections(season, store, 0, options.simulation, control);
        add(QStringLiteral("projections.html"), ProjectionsPage(d, &report, options.simulation.seed));
    } else {
        add(QStringLiteral("projections.html"), ProjectionsPage(d, nullptr, options.simulation.seed));
    }
    return files;
}

namespace {

QString message(const QString &what, const std::error_code &ec)
{
    return what + QStringLiteral(" (") + QString::fromLocal8Bit(ec.message().c_str()) + u')';
}

// 0, or the error that stopped the writing.
int writeFile(int folder, const QByteArray &name, const QByteArray &bytes)
{
    const int fd = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return error;
        }
        data += n;
        left -= n;
    }
    return ::close(fd) == 0 ? 0 : errno;
}

bool looksLikeEdition(const fs::path &folder)
{
    std::error_code ec;
    return fs::is_regular_file(folder / "index.html", ec) && fs::is_regular_file(folder / "classement.json", ec);
}

} // namespace

WebPublication PublishWebEdition(const QString &target, const QList<WebFile> &files)
{
    WebPublication out;
    QString clean = QDir::cleanPath(QDir(target).absolutePath());
    const fs::path link = fs::path(clean.toStdU16String());
    const fs::path parent = link.parent_path();
    const fs::path editions = parent / (link.filename().u16string() + u".editions");
    std::error_code ec;
    fs::create_directories(editions, ec);
    if (ec) {
        out.error = message(QStringLiteral("Impossible de créer le dossier des éditions"), ec);
        return out;
    }

    // Names sort by time, so that the oldest editions are the first ones removed.
    const QString base = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz"));
    fs::path fresh;
    for (int n = 0;; ++n) {
        fresh = editions / QString(base + QStringLiteral("-%1").arg(n, 3, 10, QLatin1Char('0'))).toStdU16String();
        if (fs::create_directory(fresh, ec))
            break;
        if (ec || n > 999) {
            out.error = message(QStringLiteral("Impossible de créer le dossier de l'édition"), ec);
            return out;
        }
    }
    out.folder = QString::fromStdU16String(fresh.u16string());
    // Some hundred files: written straight through the folder's descriptor, without a path to
    // resolve or a buffer to copy for each.
    const int folder = ::open(fresh.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const WebFile &f : files) {
        const int error = folder < 0 ? errno : writeFile(folder, QFile::encodeName(f.name), f.bytes);
        if (error != 0) {
            out.error = QStringLiteral("Écriture impossible de %1 : %2")
                            .arg(QDir(out.folder).filePath(f.name), qt_error_string(error));
            if (folder >= 0)
                ::close(folder);
            fs::remove_all(fresh, ec);
            return out;
        }
    }
    ::close(folder);

    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        // An edition written as a plain folder (by hand, or copied): moved aside once, after which
        // every switch is a rename.
        if (!fs::is_directory(status) || !looksLikeEdition(link)) {
            out.error = QStringLiteral("%1 existe et n'est pas une édition web de Kestrava : rien n'a été remplacé.")
                            .arg(clean);
            fs::remove_all(fresh, ec);
            return out;
        }
        fs::rename(link, editions / (u"0000-" + fresh.filename().u16string()), ec);
        if (ec) {
            out.error = message(QStringLiteral("Impossible de déplacer l'ancienne édition"), ec);
            fs::remove_all(fresh, ec);
            return out;
        }
    }
    const fs::path pending = parent / (link.filename().u16string() + u".nouvelle");
    fs::remove(pending, ec);
    fs::create_directory_symlink(editions.filename() / fresh.filename(), pending, ec);
    if (!ec)
        fs::rename(pending, link, ec);
    if (ec) {
        out.error = message(QStringLiteral("Impossible de mettre l'édition en place"), ec);
        fs::remove(pending, ec);
        fs::remove_all(fresh, ec);
        return out;
    }

    // The previous edition stays for readers still fetching from it.
    QStringList names = QDir(QString::fromStdU16String(editions.u16string())).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(QString::fromStdU16String(fresh.filename().u16string()));
    for (qsizetype i = 0; i + 1 < names.size(); ++i)
        fs::remove_all(editions / names[i].toStdU16String(), ec);
    out.ok = true;
    return out;
}

} // namespace kestrava

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
#include <QRunnable>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <latch>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>
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

const QString &EditionData::clubLink(const QString &team, bool crest) const
{
    const int t = season.TeamIndexOf(team);
    if (t >= TeamCount) {
        // No club of the season (an empty cell): its text as it is, kept for the thread, since
        // the pages take the links by reference.
        static thread_local std::unordered_map<QString, QString> others;
        auto it = others.find(team);
        if (it == others.end())
            it = others.emplace(team, HtmlText(team)).first;
        return it->second;
    }
    // Every page names the clubs many times over: each link is made once per edition, and taken
    // by reference, so that the threads making pages do not all count uses of the same texts.
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

namespace {

// Runs every job once, on as many cores as the machine has (up to four), the calling thread among
// them, taking the jobs in their order. The jobs from `gated` on wait until the first `openers` jobs
// are done: they read what those make. The helpers are the application's pool threads, which stay
// between publications with their memory at hand.
void RunSideBySide(const std::vector<std::function<void()>> &jobs, size_t openers, size_t gated)
{
    std::atomic<size_t> next{0};
    std::atomic<size_t> opened{0};
    const std::function<void()> work = [&] {
        for (size_t k = next++; k < jobs.size(); k = next++) {
            if (k >= gated) {
                for (size_t o = opened.load(); o < openers; o = opened.load())
                    opened.wait(o);
            }
            jobs[k]();
            if (k < openers) {
                ++opened;
                opened.notify_all();
            }
        }
    };
    struct Helper : QRunnable
    {
        Helper(const std::function<void()> &w, std::latch &l) : work(w), done(l) { setAutoDelete(false); }
        void run() override
        {
            work();
            done.count_down();
        }
        const std::function<void()> &work;
        std::latch &done;
    };
    QThreadPool *pool = QThreadPool::globalInstance();
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    const size_t count = std::min<size_t>(cores - 1, jobs.size());
    std::latch done(std::ptrdiff_t(count) + 1);
    std::vector<std::unique_ptr<Helper>> helpers;
    for (size_t c = 0; c < count; ++c) {
        helpers.push_back(std::make_unique<Helper>(work, done));
        pool->start(helpers.back().get());
    }
    work();
    // A helper the pool has not started yet (its threads busy elsewhere) has nothing left to do.
    for (const auto &helper : helpers) {
        if (pool->tryTake(helper.get()))
            done.count_down();
    }
    done.arrive_and_wait();
}

} // namespace

void MakeWebEdition(SeasonData season, const IniSnapshot &store, const WebEditionOptions &options, const WebFileSink &take)
{
    ResultsStore::loadBonusMalus(store, season);
    EditionData d(season, store);
    d.now = options.now;
    d.edition = options.now.toString(Qt::ISODateWithMs);
    d.stems = ClubFileStems(season);
    d.currentMatchday = CurrentMatchday(season, options.now, MatchdayCount);
    static const QLocale french(QLocale::French, QLocale::France);
    d.footer = QStringLiteral("Édition du ") + french.toString(options.now, QStringLiteral("dd/MM/yyyy 'à' HH:mm"));
    // The table's own line of the last update, which it takes from the store as it is.
    const QString lastUpdate = store.value(Store::Maj, Store::Maj);
    if (!lastUpdate.isEmpty())
        d.footer += QStringLiteral(" · résultats mis à jour : ") + lastUpdate;
    // Made on first use otherwise: from here on the edition data is only read, but for what the
    // first two jobs make.
    for (int t = 0; t < TeamCount; ++t)
        d.clubLink(season.teams[t]);
    take({StylesheetName, EditionStylesheet()});

    std::vector<std::function<void()>> jobs;
    const auto page = [&take](const QString &name, QByteArray html) { take({name, std::move(html)}); };
    // What the pages of the table and of the clubs read: the table (its feed taken before it gains
    // the column of reachable places), and each club's places for its chart.
    jobs.push_back([&] {
        // The table exactly as `kestrava-cli table` computes it.
        StandingsContext ctx;
        ctx.currentMatchday = d.currentMatchday;
        int last = 0;
        d.run = ComputeStandings(season, store, last, false, ctx, d.table);
        take({QStringLiteral("classement.json"), TableAsJson(d.table, season)});
        ShowPossibleRanking(d.table);
    });
    jobs.push_back([&] {
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
    });
    // Meanwhile, what needs neither, the longest first.
    jobs.push_back([&] {
        // The calendars come out of one pass over the season.
        SeasonCalendars calendars = SeasonAsICalendars(season, store, options.now);
        take({QStringLiteral("calendrier.ics"), std::move(calendars.season)});
        for (int t = 0; t < TeamCount; ++t)
            take({QStringLiteral("club-") + d.stems[t] + QStringLiteral(".ics"), std::move(calendars.clubs[t])});
    });
    jobs.push_back([&] { page(QStringLiteral("records.html"), RecordsPage(d)); });
    for (int j = 1; j <= MatchdayCount; ++j)
        jobs.push_back([&, j] { page(MatchdayFileName(j), MatchdayPage(d, j)); });
    jobs.push_back([&] { page(QStringLiteral("journees.html"), MatchdaysPage(d)); });
    jobs.push_back([&] { page(QStringLiteral("clubs.html"), ClubsPage(d)); });
    const size_t gated = jobs.size();
    jobs.push_back([&] { page(QStringLiteral("classements.html"), CategoriesPage(d)); });
    for (int t = 0; t < TeamCount; ++t)
        jobs.push_back([&, t] { page(QStringLiteral("club-") + d.stems[t] + QStringLiteral(".html"), ClubPage(d, t)); });
    jobs.push_back([&] { page(QStringLiteral("index.html"), IndexPage(d)); });
    jobs.push_back([&] {
        // The general widget first: it makes the rows every club's widget shares.
        page(QStringLiteral("widget.html"), WidgetPage(d, QString()));
        for (int t = 0; t < TeamCount; ++t)
            page(QStringLiteral("widget-") + d.stems[t] + QStringLiteral(".html"), WidgetPage(d, season.teams[t]));
    });
    if (!options.projections)
        jobs.push_back([&] { page(QStringLiteral("projections.html"), ProjectionsPage(d, nullptr, options.simulation.seed)); });
    RunSideBySide(jobs, 2, gated);

    // The simulated seasons take every core themselves.
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
        page(QStringLiteral("projections.html"), ProjectionsPage(d, &report, options.simulation.seed));
    }
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

WebPublication PublishWebEdition(const QString &target, SeasonData season, const IniSnapshot &store,
                                 const WebEditionOptions &options)
{
    WebPublication out;
    QString clean = QDir::cleanPath(QDir(target).absolutePath());
    const fs::path link = fs::path(clean.toStdU16String());
    const fs::path parent = link.parent_path();
    const fs::path editions = parent / (link.filename().u16string() + u".editions");
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    const bool plainFolder = fs::exists(status) && !fs::is_symlink(status);
    if (plainFolder && (!fs::is_directory(status) || !looksLikeEdition(link))) {
        out.error = QStringLiteral("%1 existe et n'est pas une édition web de Kestrava : rien n'a été remplacé.").arg(clean);
        return out;
    }
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
    // resolve for each, by the threads that make them while the others go on making pages.
    const int folder = ::open(fresh.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::mutex failure;
    if (folder < 0)
        out.error = QStringLiteral("Écriture impossible dans %1 : %2").arg(out.folder, qt_error_string(errno));
    std::atomic<qsizetype> written{0};
    std::atomic<bool> failed{folder < 0};
    MakeWebEdition(std::move(season), store, options, [&](WebFile &&f) {
        if (failed)
            return;
        if (const int error = writeFile(folder, QFile::encodeName(f.name), f.bytes)) {
            const std::lock_guard lock(failure);
            if (!failed.exchange(true))
                out.error = QStringLiteral("Écriture impossible de %1 : %2")
                                .arg(QDir(out.folder).filePath(f.name), qt_error_string(error));
            return;
        }
        ++written;
    });
    if (folder >= 0)
        ::close(folder);
    if (failed) {
        fs::remove_all(fresh, ec);
        return out;
    }
    out.files = written;

    if (plainFolder) {
        // An edition written as a plain folder (by hand, or copied): moved aside once, after which
        // every switch is a rename.
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

    out.ok = true;
    return out;
}

void RemoveOldWebEditions(const QString &target)
{
    const fs::path link = fs::path(QDir::cleanPath(QDir(target).absolutePath()).toStdU16String());
    const fs::path editions = link.parent_path() / (link.filename().u16string() + u".editions");
    std::error_code ec;
    const fs::path current = fs::read_symlink(link, ec).filename();
    if (ec || current.empty())
        return; // no edition switched in: nothing is known to be old
    // Names sort by time. The edition before the current one stays for readers still fetching from it.
    QStringList names = QDir(QString::fromStdU16String(editions.u16string())).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const qsizetype at = names.indexOf(QString::fromStdU16String(current.u16string()));
    for (qsizetype i = 0; i + 1 < at; ++i)
        fs::remove_all(editions / names[i].toStdU16String(), ec);
}

} // namespace kestrava

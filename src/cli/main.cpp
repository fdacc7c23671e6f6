// kestrava-cli: the season engine without a window.
#include "matchdays/CalendarRules.h"
#include "matchdays/GridExport.h"
#include "matchdays/MatchdayView.h"
#include "ChartCommands.h"
#include "CliOutput.h"
#include "ImportCommands.h"
#include "NetworkDownloader.h"
#include "ProjectionsCommand.h"
#include "TeamCommands.h"
#include "WebCommand.h"
#include "online/Online.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "season/Session.h"
#include "standings/LeagueTableModel.h"
#include "standings/PossibleRanking.h"
#include "standings/RankingCategory.h"
#include "standings/TableExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

using namespace kestrava;

namespace {

using cli::fail;
using cli::write;

const char usage[] = "usage: kestrava-cli table [--dir DIR] [--matchday N] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--format text|csv|json] [--category BC|BP|FP|GA|MG|MP|MN | --possible | --movement]\n"
                     "       kestrava-cli matchday N [--dir DIR] [--now \"YYYY-MM-DD HH:MM\"]\n"
                     "       kestrava-cli cards [--dir DIR]\n"
                     "       kestrava-cli update [--dir DIR] [--site URL]\n"
                     "       kestrava-cli team NAME [--dir DIR] [--now ...] [--format text|csv|json]\n"
                     "       kestrava-cli calendar [--team NAME] [--dir DIR]\n";

struct Options
{
    QString command;
    QString dir;
    int matchday = 0;
    QDateTime now = QDateTime::currentDateTime();
    QString format = QStringLiteral("text");
    QString site; // --site, else the settings' address
    const RankingCategory *category = nullptr; // the table re-ordered by one statistic
    bool possible = false;                     // with the positions still reachable
    bool movement = false;                     // CSV with the rank movement of each row
};

bool parse(const QStringList &args, Options &o)
{
    if (args.size() < 2)
        return false;
    o.command = args[1];
    int first = 2;
    if (o.command == u"matchday") {
        // The matchday is the command's own argument: 1 to 34.
        bool ok = false;
        o.matchday = args.value(2).toInt(&ok);
        if (!ok || o.matchday < 1 || o.matchday > MatchdayCount)
            return false;
        first = 3;
    } else if (o.command != u"table" && o.command != u"cards" && o.command != u"update") {
        return false;
    }
    for (int i = first; i < args.size(); ++i) {
        const QString &a = args[i];
        if (o.command != u"table"
            && (a == u"--matchday" || a == u"--format" || a == u"--category" || a == u"--possible"))
            return false;
        if (a == u"--movement" && o.command == u"table") {
            o.movement = true;
            continue;
        }
        if (a == u"--possible") {
            // The reachable positions are those of a standings table, never of a category view.
            if (o.category)
                return false;
            o.possible = true;
            continue;
        }
        if ((o.command == u"cards" || o.command == u"update") && a == u"--now")
            return false;
        if (o.command != u"update" && a == u"--site")
            return false;
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        if (a == u"--dir") {
            o.dir = v;
        } else if (a == u"--site") {
            const std::optional<QString> base = SiteAddresses::normalisedBase(v);
            if (!base)
                return false;
            o.site = *base;
        } else if (a == u"--matchday") {
            bool ok = false;
            o.matchday = v.toInt(&ok);
            if (!ok || o.matchday < 0 || o.matchday > MatchdayCount)
                return false;
        } else if (a == u"--now") {
            o.now = cli::parseNow(v);
            if (!o.now.isValid())
                return false;
        } else if (a == u"--category") {
            o.category = CategoryOf(v);
            if (!o.category || o.possible)
                return false;
        } else if (a == u"--format") {
            o.format = v;
            if (o.format != u"text" && o.format != u"csv" && o.format != u"json")
                return false;
        } else {
            return false;
        }
    }
    // The movement column comes with the CSV of a standings table.
    return !o.movement || (!o.category && !o.possible && (o.format == u"csv" || !args.contains(u"--format")));
}

void say(const QString &line)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << line << '\n';
}

// The results download and the season-data check, as "Mise à Jour" runs them, for a scheduled
// refresh: messages are printed and the newer-version question is answered No. The site is asked
// with the validators of the last download while the store is still that file: a 304 writes
// nothing.
int update(const ResultsStore &store, const SeasonData &season, const SiteAddresses &site)
{
    NetworkDownloader downloader;
    switch (FetchResultsStoreIfChanged(store, site, downloader)) {
    case Downloader::Outcome::NotModified:
        say(QStringLiteral("Aucun changement"));
        return 0;
    case Downloader::Outcome::Failed:
        return fail(QStringLiteral("Erreur de connexion ! (") + downloader.lastError() + QStringLiteral(")\n"), 4);
    case Downloader::Outcome::Replaced:
        break;
    }
    const IniSnapshot snapshot = store.snapshot();
    const QString cv = snapshot.value(Store::CV, Store::CV, QStringLiteral("-"));
    if (NewerVersionAnnounced(cv))
        say(QStringLiteral("Une version plus récente du logiciel est disponible (Version ") + cv
            + QStringLiteral(") : ") + site.downloadPage().toString());
    int status = 0;
    switch (UpdateSeasonFile(snapshot, season.dataVersion, store.folder(), site, downloader)) {
    case SeasonUpdate::Updated:
        say(QStringLiteral("Nouveau fichier 2027.txt reçu : il sera lu au prochain lancement."));
        break;
    case SeasonUpdate::Failed:
        fail(QStringLiteral("Mise a jour incomplete\n"), 0);
        status = 5;
        break;
    case SeasonUpdate::NotNeeded:
        break;
    }
    const QString texte = snapshot.value(Store::Texte, Store::Texte);
    if (!texte.isEmpty())
        say(texte);
    say(QStringLiteral("Mise à jour: ") + snapshot.value(Store::Maj, Store::Maj) + QStringLiteral(" (")
        + snapshot.value(Store::Pseudo, Store::Pseudo) + u')');
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The same user data folder as the window's.
    QCoreApplication::setApplicationName(ProgramApplicationName);
    const QString first = app.arguments().value(1);
    if (first == u"--version")
        return write(QStringLiteral("kestrava-cli %1\n").arg(VersionShort()).toUtf8());
    if (first == u"--help" || first == u"-h") {
        return write((QStringLiteral("Kestrava sans fenêtre : le classement, les journées, les fiches des clubs, "
                                     "les projections\net la publication de la saison de Ligue 1 2026-2027.\n\n")
            + QString::fromLatin1(usage) + ChartUsage() + ProjectionsUsage() + ImportUsage() + WebUsage()
            + QStringLiteral("\nDIR contient 2027.txt et Resultats2027.ini.\n\n"
                             "  -h, --help   affiche cette aide\n"
                             "  --version    affiche la version\n"))
                         .toUtf8());
    }
    if (first == u"projections")
        return RunProjectionsCommand(app.arguments());
    if (const int status = RunTeamViewsCommand(app.arguments()); status >= 0)
        return status;
    if (const int status = RunChartCommand(app.arguments()); status >= 0)
        return status;
    if (const int status = RunImportCommand(app.arguments()); status >= 0)
        return status;
    if (const int status = RunWebCommand(app.arguments()); status >= 0)
        return status;
    Options o;
    if (!parse(app.arguments(), o))
        return fail(QString::fromLatin1(usage) + ChartUsage() + ProjectionsUsage() + ImportUsage() + WebUsage(), 1);
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;

    const ResultsStore store(dir);
    if (o.command == u"update") {
        const std::optional<QString> site = cli::siteBase(o.site, dir);
        return site ? update(store, season, SiteAddresses(*site)) : 4;
    }
    const IniSnapshot snapshot = store.snapshot();
    ResultsStore::loadBonusMalus(snapshot, season);

    if (o.command == u"matchday") {
        FixtureGridModel grid;
        ShowMatchday(grid, season, snapshot, o.matchday, GridContext{o.now, QString()});
        return write(GridAsText(grid).toUtf8());
    }
    if (o.command == u"cards")
        return write((CardReport(snapshot).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n').toUtf8());

    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = CurrentMatchday(season, o.now, MatchdayCount);
    int last = o.matchday;
    ComputeStandings(season, snapshot, last, false, ctx, model);
    if (o.matchday != 0)
        model.setTitle(QStringLiteral("Classement à la Journée N°") + QString::number(o.matchday));
    if (o.category)
        ShowRankingCategory(model, *o.category, QString());
    if (o.possible)
        ShowPossibleRanking(model);

    if (o.movement)
        return write(TableCsvWithMovement(model, season, snapshot, o.matchday ? o.matchday : ctx.currentMatchday)
                         .toUtf8());
    if (o.format == u"csv")
        return write(TableAsCsv(model, season).toUtf8());
    if (o.format == u"json")
        return write(TableAsJson(model, season));
    return write(TableAsText(model, season).toUtf8());
}

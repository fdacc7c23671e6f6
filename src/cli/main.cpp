// kestrava-cli: the season engine without a window.
#include "matchdays/CalendarRules.h"
#include "matchdays/GridExport.h"
#include "matchdays/MatchdayView.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "standings/TableExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

using namespace kestrava;

namespace {

const char usage[] = "usage: kestrava-cli table [--dir DIR] [--matchday N] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--format text|csv|json]\n"
                     "       kestrava-cli matchday N [--dir DIR] [--now \"YYYY-MM-DD HH:MM\"]\n"
                     "       kestrava-cli cards [--dir DIR]\n";

int fail(const QString &message, int status)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message;
    return status;
}

struct Options
{
    QString command;
    QString dir;
    int matchday = 0;
    QDateTime now = QDateTime::currentDateTime();
    QString format = QStringLiteral("text");
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
    } else if (o.command != u"table" && o.command != u"cards") {
        return false;
    }
    for (int i = first; i < args.size(); ++i) {
        const QString &a = args[i];
        if (o.command != u"table" && (a == u"--matchday" || a == u"--format"))
            return false;
        if (o.command == u"cards" && a == u"--now")
            return false;
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        if (a == u"--dir") {
            o.dir = v;
        } else if (a == u"--matchday") {
            bool ok = false;
            o.matchday = v.toInt(&ok);
            if (!ok || o.matchday < 0 || o.matchday > MatchdayCount)
                return false;
        } else if (a == u"--now") {
            o.now = QDateTime::fromString(v, QStringLiteral("yyyy-MM-dd HH:mm"));
            if (!o.now.isValid())
                o.now = QDateTime::fromString(v, Qt::ISODate);
            if (!o.now.isValid())
                return false;
        } else if (a == u"--format") {
            o.format = v;
            if (o.format != u"text" && o.format != u"csv" && o.format != u"json")
                return false;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(app.arguments(), o))
        return fail(QString::fromLatin1(usage), 1);
    const QString dir = o.dir.isEmpty() ? QCoreApplication::applicationDirPath() : o.dir;

    SeasonData season;
    if (!LoadSeasonFile(QDir(dir).filePath(SeasonFileName), season))
        return fail(QStringLiteral("Absence du fichier 2027.txt\n"), 2);

    const ResultsStore store(dir);
    const IniSnapshot snapshot = store.snapshot();
    ResultsStore::loadBonusMalus(snapshot, season);

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 3;
    if (o.command == u"matchday") {
        FixtureGridModel grid;
        ShowMatchday(grid, season, snapshot, o.matchday, GridContext{o.now, QString()});
        out.write(GridAsText(grid).toUtf8());
        return 0;
    }
    if (o.command == u"cards") {
        out.write((CardReport(snapshot).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n').toUtf8());
        return 0;
    }

    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = CurrentMatchday(season, o.now, MatchdayCount);
    int last = o.matchday;
    ComputeStandings(season, snapshot, last, false, ctx, model);
    if (o.matchday != 0)
        model.setTitle(QStringLiteral("Classement à la Journée N°") + QString::number(o.matchday));

    if (o.format == u"csv")
        out.write(TableAsCsv(model, season).toUtf8());
    else if (o.format == u"json")
        out.write(TableAsJson(model, season));
    else
        out.write(TableAsText(model, season).toUtf8());
    return 0;
}

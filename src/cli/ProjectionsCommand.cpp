#include "ProjectionsCommand.h"
#include "CliOutput.h"

#include "projections/ProjectionExport.h"
#include "projections/Projections.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace kestrava;

namespace {

using cli::fail;
using cli::write;

// A week of simulations would not tell more than ten million seasons do.
constexpr int MaxSimulations = 10000000;

struct Options
{
    QString dir;
    int matchday = 0;
    SimulationOptions simulation;
    QString format = QStringLiteral("text");
};

bool parse(const QStringList &args, Options &o)
{
    for (int i = 2; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        bool ok = true;
        if (a == u"--dir") {
            o.dir = v;
        } else if (a == u"--matchday") {
            o.matchday = v.toInt(&ok);
            ok = ok && o.matchday >= 0 && o.matchday <= MatchdayCount;
        } else if (a == u"--simulations") {
            o.simulation.simulations = v.toInt(&ok);
            ok = ok && o.simulation.simulations >= 1 && o.simulation.simulations <= MaxSimulations;
        } else if (a == u"--seed") {
            o.simulation.seed = v.toULongLong(&ok);
        } else if (a == u"--format") {
            o.format = v;
            ok = v == u"text" || v == u"csv" || v == u"json";
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

QString ProjectionsUsage()
{
    return QStringLiteral(
        "       kestrava-cli projections [--dir DIR] [--matchday N] [--simulations N] [--seed S] "
        "[--format text|csv|json]\n");
}

int RunProjectionsCommand(const QStringList &args)
{
    Options o;
    if (!parse(args, o))
        return fail(QStringLiteral("usage:") + ProjectionsUsage().mid(6), 1);
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;
    const ResultsStore store(dir);
    const IniSnapshot snapshot = store.snapshot();
    ResultsStore::loadBonusMalus(snapshot, season);

    const ProjectionReport report = ComputeProjections(season, snapshot, o.matchday, o.simulation);
    if (o.format == u"csv")
        return write(ProjectionsAsCsv(report).toUtf8());
    if (o.format == u"json")
        return write(ProjectionsAsJson(report, o.simulation.seed));
    return write(ProjectionsAsText(report, o.simulation.seed).toUtf8());
}

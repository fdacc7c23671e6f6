// The editor's actions, each measured against the one-frame budget (16 ms): opening a matchday or
// a team's season, saving the grid. The table after a save is the full-season display run that
// bench_standings measures against the floor of one read and parse of the store.
#include "matchdays/FixtureGridModel.h"
#include "matchdays/MatchdayView.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

struct Folder
{
    QTemporaryDir dir;
    SeasonData season;
    Folder()
    {
        QFile::copy(dataDir + QStringLiteral("/demo/Resultats2027.ini"),
                    QDir(dir.path()).filePath(QStringLiteral("Resultats2027.ini")));
        QFile(QDir(dir.path()).filePath(QStringLiteral("Resultats2027.ini"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        LoadSeasonFile(QDir(dataDir).filePath(SeasonFileName), season);
    }
    ResultsStore store() const { return ResultsStore(dir.path()); }
};

Folder &folder()
{
    static Folder f;
    return f;
}

const QDateTime now(QDate(2026, 12, 6), QTime(8, 0));

void BM_OpenMatchday(benchmark::State &state)
{
    FixtureGridModel grid;
    int md = 1;
    for (auto _ : state) {
        ShowMatchday(grid, folder().season, folder().store().snapshot(), md, GridContext{now, QString()});
        md = md % 34 + 1;
    }
}
BENCHMARK(BM_OpenMatchday)->Unit(benchmark::kMicrosecond);

void BM_OpenTeamSeason(benchmark::State &state)
{
    FixtureGridModel grid;
    for (auto _ : state)
        ShowTeamSeason(grid, folder().season, folder().store().snapshot(), QStringLiteral("Lens"), GridContext{now, QString()});
}
BENCHMARK(BM_OpenTeamSeason)->Unit(benchmark::kMicrosecond);

void BM_SaveGrid(benchmark::State &state)
{
    FixtureGridModel grid;
    ShowMatchday(grid, folder().season, folder().store().snapshot(), 13, GridContext{now, QString()});
    int goals = 0;
    for (auto _ : state) {
        grid.setGoals(0, GoalsBox::Home, QString::number(goals++ % 7));
        const SaveOutcome out = folder().store().saveResults(grid.entryRows(), now, now, QString());
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_SaveGrid)->Unit(benchmark::kMicrosecond);

} // namespace

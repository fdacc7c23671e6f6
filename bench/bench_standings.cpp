// The league table against two references measured in the same run: one read and parse of the
// results store (the floor) and the table computed with one file read per key (the plain way).
// The views drawn from the table already shown (a ranking category, the reachable positions) are
// measured against the full-season table run: each must cost at most a fifth of it.
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "standings/PossibleRanking.h"
#include "standings/RankingCategory.h"

#include <QDir>

#include <benchmark/benchmark.h>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

const SeasonData &season()
{
    static const SeasonData s = [] {
        SeasonData d;
        LoadSeasonFile(QDir(dataDir).filePath(SeasonFileName), d);
        ResultsStore(dataDir + QStringLiteral("/demo")).loadBonusMalus(d);
        return d;
    }();
    return s;
}

const ResultsStore store(dataDir + QStringLiteral("/demo"));

void BM_ReadAndParseStore(benchmark::State &state)
{
    for (auto _ : state) {
        IniSnapshot snap = store.snapshot();
        benchmark::DoNotOptimize(snap);
    }
}
BENCHMARK(BM_ReadAndParseStore)->Unit(benchmark::kMicrosecond);

void BM_FullSeasonDisplay(benchmark::State &state)
{
    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = 13;
    for (auto _ : state) {
        int last = 0;
        const IniSnapshot snap = store.snapshot();
        StandingsRun run = ComputeStandings(season(), snap, last, false, ctx, model);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_FullSeasonDisplay)->Unit(benchmark::kMicrosecond);

void BM_FullSeasonOneReadPerKey(benchmark::State &state)
{
    for (auto _ : state) {
        StandingsRun run = RunStandingsReadingEachKey(season(), store.path(), 0);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_FullSeasonOneReadPerKey)->Unit(benchmark::kMicrosecond);

// The two halves of a display run: the engine on a parsed snapshot, and filling the table.
void BM_EngineOnly(benchmark::State &state)
{
    const IniSnapshot snap = store.snapshot();
    for (auto _ : state) {
        StandingsRun run = RunStandings(season(), snap, 0);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_EngineOnly)->Unit(benchmark::kMicrosecond);

void BM_FillTableOnly(benchmark::State &state)
{
    const IniSnapshot snap = store.snapshot();
    const StandingsRun run = RunStandings(season(), snap, 0);
    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = 13;
    for (auto _ : state)
        model.showRun(run, ctx, QStringLiteral("05 déc. 21:40"), QStringLiteral("Editeur"));
}
BENCHMARK(BM_FillTableOnly)->Unit(benchmark::kMicrosecond);

// Silent runs, as the evolution chart makes 34 of them.
void BM_ThirtyFourSilentRuns(benchmark::State &state)
{
    for (auto _ : state) {
        const IniSnapshot snap = store.snapshot();
        for (int md = 1; md <= MatchdayCount; ++md) {
            StandingsRun run = RunStandings(season(), snap, md);
            benchmark::DoNotOptimize(run);
        }
    }
}
BENCHMARK(BM_ThirtyFourSilentRuns)->Unit(benchmark::kMicrosecond);

// A table as the window shows it after start-up.
void showTable(LeagueTableModel &model)
{
    StandingsContext ctx;
    ctx.currentMatchday = 13;
    int last = 0;
    ComputeStandings(season(), store.snapshot(), last, false, ctx, model);
}

// Best defence and best attack in turn, so that every view moves the rows.
void BM_CategoryView(benchmark::State &state)
{
    LeagueTableModel model;
    showTable(model);
    const RankingCategory *categories[] = {CategoryOf(u"BC"), CategoryOf(u"BP")};
    int i = 0;
    for (auto _ : state)
        ShowRankingCategory(model, *categories[i++ % 2], QStringLiteral("Lens"));
}
BENCHMARK(BM_CategoryView)->Unit(benchmark::kMicrosecond);

void BM_ReachableColumn(benchmark::State &state)
{
    LeagueTableModel model;
    showTable(model);
    for (auto _ : state) {
        ShowPossibleRanking(model);
        benchmark::DoNotOptimize(ChampionOf(model));
    }
}
BENCHMARK(BM_ReachableColumn)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

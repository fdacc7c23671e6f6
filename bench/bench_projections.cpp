// Projections: the exact ranges of the 18 clubs at every point of a season, against the same
// questions all put to the solver, and the simulated seasons on every core against one thread.
#include "projections/Projections.h"
#include "season/ResultsStore.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

struct Shipped
{
    SeasonData season;
    IniSnapshot demo; // the shipped results: matchdays 1 to 13
};

const Shipped &shipped()
{
    static const Shipped s = [] {
        Shipped d;
        LoadSeasonFile(QDir(dataDir).filePath(SeasonFileName), d.season);
        d.demo = IniSnapshot::fromFile(dataDir + QStringLiteral("/demo/Resultats2027.ini"));
        ResultsStore::loadBonusMalus(d.demo, d.season);
        return d;
    }();
    return s;
}

// The shipped results with the rest of the season played out once by the fitted model: a whole
// season, so that every matchday point can be taken, the late ones being where the solver works.
IniSnapshot completedSeason(quint64 seed)
{
    const Shipped &d = shipped();
    const ProjectionInput in = MakeProjectionInput(d.season, d.demo, 0);
    const StrengthModel m = FitStrengthModel(in.played);
    std::mt19937_64 rng(seed);
    QByteArray rest;
    for (const QString &slot : d.season.calendar) {
        const QString key = slot.left(2) + slot.mid(3, 2);
        if (slot.size() != 8 || d.demo.contains(Store::Results, key))
            continue;
        const int h = TeamIndexOfLetter(QStringView(slot).mid(6, 1));
        const int a = TeamIndexOfLetter(QStringView(slot).mid(7, 1));
        const int hg = std::poisson_distribution<int>(m.expectedHomeGoals(h, a))(rng);
        const int ag = std::poisson_distribution<int>(m.expectedAwayGoals(h, a))(rng);
        rest += QStringLiteral("%1=%2||0|%3|%4|0||%5\r\n")
                    .arg(key, slot.mid(6, 1))
                    .arg(hg)
                    .arg(ag)
                    .arg(slot.mid(7, 1))
                    .toLatin1();
    }
    QFile f(dataDir + QStringLiteral("/demo/Resultats2027.ini"));
    f.open(QIODevice::ReadOnly);
    return IniSnapshot::fromBytes(f.readAll().replace("[Resultats]\r\n", "[Resultats]\r\n" + rest));
}

const IniSnapshot &completed()
{
    static const IniSnapshot s = completedSeason(2027);
    return s;
}

void ranges(benchmark::State &state, const IniSnapshot &store, bool cheapBounds)
{
    const ProjectionInput in = MakeProjectionInput(shipped().season, store, int(state.range(0)));
    RangeStats stats;
    for (auto _ : state) {
        auto r = ComputeReachableRanges(in, {}, &stats, RangeOptions { cheapBounds });
        benchmark::DoNotOptimize(r);
    }
    state.counters["fixtures_left"] = double(in.unplayed.size());
    state.counters["solver_runs"] = stats.questions - stats.settledByBounds;
    state.counters["clubs_without_solver"] = stats.clubsSettledByBounds;
}

// The shipped store taken up to matchday N (0: every stored result).
void BM_RangesShipped(benchmark::State &state)
{
    ranges(state, shipped().demo, true);
}
BENCHMARK(BM_RangesShipped)->DenseRange(0, 14)->Unit(benchmark::kMillisecond);

// A whole season played up to matchday N: the late points are where the solver works.
void BM_RangesCompleted(benchmark::State &state)
{
    ranges(state, completed(), true);
}
BENCHMARK(BM_RangesCompleted)->DenseRange(1, 34)->Unit(benchmark::kMillisecond);

// The reference: the same questions with no cheap bound, every open one put to the solver.
void BM_RangesCompletedSolverOnly(benchmark::State &state)
{
    ranges(state, completed(), false);
}
BENCHMARK(BM_RangesCompletedSolverOnly)->DenseRange(1, 34)->Unit(benchmark::kMillisecond);

// Other seasons played out from the shipped point: the slowest matchday of each, all 18 clubs.
void BM_RangesSlowestMatchday(benchmark::State &state)
{
    const IniSnapshot store = completedSeason(quint64(state.range(0)));
    double slowest = 0, matchday = 0, settled = 0;
    for (auto _ : state) {
        for (int md = 1; md <= MatchdayCount; ++md) {
            const ProjectionInput in = MakeProjectionInput(shipped().season, store, md);
            RangeStats stats;
            const auto t0 = std::chrono::steady_clock::now();
            auto r = ComputeReachableRanges(in, {}, &stats);
            const double ms
                = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            benchmark::DoNotOptimize(r);
            settled += stats.clubsSettledByBounds;
            if (ms > slowest)
                slowest = ms, matchday = md;
        }
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["slowest_matchday"] = matchday;
    state.counters["clubs_without_solver_pct"]
        = 100 * settled / (double(state.iterations()) * MatchdayCount * TeamCount);
}
BENCHMARK(BM_RangesSlowestMatchday)->DenseRange(1, 12)->Unit(benchmark::kMillisecond)->Iterations(1);

// 100,000 seasons from the shipped point (191 fixtures left) and after the first matchday (297),
// on every core and on one.
void simulate(benchmark::State &state, int threads)
{
    const ProjectionInput in = MakeProjectionInput(shipped().season, shipped().demo, int(state.range(0)));
    const StrengthModel model = FitStrengthModel(in.played);
    for (auto _ : state) {
        SimulationResult r = SimulateSeasons(in, model, { DefaultSimulations, DefaultSeed, threads });
        benchmark::DoNotOptimize(r);
    }
    state.counters["fixtures_left"] = double(in.unplayed.size());
}
void BM_Simulate100kAllCores(benchmark::State &state)
{
    simulate(state, 0);
}
BENCHMARK(BM_Simulate100kAllCores)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_Simulate100kOneThread(benchmark::State &state)
{
    simulate(state, 1);
}
BENCHMARK(BM_Simulate100kOneThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole run behind the view and the command: input, ranges, fit and 100,000 seasons.
void BM_WholeProjections(benchmark::State &state)
{
    for (auto _ : state) {
        ProjectionReport r = ComputeProjections(shipped().season, shipped().demo, 0, {});
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_WholeProjections)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

// The web edition written at a publication, against the full-season table run measured in the same
// run: every page and feed without the simulated seasons (at most 20 table runs), into a folder on
// the disk and on /dev/shm, the same with 100,000 simulated seasons (under a second), and the
// index's size.
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "web/WebEdition.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

SeasonData season()
{
    SeasonData d;
    LoadSeasonFile(QDir(dataDir).filePath(SeasonFileName), d);
    return d;
}

WebEditionOptions options(bool projections)
{
    WebEditionOptions o;
    o.now = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
    o.projections = projections;
    return o;
}

// One full-season table run, the file read and parsed as `kestrava-cli table` does.
void tableRun(SeasonData &s, const ResultsStore &store)
{
    const IniSnapshot snap = store.snapshot();
    ResultsStore::loadBonusMalus(snap, s);
    LeagueTableModel model;
    int last = 0;
    ComputeStandings(s, snap, last, false, StandingsContext{}, model);
    benchmark::DoNotOptimize(model.rankText(0));
}

void BM_TableRun(benchmark::State &state)
{
    SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    for (auto _ : state)
        tableRun(s, store);
}
BENCHMARK(BM_TableRun)->Unit(benchmark::kMicrosecond);

// Read, computed, written into a new folder and switched in: what a publication costs.
void writeEdition(benchmark::State &state, bool projections, const QString &folderTemplate = {})
{
    const SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    QTemporaryDir dir(folderTemplate.isEmpty() ? QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX") : folderTemplate);
    if (!dir.isValid()) {
        state.SkipWithError("no folder for the edition");
        return;
    }
    for (auto _ : state) {
        if (!PublishWebEdition(dir.filePath(QStringLiteral("web")), s, store.snapshot(), options(projections)).ok)
            state.SkipWithError("the edition could not be written");
    }
    state.counters["index_bytes"] = double(QFileInfo(dir.filePath(QStringLiteral("web/index.html"))).size());
}

// The pages and feeds computed, before any file is written.
void BM_EditionBuiltOnly(benchmark::State &state)
{
    const SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    for (auto _ : state) {
        std::atomic<qsizetype> bytes{0};
        MakeWebEdition(s, store.snapshot(), options(false), [&bytes](WebFile &&f) { bytes += f.bytes.size(); });
        benchmark::DoNotOptimize(bytes.load());
    }
}
BENCHMARK(BM_EditionBuiltOnly)->Unit(benchmark::kMillisecond);

void BM_EditionWithoutSimulations(benchmark::State &state)
{
    writeEdition(state, false);
}
BENCHMARK(BM_EditionWithoutSimulations)->Unit(benchmark::kMillisecond);

// The same into a folder in memory (tmpfs): the files' creation and removal without the disk's
// file system behind them.
void BM_EditionWithoutSimulationsOnDevShm(benchmark::State &state)
{
    writeEdition(state, false, QStringLiteral("/dev/shm/kestrava-bench-XXXXXX"));
}
BENCHMARK(BM_EditionWithoutSimulationsOnDevShm)->Unit(benchmark::kMillisecond);

// The ratio itself, from table runs and editions taken in turn: this machine's speed drifts by half
// within a minute, which two benchmarks run one after the other would read as a change of ratio.
// Argument: 0 the edition made only, 1 written into the temporary folder, 2 written on /dev/shm.
void BM_EditionOverTableRuns(benchmark::State &state)
{
    SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    const QString where = state.range(0) == 2 ? QStringLiteral("/dev/shm/kestrava-bench-XXXXXX")
                                              : QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX");
    QTemporaryDir dir(where);
    using Clock = std::chrono::steady_clock;
    Clock::duration tables{}, editions{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int k = 0; k < 4; ++k)
            tableRun(s, store);
        const auto t1 = Clock::now();
        if (state.range(0) == 0) {
            std::atomic<qsizetype> bytes{0};
            MakeWebEdition(s, store.snapshot(), options(false), [&bytes](WebFile &&f) { bytes += f.bytes.size(); });
        } else if (!PublishWebEdition(dir.filePath(QStringLiteral("web")), s, store.snapshot(), options(false)).ok) {
            state.SkipWithError("the edition could not be written");
        }
        const auto t2 = Clock::now();
        tables += (t1 - t0) / 4;
        editions += t2 - t1;
    }
    state.counters["table_runs"] = double(editions.count()) / double(tables.count());
}
BENCHMARK(BM_EditionOverTableRuns)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EditionWith100000Simulations(benchmark::State &state)
{
    writeEdition(state, true);
}
BENCHMARK(BM_EditionWith100000Simulations)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();

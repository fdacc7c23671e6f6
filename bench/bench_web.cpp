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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The ratio itself, from table runs and editions taken in turn: this machine's speed drifts by half
// within a minute, which two benchmarks run one after the other would read as a change of ratio.
// First argument: 0 the edition made only, 1 made, written and switched in, 2 as many empty files
// created in a new folder, without any page: the file system's own share. Second argument: 0 in the
// temporary folder, 1 on /dev/shm (tmpfs: the files without the disk's file system behind them).
void BM_EditionOverTableRuns(benchmark::State &state)
{
    SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    const int mode = int(state.range(0));
    const QString where = state.range(1) == 1 ? QStringLiteral("/dev/shm/kestrava-bench-XXXXXX")
                                              : QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX");
    QTemporaryDir dir(where);
    if (!dir.isValid()) {
        state.SkipWithError("no folder for the edition");
        return;
    }
    const QString target = dir.filePath(QStringLiteral("web"));
    std::atomic<qsizetype> fileCount{0};
    MakeWebEdition(s, store.snapshot(), options(false), [&fileCount](WebFile &&) { ++fileCount; });

    using Clock = std::chrono::steady_clock;
    Clock::duration tables{}, editions{}, removals{};
    int n = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int k = 0; k < 4; ++k)
            tableRun(s, store);
        const auto t1 = Clock::now();
        switch (mode) {
        case 0: {
            std::atomic<qsizetype> bytes{0};
            MakeWebEdition(s, store.snapshot(), options(false), [&bytes](WebFile &&f) { bytes += f.bytes.size(); });
            break;
        }
        case 2: {
            const QByteArray folder = QFile::encodeName(dir.filePath(QString::number(n)));
            ::mkdir(folder.constData(), 0777);
            const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            for (qsizetype f = 0; f < fileCount; ++f)
                ::close(::openat(fd, QByteArray::number(f).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
            ::close(fd);
            break;
        }
        default:
            if (!PublishWebEdition(target, s, store.snapshot(), options(false)).ok)
                state.SkipWithError("the edition could not be written");
        }
        const auto t2 = Clock::now();
        if (mode == 1)
            RemoveOldWebEditions(target);
        else if (mode == 2 && n >= 2)
            QDir(dir.filePath(QString::number(n - 2))).removeRecursively();
        const auto t3 = Clock::now();
        tables += (t1 - t0) / 4;
        editions += t2 - t1;
        removals += t3 - t2;
        ++n;
    }
    const auto ms = [n](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count() / std::max(n, 1); };
    state.counters["table_run_ms"] = ms(tables);
    state.counters["edition_ms"] = ms(editions);
    state.counters["table_runs"] = ms(editions) / ms(tables);
    state.counters["removal_table_runs"] = ms(removals) / ms(tables);
    state.counters["files"] = double(fileCount.load());
}
BENCHMARK(BM_EditionOverTableRuns)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1})->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EditionWith100000Simulations(benchmark::State &state)
{
    const SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX"));
    for (auto _ : state) {
        if (!PublishWebEdition(dir.filePath(QStringLiteral("web")), s, store.snapshot(), options(true)).ok)
            state.SkipWithError("the edition could not be written");
        RemoveOldWebEditions(dir.filePath(QStringLiteral("web")));
    }
    state.counters["index_bytes"] = double(QFileInfo(dir.filePath(QStringLiteral("web/index.html"))).size());
}
BENCHMARK(BM_EditionWith100000Simulations)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();

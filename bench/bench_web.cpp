// The web edition written at a publication, against the full-season table run measured in the same
// turns: every page and feed without the simulated seasons (at most 20 table runs), made only, and
// written on /dev/shm and on the disk beside the cost of as many empty files; the same with
// 100,000 simulated seasons (under a second), and the index's size.
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

// As many empty files made in a new folder as the edition has, without any page: what the file
// system alone costs.
void makeEmptyFiles(const QString &folder, qsizetype count)
{
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0777);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (qsizetype f = 0; f < count; ++f)
        ::close(::openat(fd, QByteArray::number(f).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    ::close(fd);
}

// The ratio itself, from table runs and editions taken in turn: this machine's speed drifts by half
// within a minute, which two benchmarks run one after the other would read as a change of ratio.
// First argument: 0 the edition made only, 1 made, written and switched in; each of these is
// followed in the same turn by as many empty files made in a new folder (the file system's own
// share). Second argument: 0 in the temporary folder, 1 on /dev/shm (tmpfs: the files without the
// disk's file system behind them).
void BM_EditionOverTableRuns(benchmark::State &state)
{
    SeasonData s = season();
    const ResultsStore store(dataDir + QStringLiteral("/demo"));
    const bool written = state.range(0) == 1;
    const bool inMemory = state.range(1) == 1;
    QTemporaryDir dir(inMemory ? QStringLiteral("/dev/shm/kestrava-bench-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX"));
    if (!dir.isValid()) {
        state.SkipWithError("no folder for the edition");
        return;
    }
    const QString target = dir.filePath(QStringLiteral("web"));
    std::atomic<qsizetype> fileCount{0};
    MakeWebEdition(s, store.snapshot(), options(false), [&fileCount](WebFile &&) { ++fileCount; });

    using Clock = std::chrono::steady_clock;
    Clock::duration tables{}, editions{}, removals{}, empty{};
    int n = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int k = 0; k < 4; ++k)
            tableRun(s, store);
        const auto t1 = Clock::now();
        if (!written) {
            std::atomic<qsizetype> bytes{0};
            MakeWebEdition(s, store.snapshot(), options(false), [&bytes](WebFile &&f) { bytes += f.bytes.size(); });
        } else if (!PublishWebEdition(target, s, store.snapshot(), options(false)).ok) {
            state.SkipWithError("the edition could not be written");
        }
        const auto t2 = Clock::now();
        // On a disk, what was made is left to the end: this machine's ext4 has no journal, and
        // there new files skip one by one the inodes freed in the last minutes, so that a loop of
        // publications each removing the edition before last would slow itself down in a way
        // that a publication every few minutes never meets.
        if (written && inMemory)
            RemoveOldWebEditions(target);
        const auto t3 = Clock::now();
        makeEmptyFiles(dir.filePath(QString::number(n)), fileCount);
        const auto t4 = Clock::now();
        if (inMemory)
            QDir(dir.filePath(QString::number(n))).removeRecursively();
        tables += (t1 - t0) / 4;
        editions += t2 - t1;
        removals += t3 - t2;
        empty += t4 - t3;
        ++n;
    }
    const auto ms = [n](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count() / std::max(n, 1); };
    state.counters["table_run_ms"] = ms(tables);
    state.counters["edition_ms"] = ms(editions);
    state.counters["table_runs"] = ms(editions) / ms(tables);
    state.counters["empty_files_table_runs"] = ms(empty) / ms(tables);
    if (written && inMemory)
        state.counters["removal_table_runs"] = ms(removals) / ms(tables);
}
BENCHMARK(BM_EditionOverTableRuns)->Args({0, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMillisecond)->MinTime(3);

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

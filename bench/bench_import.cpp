// Results from an open-data file, a whole season's worth (306 lines with their cards), against one
// full-season table run on the store it fills, in the same run: the import must cost at most five
// table runs. Measured twice: into an empty store (306 records written in one save), and once more
// into the filled store (every line unchanged, nothing written). The first is measured on the disk
// and on /dev/shm, where the crash-safe save's sync has no disk to wait on.
#include "matchdays/ResultsImport.h"
#include "standings/LeagueTableModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kestrava;

namespace {

struct SeasonFile
{
    QTemporaryDir dir;
    SeasonData season;
    QString csv;
    QByteArray emptyStore = "[Resultats]\r\n";

    explicit SeasonFile(const QString &folderTemplate = {})
        : dir(folderTemplate.isEmpty() ? QDir::tempPath() + QStringLiteral("/kestrava-bench-XXXXXX") : folderTemplate)
    {
        LoadSeasonFile(QDir(QStringLiteral(KESTRAVA_DATA_DIR)).filePath(SeasonFileName), season);
        // The names as an open-data site writes them, some of them other names of the club.
        QStringList names(season.teams.begin(), season.teams.begin() + TeamCount);
        names.replace(0, QStringLiteral("PSG"));
        names.replace(17, QStringLiteral("St Etienne"));
        names.replace(14, QStringLiteral("Le Havre AC"));
        QByteArray text
            = "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,Referee,HY,AY,HR,AR,B365H,B365D,B365A\r\n";
        int n = 0;
        for (int md = 1; md <= MatchdayCount; ++md) {
            const QString date = season.matchdayDate(md).toString(QStringLiteral("dd/MM/yyyy"));
            for (const QString &code : season.matchdayFixtures[size_t(md)]) {
                const int h = code[0].unicode() - u'A', a = code[1].unicode() - u'A';
                ++n;
                text
                    += QStringLiteral("F1,%1,20:45,%2,%3,%4,%5,H,\"Arbitre, A.\",%6,%7,%8,%9,2.1,3.3,3.4\r\n")
                           .arg(date, names[h], names[a])
                           .arg(n % 4)
                           .arg(n % 3)
                           .arg(n % 5)
                           .arg((n + 2) % 5)
                           .arg(n % 7 == 0 ? 1 : 0)
                           .arg(n % 11 == 0 ? 1 : 0)
                           .toUtf8();
            }
        }
        QFile f(path(QStringLiteral("saison.csv")));
        if (f.open(QIODevice::WriteOnly))
            f.write(text);
        csv = f.fileName();
    }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    ResultsStore store() const { return ResultsStore(dir.path()); }
    void resetStore() const
    {
        QFile f(store().path());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(emptyStore);
    }
};

SeasonFile &seasonFile()
{
    static SeasonFile f;
    return f;
}

// The same files in memory (tmpfs): the save's disk sync costs next to nothing there, which tells
// the import's own work apart from the wait on the disk.
SeasonFile &seasonFileInMemory()
{
    static SeasonFile f(QStringLiteral("/dev/shm/kestrava-bench-XXXXXX"));
    return f;
}

const QDateTime launch(QDate(2027, 5, 22), QTime(9, 0));

// What `kestrava-cli import FILE` does, the report included.
int ImportOnce(const SeasonFile &s)
{
    QFile file(s.csv);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const ImportedFile imported = ReadResultsFile(file.readAll());
    ClubMatcher clubs(s.season);
    ImportPlan plan = PlanImport(imported, s.season, s.store().snapshot(), clubs, false);
    plan.notes = clubs.loadOtherNamesFile(s.dir.path());
    benchmark::DoNotOptimize(ImportReport(plan));
    return SaveImport(plan, s.store(), launch) ? plan.written : -1;
}

void importIntoEmptyStore(benchmark::State &state, const SeasonFile &s)
{
    if (!s.dir.isValid()) {
        state.SkipWithError("no folder for the store");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        s.resetStore();
        state.ResumeTiming();
        if (ImportOnce(s) != 306)
            state.SkipWithError("306 results expected");
    }
}

void BM_ImportSeasonIntoEmptyStore(benchmark::State &state)
{
    importIntoEmptyStore(state, seasonFile());
}
BENCHMARK(BM_ImportSeasonIntoEmptyStore)->Unit(benchmark::kMicrosecond);

void BM_ImportSeasonIntoEmptyStoreOnDevShm(benchmark::State &state)
{
    importIntoEmptyStore(state, seasonFileInMemory());
}
BENCHMARK(BM_ImportSeasonIntoEmptyStoreOnDevShm)->Unit(benchmark::kMicrosecond);

void BM_ImportSeasonAgain(benchmark::State &state)
{
    const SeasonFile &s = seasonFile();
    s.resetStore();
    ImportOnce(s);
    for (auto _ : state) {
        if (ImportOnce(s) != 0)
            state.SkipWithError("nothing to write expected");
    }
}
BENCHMARK(BM_ImportSeasonAgain)->Unit(benchmark::kMicrosecond);

// The reference: one full-season table run, as after "Valider", on the store the import filled.
void BM_TableOfImportedSeason(benchmark::State &state)
{
    const SeasonFile &s = seasonFile();
    s.resetStore();
    ImportOnce(s);
    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = MatchdayCount;
    for (auto _ : state) {
        int last = 0;
        const IniSnapshot snap = s.store().snapshot();
        StandingsRun run = ComputeStandings(s.season, snap, last, false, ctx, model);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_TableOfImportedSeason)->Unit(benchmark::kMicrosecond);

} // namespace

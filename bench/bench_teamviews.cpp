// The team views against the full-season table run of bench_standings (BM_FullSeasonDisplay, in
// the same run): a club's sheet filled from the store on disk must stay within 1.5 times it. A
// crest banner tick must stay well under a millisecond, the tick that refreshes the summary panel
// (a read of the store) included. The evolution chart (34 tables from one read of the store, then
// the general table and its movement icons) must stay within 25 times the table run, the season
// highlights within 1.5 times.
#include "matchdays/MatchdaysController.h"
#include "season/ResultsStore.h"
#include "standings/StandingsController.h"
#include "teamviews/ChartController.h"
#include "teamviews/TeamSheet.h"
#include "teamviews/TeamViewsController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

// The program's folder with the shipped season and the demo store, and its controllers.
struct Program
{
    QTemporaryDir dir;
    Session session { dir.path(), Services {} };
    StandingsController standings { session };
    MatchdaysController matchdays { session, standings };
    TeamViewsController teamViews { session, standings, matchdays };
    ChartController chart { session, standings, matchdays, teamViews };

    Program()
    {
        session.launchTime = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
        QFile::copy(dataDir + QStringLiteral("/demo/Resultats2027.ini"),
            QDir(dir.path()).filePath(QStringLiteral("Resultats2027.ini")));
        LoadSeasonFile(QDir(dataDir).filePath(SeasonFileName), session.season);
        session.store().loadBonusMalus(session.season);
        session.currentMatchday = 13;
        session.setEventPump([] {});
        standings.compute(0);
    }
};

Program &program()
{
    static Program p;
    return p;
}

// What "Equipes" does for a club: read the store, find the rank, fill the 34 rows and the totals.
void BM_TeamSheetFromDisk(benchmark::State &state)
{
    Program &p = program();
    TeamSheetModel sheet;
    const LeagueTableModel &table = p.standings.table();
    for (auto _ : state) {
        SheetContext ctx;
        ctx.rank = table.rankText(0);
        FillTeamSheet(sheet, p.session.season, p.session.store().snapshot(), QStringLiteral("Lens"), ctx);
        benchmark::DoNotOptimize(sheet.totals);
    }
}
BENCHMARK(BM_TeamSheetFromDisk)->Unit(benchmark::kMicrosecond);

// The banner as its timer drives it, a crest passing the trigger zone now and then.
void BM_BannerTick(benchmark::State &state)
{
    Program &p = program();
    CrestBannerModel &banner = p.teamViews.banner();
    std::array<QString, TeamCount> order;
    for (int r = 0; r < TeamCount; ++r)
        order[r] = p.standings.table().cell(r, TableColumn::Name).text;
    banner.layOut(order);
    for (auto _ : state) {
        p.teamViews.bannerTick();
        if (!banner.shown)
            banner.layOut(order);
    }
}
BENCHMARK(BM_BannerTick)->Unit(benchmark::kMicrosecond);

// The dearest tick: the one whose crest enters the zone and refreshes the panel from the store.
void BM_BannerTickRefreshingThePanel(benchmark::State &state)
{
    Program &p = program();
    const LeagueTableModel &table = p.standings.table();
    int row = 0;
    for (auto _ : state) {
        p.teamViews.pointAtTeam(table.cell(row, TableColumn::Name).text);
        row = (row + 1) % TeamCount;
    }
}
BENCHMARK(BM_BannerTickRefreshingThePanel)->Unit(benchmark::kMicrosecond);

// "Graphiques" without its drawing: 13 tables up to the launch date, or 34 with the simulated
// matches, then the general table and the movement icons.
void BM_ChartPreparationFromDisk(benchmark::State &state)
{
    Program &p = program();
    p.chart.chart().simulated = state.range(0) != 0;
    for (auto _ : state) {
        p.chart.openChart();
        p.chart.closeChart();
    }
}
BENCHMARK(BM_ChartPreparationFromDisk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_HighlightsFromDisk(benchmark::State &state)
{
    Program &p = program();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeHighlights(p.session.season, p.session.store().snapshot()));
}
BENCHMARK(BM_HighlightsFromDisk)->Unit(benchmark::kMicrosecond);

} // namespace

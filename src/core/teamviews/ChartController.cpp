#include "ChartController.h"

#include "matchdays/MatchdaysController.h"
#include "standings/StandingsController.h"
#include "teamviews/RankMovements.h"
#include "teamviews/TeamViewsController.h"

namespace kestrava {

namespace {

// The summary panel sits still through a burst of table runs; the last change refreshes it.
class SummaryHold
{
public:
    explicit SummaryHold(TeamViewsController &views)
        : m_views(views)
    {
        m_views.holdSummary(true);
    }
    ~SummaryHold() { m_views.holdSummary(false); }
    SummaryHold(const SummaryHold &) = delete;
    SummaryHold &operator=(const SummaryHold &) = delete;

private:
    TeamViewsController &m_views;
};

} // namespace

ChartController::ChartController(Session &session, StandingsController &standings,
    MatchdaysController &matchdays, TeamViewsController &teamViews, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
    , m_matchdays(matchdays)
    , m_teamViews(teamViews)
{
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::Chart, [this] { openChart(); });
    buttons.setAction(Btn::CloseChart, [this] { closeChart(); });
    buttons.setAction(Btn::ChartTeam, [this] { openChosenSheet(); });
    buttons.setAction(Btn::Highlights, [this] { toggleHighlights(); });
    buttons.setAction(Btn::CloseHighlights, [this] { closeHighlights(); });

    const LeagueTableModel &table = m_standings.table();
    m_teamViews.setRankMovements([&table](int row) { return table.movement(row); });
    connect(&m_standings, &StandingsController::rankMovementsRequested, this,
        &ChartController::setRankMovementIcons);
}

// The chart panel.

void ChartController::openChart()
{
    m_chart.visible = true;
    m_chart.notify();
    // Pressed again while the chart is being prepared: the preparation under way goes on.
    if (!m_chart.preparing)
        prepareChart();
}

void ChartController::closeChart()
{
    m_chart.visible = false;
    LeagueTableModel &table = m_standings.table();
    table.setProgressShown(true);
    {
        const SummaryHold hold(m_teamViews);
        emit table.changed();
    }
    m_chart.notify();
}

void ChartController::stop()
{
    if (m_chart.visible)
        closeChart();
}

void ChartController::prepareChart()
{
    if (m_chart.preparing) {
        // The option changed under way: the loop stops at the end of its matchday and starts again.
        m_restart = true;
        return;
    }
    m_chart.preparing = true;
    m_session.setBusy(true);
    {
        const SummaryHold hold(m_teamViews);
        do {
            m_restart = false;
            runMatchdays();
        } while (m_restart && m_chart.visible);
        finishPreparation();
        m_chart.preparing = false;
        // The table shows the general table again, as "Classement Général" leaves it.
        m_standings.compute(0);
        setRankMovementIcons(m_session.currentMatchday);
    }
    // The summary follows the table once, at the end.
    emit m_standings.table().changed();
    m_chart.notify();
    m_session.setBusy(false);
}

void ChartController::runMatchdays()
{
    const SeasonData &season = m_session.season;
    LeagueTableModel &table = m_standings.table();
    const QDateTime limit = ChartLimit(m_session.launchTime, m_chart.simulated);
    table.setProgressShown(true);
    emit table.changed();
    m_chart.title = QStringLiteral("Chargement...");
    m_chart.notify();
    m_session.pump();

    // One read of the store for the 34 tables.
    const IniSnapshot store = m_session.store().snapshot();
    StandingsContext ctx;
    ctx.currentMatchday = m_session.currentMatchday;
    ctx.favouriteTeam = m_session.favouriteTeam;
    ctx.chartBuilding = true;
    for (int j = 1; j <= MatchdayCount; ++j) {
        if (ChartCounts(season, j, limit)) {
            int last = j;
            m_chart.rankOrder[j] = RankOrderEntry(ComputeStandings(season, store, last, false, ctx, table));
            // "Fermer" can be pressed between two matchdays, and the window repaints.
            m_session.pump();
        }
        if (!m_chart.visible || m_restart)
            return;
    }
}

void ChartController::finishPreparation()
{
    if (m_chart.clubs.size() < 10) {
        m_chart.clubs.clear();
        for (int i = 0; i < TeamCount; ++i)
            m_chart.clubs.append(m_session.season.teams[i]);
    }
    for (int i = 1; i < MatchdayCount; ++i) {
        m_chart.bars[i].created = true;
        m_chart.bars[i].matchday = QString::number(i + 1);
    }
    LeagueTableModel &table = m_standings.table();
    // The progress bar goes once the chart is built; a chart closed meanwhile has shown it again.
    table.setProgressShown(!m_chart.visible);
    // The favourite's chart, else the leader's: a favourite that is no club ("Aucune") gives way.
    int index = m_chart.clubs.indexOf(m_session.favouriteTeam);
    if (m_session.favouriteTeam.isEmpty() || index < 0)
        index = m_chart.clubs.indexOf(table.cell(0, TableColumn::Name).text);
    m_chart.showClub(index);
}

void ChartController::setSimulated(bool on)
{
    m_chart.simulated = on;
    prepareChart();
}

void ChartController::selectClub(int index)
{
    if (index < 0 || index >= m_chart.clubs.size())
        return;
    m_chart.showClub(index);
    m_chart.notify();
}

void ChartController::openChosenSheet()
{
    if (m_chart.selected >= 0 && m_chart.selected < m_chart.clubs.size())
        m_teamViews.openTeamSheet(m_chart.clubs[m_chart.selected]);
}

// The movement icons.

void ChartController::setRankMovementIcons(int matchday)
{
    LeagueTableModel &table = m_standings.table();
    bool set = false;
    {
        const SummaryHold hold(m_teamViews);
        set = SetRankMovements(m_session.season, m_session.store().snapshot(), matchday, table);
    }
    if (set)
        emit table.changed();
}

void ChartController::clickMovementIcon(int row)
{
    if (row < 0 || row >= TeamCount)
        return;
    const QString team = m_standings.table().cell(row, TableColumn::Name).text;
    if (!team.isEmpty())
        m_teamViews.openTeamSheet(team);
}

void ChartController::hoverMovementIcon(int row)
{
    m_standings.hoverTableRow(row);
}

// The highlights.

void ChartController::toggleHighlights()
{
    if (m_highlights.visible) {
        m_highlights.visible = false;
        m_highlights.notify();
        return;
    }
    m_session.setBusy(true);
    LeagueTableModel &table = m_standings.table();
    table.setTitle(QString());
    {
        const SummaryHold hold(m_teamViews);
        emit table.changed();
    }
    m_highlights.texts = ComputeHighlights(m_session.season, m_session.store().snapshot());
    m_standings.setFormGuide(true);
    m_highlights.visible = true;
    m_highlights.notify();
    m_session.setBusy(false);
}

void ChartController::hideHighlights()
{
    if (!m_highlights.visible)
        return;
    m_highlights.visible = false;
    m_highlights.notify();
}

void ChartController::closeHighlights()
{
    m_matchdays.refreshCalendar();
    m_highlights.visible = false;
    m_highlights.notify();
}

} // namespace kestrava

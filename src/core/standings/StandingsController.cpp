#include "StandingsController.h"

#include "platform/Text.h"
#include "standings/PossibleRanking.h"

namespace kestrava {

namespace {
constexpr Rgb Yellow{255, 255, 0};
constexpr Rgb Green{0, 192, 0};
} // namespace

StandingsController::StandingsController(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::GeneralTable, [this] { generalTable(); });
    buttons.setAction(Btn::CloseRankings, [this] { closeRankings(); });
    buttons.setAction(Btn::BonusMalus, [this] { toggleBonusList(); });
    buttons.setAction(Btn::PossibleRanking, [this] { togglePossibleRanking(); });
    for (const RankingCategory &category : RankingCategories())
        buttons.setAction(category.button, [this, &category] { showCategory(category); });
    // The list itself is built by the window's epilogue, which every button runs.
    buttons.setAction(Btn::MatchdayTables, [] {});
}

void StandingsController::compute(int lastMatchday)
{
    m_session.setBusy(true);
    StandingsContext ctx;
    ctx.currentMatchday = m_session.currentMatchday;
    ctx.favouriteTeam = m_session.favouriteTeam;
    ComputeStandings(m_session.season, m_session.store().snapshot(), lastMatchday, false, ctx, m_table);
    emit computed();
    m_session.setBusy(false);
}

void StandingsController::generalTable()
{
    compute(0);
    requestRankMovements(m_session.currentMatchday);
    m_panels.formGuide = true;
}

void StandingsController::closeRankings()
{
    compute(0);
    m_panels.rankingsMenu = false;
}

void StandingsController::toggleRankingsMenu()
{
    m_panels.rankingsMenu = !m_panels.rankingsMenu;
    m_panels.formGuide = true;
}

void StandingsController::toggleBonusList()
{
    if (m_panels.bonusList) {
        m_panels.bonusList = false;
        return;
    }
    const SeasonData &season = m_session.season;
    m_panels.bonusLines.clear();
    for (int i = 0; i < TeamCount; ++i) {
        const float v = season.bonusMalus[i];
        if (v == 0)
            continue;
        const QString value = (v > 0 ? QStringLiteral("+") : QString()) + PlainNumber(double(v));
        m_panels.bonusLines.append(season.teams[i] + QStringLiteral(": [ ") + value + QStringLiteral(" ]"));
    }
    m_panels.bonusList = true;
    m_tracking.hideRowRules();
}

void StandingsController::showCategory(const RankingCategory &category)
{
    m_table.setPossibleRankingVisible(false);
    ShowRankingCategory(m_table, category, m_session.favouriteTeam);
    m_panels.formGuide = true;
}

void StandingsController::togglePossibleRanking()
{
    if (m_table.possibleRankingVisible()) {
        m_table.setPossibleRankingVisible(false);
        emit m_table.changed();
        return;
    }
    m_session.setBusy(true);
    // A category view is no table to reach positions in: the general table first.
    const QString title = m_table.title();
    if (!title.isEmpty() && !title.contains(QStringLiteral("Journée")))
        compute(0);
    ShowPossibleRanking(m_table);
    m_session.setBusy(false);
    // Shown at every switch-on while it holds.
    const QString champion = ChampionOf(m_table);
    if (!champion.isEmpty())
        m_session.services().dialogs->message(ChampionMessage(champion), ChampionTitle,
                                              MessageIcon::Information);
}

void StandingsController::clickBonusList()
{
    m_panels.bonusList = false;
    m_panels.notify();
}

void StandingsController::openMatchdayList()
{
    m_panels.formGuide = false;
    if (m_matchdayList.shown())
        return;
    for (int n = 1; n <= MatchdayCount; ++n) {
        auto &e = m_matchdayList.entries[n];
        e.visible = true;
        e.foreground = n > m_session.currentMatchday ? Yellow : Green;
        e.background = ButtonColours::Rest;
    }
}

void StandingsController::removeMatchdayList()
{
    for (auto &e : m_matchdayList.entries)
        e.visible = false;
}

void StandingsController::clickMatchdayNumber(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount || !m_matchdayList.shown())
        return;
    const bool reachable = m_table.possibleRankingVisible();
    emit matchdayTableChosen(matchday);
    m_panels.rankingsMenu = true;
    compute(matchday);
    m_table.setTitle(QStringLiteral("Classement à la Journée N°") + QString::number(matchday));
    m_panels.notify();
    emit m_table.changed();
    requestRankMovements(matchday);
    // The reachable positions, when they were on show, follow the matchday.
    if (reachable)
        togglePossibleRanking();
}

void StandingsController::hoverMatchdayNumber(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount)
        return;
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayList.entries[n].background = n == matchday ? ButtonColours::Hover : ButtonColours::Rest;
    m_matchdayList.notify();
}

void StandingsController::hoverMatchdayListFrame()
{
    if (!m_matchdayList.shown())
        return;
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayList.entries[n].background = ButtonColours::Rest;
    m_matchdayList.notify();
}

void StandingsController::restMatchdayList()
{
    bool any = false;
    for (auto &e : m_matchdayList.entries) {
        if (!(e.background == ButtonColours::Rest)) {
            e.background = ButtonColours::Rest;
            any = true;
        }
    }
    if (any)
        m_matchdayList.notify();
}

void StandingsController::clickLogo()
{
    m_panels.workListLines = m_table.arrangement();
    m_panels.workList = true;
    m_panels.notify();
}

void StandingsController::clickWorkList()
{
    m_panels.workList = false;
    m_panels.notify();
}

void StandingsController::clickTableRow(int row)
{
    if (row < 0 || row >= TeamCount)
        return;
    const QString name = m_table.cell(row, TableColumn::Name).text;
    if (name.isEmpty() || !m_session.mayRefillGrid())
        return;
    m_panels.rankingsMenu = false;
    m_table.clearGamesInHand();
    m_panels.secondClubLockShown = true;
    if (m_panels.secondClubLock) {
        // The grid keeps the first club's season.
        emit secondTeamChosen(name);
        m_table.cell(row, TableColumn::Name).background = Colours::SecondClub;
    } else {
        m_panels.formGuide = false;
        emit teamChosen(name, row + 1);
        for (int r = 0; r < TeamCount; ++r)
            m_table.cell(r, TableColumn::Name).background = r == row ? Colours::ChosenTeam : Colours::White;
    }
    if (m_table.cell(0, TableColumn::Points).text != u"0")
        m_table.colourZones(m_session.favouriteTeam);
    emit m_table.changed();
    m_panels.notify();
}

void StandingsController::clickRankNumber(int row)
{
    if (row < 0 || row >= TeamCount)
        return;
    const QString name = m_table.cell(row, TableColumn::Name).text;
    if (!name.isEmpty())
        emit teamSheetRequested(name);
}

void StandingsController::setSecondClubLock(bool locked)
{
    if (m_panels.secondClubLock == locked)
        return;
    m_panels.secondClubLock = locked;
    m_panels.notify();
}

void StandingsController::hoverTableRow(int row)
{
    if (row < 0 || row >= TeamCount)
        return;
    emit rowHovered(m_table.cell(row, TableColumn::Name).text);
    if (m_trackingAid)
        m_tracking.frameRow(row);
}

void StandingsController::hoverTableCell(int row, TableColumn column)
{
    if (row < 0 || row >= TeamCount || TableTrackingModel::groupOf(column) == TableTrackingModel::Group::None)
        return;
    if (!m_trackingAid) {
        m_tracking.hideColumnRules();
        return;
    }
    hoverTableRow(row);
    m_tracking.frameColumn(column);
}

void StandingsController::hideColumnRules()
{
    m_tracking.hideColumnRules();
}

void StandingsController::setTrackingAid(bool on)
{
    m_trackingAid = on;
    if (!on)
        m_tracking.hideAll();
}

void StandingsController::showFavourite()
{
    // A category view shows no zones: only the favourite's yellow.
    if (m_table.sortColumns() != QList<TableColumn>{TableColumn::Points}) {
        for (int r = 0; r < TeamCount; ++r) {
            TableCell &name = m_table.cell(r, TableColumn::Name);
            name.background = name.text == m_session.favouriteTeam ? Colours::Favourite : Colours::White;
        }
        emit m_table.changed();
        return;
    }
    if (ValueOf(m_table.cell(0, TableColumn::Points).text) > 0 || m_table.cell(0, TableColumn::Name).bold) {
        for (int r = 0; r < TeamCount; ++r)
            m_table.cell(r, TableColumn::Name).background = Colours::White;
        m_table.colourZones(m_session.favouriteTeam);
        emit m_table.changed();
    }
}

void StandingsController::notify()
{
    m_panels.notify();
    m_matchdayList.notify();
}

} // namespace kestrava

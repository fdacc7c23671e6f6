#include "MatchdaysController.h"

#include "matchdays/CalendarRules.h"
#include "matchdays/MatchdayView.h"
#include "standings/StandingsController.h"

namespace kestrava {

MatchdaysController::MatchdaysController(Session &session, StandingsController &standings, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_standings(standings)
{
    // "Valider" shows exactly while the grid holds changes not saved; "Expé Fichier" starts hidden.
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::Save, [this] { saveGrid(); });
    buttons.setVisible(Btn::Save, false);
    buttons.setVisible(Btn::SendFile, false);
    connect(&m_grid, &FixtureGridModel::pendingChanged, this,
            [this](bool pending) { m_session.buttons.setVisible(Btn::Save, pending); });
    m_session.setRefillGuard([this] { return confirmDiscard(false); });
}

void MatchdaysController::start()
{
    m_sendReference = m_session.launchTime;
    m_calendar.build(m_session.season, m_session.launchTime);
    // After the season the current matchday stays at the last one.
    m_session.currentMatchday = MatchdayCount;
    refreshCalendar();
}

void MatchdaysController::refreshCalendar()
{
    const SeasonData &season = m_session.season;
    const QDateTime &launch = m_session.launchTime;
    m_session.currentMatchday = CurrentMatchday(season, launch, m_session.currentMatchday);
    showMatchday(OpeningMatchday(season, launch));
    for (int m = 0; m < CalendarModel::MonthCount; ++m) {
        const QDate d = m_calendar.months[m].date;
        if (d.month() == launch.date().month() && d.year() == launch.date().year())
            m_calendar.showMonth(m, season, launch);
    }
    // Before the season starts, its first month is on show.
    const QDate first = m_calendar.months[0].date;
    if (first.year() == launch.date().year() && launch.date().month() < first.month())
        m_calendar.showMonth(0, season, launch);
    m_calendar.notify();
}

void MatchdaysController::refreshInPlace()
{
    const GridContext context{m_session.launchTime, m_session.favouriteTeam};
    if (m_grid.matchday >= 1 && m_grid.matchday <= MatchdayCount) {
        ShowMatchday(m_grid, m_session.season, m_session.store().snapshot(), m_grid.matchday, context);
    } else if (!m_sheetTeam.isEmpty() && m_session.season.TeamIndexOf(m_sheetTeam) < TeamCount) {
        // The header keeps its wording with the club's rank in the table as it now stands.
        const QString header = m_grid.header;
        const Rgb colour = m_grid.headerColour;
        ShowTeamSeason(m_grid, m_session.season, m_session.store().snapshot(), m_sheetTeam, context);
        m_grid.header = header;
        m_grid.headerColour = colour;
        const LeagueTableModel &table = m_standings.table();
        for (int r = 0; r < TeamCount; ++r) {
            if (table.cell(r, TableColumn::Name).text == m_sheetTeam)
                m_grid.header = SeasonTitle + u' ' + m_sheetTeam + QStringLiteral(" N°") + QString::number(r + 1);
        }
    } else {
        return;
    }
    m_grid.notify();
    emit changed();
}

void MatchdaysController::setMatchdayPanel(bool shown)
{
    if (m_matchdayPanel == shown)
        return;
    m_matchdayPanel = shown;
    emit changed();
}

void MatchdaysController::showMatchday(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount)
        return;
    m_standings.hideRankingsMenu();
    m_matchdayPanel = true;
    ShowMatchday(m_grid, m_session.season, m_session.store().snapshot(), matchday,
                 GridContext{m_session.launchTime, m_session.favouriteTeam});
    m_standings.panels().notify();
    emit changed();
}

void MatchdaysController::showTeamSeason(const QString &team, int rank)
{
    m_sheetTeam = team;
    m_matchdayPanel = false;
    ShowTeamSeason(m_grid, m_session.season, m_session.store().snapshot(), team,
                   GridContext{m_session.launchTime, m_session.favouriteTeam});
    m_grid.header = SeasonTitle + u' ' + team + QStringLiteral(" N°") + QString::number(rank);
    m_grid.headerColour = Colours::Black;
    m_grid.notify();
    emit changed();
}

void MatchdaysController::reloadGrid()
{
    const GridContext ctx{m_session.launchTime, m_session.favouriteTeam};
    if (m_grid.matchday > 0) {
        ShowMatchday(m_grid, m_session.season, m_session.store().snapshot(), m_grid.matchday, ctx);
    } else if (!m_sheetTeam.isEmpty()) {
        // The header keeps the club's rank as it was when its season was opened.
        const QString header = m_grid.header;
        ShowTeamSeason(m_grid, m_session.season, m_session.store().snapshot(), m_sheetTeam, ctx);
        m_grid.header = header;
        m_grid.headerColour = Colours::Black;
    }
    m_grid.notify();
}

void MatchdaysController::markSecondClub(const QString &team)
{
    m_sheetTeam = team;
    for (int r = 0; r < GridRowCount; ++r) {
        GridRow &row = m_grid.row(r);
        for (NameBox *box : {&row.home, &row.away}) {
            if (box->background == Colours::SecondClub)
                box->background = Colours::White;
            if (box->text == team)
                box->background = Colours::SecondClub;
        }
    }
    m_grid.notify();
}

QString MatchdaysController::planningTeam() const
{
    // A name that is no club ("Aucune" as the favourite) gives way to the next choice: the sheet
    // always opens on a club.
    const SeasonData &season = m_session.season;
    for (const QString &team : {m_sheetTeam, m_session.favouriteTeam}) {
        if (!team.isEmpty() && season.TeamIndexOf(team) < TeamCount)
            return team;
    }
    return m_standings.table().cell(0, TableColumn::Name).text;
}

void MatchdaysController::editGoals(int row, GoalsBox box, const QString &text)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.setGoals(row, box, text);
    m_grid.notify();
}

void MatchdaysController::editCard(int row, CardBox box, const QString &text)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.setCard(row, box, text);
    m_grid.notify();
}

void MatchdaysController::clickGoals(int row)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.clickGoals(row);
    m_grid.notify();
}

void MatchdaysController::focusCard(int row, CardBox box)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.focusCard(row, box);
    m_grid.notify();
}

bool MatchdaysController::saveGrid()
{
    m_session.setBusy(true);
    const SaveOutcome out = m_session.store().saveResults(m_grid.entryRows(), m_session.launchTime, m_sendReference,
                                                          m_session.password);
    if (!out.written) {
        m_session.setBusy(false);
        // Nothing was stored: the entries stay on screen and "Valider" stays lit.
        m_session.tell(
            QStringLiteral("Les résultats n'ont pas pu être enregistrés dans le fichier Resultats2027.ini.\n"
                           "Vérifiez que le dossier du programme est accessible en écriture, puis appuyez de "
                           "nouveau sur « Valider »."));
        return false;
    }
    for (int r = 0; r < GridRowCount; ++r) {
        m_grid.resetCardPositions(r);
        m_grid.applyCollapse(r);
        m_grid.showCardsWithText(r);
    }
    m_grid.setPending(false);
    m_session.buttons.setVisible(Btn::SendFile, out.sendButtonVisible);
    m_standings.table().clearGamesInHand();
    m_standings.compute(0);
    // The movement icons follow the matchday on show; a club's season leaves them cleared.
    if (m_grid.matchday > 0)
        m_standings.requestRankMovements(m_grid.matchday);
    m_grid.notify();
    m_session.setBusy(false);
    return true;
}

bool MatchdaysController::confirmDiscard(bool leaving)
{
    if (!m_grid.pending())
        return true;
    const Answer a = m_session.services().dialogs->askYesNoCancel(
        leaving ? QStringLiteral("Des résultats saisis n'ont pas été enregistrés.\n"
                                 "Voulez-vous les enregistrer avant de quitter ?")
                : QStringLiteral("Des résultats saisis n'ont pas été enregistrés.\n"
                                 "Voulez-vous les enregistrer avant d'afficher d'autres matches ?"),
        ProgramName);
    if (a == Answer::Cancel)
        return false;
    if (a == Answer::Yes)
        return saveGrid();
    return true;
}

void MatchdaysController::clickTitleLabel()
{
    ButtonBarModel &buttons = m_session.buttons;
    if (buttons.button(Btn::SendFile).visible) {
        buttons.setVisible(Btn::SendFile, false);
        return;
    }
    if (m_session.password == EditingPassword) {
        buttons.setVisible(Btn::SendFile, true);
        m_sendReference = m_session.launchTime.addDays(-15);
    }
}

void MatchdaysController::clickGoalsSummary()
{
    m_cardReport = CardReport(m_session.store().snapshot());
    m_cardReportVisible = true;
    emit changed();
}

void MatchdaysController::clickCardReport()
{
    m_cardReportVisible = false;
    emit changed();
}

void MatchdaysController::hoverMonth(int month)
{
    m_calendar.showMonth(month, m_session.season, m_session.launchTime);
}

void MatchdaysController::clickMonth(int month)
{
    if (month < 0 || month >= CalendarModel::MonthCount)
        return;
    m_calendar.locked = true;
    m_calendar.notify();
}

void MatchdaysController::hoverCalendarDay(int day)
{
    if (day < 0 || day >= CalendarModel::DayCount || !m_calendar.locked)
        return;
    m_calendar.locked = false;
    m_calendar.notify();
}

void MatchdaysController::clickCalendarDay(int day)
{
    if (day < 0 || day >= CalendarModel::DayCount || !m_calendar.days[day].visible || !m_session.mayRefillGrid())
        return;
    showMatchday(m_calendar.days[day].matchday);
    m_standings.setSecondClubLock(false);
}

void MatchdaysController::refreshTotals()
{
    const QString totals = m_grid.matchday > 0 ? DayTotals(m_session.store().snapshot(), m_grid.matchday) : QString();
    if (totals == m_grid.totals)
        return;
    m_grid.totals = totals;
    m_grid.notify();
}

void MatchdaysController::setCalendarLock(bool locked)
{
    m_calendar.locked = locked;
    m_calendar.notify();
}

void MatchdaysController::restMonths()
{
    bool changed = false;
    for (auto &m : m_calendar.months) {
        if (!(m.background == CalendarColours::Rest)) {
            m.background = CalendarColours::Rest;
            changed = true;
        }
    }
    if (changed)
        m_calendar.notify();
}

} // namespace kestrava

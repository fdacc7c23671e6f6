#pragma once

#include "matchdays/CalendarModel.h"
#include "matchdays/FixtureGridModel.h"
#include "season/Session.h"

#include <QObject>

namespace kestrava {

class StandingsController;

// The fixture grid and the month calendar: a matchday or a club's season in the grid, result
// entry and "Valider", the card report, the calendar that decides the current and the opening
// matchday.
class MatchdaysController : public QObject
{
    Q_OBJECT
public:
    MatchdaysController(Session &session, StandingsController &standings, QObject *parent = nullptr);

    FixtureGridModel &grid() { return m_grid; }
    CalendarModel &calendar() { return m_calendar; }
    // The grid shows a matchday (not a club's season, not hidden by the publishing frame).
    bool matchdayPanel() const { return m_matchdayPanel; }
    void setMatchdayPanel(bool shown);
    bool cardReportVisible() const { return m_cardReportVisible; }
    QString cardReport() const { return m_cardReport; }
    // The reference date of the send button (set at launch, moved back by the editor's click).
    QDateTime sendReferenceDate() const { return m_sendReference; }
    // The tag of "Equipes": the club chosen last in the table (or the chart) for its sheet.
    QString sheetTeam() const { return m_sheetTeam; }
    void setSheetTeam(const QString &team) { m_sheetTeam = team; }
    // The club whose sheet "Equipes" opens: the tagged club, else the favourite, else the leader.
    QString planningTeam() const;

    // Start-up: the month labels, then the current and the opening matchday.
    void start();
    // The current matchday, the opening matchday in the grid and the month on show.
    void refreshCalendar();
    // The grid shows the same matchday or club again, from the store as it is now.
    void refreshInPlace();
    void showMatchday(int matchday);
    void showTeamSeason(const QString &team, int rank);
    // The grid shows again what it shows, from the store as it is now (after an import).
    void reloadGrid();
    // The second club picked with the table's lock: the grid keeps what it shows and marks that
    // club's boxes (in a club's season, its meetings with the first club) light yellow.
    void markSecondClub(const QString &team);

    // The grid: typing, clicks and focus.
    void editGoals(int row, GoalsBox box, const QString &text);
    void editCard(int row, CardBox box, const QString &text);
    void clickGoals(int row);
    void focusCard(int row, CardBox box);
    // "Valider": false when the store could not be written (the editor was told, entries kept).
    bool saveGrid();
    // Entries typed and not saved are offered for saving: false when the user cancels. `leaving`:
    // the program is closing; otherwise the grid is about to show other fixtures.
    bool confirmDiscard(bool leaving);
    // The day's totals of the matchday on show, from the store as it is now; none for a club's season.
    void refreshTotals();
    void clickTitleLabel();   // the editor's click on the title: the send button comes and goes
    void clickGoalsSummary(); // the card report
    void clickCardReport();   // hides it

    // The month calendar.
    void hoverMonth(int month);
    void clickMonth(int month);
    void hoverCalendarDay(int day);
    void clickCalendarDay(int day);
    void setCalendarLock(bool locked);
    void restMonths(); // the pointer left for the bare window

signals:
    // The grid's panel or the card report came or went.
    void changed();

private:
    Session &m_session;
    StandingsController &m_standings;
    FixtureGridModel m_grid;
    CalendarModel m_calendar;
    bool m_matchdayPanel = true;
    bool m_cardReportVisible = false;
    QString m_cardReport;
    QDateTime m_sendReference;
    QString m_sheetTeam;
};

} // namespace kestrava

#pragma once

#include "season/Session.h"
#include "standings/LeagueTableModel.h"
#include "standings/RankingCategory.h"
#include "standings/StandingsPanels.h"
#include "standings/TableTracking.h"

#include <QMetaMethod>
#include <QObject>

namespace kestrava {

// The league table and what lies beside it: table runs, the ranking categories, the reachable
// positions and the champion, the rankings menu, the matchday number list, the bonus/malus list,
// the work list, and the table's reactions to the mouse (row and rank clicks, the second-club
// lock, hover, the tracking aids).
class StandingsController : public QObject
{
    Q_OBJECT
public:
    explicit StandingsController(Session &session, QObject *parent = nullptr);

    LeagueTableModel &table() { return m_table; }
    StandingsPanels &panels() { return m_panels; }
    MatchdayListModel &matchdayList() { return m_matchdayList; }
    TableTrackingModel &tracking() { return m_tracking; }

    // Recomputes the table over the whole season (or up to `lastMatchday`) from the store on disk.
    void compute(int lastMatchday = 0);

    void generalTable();       // "Classement Général"
    void closeRankings();      // "Fermer" of the rankings menu
    void toggleRankingsMenu(); // "Classements"
    void hideRankingsMenu() { m_panels.rankingsMenu = false; }
    void setFormGuide(bool shown) { m_panels.formGuide = shown; }
    void toggleBonusList();    // "Bonus - Malus"
    void showCategory(const RankingCategory &category);
    void togglePossibleRanking(); // "Classement Possible !!!"
    void clickBonusList();     // the list closes

    // The matchday number list: built when "Classement par Journée" opens it, removed by any other
    // button but two.
    void openMatchdayList();
    void removeMatchdayList();
    void clickMatchdayNumber(int matchday);
    void hoverMatchdayNumber(int matchday);
    void hoverMatchdayListFrame();
    void restMatchdayList(); // the pointer left for the bare window

    void clickLogo();     // the work list of the last run
    void clickWorkList(); // closes it

    void clickTableRow(int row);
    void clickRankNumber(int row);
    // Whether a rank number's click leads anywhere: the team sheets listen to it.
    bool rankNumbersOpenSheets() const
    {
        return isSignalConnected(QMetaMethod::fromSignal(&StandingsController::teamSheetRequested));
    }
    void setSecondClubLock(bool locked);
    // The pointer over a row's rank or name, and over a figure of a row.
    void hoverTableRow(int row);
    void hoverTableCell(int row, TableColumn column);
    void hideColumnRules(); // the pointer left for the bare window
    // The option "Activer l'aide au suivi dans les tableaux", from the options.
    void setTrackingAid(bool on);
    bool trackingAid() const { return m_trackingAid; }
    // The favourite shows in yellow at once, when the table holds a run.
    void showFavourite();

    void notify();
    // The rank movement icons beside the rows are to show the change at `matchday` (the team views
    // compute them): after the table runs of start-up, a download, "Valider", "Classement Général",
    // "Tableau complet" and a matchday number.
    void requestRankMovements(int matchday) { emit rankMovementsRequested(matchday); }

signals:
    // A matchday's table was asked for: the fixture grid may follow it.
    void matchdayTableChosen(int matchday);
    // A row's club was clicked: its season goes into the fixture grid. `rank` is its row + 1.
    void teamChosen(const QString &team, int rank);
    // A display run has filled the table from the store as it is now.
    void computed();
    // With the lock: a second club, whose meetings with the first the grid marks.
    void secondTeamChosen(const QString &team);
    // A rank number was clicked: that club's sheet opens.
    void teamSheetRequested(const QString &team);
    // The pointer is over a row (the team summary follows it); empty for a row without a team.
    void rowHovered(const QString &team);
    void rankMovementsRequested(int matchday);

private:
    Session &m_session;
    LeagueTableModel m_table;
    StandingsPanels m_panels;
    MatchdayListModel m_matchdayList;
    TableTrackingModel m_tracking;
    bool m_trackingAid = false;
};

} // namespace kestrava

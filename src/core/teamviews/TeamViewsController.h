#pragma once

#include "season/Session.h"
#include "teamviews/CrestBanner.h"
#include "teamviews/SummaryPanel.h"
#include "teamviews/TeamSheet.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace kestrava {

class MatchdaysController;
class StandingsController;

// The team views: the planning frame with a club's sheet, the summary panel beside the table and
// the crest banner that runs through it after start-up.
class TeamViewsController : public QObject
{
    Q_OBJECT
public:
    TeamViewsController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
        QObject *parent = nullptr);

    TeamSheetModel &sheet() { return m_sheet; }
    SummaryPanelModel &summary() { return m_summary; }
    CrestBannerModel &banner() { return m_banner; }

    // The planning frame.
    // A club asked for by another view (a rank number's click): it goes into the tag of "Equipes",
    // then "Equipes" is pressed.
    void openTeamSheet(const QString &team);
    void openPlanning(); // "Equipes"
    void closePlanning(); // "Fermer"
    // The club list: another club fills the sheet; the club already shown changes nothing.
    void selectClub(int index);
    // The pointer over a name of the sheet marks every row of that club.
    void hoverSheetName(int row, bool away);
    // "Exporter le calendrier": the shown club's fixtures, saved where the user chooses. False when
    // nothing was written.
    bool exportCalendar();

    // The summary panel.
    void showSummary(const QString &team); // a plain refresh for that team
    void pointAtTeam(const QString &team); // a pointer's choice: nothing for the team already shown
    void hoverTableRow(const QString &team);
    // The pointer over a row of the fixture grid: a name (`nameBox`) or a score, home or away side.
    void hoverGridTeam(int row, bool away, bool nameBox);
    void clickLeader(); // the leader's box
    void clickSummary(); // the panel itself
    // The rank movement of a table row, for the panel's icon and its text; none until it is given.
    void setRankMovements(std::function<RankMovement(int row)> movementOfRow);
    // While held, runs of the table leave the panel as it is (the chart's 34 tables); each refresh
    // would read the store again.
    void holdSummary(bool held) { m_summaryHolds += held ? 1 : -1; }

    // The crest banner.
    void startBanner(); // after start-up, and again on a click of the last-update label
    void bannerTick();
    void endBanner(); // any button, a team name of the grid, a row of the table
    void hoverBannerCrest(int position);
    void hoverWindow(); // the pointer over the bare window: a paused banner goes on
    void clickLastUpdate();
    bool bannerRunning() const { return m_bannerTimer.isActive(); }

private:
    void refreshSummary(const QString &team);
    void fillSheet(int index);
    // What the sheet on show was filled from: the store's bytes, the favourite and the club's rank.
    QByteArray sheetSource(const QString &team) const;
    std::optional<int> tableRowOf(const QString &team) const;
    QString leader() const;

    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    TeamSheetModel m_sheet;
    QByteArray m_sheetSource;
    SummaryPanelModel m_summary;
    CrestBannerModel m_banner;
    QTimer m_bannerTimer;
    std::function<RankMovement(int)> m_movementOfRow;
    int m_summaryHolds = 0;
};

} // namespace kestrava

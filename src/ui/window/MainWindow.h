#pragma once

#include <QList>
#include <QMainWindow>

#include <array>

class QFrame;
class QGridLayout;
class QLabel;

namespace kestrava {

class BarButton;
class CalendarRibbon;
class ClickableLabel;
class DonorsPanel;
class FixtureGridPanel;
class FormLegend;
class HoverFrame;
class LeagueTableItemModel;
class LeagueTableView;
class MainController;
class MatchdayNumber;
class OptionsPanel;
class ProgressStrip;
class PublishingPanel;

// The main window: the button bar, the league table and everything beside it, and the panels. It
// draws the controller's models and passes every click and mouse move to the controller.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(MainController &controller, QWidget *parent = nullptr);
    ~MainWindow() override;

    LeagueTableItemModel *tableModel() const { return m_tableModel; }
    LeagueTableView *tableView() const { return m_tableView; }
    FixtureGridPanel *gridPanel() const { return m_grid; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildHeader(QWidget *parent);
    QWidget *buildTableColumn(QWidget *parent);
    QWidget *buildSidebar(QWidget *parent);
    void buildRankingsPanels(QWidget *parent);
    void buildOverlays(QWidget *parent);
    QFrame *buildAboutBox(QWidget *parent);

    void refreshTable();
    void refreshButtons();
    void refreshPanels();
    void refreshOptions();
    void refreshMatchdayList();
    void placeRankingsButtons();
    void placeOverlays();
    QList<QWidget *> overlays() const;

    MainController &m_controller;
    QWidget *m_backdrop = nullptr;
    QWidget *m_header = nullptr;

    LeagueTableItemModel *m_tableModel = nullptr;
    LeagueTableView *m_tableView = nullptr;
    CalendarRibbon *m_calendar = nullptr;
    FixtureGridPanel *m_grid = nullptr;
    QLabel *m_title = nullptr;
    QFrame *m_introFrame = nullptr;
    QLabel *m_introText = nullptr;
    QWidget *m_columnTitles = nullptr;
    FormLegend *m_formLegend = nullptr;
    QLabel *m_lastUpdate = nullptr;

    QFrame *m_seasonCard = nullptr;
    QLabel *m_leaderCrest = nullptr;
    QLabel *m_leaderText = nullptr;
    ProgressStrip *m_progress = nullptr;
    QLabel *m_progressText = nullptr;
    ClickableLabel *m_goalsSummary = nullptr;
    QFrame *m_gamesInHandFrame = nullptr;
    QLabel *m_gamesInHand = nullptr;

    QFrame *m_rankingsMenu = nullptr;
    QGridLayout *m_rankingsGrid = nullptr;
    QList<BarButton *> m_rankingsButtons;
    QList<BarButton *> m_placedRankingsButtons;
    HoverFrame *m_matchdayFrame = nullptr;
    std::array<MatchdayNumber *, 35> m_matchdayNumbers {};
    HoverFrame *m_bonusFrame = nullptr;
    QLabel *m_bonusLines = nullptr;

    OptionsPanel *m_options = nullptr;
    QFrame *m_about = nullptr;
    QLabel *m_aboutVersion = nullptr;
    HoverFrame *m_workList = nullptr;
    QLabel *m_workListLines = nullptr;
    HoverFrame *m_cardReport = nullptr;
    QLabel *m_cardReportText = nullptr;
    PublishingPanel *m_publishing = nullptr;
    DonorsPanel *m_donors = nullptr;
    QWidget *m_sidebar = nullptr;
    QWidget *m_tableColumn = nullptr;

    QList<BarButton *> m_buttons; // every button the window draws, whatever its panel
    int m_busyDepth = 0;
    bool m_quitting = false;
};

} // namespace kestrava

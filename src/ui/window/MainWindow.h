#pragma once

#include <QList>
#include <QMainWindow>

class QFrame;

namespace kestrava {

class AboutBox;
class CalendarRibbon;
class CardReportCard;
class ChartPanel;
class DonorsPanel;
class FixtureGridPanel;
class HeaderBar;
class HighlightsPanel;
class LeagueTableItemModel;
class LeagueTablePanel;
class LeagueTableView;
class MainController;
class OptionsPanel;
class ProjectionsPanel;
class PublishingPanel;
class RankingsOverlays;
class SeasonCard;
class SummaryCard;
class TeamSheetPanel;

// The main window lays out the subsystems' panels: the header bar, the calendar ribbon, the table's
// column, the side column (the season card, the team summary and the fixture grid), and the cards
// that float over them. Each panel draws its own models; the window places the floating cards and passes what
// happens to the window as a whole (the pointer on its bare background, closing, busy periods).
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(MainController &controller, QWidget *parent = nullptr);
    ~MainWindow() override;

    LeagueTableItemModel *tableModel() const;
    LeagueTableView *tableView() const;
    FixtureGridPanel *gridPanel() const { return m_grid; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildSidebar(QWidget *parent);
    void placeOverlays();
    // The panel a button opens, or null; a click on it brings that panel in front.
    QWidget *panelOpenedBy(int index) const;
    void raiseInOpenOrder();
    QList<QWidget *> overlays() const;

    MainController &m_controller;
    QWidget *m_backdrop = nullptr;
    HeaderBar *m_header = nullptr;
    CalendarRibbon *m_calendar = nullptr;
    LeagueTablePanel *m_table = nullptr;
    QWidget *m_sidebar = nullptr;
    SeasonCard *m_seasonCard = nullptr;
    SummaryCard *m_summary = nullptr;
    FixtureGridPanel *m_grid = nullptr;

    RankingsOverlays *m_rankings = nullptr;
    OptionsPanel *m_options = nullptr;
    PublishingPanel *m_publishing = nullptr;
    DonorsPanel *m_donors = nullptr;
    CardReportCard *m_cardReport = nullptr;
    AboutBox *m_about = nullptr;
    TeamSheetPanel *m_sheet = nullptr;
    ProjectionsPanel *m_projections = nullptr;
    ChartPanel *m_chart = nullptr;
    HighlightsPanel *m_highlights = nullptr;

    // The open panels in the order they came into view: the one opened last lies in front.
    QList<QWidget *> m_openOrder;
    int m_busyDepth = 0;
    bool m_quitting = false;
};

} // namespace kestrava

#include "MainWindow.h"

#include "matchdays/CalendarRibbon.h"
#include "matchdays/CardReportCard.h"
#include "matchdays/FixtureGridPanel.h"
#include "online/DonorsPanel.h"
#include "online/NewsStrip.h"
#include "online/PublishingPanel.h"
#include "platform/Cards.h"
#include "standings/LeagueTablePanel.h"
#include "standings/LeagueTableView.h"
#include "standings/RankingsOverlays.h"
#include "standings/SeasonCard.h"
#include "projections/ProjectionsPanel.h"
#include "teamviews/ChartPanel.h"
#include "teamviews/HighlightsPanel.h"
#include "teamviews/MovementIcons.h"
#include "teamviews/SummaryCard.h"
#include "teamviews/TeamSheetPanel.h"
#include "window/AboutBox.h"
#include "window/HeaderBar.h"
#include "window/MainController.h"
#include "window/OptionsPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace kestrava {

namespace {
constexpr int Margin = 14;
constexpr int SidebarWidth = 372;
constexpr int OverlayGap = 10;
} // namespace

MainWindow::MainWindow(MainController &controller, QWidget *parent)
    : QMainWindow(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(m_controller.windowTitle());
    setWindowIcon(QIcon(LeagueLogoPixmap(64)));

    // The window's bare background: the mouse over it is "over the window".
    auto *backdrop = new HoverFrame(this);
    backdrop->setObjectName(QStringLiteral("backdrop"));
    backdrop->setOnHover([this] { m_controller.hoverWindow(); });
    backdrop->setAutoFillBackground(true);
    m_backdrop = backdrop;
    setCentralWidget(backdrop);

    auto *layout = new QVBoxLayout(backdrop);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new HeaderBar(m_controller, backdrop);
    layout->addWidget(m_header);

    // The season's months under the header band, across the whole window.
    auto *ribbon = new QHBoxLayout;
    ribbon->setContentsMargins(Margin, 8, Margin, 0);
    m_calendar = new CalendarRibbon(m_controller.matchdays(), backdrop);
    m_calendar->setStyleSheet(WindowStyleSheet());
    ribbon->addWidget(m_calendar);
    layout->addLayout(ribbon);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(Margin, 8, Margin, Margin - 2);
    body->setSpacing(Margin);
    m_table = new LeagueTablePanel(m_controller.standings(), m_controller.season(), backdrop);
    m_table->addBesideTitle(new NewsStrip(m_controller.download().news(), m_table));
    TeamViewsController &teamViews = m_controller.teamViews();
    m_table->setLastUpdateClick([&teamViews] { teamViews.clickLastUpdate(); });
    m_table->addBesideTable(new MovementIcons(m_controller.chart(), m_controller.standings().table(),
        LeagueTableView::HeaderHeight + tableView()->frameWidth(), LeagueTableView::RowHeight, m_table));
    body->addWidget(m_table, 0, Qt::AlignTop);
    body->addStretch(1);
    m_sidebar = buildSidebar(backdrop);
    body->addWidget(m_sidebar);
    layout->addLayout(body, 1);

    // The floating cards.
    ButtonBarModel &buttons = m_controller.buttons();
    m_options = new OptionsPanel(m_controller.options(), buttons, backdrop);
    m_rankings = new RankingsOverlays(m_controller.standings(), buttons, backdrop);
    m_publishing = new PublishingPanel(m_controller.publishing(), m_controller.session(), backdrop);
    m_donors = new DonorsPanel(m_controller.donors(), buttons, backdrop);
    m_cardReport = new CardReportCard(m_controller.matchdays(), backdrop);
    m_about = new AboutBox(m_controller, backdrop);
    m_sheet = new TeamSheetPanel(m_controller.teamViews(), buttons, backdrop);
    m_projections = new ProjectionsPanel(m_controller.projections(), buttons, backdrop);
    m_chart = new ChartPanel(m_controller.chart(), buttons, backdrop);
    m_highlights = new HighlightsPanel(m_controller.chart(), buttons, backdrop);
    for (QWidget *overlay : overlays())
        overlay->hide();
    // A window built on a running controller shows what its models hold already.
    m_rankings->refresh();
    m_rankings->refreshMatchdayList();
    m_options->refresh();
    SetShown(m_options, m_controller.options().model().visible);
    m_about->refresh();
    m_cardReport->refresh();
    m_sheet->refresh();
    m_projections->refresh();
    m_chart->refresh();
    m_highlights->refresh();

    // Every card that comes or goes moves the others out of its way.
    connect(&m_controller.options().model(), &OptionsModel::changed, this, [this] {
        m_options->refresh();
        SetShown(m_options, m_controller.options().model().visible);
        placeOverlays();
    });
    connect(m_rankings, &RankingsOverlays::layoutChanged, this, &MainWindow::placeOverlays);
    connect(&m_controller.publishing().model(), &PublishingModel::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.donors().model(), &DonorsModel::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.matchdays(), &MatchdaysController::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.panels(), &WindowPanels::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.teamViews().sheet(), &TeamSheetModel::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.projections().model(), &ProjectionsModel::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.chart().chart(), &EvolutionChartModel::changed, this, &MainWindow::placeOverlays);
    connect(&m_controller.chart().highlights(), &HighlightsModel::changed, this, &MainWindow::placeOverlays);
    // A panel opened again while it lies under another comes in front all the same.
    connect(&m_controller, &MainController::buttonClicked, this, [this](int index) {
        QWidget *panel = panelOpenedBy(index);
        if (!panel || !panel->isVisibleTo(m_backdrop))
            return;
        m_openOrder.removeAll(panel);
        m_openOrder.append(panel);
        raiseInOpenOrder();
    });
    // A desktop notice was clicked: the window comes up, out of the task bar if need be.
    connect(&m_controller.refresh(), &RefreshController::raiseRequested, this, [this] {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
    });
    connect(&m_controller, &MainController::quitRequested, this, [this] {
        m_quitting = true;
        close();
    });
    // Busy periods may nest (a save recomputes the table): one hourglass for the outermost.
    connect(&m_controller, &MainController::busyChanged, this, [this](bool busy) {
        if (busy && m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (!busy && m_busyDepth > 0 && --m_busyDepth == 0)
            QApplication::restoreOverrideCursor();
    });

    // The frequent buttons' keys, and Escape for the panel on top.
    for (int i = 0; i < ButtonCount; ++i) {
        const QString key = ButtonBarModel::shortcut(i);
        if (key.isEmpty())
            continue;
        auto *shortcut = new QShortcut(QKeySequence(key, QKeySequence::PortableText), this);
        connect(shortcut, &QShortcut::activated, this, [this, i] { m_controller.pressShortcut(i); });
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { m_controller.closeOpenPanel(); });

    // Sized for a 1366 x 768 screen, title bar and task bar included.
    resize(m_table->width() + SidebarWidth + 3 * Margin, 690);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.center() - rect().center());
    }
}

MainWindow::~MainWindow()
{
    if (m_busyDepth > 0)
        QApplication::restoreOverrideCursor();
}

LeagueTableItemModel *MainWindow::tableModel() const
{
    return m_table->tableModel();
}

LeagueTableView *MainWindow::tableView() const
{
    return m_table->tableView();
}

QWidget *MainWindow::buildSidebar(QWidget *parent)
{
    auto *sidebar = new QWidget(parent);
    sidebar->setObjectName(QStringLiteral("sidebar"));
    sidebar->setFixedWidth(SidebarWidth);
    auto *layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    MatchdaysController &matchdays = m_controller.matchdays();
    TeamViewsController &teamViews = m_controller.teamViews();
    m_seasonCard = new SeasonCard(
        m_controller.standings().table(), [&matchdays] { matchdays.clickGoalsSummary(); },
        [&teamViews] { teamViews.clickLeader(); }, sidebar);
    layout->addWidget(m_seasonCard);
    m_summary = new SummaryCard(teamViews, sidebar);
    layout->addWidget(m_summary);
    // The fixture grid takes the rest of the column; a team's 34 fixtures scroll in it.
    m_grid = new FixtureGridPanel(matchdays, sidebar);
    m_grid->setTeamHover(
        [&teamViews](int row, bool away, bool nameBox) { teamViews.hoverGridTeam(row, away, nameBox); });
    layout->addWidget(m_grid, 1);
    layout->addStretch(0);
    return sidebar;
}

QList<QWidget *> MainWindow::overlays() const
{
    // The design's order, for panels that open together: the chart and the highlights under the full
    // pages, the smaller cards over these.
    return { m_chart, m_highlights, m_sheet, m_projections, m_rankings->rankingsMenu(), m_rankings->matchdayList(),
        m_rankings->bonusList(), m_options, m_publishing, m_donors, m_about, m_cardReport,
        m_rankings->workList() };
}

void MainWindow::placeOverlays()
{
    for (QWidget *overlay : overlays()) {
        if (overlay->isVisibleTo(m_backdrop))
            overlay->adjustSize();
    }
    const auto shown = [this](QWidget *w) { return w->isVisibleTo(m_backdrop); };
    const auto topLeftOf = [this](QWidget *w) { return w->mapTo(m_backdrop, QPoint(0, 0)); };
    const int top = topLeftOf(m_table).y();
    const QRect sidebar(topLeftOf(m_sidebar), m_sidebar->size());

    // The panels of the right-hand column (options, publishing, donors) lie over it, side by side
    // from its right edge leftwards when several are open.
    // Publishing and the donors cover the column from top to bottom, like a sheet laid over it.
    int right = sidebar.right() + 1;
    for (QWidget *panel : { static_cast<QWidget *>(m_options), static_cast<QWidget *>(m_publishing),
             static_cast<QWidget *>(m_donors), static_cast<QWidget *>(m_highlights) }) {
        if (!shown(panel))
            continue;
        if (panel != m_options && panel != m_highlights)
            panel->resize(panel->width(), std::max(panel->minimumSizeHint().height(), sidebar.height()));
        panel->move(right - panel->width(), top);
        right -= panel->width() + OverlayGap;
    }

    // The rankings panels over the right-hand columns of the table, one under the other; left of
    // the column's panels when these reach over the table.
    QWidget *table = tableView();
    const int tableRight = topLeftOf(table).x() + table->sizeHint().width();
    const int dockRight = std::min(tableRight, right);
    int y = topLeftOf(table).y();
    for (QWidget *panel : { m_rankings->rankingsMenu(), m_rankings->matchdayList(), m_rankings->bonusList() }) {
        if (!shown(panel))
            continue;
        panel->move(dockRight - panel->width(), y);
        y += panel->height() + 8;
    }

    // The card report beside the goals it details.
    const QPoint goals = topLeftOf(m_seasonCard->goalsSummary());
    m_cardReport->move(sidebar.left() - OverlayGap - m_cardReport->width(),
        std::min(goals.y(), m_backdrop->height() - m_cardReport->height() - Margin));
    m_about->move(Margin + (table->width() - m_about->width()) / 2, top + 70);
    m_rankings->workList()->move(Margin, m_header->height() - 4);
    // The chart lies over the table's column, from its title down: the side column, with the
    // progress bar of its preparation, stays in view.
    const QPoint column = topLeftOf(m_table);
    m_chart->setGeometry(column.x(), top, m_table->width(), m_backdrop->height() - top - Margin);
    // The team sheet lies over everything under the button bar, as a page laid on the window.
    m_sheet->setGeometry(Margin, m_header->height() + 6, m_backdrop->width() - 2 * Margin,
        m_backdrop->height() - m_header->height() - 6 - Margin);
    m_projections->setGeometry(m_sheet->geometry());

    // A panel just opened comes in front of those already open (the sheet over the projections, the
    // chart over the sheet); panels opened by one click keep the design's order among themselves.
    for (QWidget *overlay : overlays()) {
        if (shown(overlay) && !m_openOrder.contains(overlay))
            m_openOrder.append(overlay);
    }
    raiseInOpenOrder();
}

void MainWindow::raiseInOpenOrder()
{
    m_openOrder.removeIf([this](QWidget *w) { return !w->isVisibleTo(m_backdrop); });
    for (QWidget *overlay : std::as_const(m_openOrder))
        overlay->raise();
}

QWidget *MainWindow::panelOpenedBy(int index) const
{
    switch (index) {
    case Btn::Teams:
    case Btn::ChartTeam:
        return m_sheet;
    case Btn::Chart:
        return m_chart;
    case Btn::Highlights:
        return m_highlights;
    case Btn::Projections:
        return m_projections;
    case Btn::SendFile:
        return m_publishing;
    case Btn::Donors:
        return m_donors;
    case Btn::Options:
        return m_options;
    case Btn::About:
        return m_about;
    case Btn::Rankings:
        return m_rankings->rankingsMenu();
    case Btn::BonusMalus:
        return m_rankings->bonusList();
    case Btn::MatchdayTables:
        return m_rankings->matchdayList();
    default:
        return nullptr;
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeOverlays();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // "Quitter" has already asked about unsaved entries and saved the options.
    if (!m_quitting && !m_controller.confirmClose()) {
        event->ignore();
        return;
    }
    m_controller.close();
    event->accept();
}

} // namespace kestrava

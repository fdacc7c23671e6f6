#include "MainWindow.h"

#include "matchdays/CalendarRibbon.h"
#include "matchdays/FixtureGridPanel.h"
#include "online/DonorsPanel.h"
#include "online/PublishingPanel.h"
#include "season/CrestPixmap.h"
#include "standings/FormGuide.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"
#include "window/ClickableWidgets.h"
#include "window/MainController.h"
#include "window/OptionsPanel.h"
#include "window/Style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <functional>

namespace kestrava {

// The filled part of the season's progress bar.
class ProgressStrip : public QWidget
{
public:
    using QWidget::QWidget;

    void setFraction(double fraction)
    {
        fraction = std::clamp(fraction, 0.0, 1.0);
        if (fraction == m_fraction)
            return;
        m_fraction = fraction;
        update();
    }
    double fraction() const { return m_fraction; }
    QSize sizeHint() const override { return { 200, 12 }; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const QRectF track(rect());
        const double radius = track.height() / 2;
        p.setBrush(QColor(226, 232, 239));
        p.drawRoundedRect(track, radius, radius);
        if (m_fraction <= 0)
            return;
        QRectF filled = track;
        filled.setWidth(std::max(track.height(), track.width() * m_fraction));
        QLinearGradient fill(filled.topLeft(), filled.topRight());
        fill.setColorAt(0, Palette::Teal.lighter(130));
        fill.setColorAt(1, Palette::Teal);
        p.setBrush(fill);
        p.drawRoundedRect(filled, radius, radius);
    }

private:
    double m_fraction = 0;
};

namespace {

constexpr int Margin = 14;
constexpr int SidebarWidth = 372;
constexpr int DockWidth = 336;
constexpr int HeaderHeight = 52;
constexpr int LeaderCrestSize = 40;
constexpr int MatchdayColumns = 12;
constexpr int OverlayGap = 10;

// Where the buttons of the bar and of the rankings menu sit, left to right. Only those that the
// model says are built are shown.
constexpr int barOrder[] = { 21, 20, 1, 33, 12, 9, 13, 16, 27, 36, 7, 6, 0 };
constexpr int rankingsOrder[] = { 4, 10, 2, 3, 8, 5, 18, 22, 23, 25, 29, 31, 19 };

// The navy band across the top of the window.
class HeaderBand : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Palette::Navy);
        p.fillRect(QRect(0, height() - 3, width(), 3), Palette::Teal);
    }
};

QFrame *card(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setProperty("kcard", true);
    return frame;
}

QLabel *valueLabel(QWidget *parent, const char *name, double points, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(UiFont(points, bold));
    label->setWordWrap(true);
    return label;
}

void shadow(QWidget *widget)
{
    auto *effect = new QGraphicsDropShadowEffect(widget);
    effect->setBlurRadius(28);
    effect->setOffset(0, 6);
    effect->setColor(QColor(9, 27, 49, 110));
    widget->setGraphicsEffect(effect);
}

// A card floating over the window, with its shadow and a style sheet of its own (see buildSidebar).
template <typename Frame> Frame *overlayCard(QWidget *parent, const char *name)
{
    auto *frame = new Frame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setProperty("kcard", QStringLiteral("overlay"));
    frame->setStyleSheet(WindowStyleSheet());
    shadow(frame);
    return frame;
}

// An overlay card that a click anywhere on it closes.
HoverFrame *closingCard(QWidget *parent, const char *name, std::function<void()> click)
{
    auto *frame = overlayCard<HoverFrame>(parent, name);
    frame->setOnClick(std::move(click));
    frame->setToolTip(QStringLiteral("Cliquez pour fermer"));
    return frame;
}

// An overlay card's column, under its caption.
QVBoxLayout *captionedColumn(QFrame *frame, const QString &caption, const QMargins &margins, int spacing)
{
    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(margins);
    column->setSpacing(spacing);
    column->addWidget(CaptionLabel(caption, frame));
    return column;
}

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
    m_header = buildHeader(backdrop);
    layout->addWidget(m_header);

    // The season's months under the header band, across the whole window.
    auto *ribbon = new QHBoxLayout;
    ribbon->setContentsMargins(Margin, 8, Margin, 0);
    m_calendar = new CalendarRibbon(m_controller, backdrop);
    m_calendar->setStyleSheet(WindowStyleSheet());
    ribbon->addWidget(m_calendar);
    layout->addLayout(ribbon);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(Margin, 8, Margin, Margin - 2);
    body->setSpacing(Margin);
    m_tableColumn = buildTableColumn(backdrop);
    body->addWidget(m_tableColumn, 0, Qt::AlignTop);
    body->addStretch(1);
    m_sidebar = buildSidebar(backdrop);
    body->addWidget(m_sidebar);
    layout->addLayout(body, 1);

    buildOverlays(backdrop);

    connect(&m_controller.table(), &LeagueTableModel::changed, this, &MainWindow::refreshTable);
    connect(&m_controller.buttons(), &ButtonBarModel::changed, this, &MainWindow::refreshButtons);
    connect(&m_controller.panels(), &PanelsModel::changed, this, &MainWindow::refreshPanels);
    connect(&m_controller.options(), &OptionsModel::changed, this, &MainWindow::refreshOptions);
    connect(
        &m_controller.matchdayList(), &MatchdayListModel::changed, this, &MainWindow::refreshMatchdayList);
    // Opening a panel may hide the day's totals of the grid; the panels move out of each other's way.
    connect(&m_controller.publishing(), &PublishingModel::changed, this, [this] {
        m_grid->refresh();
        placeOverlays();
    });
    connect(&m_controller.donors(), &DonorsModel::changed, this, &MainWindow::placeOverlays);
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

    refreshTable();
    refreshButtons();
    refreshPanels();
    refreshOptions();
    refreshMatchdayList();

    // Sized for a 1366 x 768 screen, title bar and task bar included.
    resize(m_tableColumn->width() + SidebarWidth + 3 * Margin, 690);
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

QWidget *MainWindow::buildHeader(QWidget *parent)
{
    auto *band = new HeaderBand(parent);
    band->setObjectName(QStringLiteral("header"));
    band->setFixedHeight(HeaderHeight);
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(Margin, 5, Margin - 6, 8);
    row->setSpacing(3);

    auto *logo = new ClickablePicture(
        LeagueLogoPixmap(38), [this] { m_controller.clickLogo(); }, band);
    logo->setObjectName(QStringLiteral("logo"));
    row->addWidget(logo);
    row->addSpacing(7);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(0);
    // The program's name: the editor's click on it shows or hides "Expé Fichier".
    auto *name = new ClickableLabel(band);
    name->setObjectName(QStringLiteral("programTitle"));
    name->setText(QStringLiteral("Kestrava"));
    name->setFont(UiFont(14, true));
    SetTextColour(name, Qt::white);
    name->setOnClick([this] { m_controller.clickTitleLabel(); });
    name->setCursor(Qt::ArrowCursor);
    auto *season = new QLabel(m_controller.windowTitle().simplified(), band);
    season->setFont(UiFont(8));
    // When the editor's buttons crowd the bar, the season line gives way first.
    season->setMinimumWidth(60);
    SetTextColour(season, Palette::HeaderText);
    titles->addStretch(1);
    titles->addWidget(name);
    titles->addWidget(season);
    titles->addStretch(1);
    row->addLayout(titles);
    row->addStretch(1);

    for (const int index : barOrder) {
        if (m_controller.buttons().button(index).place != ButtonPlace::Bar)
            continue;
        auto *button = new BarButton(m_controller, index, band);
        button->setFont(UiFont(8.5, true));
        button->setMetrics(8, 30);
        m_buttons.append(button);
        row->addWidget(button, 0, Qt::AlignVCenter);
    }
    return band;
}

QWidget *MainWindow::buildTableColumn(QWidget *parent)
{
    auto *column = new QWidget(parent);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    m_tableModel = new LeagueTableItemModel(m_controller.table(), m_controller.season(), this);
    m_tableView = new LeagueTableView(m_tableModel, column);
    m_tableView->onNameClicked = [this](int row) { m_controller.clickTableRow(row); };

    // Above the table: its title, the introduction text or the column titles.
    auto *strip = new QWidget(column);
    strip->setStyleSheet(WindowStyleSheet());
    strip->setFixedHeight(36);
    auto *stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(0, 0, 0, 0);
    stripRow->setSpacing(10);
    m_title = valueLabel(strip, "tableTitle", 13, true);
    m_title->setWordWrap(false);
    SetTextColour(m_title, Palette::Navy);
    stripRow->addWidget(m_title);

    m_introFrame = new QFrame(strip);
    m_introFrame->setObjectName(QStringLiteral("introFrame"));
    m_introFrame->setProperty("kintro", true);
    auto *introRow = new QHBoxLayout(m_introFrame);
    introRow->setContentsMargins(10, 2, 10, 2);
    m_introText = valueLabel(m_introFrame, "introText", 9.5, false);
    SetTextColour(m_introText, QColor(11, 64, 64));
    introRow->addWidget(m_introText);
    stripRow->addWidget(m_introFrame, 1);

    m_columnTitles = new QWidget(strip);
    m_columnTitles->setObjectName(QStringLiteral("columnTitles"));
    auto *titlesRow = new QHBoxLayout(m_columnTitles);
    titlesRow->setContentsMargins(0, 0, 0, 0);
    titlesRow->setSpacing(6);
    for (const QString &text : { QStringLiteral("dom. : Domicile"), QStringLiteral("ext. : Extérieur") }) {
        auto *chip = new QLabel(text, m_columnTitles);
        chip->setProperty("kchip", true);
        titlesRow->addWidget(chip);
    }
    stripRow->addStretch(0);
    stripRow->addWidget(m_columnTitles, 0, Qt::AlignRight | Qt::AlignBottom);
    layout->addWidget(strip);

    layout->addWidget(m_tableView, 0, Qt::AlignLeft);

    auto *below = new QHBoxLayout;
    below->setContentsMargins(2, 2, 2, 0);
    m_formLegend = new FormLegend(column);
    m_formLegend->setObjectName(QStringLiteral("formLegend"));
    below->addWidget(m_formLegend);
    below->addStretch(1);
    auto *updateCaption = new QLabel(QStringLiteral("Dernière mise à jour des résultats :"), column);
    SetTextColour(updateCaption, Palette::Muted);
    below->addWidget(updateCaption);
    m_lastUpdate = valueLabel(column, "lastUpdate", 9, true);
    m_lastUpdate->setWordWrap(false);
    below->addWidget(m_lastUpdate);
    layout->addLayout(below);

    // The column keeps its width when the form guide is hidden, so the side panel does not move.
    m_tableView->setFormGuideVisible(true);
    column->setFixedWidth(m_tableView->sizeHint().width());
    return column;
}

QWidget *MainWindow::buildSidebar(QWidget *parent)
{
    auto *sidebar = new QWidget(parent);
    sidebar->setObjectName(QStringLiteral("sidebar"));
    sidebar->setFixedWidth(SidebarWidth);
    auto *layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    // The cards are styled one by one: a style sheet over the grid would take the colours of its
    // card boxes and slow every keystroke.
    // The season at a glance: the leader, the progress and the goals.
    m_seasonCard = card(sidebar, "seasonCard");
    m_seasonCard->setStyleSheet(WindowStyleSheet());
    auto *season = new QVBoxLayout(m_seasonCard);
    season->setContentsMargins(12, 9, 12, 9);
    season->setSpacing(5);
    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    m_leaderCrest = new QLabel(m_seasonCard);
    m_leaderCrest->setObjectName(QStringLiteral("leaderCrest"));
    m_leaderCrest->setFixedSize(LeaderCrestSize, LeaderCrestSize);
    top->addWidget(m_leaderCrest);
    m_leaderText = valueLabel(m_seasonCard, "leaderText", 11, true);
    m_leaderText->setWordWrap(false);
    SetTextColour(m_leaderText, Palette::Navy);
    top->addWidget(m_leaderText, 1);
    auto *progress = new QVBoxLayout;
    progress->setSpacing(4);
    progress->addStretch(1);
    m_progressText = valueLabel(m_seasonCard, "progressText", 8.5, true);
    m_progressText->setWordWrap(false);
    m_progressText->setAlignment(Qt::AlignRight);
    progress->addWidget(m_progressText);
    m_progress = new ProgressStrip(m_seasonCard);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setFixedSize(160, 10);
    progress->addWidget(m_progress, 0, Qt::AlignRight);
    progress->addStretch(1);
    top->addLayout(progress);
    season->addLayout(top);
    // A click on the goals gives the cards, day by day.
    m_goalsSummary = new ClickableLabel(m_seasonCard);
    m_goalsSummary->setObjectName(QStringLiteral("goalsSummary"));
    m_goalsSummary->setFont(UiFont(8.5));
    SetTextColour(m_goalsSummary, Palette::Muted);
    m_goalsSummary->setToolTip(QStringLiteral("Cliquez pour le détail des cartons, journée par journée"));
    m_goalsSummary->setOnClick([this] { m_controller.clickGoalsSummary(); });
    season->addWidget(m_goalsSummary);
    layout->addWidget(m_seasonCard);

    m_gamesInHandFrame = new QFrame(sidebar);
    m_gamesInHandFrame->setObjectName(QStringLiteral("gamesInHandFrame"));
    m_gamesInHandFrame->setProperty("kalert", true);
    m_gamesInHandFrame->setStyleSheet(WindowStyleSheet());
    auto *games = new QHBoxLayout(m_gamesInHandFrame);
    games->setContentsMargins(10, 5, 10, 5);
    m_gamesInHand = valueLabel(m_gamesInHandFrame, "gamesInHand", 8.5, false);
    SetTextColour(m_gamesInHand, QColor(90, 50, 0));
    games->addWidget(m_gamesInHand);
    layout->addWidget(m_gamesInHandFrame);

    // The fixture grid takes the rest of the column; a team's 34 fixtures scroll in it.
    m_grid = new FixtureGridPanel(m_controller, sidebar);
    layout->addWidget(m_grid, 1);
    layout->addStretch(0);
    return sidebar;
}

void MainWindow::buildRankingsPanels(QWidget *parent)
{
    // The rankings menu, the matchday list and the bonus list float one above the other over the
    // right-hand columns of the table, so that the ranks, names and points stay in sight.
    // The rankings menu; the rows of the window do not react to the mouse passing over it.
    m_rankingsMenu = overlayCard<QFrame>(parent, "rankingsMenu");
    m_rankingsMenu->setAttribute(Qt::WA_NoMousePropagation);
    m_rankingsMenu->setFixedWidth(DockWidth);
    QVBoxLayout *menu
        = captionedColumn(m_rankingsMenu, QStringLiteral("Classements"), QMargins(12, 10, 12, 12), 8);
    m_rankingsGrid = new QGridLayout;
    m_rankingsGrid->setHorizontalSpacing(6);
    m_rankingsGrid->setVerticalSpacing(5);
    menu->addLayout(m_rankingsGrid);
    for (const int index : rankingsOrder) {
        if (m_controller.buttons().button(index).place != ButtonPlace::RankingsMenu)
            continue;
        auto *button = new BarButton(m_controller, index, m_rankingsMenu);
        button->setFont(UiFont(8, true));
        button->setMetrics(8, 26);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_rankingsButtons.append(button);
        m_buttons.append(button);
    }

    m_matchdayFrame = overlayCard<HoverFrame>(parent, "matchdayList");
    m_matchdayFrame->setOnHover([this] { m_controller.hoverMatchdayListFrame(); });
    m_matchdayFrame->setFixedWidth(DockWidth);
    QVBoxLayout *days = captionedColumn(
        m_matchdayFrame, QStringLiteral("Classement à la journée"), QMargins(12, 10, 12, 12), 8);
    auto *grid = new QGridLayout;
    grid->setSpacing(3);
    for (int n = 1; n <= MatchdayCount; ++n) {
        auto *number = new MatchdayNumber(m_controller, n, m_matchdayFrame);
        number->setFixedSize(23, 23);
        m_matchdayNumbers[n] = number;
        grid->addWidget(number, (n - 1) / MatchdayColumns, (n - 1) % MatchdayColumns);
    }
    days->addLayout(grid);

    m_bonusFrame = closingCard(parent, "bonusList", [this] { m_controller.clickBonusList(); });
    m_bonusFrame->setFixedWidth(DockWidth);
    QVBoxLayout *bonus
        = captionedColumn(m_bonusFrame, QStringLiteral("Bonus - Malus"), QMargins(12, 10, 12, 12), 6);
    m_bonusLines = valueLabel(m_bonusFrame, "bonusLines", 9, false);
    bonus->addWidget(m_bonusLines);
}

void MainWindow::buildOverlays(QWidget *parent)
{
    m_options = new OptionsPanel(m_controller, parent);
    m_options->setStyleSheet(WindowStyleSheet());
    shadow(m_options);
    m_buttons.append(m_options->buttons());

    buildRankingsPanels(parent);

    m_publishing = new PublishingPanel(m_controller, parent);
    m_publishing->setStyleSheet(WindowStyleSheet());
    shadow(m_publishing);
    m_buttons.append(m_publishing->buttons());

    m_donors = new DonorsPanel(m_controller, parent);
    m_donors->setStyleSheet(WindowStyleSheet());
    shadow(m_donors);
    m_buttons.append(m_donors->buttons());

    // The cards of the season, day by day; a click closes it.
    m_cardReport = closingCard(parent, "cardReport", [this] { m_controller.clickCardReport(); });
    QVBoxLayout *report
        = captionedColumn(m_cardReport, QStringLiteral("Cartons par journée"), QMargins(14, 10, 14, 12), 6);
    m_cardReportText = new QLabel(m_cardReport);
    m_cardReportText->setObjectName(QStringLiteral("cardReportText"));
    m_cardReportText->setFont(UiFont(8.5));
    report->addWidget(m_cardReportText);

    // The about box.
    m_about = overlayCard<QFrame>(parent, "aboutBox");
    m_about->setAttribute(Qt::WA_NoMousePropagation);
    auto *about = new QHBoxLayout(m_about);
    about->setContentsMargins(22, 20, 22, 18);
    about->setSpacing(20);
    auto *logo = new QLabel(m_about);
    logo->setPixmap(LeagueLogoPixmap(84));
    logo->setAlignment(Qt::AlignTop);
    about->addWidget(logo);
    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(TitleLabel(QStringLiteral("Kestrava"), 18, m_about));
    m_aboutVersion = valueLabel(m_about, "aboutVersion", 9.5, true);
    SetTextColour(m_aboutVersion, Palette::Teal);
    text->addWidget(m_aboutVersion);
    auto *description = new QLabel(
        QStringLiteral(
            "Le championnat de France de Ligue 1, saison 2026\u00a0-\u00a02027 : le classement et ses "
            "départages, le classement à chaque journée, les matches en retard et "
            "l'avancement de la saison, pour les 18 clubs."),
        m_about);
    description->setWordWrap(true);
    description->setFixedWidth(330);
    text->addWidget(description);
    // The publisher's pages.
    auto *links = new QHBoxLayout;
    links->setSpacing(18);
    auto *home = new ClickableLabel(m_about);
    home->setObjectName(QStringLiteral("homeLink"));
    home->setProperty("klink", true);
    home->setText(QStringLiteral("Site de l'éditeur"));
    home->setToolTip(QStringLiteral("Ouvrir la page d'accueil du site"));
    home->setOnClick([this] { m_controller.clickHomeLink(); });
    links->addWidget(home);
    auto *contact = new ClickableLabel(m_about);
    contact->setObjectName(QStringLiteral("contactLink"));
    contact->setProperty("klink", true);
    contact->setText(QStringLiteral("Contact"));
    contact->setToolTip(QStringLiteral("Écrire à l'éditeur"));
    contact->setOnClick([this] { m_controller.clickContactLink(); });
    links->addWidget(contact);
    links->addStretch(1);
    text->addSpacing(2);
    text->addLayout(links);
    text->addStretch(1);
    text->addSpacing(6);
    text->addLayout(RightAlignedButtons(m_controller, { 26 }, 6, m_about, m_buttons));
    about->addLayout(text);

    // The sorted row texts of the last standings run; a click closes it.
    m_workList = closingCard(parent, "workList", [this] { m_controller.clickWorkList(); });
    QVBoxLayout *work = captionedColumn(m_workList,
        QStringLiteral("Lignes du dernier calcul, dans leur ordre de tri"), QMargins(14, 10, 14, 12), 6);
    m_workListLines = new QLabel(m_workList);
    m_workListLines->setObjectName(QStringLiteral("workListLines"));
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSizeF(8);
    m_workListLines->setFont(mono);
    work->addWidget(m_workListLines);

    for (QWidget *overlay : overlays())
        overlay->hide();
}

QList<QWidget *> MainWindow::overlays() const
{
    return { m_rankingsMenu, m_matchdayFrame, m_bonusFrame, m_options, m_publishing, m_donors, m_about,
        m_cardReport, m_workList };
}

void MainWindow::refreshTable()
{
    const LeagueTableModel &table = m_controller.table();
    m_title->setText(table.title());
    SetShown(m_title, !table.title().isEmpty());

    const QString leader = table.leaderName();
    m_leaderText->setText(ScreenText(table.leaderText()));
    if (leader.isEmpty())
        m_leaderCrest->clear();
    else
        m_leaderCrest->setPixmap(CrestPixmap(leader, LeaderCrestSize));
    SetShown(m_leaderCrest, !leader.isEmpty());
    SetShown(m_leaderText, !table.leaderText().isEmpty());

    m_progress->setFraction(table.progressFraction());
    m_progressText->setText(table.progressText());
    m_goalsSummary->setText(ScreenText(table.goalsSummary()));
    m_gamesInHand->setText(table.gamesInHand());
    SetShown(m_gamesInHandFrame, table.gamesInHandVisible());

    m_lastUpdate->setText(table.lastUpdate());
    m_lastUpdate->setToolTip(table.lastUpdateTooltip());
    SetTextColour(m_lastUpdate, ToColour(table.lastUpdateColour()));
}

void MainWindow::refreshButtons()
{
    for (BarButton *button : std::as_const(m_buttons))
        button->refresh();
    placeRankingsButtons();
}

void MainWindow::placeRankingsButtons()
{
    // Two columns of the buttons that are shown, without holes for those that are not.
    QList<BarButton *> shown;
    for (BarButton *button : std::as_const(m_rankingsButtons)) {
        if (m_controller.buttons().isShown(button->index()))
            shown.append(button);
    }
    if (shown == m_placedRankingsButtons)
        return;
    for (BarButton *button : std::as_const(m_rankingsButtons))
        m_rankingsGrid->removeWidget(button);
    for (int i = 0; i < shown.size(); ++i)
        m_rankingsGrid->addWidget(shown[i], i / 2, i % 2);
    m_placedRankingsButtons = shown;
}

void MainWindow::refreshPanels()
{
    const PanelsModel &panels = m_controller.panels();
    m_introText->setText(ScreenText(panels.introText));
    m_introText->setToolTip(ScreenText(panels.introText));
    SetShown(m_introFrame, panels.intro);
    SetShown(m_columnTitles, panels.columnTitles);

    m_tableView->setFormGuideVisible(panels.formGuide);
    SetShown(m_formLegend, panels.formGuide);

    SetShown(m_rankingsMenu, panels.rankingsMenu);

    m_bonusLines->setText(panels.bonusLines.isEmpty() ? QStringLiteral("Aucun bonus ni malus cette saison.")
                                                      : panels.bonusLines.join(u'\n'));
    SetShown(m_bonusFrame, panels.bonusList);

    m_aboutVersion->setText(panels.aboutVersion);
    m_workListLines->setText(panels.workListLines.join(u'\n'));
    m_cardReportText->setText(ScreenText(m_controller.cardReport()));
    SetShown(m_cardReport, m_controller.cardReportVisible());
    m_grid->refresh();

    SetShown(m_options, panels.options);
    SetShown(m_about, panels.about);
    SetShown(m_workList, panels.workList);
    placeOverlays();
}

void MainWindow::refreshOptions()
{
    m_options->refresh();
    placeOverlays();
}

void MainWindow::refreshMatchdayList()
{
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayNumbers[n]->refresh();
    SetShown(m_matchdayFrame, m_controller.matchdayList().shown());
    placeOverlays();
}

void MainWindow::placeOverlays()
{
    for (QWidget *overlay : overlays()) {
        if (overlay->isVisibleTo(m_backdrop))
            overlay->adjustSize();
    }
    const auto shown = [this](QWidget *w) { return w->isVisibleTo(m_backdrop); };
    const auto topLeftOf = [this](QWidget *w) { return w->mapTo(m_backdrop, QPoint(0, 0)); };
    const int top = topLeftOf(m_tableColumn).y();
    const QRect sidebar(topLeftOf(m_sidebar), m_sidebar->size());

    // The panels of the right-hand column (options, publishing, donors) lie over it, side by side
    // from its right edge leftwards when several are open.
    // Publishing and the donors cover the column from top to bottom, like a sheet laid over it.
    int right = sidebar.right() + 1;
    for (QWidget *panel : { static_cast<QWidget *>(m_options), static_cast<QWidget *>(m_publishing),
             static_cast<QWidget *>(m_donors) }) {
        if (!shown(panel))
            continue;
        if (panel != m_options)
            panel->resize(panel->width(), std::max(panel->minimumSizeHint().height(), sidebar.height()));
        panel->move(right - panel->width(), top);
        right -= panel->width() + OverlayGap;
    }

    // The rankings panels over the right-hand columns of the table, one under the other; left of
    // the column's panels when these reach over the table.
    const int tableRight = topLeftOf(m_tableView).x() + m_tableView->sizeHint().width();
    const int dockRight = std::min(tableRight, right);
    int y = topLeftOf(m_tableView).y();
    for (QWidget *panel : { static_cast<QWidget *>(m_rankingsMenu), static_cast<QWidget *>(m_matchdayFrame),
             static_cast<QWidget *>(m_bonusFrame) }) {
        if (!shown(panel))
            continue;
        panel->move(dockRight - panel->width(), y);
        y += panel->height() + 8;
    }

    // The card report beside the goals it details.
    const QPoint goals = topLeftOf(m_goalsSummary);
    m_cardReport->move(sidebar.left() - OverlayGap - m_cardReport->width(),
        std::min(goals.y(), m_backdrop->height() - m_cardReport->height() - Margin));
    m_about->move(Margin + (m_tableView->width() - m_about->width()) / 2, top + 70);
    m_workList->move(Margin, m_header->height() - 4);

    for (QWidget *overlay : overlays()) {
        if (shown(overlay))
            overlay->raise();
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

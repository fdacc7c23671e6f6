#include "MainWindow.h"

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
constexpr int SidebarWidth = 336;
constexpr int HeaderHeight = 60;
constexpr int LeaderCrestSize = 52;
constexpr int MatchdayColumns = 12;

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

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setProperty("kcaption", true);
    return label;
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

void setShown(QWidget *widget, bool shown)
{
    if (widget->isVisibleTo(widget->parentWidget()) != shown)
        widget->setVisible(shown);
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

    auto *body = new QHBoxLayout;
    body->setContentsMargins(Margin, 8, Margin, Margin);
    body->setSpacing(Margin);
    body->addWidget(buildTableColumn(backdrop), 0, Qt::AlignTop);
    body->addStretch(1);
    body->addWidget(buildSidebar(backdrop), 0, Qt::AlignTop);
    layout->addLayout(body, 1);

    buildOverlays(backdrop);

    connect(&m_controller.table(), &LeagueTableModel::changed, this, &MainWindow::refreshTable);
    connect(&m_controller.buttons(), &ButtonBarModel::changed, this, &MainWindow::refreshButtons);
    connect(&m_controller.panels(), &PanelsModel::changed, this, &MainWindow::refreshPanels);
    connect(&m_controller.options(), &OptionsModel::changed, this, &MainWindow::refreshOptions);
    connect(
        &m_controller.matchdayList(), &MatchdayListModel::changed, this, &MainWindow::refreshMatchdayList);
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
    resize(1320, 690);
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
    row->setContentsMargins(Margin, 6, Margin, 9);
    row->setSpacing(10);

    auto *logo = new ClickablePicture(
        LeagueLogoPixmap(42), [this] { m_controller.clickLogo(); }, band);
    logo->setObjectName(QStringLiteral("logo"));
    row->addWidget(logo);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(0);
    auto *name = new QLabel(QStringLiteral("Kestrava"), band);
    name->setFont(UiFont(15, true));
    SetTextColour(name, Qt::white);
    auto *season = new QLabel(m_controller.windowTitle().simplified(), band);
    season->setFont(UiFont(8.5));
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

    // Above the table: its title, the introduction text or the column titles.
    auto *strip = new QWidget(column);
    strip->setStyleSheet(WindowStyleSheet());
    strip->setFixedHeight(44);
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
    introRow->setContentsMargins(10, 3, 10, 3);
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
    sidebar->setStyleSheet(WindowStyleSheet());
    sidebar->setFixedWidth(SidebarWidth);
    auto *layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    // The season at a glance: the leader, the progress and the goals.
    m_seasonCard = card(sidebar, "seasonCard");
    auto *season = new QVBoxLayout(m_seasonCard);
    season->setContentsMargins(14, 12, 14, 12);
    season->setSpacing(6);
    auto *leader = new QHBoxLayout;
    leader->setSpacing(12);
    m_leaderCrest = new QLabel(m_seasonCard);
    m_leaderCrest->setObjectName(QStringLiteral("leaderCrest"));
    m_leaderCrest->setFixedSize(LeaderCrestSize, LeaderCrestSize);
    leader->addWidget(m_leaderCrest);
    m_leaderText = valueLabel(m_seasonCard, "leaderText", 12.5, true);
    SetTextColour(m_leaderText, Palette::Navy);
    leader->addWidget(m_leaderText, 1);
    season->addLayout(leader);
    season->addSpacing(4);
    m_progressText = valueLabel(m_seasonCard, "progressText", 9, true);
    season->addWidget(m_progressText);
    m_progress = new ProgressStrip(m_seasonCard);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setFixedHeight(12);
    season->addWidget(m_progress);
    season->addSpacing(4);
    m_goalsSummary = valueLabel(m_seasonCard, "goalsSummary", 9, false);
    season->addWidget(m_goalsSummary);
    layout->addWidget(m_seasonCard);

    m_gamesInHandFrame = new QFrame(sidebar);
    m_gamesInHandFrame->setObjectName(QStringLiteral("gamesInHandFrame"));
    m_gamesInHandFrame->setProperty("kalert", true);
    auto *games = new QHBoxLayout(m_gamesInHandFrame);
    games->setContentsMargins(10, 6, 10, 6);
    m_gamesInHand = valueLabel(m_gamesInHandFrame, "gamesInHand", 9, false);
    SetTextColour(m_gamesInHand, QColor(90, 50, 0));
    games->addWidget(m_gamesInHand);
    layout->addWidget(m_gamesInHandFrame);

    // The rankings menu; the rows of the window do not react to the mouse passing over it.
    m_rankingsMenu = card(sidebar, "rankingsMenu");
    m_rankingsMenu->setAttribute(Qt::WA_NoMousePropagation);
    auto *menu = new QVBoxLayout(m_rankingsMenu);
    menu->setContentsMargins(12, 10, 12, 12);
    menu->setSpacing(8);
    menu->addWidget(caption(QStringLiteral("Classements"), m_rankingsMenu));
    m_rankingsGrid = new QGridLayout;
    m_rankingsGrid->setHorizontalSpacing(6);
    m_rankingsGrid->setVerticalSpacing(6);
    menu->addLayout(m_rankingsGrid);
    for (const int index : rankingsOrder) {
        if (m_controller.buttons().button(index).place != ButtonPlace::RankingsMenu)
            continue;
        auto *button = new BarButton(m_controller, index, m_rankingsMenu);
        button->setFont(UiFont(8, true));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_rankingsButtons.append(button);
        m_buttons.append(button);
    }
    layout->addWidget(m_rankingsMenu);

    m_matchdayFrame = new HoverFrame(sidebar);
    m_matchdayFrame->setObjectName(QStringLiteral("matchdayList"));
    m_matchdayFrame->setProperty("kcard", true);
    m_matchdayFrame->setOnHover([this] { m_controller.hoverMatchdayListFrame(); });
    auto *days = new QVBoxLayout(m_matchdayFrame);
    days->setContentsMargins(12, 10, 12, 12);
    days->setSpacing(8);
    days->addWidget(caption(QStringLiteral("Classement à la journée"), m_matchdayFrame));
    auto *grid = new QGridLayout;
    grid->setSpacing(3);
    for (int n = 1; n <= MatchdayCount; ++n) {
        auto *number = new MatchdayNumber(m_controller, n, m_matchdayFrame);
        number->setFixedSize(23, 23);
        m_matchdayNumbers[n] = number;
        grid->addWidget(number, (n - 1) / MatchdayColumns, (n - 1) % MatchdayColumns);
    }
    days->addLayout(grid);
    layout->addWidget(m_matchdayFrame);

    m_bonusFrame = new HoverFrame(sidebar);
    m_bonusFrame->setObjectName(QStringLiteral("bonusList"));
    m_bonusFrame->setProperty("kcard", true);
    m_bonusFrame->setOnClick([this] { m_controller.clickBonusList(); });
    m_bonusFrame->setToolTip(QStringLiteral("Cliquez pour fermer"));
    auto *bonus = new QVBoxLayout(m_bonusFrame);
    bonus->setContentsMargins(12, 10, 12, 12);
    bonus->setSpacing(6);
    bonus->addWidget(caption(QStringLiteral("Bonus - Malus"), m_bonusFrame));
    m_bonusLines = valueLabel(m_bonusFrame, "bonusLines", 9, false);
    bonus->addWidget(m_bonusLines);
    layout->addWidget(m_bonusFrame);

    layout->addStretch(1);
    return sidebar;
}

void MainWindow::buildOverlays(QWidget *parent)
{
    m_options = new OptionsPanel(m_controller, parent);
    m_options->setStyleSheet(WindowStyleSheet());
    shadow(m_options);
    m_buttons.append(m_options->findChildren<BarButton *>());

    // The about box.
    m_about = new QFrame(parent);
    m_about->setObjectName(QStringLiteral("aboutBox"));
    m_about->setProperty("kcard", QStringLiteral("overlay"));
    m_about->setAttribute(Qt::WA_NoMousePropagation);
    m_about->setStyleSheet(WindowStyleSheet());
    shadow(m_about);
    auto *about = new QHBoxLayout(m_about);
    about->setContentsMargins(22, 20, 22, 18);
    about->setSpacing(20);
    auto *logo = new QLabel(m_about);
    logo->setPixmap(LeagueLogoPixmap(84));
    logo->setAlignment(Qt::AlignTop);
    about->addWidget(logo);
    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    auto *name = new QLabel(QStringLiteral("Kestrava"), m_about);
    name->setFont(UiFont(18, true));
    SetTextColour(name, Palette::Navy);
    text->addWidget(name);
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
    text->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *close = new BarButton(m_controller, 26, m_about);
    m_buttons.append(close);
    buttons->addWidget(close);
    text->addSpacing(6);
    text->addLayout(buttons);
    about->addLayout(text);

    // The sorted row texts of the last standings run; a click closes it.
    m_workList = new HoverFrame(parent);
    m_workList->setObjectName(QStringLiteral("workList"));
    m_workList->setProperty("kcard", QStringLiteral("overlay"));
    m_workList->setOnClick([this] { m_controller.clickWorkList(); });
    m_workList->setStyleSheet(WindowStyleSheet());
    m_workList->setToolTip(QStringLiteral("Cliquez pour fermer"));
    shadow(m_workList);
    auto *work = new QVBoxLayout(m_workList);
    work->setContentsMargins(14, 10, 14, 12);
    work->setSpacing(6);
    work->addWidget(caption(QStringLiteral("Lignes du dernier calcul, dans leur ordre de tri"), m_workList));
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
    return { m_options, m_about, m_workList };
}

void MainWindow::refreshTable()
{
    const LeagueTableModel &table = m_controller.table();
    m_title->setText(table.title());
    setShown(m_title, !table.title().isEmpty());

    const QString leader = table.leaderName();
    m_leaderText->setText(ScreenText(table.leaderText()));
    if (leader.isEmpty())
        m_leaderCrest->clear();
    else
        m_leaderCrest->setPixmap(CrestPixmap(leader, LeaderCrestSize));
    setShown(m_leaderCrest, !leader.isEmpty());
    setShown(m_leaderText, !table.leaderText().isEmpty());

    m_progress->setFraction(table.progressFraction());
    m_progressText->setText(table.progressText());
    m_goalsSummary->setText(ScreenText(table.goalsSummary()));
    m_gamesInHand->setText(table.gamesInHand());
    setShown(m_gamesInHandFrame, table.gamesInHandVisible());

    m_lastUpdate->setText(table.lastUpdate());
    m_lastUpdate->setToolTip(table.lastUpdateTooltip());
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
    setShown(m_introFrame, panels.intro);
    setShown(m_columnTitles, panels.columnTitles);

    m_tableView->setFormGuideVisible(panels.formGuide);
    setShown(m_formLegend, panels.formGuide);

    setShown(m_rankingsMenu, panels.rankingsMenu);

    m_bonusLines->setText(panels.bonusLines.isEmpty() ? QStringLiteral("Aucun bonus ni malus cette saison.")
                                                      : panels.bonusLines.join(u'\n'));
    setShown(m_bonusFrame, panels.bonusList);

    m_aboutVersion->setText(panels.aboutVersion);
    m_workListLines->setText(panels.workListLines.join(u'\n'));

    setShown(m_options, panels.options);
    setShown(m_about, panels.about);
    setShown(m_workList, panels.workList);
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
    setShown(m_matchdayFrame, m_controller.matchdayList().shown());
}

void MainWindow::placeOverlays()
{
    const int top = m_header->height() + 10;
    const QRect area = m_backdrop->rect();
    for (QWidget *overlay : overlays()) {
        if (!overlay->isVisibleTo(m_backdrop))
            continue;
        overlay->adjustSize();
        overlay->raise();
    }
    m_options->move(area.right() - Margin - m_options->width() + 1, top);
    m_about->move(Margin + (m_tableView->width() - m_about->width()) / 2, top + 70);
    m_workList->move(Margin, m_header->height() - 4);
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

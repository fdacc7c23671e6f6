#include "RankingsOverlays.h"

#include "platform/Cards.h"
#include "standings/StandingsController.h"

#include <QGridLayout>

namespace kestrava {

namespace {

constexpr int DockWidth = 336;
constexpr int MatchdayColumns = 12;

// Where the buttons of the rankings menu sit; only those the model says are built are shown.
constexpr int rankingsOrder[] = { Btn::GeneralTable, Btn::MatchdayTables, Btn::BestDefence, Btn::BestAttack,
    Btn::GoalAverage, Btn::FairPlay, Btn::MatchesWon, Btn::MatchesLost, Btn::MatchesDrawn, Btn::Highlights,
    Btn::PossibleRanking, Btn::Projections, Btn::BonusMalus, Btn::CloseRankings };

} // namespace

// A number of the matchday list, in the colours of the matchday list model.
class MatchdayNumber : public ModelTile
{
public:
    MatchdayNumber(StandingsController &controller, int matchday, QWidget *parent)
        : ModelTile(QStringLiteral("matchday%1").arg(matchday), parent)
        , m_controller(controller)
        , m_matchday(matchday)
    {
        setFont(UiFont(9, true));
        setToolTip(QStringLiteral("Classement à la Journée N°%1").arg(matchday));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        refresh();
    }

    void refresh()
    {
        const auto &entry = m_controller.matchdayList().entries[m_matchday];
        const QColor fg = ToColour(entry.foreground);
        const QColor bg = ToColour(entry.background);
        if (fg != m_foreground || bg != m_background) {
            m_foreground = fg;
            m_background = bg;
            update();
        }
        SetShown(this, entry.visible);
    }
    QSize sizeHint() const override { return { 23, 23 }; }

protected:
    void paintEvent(QPaintEvent *) override { paintTile(3, m_background, m_foreground, QString::number(m_matchday)); }
    void hovered() override { m_controller.hoverMatchdayNumber(m_matchday); }
    void clicked() override { m_controller.clickMatchdayNumber(m_matchday); }

private:
    StandingsController &m_controller;
    int m_matchday;
    QColor m_foreground;
    QColor m_background;
};

RankingsOverlays::RankingsOverlays(StandingsController &controller, ButtonBarModel &buttons, QWidget *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_buttons(buttons)
{
    // The rankings menu; the rows of the window do not react to the mouse passing over it.
    m_rankingsMenu = OverlayCard<QFrame>(parent, "rankingsMenu");
    m_rankingsMenu->setAttribute(Qt::WA_NoMousePropagation);
    m_rankingsMenu->setFixedWidth(DockWidth);
    QVBoxLayout *menu = CaptionedColumn(m_rankingsMenu, QStringLiteral("Classements"), QMargins(12, 10, 12, 12), 8);
    m_rankingsGrid = new QGridLayout;
    m_rankingsGrid->setHorizontalSpacing(6);
    m_rankingsGrid->setVerticalSpacing(5);
    menu->addLayout(m_rankingsGrid);
    for (const int index : rankingsOrder) {
        auto *button = new BarButton(m_buttons, index, m_rankingsMenu);
        button->setFont(UiFont(8, true));
        button->setMetrics(8, 26);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_rankingsButtons.append(button);
    }

    m_matchdayFrame = OverlayCard<HoverFrame>(parent, "matchdayList");
    m_matchdayFrame->setOnHover([this] { m_controller.hoverMatchdayListFrame(); });
    m_matchdayFrame->setFixedWidth(DockWidth);
    QVBoxLayout *days
        = CaptionedColumn(m_matchdayFrame, QStringLiteral("Classement à la journée"), QMargins(12, 10, 12, 12), 8);
    auto *grid = new QGridLayout;
    grid->setSpacing(3);
    for (int n = 1; n <= MatchdayCount; ++n) {
        auto *number = new MatchdayNumber(m_controller, n, m_matchdayFrame);
        number->setFixedSize(23, 23);
        m_matchdayNumbers[n] = number;
        grid->addWidget(number, (n - 1) / MatchdayColumns, (n - 1) % MatchdayColumns);
    }
    days->addLayout(grid);

    m_bonusFrame = ClosingCard(parent, "bonusList", [this] { m_controller.clickBonusList(); });
    m_bonusFrame->setFixedWidth(DockWidth);
    QVBoxLayout *bonus = CaptionedColumn(m_bonusFrame, QStringLiteral("Bonus - Malus"), QMargins(12, 10, 12, 12), 6);
    m_bonusLines = ValueLabel(m_bonusFrame, "bonusLines", 9, false);
    bonus->addWidget(m_bonusLines);

    // The sorted row texts of the last standings run; a click closes it.
    m_workList = ClosingCard(parent, "workList", [this] { m_controller.clickWorkList(); });
    QVBoxLayout *work = CaptionedColumn(
        m_workList, QStringLiteral("Lignes du dernier calcul, dans leur ordre de tri"), QMargins(14, 10, 14, 12), 6);
    m_workListLines = new QLabel(m_workList);
    m_workListLines->setObjectName(QStringLiteral("workListLines"));
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSizeF(8);
    m_workListLines->setFont(mono);
    work->addWidget(m_workListLines);

    for (QWidget *card : { static_cast<QWidget *>(m_rankingsMenu), static_cast<QWidget *>(m_matchdayFrame),
             static_cast<QWidget *>(m_bonusFrame), static_cast<QWidget *>(m_workList) })
        card->hide();

    connect(&m_buttons, &ButtonBarModel::changed, this, &RankingsOverlays::placeRankingsButtons);
    connect(&m_controller.panels(), &StandingsPanels::changed, this, &RankingsOverlays::refresh);
    connect(&m_controller.matchdayList(), &MatchdayListModel::changed, this, &RankingsOverlays::refreshMatchdayList);
    placeRankingsButtons();
}

QFrame *RankingsOverlays::matchdayList() const
{
    return m_matchdayFrame;
}

QFrame *RankingsOverlays::bonusList() const
{
    return m_bonusFrame;
}

QFrame *RankingsOverlays::workList() const
{
    return m_workList;
}

void RankingsOverlays::placeRankingsButtons()
{
    // Two columns of the buttons that are shown, without holes for those that are not.
    QList<BarButton *> shown;
    for (BarButton *button : std::as_const(m_rankingsButtons)) {
        if (m_buttons.isShown(button->index()))
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

void RankingsOverlays::refresh()
{
    const StandingsPanels &panels = m_controller.panels();
    SetShown(m_rankingsMenu, panels.rankingsMenu);
    m_bonusLines->setText(panels.bonusLines.isEmpty() ? QStringLiteral("Aucun bonus ni malus cette saison.")
                                                      : panels.bonusLines.join(u'\n'));
    SetShown(m_bonusFrame, panels.bonusList);
    m_workListLines->setText(panels.workListLines.join(u'\n'));
    SetShown(m_workList, panels.workList);
    emit layoutChanged();
}

void RankingsOverlays::refreshMatchdayList()
{
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayNumbers[n]->refresh();
    SetShown(m_matchdayFrame, m_controller.matchdayList().shown());
    emit layoutChanged();
}

} // namespace kestrava

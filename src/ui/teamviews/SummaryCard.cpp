#include "SummaryCard.h"

#include "platform/Cards.h"
#include "season/CrestPixmap.h"
#include "teamviews/TeamViewsController.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace kestrava {

namespace {
constexpr int TwipsPerPixel = 15;
constexpr int CrestSize = 24;
constexpr int BannerCrest = BannerTwips::Crest / TwipsPerPixel;
constexpr int BannerHeight = BannerCrest + 6;
} // namespace

// The strip the crests run along. It draws the banner model and keeps the pointer to itself: over
// a crest the banner stops and the panel shows that club.
class CrestBannerStrip : public QWidget
{
public:
    CrestBannerStrip(TeamViewsController &controller, QWidget *parent)
        : QWidget(parent)
        , m_controller(controller)
    {
        setObjectName(QStringLiteral("crestBanner"));
        setFixedSize(BannerTwips::View / TwipsPerPixel, BannerHeight);
        setMouseTracking(true);
        setAttribute(Qt::WA_NoMousePropagation);
        setToolTip(QStringLiteral("Les équipes dans l'ordre du classement"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const CrestBannerModel &banner = m_controller.banner();
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(243, 246, 249));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        // Where the panel picks up the passing crest.
        const double mark
            = (BannerTwips::TriggerFrom + BannerTwips::TriggerTo) / 2.0 / TwipsPerPixel + BannerCrest / 2.0;
        p.setBrush(Palette::Teal);
        p.drawPolygon(QPolygonF({ QPointF(mark - 4, 0), QPointF(mark + 4, 0), QPointF(mark, 4) }));
        p.setClipRect(rect());
        for (int i = 0; i < TeamCount; ++i) {
            const int x = int(std::floor((banner.lefts[i] + banner.stripLeft) / double(TwipsPerPixel)));
            if (x + BannerCrest < 0 || x > width() || banner.crests[i].isEmpty())
                continue;
            p.drawPixmap(x, (height() - BannerCrest) / 2, CrestPixmap(banner.crests[i], BannerCrest));
        }
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        const CrestBannerModel &banner = m_controller.banner();
        const int twips = int(event->position().x()) * TwipsPerPixel - banner.stripLeft;
        for (int i = 0; i < TeamCount; ++i) {
            if (twips >= banner.lefts[i] && twips < banner.lefts[i] + BannerTwips::Crest) {
                m_controller.hoverBannerCrest(i);
                break;
            }
        }
        event->accept();
    }

private:
    TeamViewsController &m_controller;
};

SummaryCard::SummaryCard(TeamViewsController &controller, QWidget *parent)
    : QFrame(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("summaryCard"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 6, 12, 6);
    column->setSpacing(2);
    m_banner = new CrestBannerStrip(m_controller, this);
    column->addWidget(m_banner, 0, Qt::AlignHCenter);

    const auto clickable = [this](const char *name, double points, bool bold) {
        auto *label = new ClickableLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(UiFont(points, bold));
        label->setOnClick([this] { m_controller.clickSummary(); });
        return label;
    };
    static const char *const names[SummaryPanelModel::LineCount] = { "summaryTitle", "summaryRank",
        "summaryWon", "summaryLost", "summaryDrawn", "summaryName", "summaryPlayed", "summaryMovement" };
    for (int i = 0; i < SummaryPanelModel::LineCount; ++i)
        m_lines[i] = clickable(names[i], 8, false);
    m_lines[SummaryPanelModel::Title]->setProperty("kcaption", true);
    m_lines[SummaryPanelModel::Title]->setStyleSheet(WindowStyleSheet());
    m_lines[SummaryPanelModel::Name]->setFont(UiFont(11, true));
    SetTextColour(m_lines[SummaryPanelModel::Name], Palette::Navy);
    m_lines[SummaryPanelModel::Rank]->setFont(UiFont(9, true));
    m_lines[SummaryPanelModel::Movement]->setFont(UiFont(9, true));
    // The club's name speaks for the card to the keyboard and screen readers.
    for (int i = 0; i < SummaryPanelModel::LineCount; ++i) {
        if (i != SummaryPanelModel::Name)
            m_lines[i]->setMouseOnly();
    }
    m_crest = clickable("summaryCrest", 8, false);
    m_crest->setMouseOnly();
    m_crest->setFixedSize(CrestSize, CrestSize);
    m_movementIcon = new QLabel(this);
    m_movementIcon->setObjectName(QStringLiteral("movementIcon"));
    m_movementIcon->setFont(UiFont(9, true));

    // The club's line (crest, name, movement, rank) over its counts in two columns.
    auto *head = new QHBoxLayout;
    head->setSpacing(6);
    head->addWidget(m_crest);
    head->addWidget(m_lines[SummaryPanelModel::Title], 0, Qt::AlignVCenter);
    head->addWidget(m_lines[SummaryPanelModel::Name], 0, Qt::AlignVCenter);
    head->addWidget(m_movementIcon, 0, Qt::AlignVCenter);
    head->addWidget(m_lines[SummaryPanelModel::Movement], 0, Qt::AlignVCenter);
    head->addStretch(1);
    head->addWidget(m_lines[SummaryPanelModel::Rank], 0, Qt::AlignVCenter);
    column->addLayout(head);
    auto *counts = new QGridLayout;
    counts->setHorizontalSpacing(12);
    counts->setVerticalSpacing(0);
    counts->addWidget(m_lines[SummaryPanelModel::Won], 0, 0);
    counts->addWidget(m_lines[SummaryPanelModel::Drawn], 0, 1);
    counts->addWidget(m_lines[SummaryPanelModel::Lost], 1, 0);
    counts->addWidget(m_lines[SummaryPanelModel::Played], 1, 1);
    counts->setColumnStretch(1, 1);
    column->addLayout(counts);

    connect(&m_controller.summary(), &SummaryPanelModel::changed, this, &SummaryCard::refresh);
    connect(&m_controller.banner(), &CrestBannerModel::changed, this, &SummaryCard::refreshBanner);
    refresh();
    refreshBanner();
}

void SummaryCard::paintEvent(QPaintEvent *)
{
    // The window's card, drawn here rather than by a style sheet over the labels.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Palette::CardBorder);
    p.setBrush(Palette::Card);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void SummaryCard::refresh()
{
    const SummaryPanelModel &summary = m_controller.summary();
    for (int i = 0; i < SummaryPanelModel::LineCount; ++i) {
        if (m_lines[i]->text() != summary.line(i))
            m_lines[i]->setText(summary.line(i));
    }
    for (const int i : { SummaryPanelModel::Rank, SummaryPanelModel::Won, SummaryPanelModel::Lost,
             SummaryPanelModel::Drawn, SummaryPanelModel::Played })
        SetShown(m_lines[i], summary.filled());
    SetShown(m_lines[SummaryPanelModel::Movement], !summary.line(SummaryPanelModel::Movement).isEmpty());

    if (summary.team() != m_crestTeam) {
        m_crestTeam = summary.team();
        m_crest->setPixmap(CrestPixmap(m_crestTeam, CrestSize));
    }

    // Up in green, down in red, level in grey; nothing until the movement is known.
    const RankMovement &movement = summary.movement();
    QString glyph;
    QColor colour = Palette::Muted;
    switch (movement.kind) {
    case RankMovement::Kind::Up:
        glyph = QStringLiteral("▲");
        colour = QColor(0, 150, 0);
        break;
    case RankMovement::Kind::Down:
        glyph = QStringLiteral("▼");
        colour = QColor(200, 0, 0);
        break;
    case RankMovement::Kind::Level:
        glyph = QStringLiteral("=");
        break;
    case RankMovement::Kind::None:
        break;
    }
    m_movementIcon->setText(glyph);
    SetTextColour(m_movementIcon, colour);
    SetShown(m_movementIcon, !glyph.isEmpty());
}

void SummaryCard::refreshBanner()
{
    SetShown(m_banner, m_controller.banner().shown);
    m_banner->update();
}

} // namespace kestrava

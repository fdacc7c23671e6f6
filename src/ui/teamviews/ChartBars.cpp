#include "ChartBars.h"

#include "platform/Style.h"
#include "teamviews/EvolutionChart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace kestrava {

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int Gutter = 450; // the rank marks left of the first bar
constexpr int BarWidth = 230; // of the 310 twips a matchday takes
constexpr int Right = 60;
constexpr int Above = ChartTwips::Top - 150;
constexpr int Below = ChartTwips::Baseline + 330; // room for the matchday numbers
constexpr int WidthTwips = Gutter + MatchdayCount * ChartTwips::Pitch + Right;
constexpr int HeightTwips = Below - Above;
const int markedRanks[] = { 1, 5, 10, 15, 18 };

} // namespace

ChartBars::ChartBars(const EvolutionChartModel &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setObjectName(QStringLiteral("chartBars"));
    setAccessibleName(QStringLiteral("Évolution du classement"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ChartBars::sizeHint() const
{
    return { WidthTwips / TwipsPerPixel, HeightTwips / TwipsPerPixel };
}

QSize ChartBars::minimumSizeHint() const
{
    return sizeHint() * 0.6;
}

QTransform ChartBars::twipsToPixels() const
{
    const double scale
        = std::min({ 1.0 / TwipsPerPixel, width() / double(WidthTwips), height() / double(HeightTwips) });
    return QTransform::fromTranslate(0, -Above * scale).scale(scale, scale);
}

QRect ChartBars::barRect(int index) const
{
    if (index < 0 || index >= MatchdayCount)
        return {};
    const ChartBar &bar = m_chart.bars[index];
    if (bar.height <= 0)
        return {};
    return twipsToPixels()
        .mapRect(QRectF(Gutter + index * ChartTwips::Pitch, bar.top, BarWidth, bar.height))
        .toAlignedRect();
}

void ChartBars::refresh()
{
    // What a screen reader tells of the drawing: the place after each matchday shown.
    QStringList places;
    for (int i = 0; i < MatchdayCount; ++i) {
        if (!m_chart.bars[i].caption.isEmpty())
            places.append(QStringLiteral("J%1 : %2").arg(i + 1).arg(m_chart.bars[i].caption));
    }
    setAccessibleDescription(places.join(QStringLiteral(", ")));
    update();
}

bool ChartBars::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent *>(event)->pos();
    const QPointF twips = twipsToPixels().inverted().map(QPointF(at));
    const int index = int((twips.x() - Gutter) / ChartTwips::Pitch);
    if (twips.x() < Gutter || index >= MatchdayCount || m_chart.bars[index].caption.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
        QStringLiteral("Journée %1 : %2").arg(index + 1).arg(m_chart.bars[index].caption), this);
    return true;
}

void ChartBars::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QTransform map = twipsToPixels();
    const auto at
        = [&map](double x, double y, double w, double h) { return map.mapRect(QRectF(x, y, w, h)); };
    const double right = Gutter + MatchdayCount * ChartTwips::Pitch;

    // A few ranks marked across the chart, and the line the bars stand on.
    QFont small = UiFont(7);
    p.setFont(small);
    for (const int rank : markedRanks) {
        const QRectF line = at(Gutter - 60, ChartTwips::Baseline - BarHeight(rank), right - Gutter + 60, 0);
        p.setPen(QPen(Palette::CardBorder, 1, Qt::DashLine));
        p.drawLine(line.topLeft(), line.topRight());
        p.setPen(Palette::Muted);
        p.drawText(QRectF(0, line.top() - 8, line.left() - 3, 16), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(rank));
    }
    const QRectF base = at(Gutter - 60, ChartTwips::Baseline, right - Gutter + 60, 0);
    p.setPen(QPen(Palette::Navy, 1.5));
    p.drawLine(base.topLeft(), base.topRight());

    QFont caption = UiFont(7.5, true);
    for (int i = 0; i < MatchdayCount; ++i) {
        const ChartBar &bar = m_chart.bars[i];
        if (!bar.created)
            continue;
        const double x = Gutter + i * ChartTwips::Pitch;
        const QRectF number = at(x - 40, ChartTwips::Baseline + 40, BarWidth + 80, 260);
        p.setFont(small);
        p.setPen(Palette::Muted);
        p.drawText(number, Qt::AlignHCenter | Qt::AlignTop, bar.matchday);
        if (bar.height <= 0)
            continue;
        const QRectF box = at(x, bar.top, BarWidth, bar.height);
        const QColor colour = ToColour(bar.colour);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(box, 2, 2);
        // The rank on the bar, or just above it when the bar is too short to hold it.
        p.setFont(caption);
        const double textHeight = p.fontMetrics().height();
        const bool inside = box.height() >= textHeight + 2;
        const QRectF text = inside
            ? QRectF(box.left() - 4, box.top() + 1, box.width() + 8, textHeight)
            : QRectF(box.left() - 4, box.top() - textHeight - 1, box.width() + 8, textHeight);
        p.setPen(inside ? QColor(Qt::white) : colour);
        p.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, bar.caption);
    }
}

} // namespace kestrava

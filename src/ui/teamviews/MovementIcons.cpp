#include "MovementIcons.h"

#include "teamviews/ChartController.h"
#include "teamviews/RankMovements.h"

#include <QPainter>

namespace kestrava {

namespace {
const QColor Up(0, 150, 0);
const QColor Down(200, 0, 0);
const QColor Level(120, 132, 146);
} // namespace

MovementIcons::MovementIcons(
    ChartController &controller, const LeagueTableModel &table, int top, int rowHeight, QWidget *parent)
    : QWidget(parent)
    , m_table(table)
{
    setObjectName(QStringLiteral("movementIcons"));
    setFixedSize(IconWidth, top + rowHeight * TeamCount);
    for (int r = 0; r < TeamCount; ++r) {
        m_icons[r] = new MovementIcon(controller, r, this);
        m_icons[r]->setGeometry(0, top + r * rowHeight, IconWidth, rowHeight);
    }
    connect(&table, &LeagueTableModel::changed, this, &MovementIcons::refresh);
    refresh();
}

void MovementIcons::refresh()
{
    for (int r = 0; r < TeamCount; ++r)
        m_icons[r]->show(m_table.cell(r, TableColumn::Name).text, m_table.movement(r));
}

MovementIcon::MovementIcon(ChartController &controller, int row, QWidget *parent)
    : ModelTile(QStringLiteral("movementIcon%1").arg(row), parent)
    , m_controller(controller)
    , m_row(row)
{ }

void MovementIcon::show(const QString &team, const RankMovement &movement)
{
    // An icon without a movement still opens its row's sheet: it is named by the club alone.
    const QString description = MovementDescription(team, movement);
    setCaption(description.isEmpty() ? team : description);
    if (toolTip() != movement.text)
        setToolTip(movement.text);
    if (m_kind != movement.kind) {
        m_kind = movement.kind;
        update();
    }
}

void MovementIcon::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF c = QRectF(rect()).center();
    switch (m_kind) {
    case RankMovement::Kind::Up:
        p.setBrush(Up);
        p.drawPolygon(QPolygonF({ c + QPointF(0, -4.5), c + QPointF(4.5, 3.5), c + QPointF(-4.5, 3.5) }));
        break;
    case RankMovement::Kind::Down:
        p.setBrush(Down);
        p.drawPolygon(QPolygonF({ c + QPointF(0, 4.5), c + QPointF(4.5, -3.5), c + QPointF(-4.5, -3.5) }));
        break;
    case RankMovement::Kind::Level:
        p.setBrush(Level);
        p.drawRect(QRectF(c.x() - 4, c.y() - 3, 8, 2));
        p.drawRect(QRectF(c.x() - 4, c.y() + 1, 8, 2));
        break;
    case RankMovement::Kind::None:
        break;
    }
    p.end();
    if (hasFocus())
        PaintFocusMark(this, 3);
}

void MovementIcon::hovered()
{
    m_controller.hoverMovementIcon(m_row);
}

void MovementIcon::clicked()
{
    m_controller.clickMovementIcon(m_row);
}

} // namespace kestrava

#include "LeagueTableView.h"

#include "platform/Style.h"
#include "standings/FormGuide.h"
#include "standings/LeagueCellDelegate.h"
#include "standings/LeagueTableItemModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace kestrava {

namespace {

using M = LeagueTableItemModel;

const QColor HeaderBackground(0xe6, 0xeb, 0xf1);
const QColor HeaderBorder(0xcf, 0xd8, 0xe3);
const QColor SortedMark(255, 196, 0);
const QColor RuleColour = Palette::Navy;

int widthOf(int column)
{
    if (column == M::RankColumn)
        return 30;
    if (column == M::columnOf(TableColumn::Name))
        return 152;
    if (column == M::FormColumn || column == M::ReachableColumn)
        return FormMarks::LeftPadding * 2 + 5 * FormMarks::Size + 4 * FormMarks::Gap;
    if (column < M::columnOf(TableColumn::HomeGoalsFor))
        return 42;
    return 37;
}

// The header as the window's style sheet draws it, except the column(s) ordering the rows, which
// stand out in teal with a mark under the heading, and the long heading of the reachable positions,
// set smaller on three lines.
class LeagueHeader : public QHeaderView
{
public:
    LeagueHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logical) const override
    {
        const bool sorted = model()->headerData(logical, Qt::Horizontal, M::SortedRole).toBool();
        if (!sorted && logical != M::ReachableColumn) {
            QHeaderView::paintSection(painter, rect, logical);
            return;
        }
        painter->save();
        painter->fillRect(rect, sorted ? Palette::Teal : HeaderBackground);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), HeaderBorder);
        painter->fillRect(QRect(rect.left(), rect.bottom() - 2, rect.width(), 3),
                          sorted ? SortedMark : Palette::Teal);
        QFont font = this->font();
        font.setBold(true);
        font.setPointSizeF(logical == M::ReachableColumn ? 7 : 8);
        painter->setFont(font);
        painter->setPen(sorted ? QColor(Qt::white) : Palette::Navy);
        QRect text = rect.adjusted(3, 0, -3, -3);
        if (sorted) {
            // A small arrow under the heading: the order goes downwards from the best.
            text.adjust(0, 0, 0, -5);
            const QPoint tip(rect.center().x(), rect.bottom() - 4);
            const QPoint arrow[] = {tip, tip + QPoint(-4, -4), tip + QPoint(4, -4)};
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(SortedMark);
            painter->setPen(Qt::NoPen);
            painter->drawPolygon(arrow, 3);
            painter->setPen(Qt::white);
        }
        painter->drawText(text, Qt::AlignCenter | Qt::TextWordWrap,
                          model()->headerData(logical, Qt::Horizontal).toString());
        painter->restore();
    }
};

} // namespace

LeagueTableView::LeagueTableView(LeagueTableItemModel *model, QWidget *parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("leagueTable"));
    setHorizontalHeader(new LeagueHeader(this));
    setModel(model);
    setItemDelegate(new LeagueCellDelegate(this));
    setItemDelegateForColumn(M::FormColumn, new FormGuideDelegate(this));

    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab reaches the table, a click does not take the focus: the mouse sees no change.
    setFocusPolicy(Qt::TabFocus);
    setTabKeyNavigation(false);
    setAccessibleDescription(QStringLiteral("Flèches : choisir une équipe ; Entrée : sa saison dans la grille ; "
                                            "Ctrl+Entrée : sa fiche"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setIconSize(QSize(M::CrestSize, M::CrestSize));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The table's rows react to the mouse in their own way; the window behind them must not.
    setAttribute(Qt::WA_NoMousePropagation);
    // The names are links, and the rows follow the pointer.
    setMouseTracking(true);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);

    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setFixedHeight(HeaderHeight);
    header->setMinimumSectionSize(20);
    for (int c = 0; c < M::ColumnTotal; ++c)
        header->resizeSection(c, widthOf(c));
    // The reachable positions sit beside the main figures, clear of the cards that dock over the
    // right-hand columns.
    header->moveSection(header->visualIndex(M::ReachableColumn),
                        header->visualIndex(M::columnOf(TableColumn::FairPlay)) + 1);

    // No stylesheet on the view itself: it would route each of the 360 cells through the slow
    // stylesheet style. The header alone is styled.
    header->setStyleSheet(QStringLiteral(R"(
QHeaderView::section {
    background: #e6ebf1;
    color: #091b31;
    font-weight: bold;
    font-size: 8pt;
    border: none;
    border-right: 1px solid #cfd8e3;
    border-bottom: 2px solid #008080;
    padding: 0px 4px;
}
)"));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Window, QColor(236, 240, 245));
    colours.setColor(QPalette::Mid, QColor(219, 226, 234));
    setPalette(colours);
    updateColumns();
}

void LeagueTableView::setFormGuideVisible(bool visible)
{
    m_formGuide = visible;
    updateColumns();
}

void LeagueTableView::setReachableVisible(bool visible)
{
    m_reachable = visible;
    updateColumns();
}

void LeagueTableView::updateColumns()
{
    const bool form = m_formGuide && !m_reachable;
    if (isColumnHidden(M::FormColumn) == form || isColumnHidden(M::ReachableColumn) == m_reachable) {
        setColumnHidden(M::FormColumn, !form);
        setColumnHidden(M::ReachableColumn, !m_reachable);
        updateGeometry();
    }
}

void LeagueTableView::setRules(int row, int column)
{
    if (row == m_ruledRow && column == m_ruledColumn)
        return;
    m_ruledRow = row;
    m_ruledColumn = column;
    viewport()->update();
}

QSize LeagueTableView::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int c = 0; c < M::ColumnTotal; ++c) {
        if (!isColumnHidden(c))
            width += widthOf(c);
    }
    return { width, 2 * frameWidth() + HeaderHeight + RowHeight * TeamCount };
}

void LeagueTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (hasFocus() && m_keyRow >= 0) {
        // The club chosen from the keyboard: its name cell framed as the window marks focus.
        QPainter p(viewport());
        p.setPen(QPen(QColor(255, 196, 0), 2));
        const int name = M::columnOf(TableColumn::Name);
        p.drawRect(QRect(columnViewportPosition(name), rowViewportPosition(m_keyRow), columnWidth(name),
                         rowHeight(m_keyRow)).adjusted(1, 1, -1, -1));
    }
    const bool row = m_ruledRow >= 0 && m_ruledRow < TeamCount;
    const bool column = m_ruledColumn >= 0 && !isColumnHidden(m_ruledColumn);
    if (!row && !column)
        return;
    QPainter p(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    if (row) {
        // Above row 0 there is no row: its upper rule runs along the header.
        const int top = rowViewportPosition(m_ruledRow);
        p.fillRect(QRect(0, top, width, 2), RuleColour);
        p.fillRect(QRect(0, top + rowHeight(m_ruledRow) - 2, width, 2), RuleColour);
    }
    if (column) {
        const int left = columnViewportPosition(m_ruledColumn);
        p.fillRect(QRect(left, 0, 2, height), RuleColour);
        p.fillRect(QRect(left + columnWidth(m_ruledColumn) - 2, 0, 2, height), RuleColour);
    }
}

void LeagueTableView::keyPressEvent(QKeyEvent *event)
{
    int row = m_keyRow;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(TeamCount - 1, row + 1);
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = TeamCount - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_keyRow >= 0 && (event->modifiers() & Qt::ControlModifier) && rankClickable && onRankClicked)
            onRankClicked(m_keyRow);
        else if (m_keyRow >= 0 && onNameClicked)
            onNameClicked(m_keyRow);
        return;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    if (row != m_keyRow) {
        m_keyRow = row;
        if (onCellHovered)
            onCellHovered(row, M::columnOf(TableColumn::Name));
        viewport()->update();
    }
}

void LeagueTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    if (m_keyRow < 0)
        m_keyRow = 0;
    viewport()->update();
}

void LeagueTableView::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void LeagueTableView::mouseMoveEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onName = index.isValid() && index.column() == M::columnOf(TableColumn::Name);
    const bool onRank = index.isValid() && index.column() == M::RankColumn && rankClickable;
    viewport()->setCursor(onName || onRank ? Qt::PointingHandCursor : Qt::ArrowCursor);
    const QPoint cell = index.isValid() ? QPoint(index.column(), index.row()) : QPoint(-1, -1);
    if (cell != m_hoveredCell) {
        m_hoveredCell = cell;
        if (index.isValid() && onCellHovered)
            onCellHovered(index.row(), index.column());
    }
    QTableView::mouseMoveEvent(event);
}

void LeagueTableView::leaveEvent(QEvent *event)
{
    m_hoveredCell = QPoint(-1, -1);
    QTableView::leaveEvent(event);
}

void LeagueTableView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    if (index.column() == M::columnOf(TableColumn::Name) && onNameClicked)
        onNameClicked(index.row());
    else if (index.column() == M::RankColumn && onRankClicked)
        onRankClicked(index.row());
}

} // namespace kestrava

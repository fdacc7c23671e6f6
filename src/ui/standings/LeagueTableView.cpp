#include "LeagueTableView.h"

#include "standings/FormGuide.h"
#include "standings/LeagueCellDelegate.h"
#include "standings/LeagueTableItemModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>

namespace kestrava {

namespace {

int widthOf(int column)
{
    using M = LeagueTableItemModel;
    if (column == M::RankColumn)
        return 30;
    if (column == M::columnOf(TableColumn::Name))
        return 152;
    if (column == M::FormColumn)
        return FormMarks::LeftPadding * 2 + 5 * FormMarks::Size + 4 * FormMarks::Gap;
    if (column < M::columnOf(TableColumn::HomeGoalsFor))
        return 42;
    return 37;
}

} // namespace

LeagueTableView::LeagueTableView(LeagueTableItemModel *model, QWidget *parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("leagueTable"));
    setModel(model);
    setItemDelegate(new LeagueCellDelegate(this));
    setItemDelegateForColumn(LeagueTableItemModel::FormColumn, new FormGuideDelegate(this));

    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setIconSize(QSize(LeagueTableItemModel::CrestSize, LeagueTableItemModel::CrestSize));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The table's rows react to the mouse in their own way; the window behind them must not.
    setAttribute(Qt::WA_NoMousePropagation);
    // The names are links: the pointer says so.
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
    for (int c = 0; c < LeagueTableItemModel::ColumnTotal; ++c)
        header->resizeSection(c, widthOf(c));

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
}

void LeagueTableView::setFormGuideVisible(bool visible)
{
    if (isColumnHidden(LeagueTableItemModel::FormColumn) == !visible)
        return;
    setColumnHidden(LeagueTableItemModel::FormColumn, !visible);
    updateGeometry();
}

QSize LeagueTableView::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int c = 0; c < LeagueTableItemModel::ColumnTotal; ++c) {
        if (!isColumnHidden(c))
            width += widthOf(c);
    }
    return { width, 2 * frameWidth() + HeaderHeight + RowHeight * TeamCount };
}

void LeagueTableView::mouseMoveEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onName
        = index.isValid() && index.column() == LeagueTableItemModel::columnOf(TableColumn::Name);
    viewport()->setCursor(onName ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QTableView::mouseMoveEvent(event);
}

void LeagueTableView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == LeagueTableItemModel::columnOf(TableColumn::Name)
        && onNameClicked)
        onNameClicked(index.row());
}

} // namespace kestrava

#include "TableTracking.h"

namespace kestrava {

TableTrackingModel::Group TableTrackingModel::groupOf(TableColumn column)
{
    if (column == TableColumn::Name)
        return Group::None;
    return column <= TableColumn::FairPlay ? Group::Main : Group::Detail;
}

void TableTrackingModel::frameRow(int row)
{
    if (row < 0 || row >= TeamCount || row == m_row)
        return;
    m_row = row;
    emit changed();
}

void TableTrackingModel::frameColumn(TableColumn column)
{
    const Group group = groupOf(column);
    if (group == Group::None || int(column) == m_lastColumn)
        return;
    m_column = column;
    m_group = group;
    m_lastColumn = int(column);
    emit changed();
}

void TableTrackingModel::hideColumnRules()
{
    m_lastColumn = -1;
    if (m_group == Group::None)
        return;
    m_group = Group::None;
    emit changed();
}

void TableTrackingModel::hideRowRules()
{
    if (m_row < 0)
        return;
    m_row = -1;
    emit changed();
}

void TableTrackingModel::hideAll()
{
    hideColumnRules();
    hideRowRules();
}

} // namespace kestrava

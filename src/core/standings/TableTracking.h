#pragma once

#include "standings/LeagueTableModel.h"

#include <QObject>

namespace kestrava {

// The tracking aids of the table (option "Activer l'aide au suivi dans les tableaux"): two rules
// framing the row under the pointer and two framing its column. The column rules use one pair for
// the main figures and another for the home/away details; they move only when the pointer enters
// another column.
class TableTrackingModel : public QObject
{
    Q_OBJECT
public:
    enum class Group { None, Main, Detail };

    using QObject::QObject;

    // The row the row rules frame; -1 when they are out of sight.
    int ruledRow() const { return m_row; }
    // The column the column rules frame and the pair that does it; Group::None when out of sight.
    TableColumn ruledColumn() const { return m_column; }
    Group group() const { return m_group; }

    static Group groupOf(TableColumn column);

    void frameRow(int row);
    // Places the column rules on `column` unless they were last placed on it.
    void frameColumn(TableColumn column);
    // Out of sight. The column is forgotten, so that pointing at it again brings them back.
    void hideColumnRules();
    void hideRowRules();
    void hideAll();

signals:
    void changed();

private:
    int m_row = -1;
    TableColumn m_column = TableColumn::Name;
    Group m_group = Group::None;
    int m_lastColumn = -1;
};

} // namespace kestrava

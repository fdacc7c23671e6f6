#pragma once

#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"

#include <QAbstractTableModel>

namespace kestrava {

// Qt's view of the core's league table: 18 rows; the rank number, the team with its crest, the
// eighteen figure columns of the core's model in screen order, the form guide (last five results,
// oldest first, as letters that the form delegate draws as marks), then the positions still
// reachable (the view shows that column beside the main figures).
class LeagueTableItemModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int RankColumn = 0;
    static constexpr int FirstCellColumn = 1;
    static constexpr int FormColumn = FirstCellColumn + ColumnCount;
    static constexpr int ReachableColumn = FormColumn + 1;
    static constexpr int ColumnTotal = ReachableColumn + 1;
    // Header role: true for the column(s) whose figures order the rows.
    static constexpr int SortedRole = Qt::UserRole + 1;
    static constexpr int CrestSize = 20;

    LeagueTableItemModel(LeagueTableModel &table, const SeasonData &season, QObject *parent = nullptr);

    static int columnOf(TableColumn c) { return FirstCellColumn + int(c); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QVariant rankData(int row, int role) const;
    QVariant formData(int row, int role) const;
    QVariant reachableData(int row, int role) const;
    QVariant cellData(int row, TableColumn column, int role) const;

    LeagueTableModel &m_table;
    const SeasonData &m_season;
};

} // namespace kestrava

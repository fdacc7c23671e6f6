#pragma once

#include "standings/LeagueTableModel.h"

#include <QList>
#include <QString>

namespace kestrava {

// One way of re-ordering the table by a single statistic.
struct RankingCategory
{
    const char *code; // "BC", "BP", "FP", "GA", "MG", "MP", "MN"
    int button; // the button of the rankings menu that shows it
    QList<TableColumn> columns; // the statistic's cells (two are added up for wins and losses)
    bool lowerIsBetter;
    int keyBase; // lower is better: the key is keyBase - value; otherwise value + keyBase
    const char *title;
};

const QList<RankingCategory> &RankingCategories();
// Null for a code that names no category.
const RankingCategory *CategoryOf(QStringView code);

// The statistic of a table row as the category reads it from the row's cells.
double CategoryValue(const LeagueTableModel &table, int row, const RankingCategory &category);

// Re-sorts the 18 rows the table shows by the category, from the table's own cells (so a
// category after a matchday table ranks that matchday's figures), then colours its column(s),
// titles the table, puts the new first row in the leader box and numbers the rows with shared
// ranks for equal statistics. The results store is not read.
void ShowRankingCategory(
    LeagueTableModel &table, const RankingCategory &category, const QString &favouriteTeam);

} // namespace kestrava

#include "PossibleRanking.h"

#include "platform/Text.h"

#include <algorithm>

namespace kestrava {

namespace {

using C = TableColumn;

double scoreOf(const LeagueTableModel &table, int row)
{
    // The goal-difference decimals are held in single precision.
    const float difference = float(ValueOf(table.cell(row, C::GoalDifference).text)) / 1000.0f;
    return PointsValue(table.cell(row, C::Points).text) + double(difference)
        + ValueOf(table.cell(row, C::GoalsFor).text) / 100000;
}

} // namespace

std::array<int, TeamCount> ReachablePositions(const LeagueTableModel &table)
{
    std::array<double, TeamCount> score {};
    std::array<double, TeamCount> best {};
    for (int r = 0; r < TeamCount; ++r) {
        score[r] = scoreOf(table, r);
        // More matches played than a season holds (a store edited by hand) leaves none to play,
        // never a negative number: a row always reaches at least its own position.
        const double remaining = std::max(0.0, MatchdayCount - ValueOf(table.cell(r, C::Played).text));
        best[r] = score[r] + 3 * remaining;
    }
    std::array<int, TeamCount> position {};
    for (int b = 0; b < TeamCount; ++b) {
        position[b] = b + 1;
        for (int a = 0; a < b; ++a) {
            if (best[b] >= score[a]) {
                position[b] = a + 1;
                break;
            }
        }
    }
    return position;
}

void ShowPossibleRanking(LeagueTableModel &table)
{
    const auto positions = ReachablePositions(table);
    for (int r = 0; r < TeamCount; ++r) {
        TableCell &cell = table.reachableCell(r);
        cell.text = QString::number(positions[r]);
        cell.background = table.cell(positions[r] - 1, C::Name).background;
    }
    table.setPossibleRankingVisible(true);
    emit table.changed();
}

QString ChampionOf(const LeagueTableModel &table)
{
    const QString second = table.reachableCell(1).text;
    if (second.isEmpty() || second == u"1")
        return {};
    return table.cell(0, C::Name).text;
}

QString ChampionMessage(const QString &champion)
{
    return champion + QStringLiteral(" est champion de Ligue 1 2027 !!!");
}

} // namespace kestrava

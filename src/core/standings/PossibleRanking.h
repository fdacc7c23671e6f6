#pragma once

#include "standings/LeagueTableModel.h"

#include <array>

namespace kestrava {

// For every table row, the best position its team can still reach if it wins all its remaining
// matches while the teams above it score nothing more, from the table's own cells: points, with
// goal difference and goals scored as decimals, and 34 minus the matches played.
std::array<int, TeamCount> ReachablePositions(const LeagueTableModel &table);

// Fills the column of reachable positions, each cell in the colour of the position's name cell,
// and shows it.
void ShowPossibleRanking(LeagueTableModel &table);

// The leader's name once the second row can no longer reach first place (the column must be
// filled); empty otherwise.
QString ChampionOf(const LeagueTableModel &table);
QString ChampionMessage(const QString &champion);
inline const QString ChampionTitle = QStringLiteral("Félicitations !!!");

} // namespace kestrava

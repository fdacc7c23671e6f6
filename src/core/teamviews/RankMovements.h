#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"

#include <array>

namespace kestrava {

// The movement of every club between two orders of the table (names at ranks 1 to 18), given by
// club name: up by the places it gained, down by those it lost, level otherwise.
using RankOrder = std::array<QString, TeamCount>;
RankMovement MovementOf(const QString &team, const RankOrder &previous, const RankOrder &current);

// The movement icons for `matchday`: the table after matchday - 1 and after `matchday`, both run
// silently on `table` (its rank order and form guide follow the last run, its cells stay), then
// each row's icon for the club the row shows. Nothing happens below matchday 2; false then.
bool SetRankMovements(
    const SeasonData &season, const IniSnapshot &store, int matchday, LeagueTableModel &table);

// What a screen reader says for a row's icon: "Lens : +2 places", "Lens : -1 place",
// "Lens : même place"; empty without a movement.
QString MovementDescription(const QString &team, const RankMovement &movement);

} // namespace kestrava

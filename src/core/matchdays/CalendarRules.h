#pragma once

#include "season/SeasonData.h"

#include <QDateTime>

namespace kestrava {

// The last matchday whose date is not after `now`: 0 before the season. After the last matchday
// no date is later, and the previous value is kept (`keep`).
int CurrentMatchday(const SeasonData &season, const QDateTime &now, int keep);

// The matchday the program opens on: the first whose date plus four days is after `now`, else 34.
int OpeningMatchday(const SeasonData &season, const QDateTime &now);

} // namespace kestrava

#pragma once

#include "matchdays/FixtureGridModel.h"

#include <QString>

namespace kestrava {

// What the fixture grid shows, as text: the header, one line per shown fixture (names, score, the
// cards on show, the information line), then the totals.
QString GridAsText(const FixtureGridModel &grid);

} // namespace kestrava

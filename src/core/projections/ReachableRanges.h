#pragma once

#include "projections/ProjectionControl.h"
#include "projections/ProjectionInput.h"

#include <array>

namespace kestrava {

// The final positions a club can still reach over every result of the fixtures left (win, draw or
// loss, 3/1/0 points). Clubs level on points count in the club's favour for `best`, against it for
// `worst`: goals cannot be settled in advance.
struct ReachableRange
{
    int best = 1;
    int worst = TeamCount;
};

// Assured when every reachable position lies in first..last, impossible when none does.
Verdict RangeVerdict(const ReachableRange &range, int first, int last);

struct RangeStats
{
    int questions = 0; // a best and a worst position per club
    int settledByBounds = 0; // answered without the solver
    int clubsSettledByBounds = 0;
};

struct RangeOptions
{
    bool cheapBounds = true; // off: every question goes to the solver (the reference comparison)
};

// Ranges of all 18 clubs, by team index. Cancelled runs return what they had, marked in `complete`.
std::array<ReachableRange, TeamCount> ComputeReachableRanges(const ProjectionInput &input,
    const ProjectionControl &control = {}, RangeStats *stats = nullptr, RangeOptions options = {},
    bool *complete = nullptr);

} // namespace kestrava

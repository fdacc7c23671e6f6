#pragma once

#include "projections/ProjectionControl.h"
#include "projections/ProjectionInput.h"
#include "projections/ReachableRanges.h"
#include "projections/SeasonSimulation.h"
#include "projections/StrengthModel.h"

#include <array>

namespace kestrava {

// What the projections view and the command line show: for every club the exact range of final
// positions with its verdict for each zone, and the simulated probabilities.
struct ProjectionReport
{
    ProjectionInput input;
    StrengthModel model;
    std::array<ReachableRange, TeamCount> ranges {};
    RangeStats rangeStats;
    SimulationResult simulation;
    bool complete = false; // false when the run was cancelled: show nothing of it

    Verdict verdict(int team, const ProjectionZone &zone) const;
    double probability(int team, const ProjectionZone &zone) const;
    double positionProbability(int team, int position) const;
    // Points now plus the average of the simulated ones.
    double expectedPoints(int team) const;
};

// Runs both stages for the season up to lastMatchday (0: every stored result). Long: the window calls
// it from a worker thread; `control` receives the progress of the whole run (the exact ranges are
// its first 30%) and can stop it between steps.
ProjectionReport ComputeProjections(const SeasonData &season, const IniSnapshot &store, int lastMatchday,
    const SimulationOptions &options, const ProjectionControl &control = {});
// The same on an input already built.
ProjectionReport ComputeProjections(
    ProjectionInput input, const SimulationOptions &options, const ProjectionControl &control = {});

} // namespace kestrava

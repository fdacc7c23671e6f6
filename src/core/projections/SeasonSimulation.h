#pragma once

#include "projections/ProjectionControl.h"
#include "projections/ProjectionInput.h"
#include "projections/StrengthModel.h"

#include <QtGlobal>

#include <array>

namespace kestrava {

inline constexpr quint64 DefaultSeed = 2027;
inline constexpr int DefaultSimulations = 100000;
// Seasons per block; each block draws from its own seed, so the outcome of a seed does not depend
// on how many threads share the blocks.
inline constexpr int SimulationBlock = 1000;

struct SimulationOptions
{
    int simulations = DefaultSimulations;
    quint64 seed = DefaultSeed;
    int threads = 0; // 0: every core
};

struct SimulationResult
{
    qint64 simulations = 0;
    bool complete = false;
    std::array<std::array<qint64, TeamCount>, TeamCount> positionCounts {}; // [team][position - 1]
    std::array<qint64, TeamCount> pointsWon {}; // in the simulated fixtures, over every season

    double positionProbability(int team, int position) const;
    double probability(int team, int first, int last) const; // of a final position in first..last
};

// Plays the fixtures left `simulations` times with the model's goals and orders each final table
// as the standings engine does: points, goal difference, goals scored, head-to-head goals of
// neighbours level on all three, then the cards so far and the names.
SimulationResult SimulateSeasons(const ProjectionInput &input, const StrengthModel &model,
    const SimulationOptions &options, const ProjectionControl &control = {});

} // namespace kestrava

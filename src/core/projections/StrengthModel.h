#pragma once

#include "projections/ProjectionInput.h"

#include <QList>

#include <array>

namespace kestrava {

// Goals as independent Poisson counts: the home side of i against j scores on average
// homeGoals x attack[i] x defence[j], the away side awayGoals x attack[j] x defence[i].
// 1 is the league average; a defence above 1 concedes more. Each strength is known up to a gamma
// law of the given shape around it (0: known exactly); the simulation draws strengths from it, so
// that what the results so far cannot tell apart stays open in the chances.
struct StrengthModel
{
    double homeGoals = 1.5;
    double awayGoals = 1.2;
    std::array<double, TeamCount> attack;
    std::array<double, TeamCount> defence;
    std::array<double, TeamCount> attackShape {};
    std::array<double, TeamCount> defenceShape {};

    StrengthModel() { attack.fill(1.0), defence.fill(1.0); }
    double expectedHomeGoals(int home, int away) const { return homeGoals * attack[home] * defence[away]; }
    double expectedAwayGoals(int home, int away) const { return awayGoals * attack[away] * defence[home]; }
};

// How many average matches each club's strengths start from: early in the season its own few
// results move them little, by mid-season they mostly speak for themselves.
inline constexpr double DefaultPriorMatches = 12.0;

// Strengths fitted to the results so far: the mean of each one's gamma posterior, given the others,
// from a prior worth `priorMatches` average matches. The league's home and away rates lean the same
// way on a long-run first-division average.
StrengthModel FitStrengthModel(const QList<PlayedFixture> &played, double priorMatches = DefaultPriorMatches);

// Every club average, with the league rates fitted as above: the reference the fit must beat.
StrengthModel EqualStrengthModel(const QList<PlayedFixture> &played);

} // namespace kestrava

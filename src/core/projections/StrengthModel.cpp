#include "StrengthModel.h"

#include <algorithm>

namespace kestrava {

namespace {

// Long-run goals per match of a first division, at home and away, and what they weigh against the
// season's own matches.
constexpr double LeagueHomeGoals = 1.5;
constexpr double LeagueAwayGoals = 1.2;
constexpr double LeaguePriorMatches = 30.0;
constexpr int Iterations = 40;

// A hand-edited score of hundreds says nothing about a club's strength.
int usable(int goals)
{
    return std::clamp(goals, 0, 20);
}

void fitLeagueRates(const QList<PlayedFixture> &played, const StrengthModel &m, double &home, double &away)
{
    double homeGoals = 0, awayGoals = 0, homeExposure = 0, awayExposure = 0;
    for (const PlayedFixture &f : played) {
        homeGoals += usable(f.homeGoals);
        awayGoals += usable(f.awayGoals);
        homeExposure += m.attack[f.home] * m.defence[f.away];
        awayExposure += m.attack[f.away] * m.defence[f.home];
    }
    home = (homeGoals + LeaguePriorMatches * LeagueHomeGoals) / (homeExposure + LeaguePriorMatches);
    away = (awayGoals + LeaguePriorMatches * LeagueAwayGoals) / (awayExposure + LeaguePriorMatches);
}

} // namespace

StrengthModel FitStrengthModel(const QList<PlayedFixture> &played, double priorMatches)
{
    StrengthModel m;
    fitLeagueRates(played, m, m.homeGoals, m.awayGoals);
    std::array<double, TeamCount> scored {}, conceded {};
    for (const PlayedFixture &f : played) {
        scored[f.home] += usable(f.homeGoals);
        scored[f.away] += usable(f.awayGoals);
        conceded[f.home] += usable(f.awayGoals);
        conceded[f.away] += usable(f.homeGoals);
    }
    for (int it = 0; it < Iterations; ++it) {
        // The prior: `priorMatches` matches at the league's average rate, for and against.
        const double prior = priorMatches * (m.homeGoals + m.awayGoals) / 2;
        std::array<double, TeamCount> exposure {};
        for (const PlayedFixture &f : played) {
            exposure[f.home] += m.homeGoals * m.defence[f.away];
            exposure[f.away] += m.awayGoals * m.defence[f.home];
        }
        for (int t = 0; t < TeamCount; ++t) {
            m.attack[t] = (scored[t] + prior) / (exposure[t] + prior);
            m.attackShape[t] = scored[t] + prior;
        }
        exposure.fill(0);
        for (const PlayedFixture &f : played) {
            exposure[f.home] += m.awayGoals * m.attack[f.away];
            exposure[f.away] += m.homeGoals * m.attack[f.home];
        }
        for (int t = 0; t < TeamCount; ++t) {
            m.defence[t] = (conceded[t] + prior) / (exposure[t] + prior);
            m.defenceShape[t] = conceded[t] + prior;
        }
        fitLeagueRates(played, m, m.homeGoals, m.awayGoals);
    }
    return m;
}

StrengthModel EqualStrengthModel(const QList<PlayedFixture> &played)
{
    StrengthModel m;
    fitLeagueRates(played, m, m.homeGoals, m.awayGoals);
    return m;
}

} // namespace kestrava

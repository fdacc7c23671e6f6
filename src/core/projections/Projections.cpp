#include "Projections.h"

namespace kestrava {

Verdict ProjectionReport::verdict(int team, const ProjectionZone &zone) const
{
    return RangeVerdict(ranges[team], zone.first, zone.last);
}

double ProjectionReport::probability(int team, const ProjectionZone &zone) const
{
    return simulation.probability(team, zone.first, zone.last);
}

double ProjectionReport::positionProbability(int team, int position) const
{
    return simulation.positionProbability(team, position);
}

double ProjectionReport::expectedPoints(int team) const
{
    const double won = simulation.simulations > 0
        ? double(simulation.pointsWon[team]) / double(simulation.simulations)
        : 0.0;
    return input.points[team] + won;
}

ProjectionReport ComputeProjections(const SeasonData &season, const IniSnapshot &store, int lastMatchday,
    const SimulationOptions &options, const ProjectionControl &control)
{
    return ComputeProjections(MakeProjectionInput(season, store, lastMatchday), options, control);
}

ProjectionReport ComputeProjections(
    ProjectionInput input, const SimulationOptions &options, const ProjectionControl &control)
{
    ProjectionReport report;
    report.input = std::move(input);
    bool rangesDone = false;
    report.ranges
        = ComputeReachableRanges(report.input, control.stage(0.0, 0.3), &report.rangeStats, {}, &rangesDone);
    if (!rangesDone)
        return report;
    report.model = FitStrengthModel(report.input.played);
    report.simulation = SimulateSeasons(report.input, report.model, options, control.stage(0.3, 1.0));
    report.complete = report.simulation.complete;
    return report;
}

} // namespace kestrava

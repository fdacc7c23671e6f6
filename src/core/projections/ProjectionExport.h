#pragma once

#include "projections/Projections.h"

#include <QByteArray>
#include <QString>

namespace kestrava {

// One line per club in the current table order: team, points, best, worst, the probabilities of
// title, positions 1-4, 5-6, 16 and 17-18 (0 to 1, four decimals), expected points, p1 ... p18.
QString ProjectionsAsCsv(const ProjectionReport &report);
// The same with every zone's verdict and probability.
QByteArray ProjectionsAsJson(const ProjectionReport &report, quint64 seed);
// Two aligned French tables: the places still within reach with their verdicts, then the chances.
QString ProjectionsAsText(const ProjectionReport &report, quint64 seed);

} // namespace kestrava

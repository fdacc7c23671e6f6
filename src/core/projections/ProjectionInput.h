#pragma once

#include "platform/IniFile.h"
#include "platform/Rgb.h"
#include "season/SeasonData.h"

#include <QList>
#include <QString>

#include <array>

namespace kestrava {

struct ProjectionFixture
{
    int home = 0;
    int away = 0;
};

struct PlayedFixture
{
    int home = 0;
    int away = 0;
    int homeGoals = 0;
    int awayGoals = 0;
};

// The season at one point as the projections see it: the totals of the standings engine, and the
// calendar split into the fixtures played and those left. Built once; every stage reads it.
struct ProjectionInput
{
    int lastMatchday = MatchdayCount;
    std::array<QString, TeamCount> names;
    std::array<double, TeamCount> points {}; // as the table shows them, bonus/malus included
    std::array<int, TeamCount> tablePoints {}; // the whole points the table orders by
    std::array<int, TeamCount> goalsFor {};
    std::array<int, TeamCount> goalsAgainst {};
    std::array<int, TeamCount> fairPlay {}; // cards so far; the future brings none
    std::array<int, TeamCount> nameOrder {}; // place of each name in the table's ascending name order
    std::array<int, TeamCount> tableOrder {}; // team of each table row, first place first
    QList<PlayedFixture> played; // calendar fixtures with a stored score
    QList<ProjectionFixture> unplayed; // the rest of the calendar
};

// The table of matchdays 1..lastMatchday (0: the whole season); every later fixture counts as not
// played, whatever the store holds for it.
ProjectionInput MakeProjectionInput(const SeasonData &season, const IniSnapshot &store, int lastMatchday);

// The outcome of a season for each table position.
struct ProjectionZone
{
    const char *id; // the column name of the exports
    QString label; // French, as the user reads it
    int first; // positions, 1 to 18
    int last;
    Rgb colour;
};

// Title, the aggregates of the exports (positions 1 to 4, 5 and 6) and every zone of the table.
const QList<ProjectionZone> &ProjectionZones();
const ProjectionZone &ProjectionZoneById(const char *id);

enum class Verdict { Impossible, Possible, Assured };
// "assuré", "possible", "impossible".
QString VerdictText(Verdict verdict);

} // namespace kestrava

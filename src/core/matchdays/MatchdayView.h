#pragma once

#include "matchdays/FixtureGridModel.h"
#include "platform/IniFile.h"
#include "season/SeasonData.h"

#include <QDateTime>

namespace kestrava {

struct GridContext
{
    QDateTime launchTime;
    QString favouriteTeam;
};

// The header of a matchday: "Journée N°13: Vendredi 04 Décembre. " and its countdown and colour.
struct MatchdayHeader
{
    QString text;
    Rgb colour;
};
MatchdayHeader HeaderFor(const SeasonData &season, int matchday, const QDateTime &launchTime);

// Fills the grid with the nine fixtures of a matchday (1 to 34), their stored scores and cards,
// the return-fixture lines and the day's totals.
void ShowMatchday(FixtureGridModel &grid, const SeasonData &season, const IniSnapshot &store, int matchday,
                  const GridContext &ctx);

// Fills the grid with one team's fixtures of the season, in calendar order.
void ShowTeamSeason(FixtureGridModel &grid, const SeasonData &season, const IniSnapshot &store,
                    const QString &teamName, const GridContext &ctx);

// The day's totals of a matchday's nine fixtures: goals, yellow and red cards.
QString DayTotals(const IniSnapshot &store, int matchday);

// The day-by-day card report, ending with the two "Cumul" lines.
QString CardReport(const IniSnapshot &store);

} // namespace kestrava

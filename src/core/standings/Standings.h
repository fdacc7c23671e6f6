#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace kestrava {

// One team's totals over a standings run.
struct StandingRow
{
    int teamIndex = 0;
    QString name;
    float points = 0;
    int goalDifference = 0;
    int goalsFor = 0;
    int goalsAgainst = 0;
    int fairPlay = 0;
    int played = 0;
    int homeGoalsFor = 0;
    int awayGoalsFor = 0;
    int homeGoalsAgainst = 0;
    int awayGoalsAgainst = 0;
    int homePoints = 0;
    int awayPoints = 0;
    int homeWins = 0;
    int awayWins = 0;
    int homeLosses = 0;
    int awayLosses = 0;
    int draws = 0;
    QString formSequence; // "G", "N", "P" in matchday order
    int headToHead = 0;   // goals won or lost against the team level just before it
    // The key of the row text (twelve digits within its limits); the order itself compares the
    // figures, which no width limits.
    double sortKey = 0;

    // Points (rounded), goal difference, goals scored with the head-to-head goals, fair play:
    // higher ranks higher.
    std::array<qint64, 4> orderKey() const;

    // The 19 "|"-joined fields in which a row is ordered and shown.
    QString rowText() const;
    // The points as the table shows them: a French comma only when there is a fraction.
    QString pointsText() const;
};

// Everything one run produces before it is shown.
struct StandingsRun
{
    int lastMatchday = 34;
    std::array<StandingRow, TeamCount> rows; // by team index
    int appearanceCount = 0;
    double goalCount = 0;
    // The final row texts in ascending order (the work list); written when asked for, since a
    // run is far more often drawn than listed.
    QStringList arrangement() const;
    std::array<int, TeamCount> tableOrder{}; // team index of table row 0 (first place) to 17
    std::array<QString, TeamCount> rowKeys;  // final key text of each table row
    std::array<int, TeamCount> ranks{};      // shared rank numbers: equal figures, equal rank

    const StandingRow &atRank(int row) const { return rows[tableOrder[row]]; }
};

// Totals and order of matchdays 1..lastMatchday (0 means the whole season) from one snapshot of
// the results store. The head-to-head step reads every stored result of the two fixtures.
StandingsRun RunStandings(const SeasonData &season, const IniSnapshot &store, int lastMatchday);

// The runs of RunStandings for every wanted matchday (1..34), each handed to `take` in matchday
// order: the results are read once, each matchday's added to the totals of the ones before.
void RunStandingsAfterEachMatchday(const SeasonData &season, const IniSnapshot &store,
                                   const std::array<bool, MatchdayCount + 1> &wanted,
                                   const std::function<void(const StandingsRun &)> &take);

// The same run reading the store file again for every key: the plain way, kept only as the
// reference that measurements compare with.
StandingsRun RunStandingsReadingEachKey(const SeasonData &season, const QString &storePath, int lastMatchday);

// The twelve-digit key text of the row texts.
QString KeyText(double sortKey);

// Standard competition ranking over equal keys: 1, 1, 3, 4, 4, 6 ...
std::array<int, TeamCount> RankNumbers(const std::array<QString, TeamCount> &rowKeys);

} // namespace kestrava

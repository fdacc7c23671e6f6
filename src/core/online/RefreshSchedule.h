#pragma once

#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace kestrava {

// The automatic refresh asks the site every five minutes, from noon to midnight, on a matchday's
// days: from its date to the day before the next matchday's date (the last matchday keeps a week,
// like the others, for its games put back).
inline constexpr int RefreshIntervalMinutes = 5;
inline constexpr int LastMatchdaySpanDays = 7;

// The matchday whose days hold `day`; 0 outside the season.
int MatchdayOfDay(const SeasonData &season, const QDate &day);
bool InRefreshHours(const SeasonData &season, const QDateTime &now);

// A fixture whose score is there now and was not, or was another, before.
struct NewResult
{
    int matchday = 0;
    QString home;
    QString away;
    QString homeGoals;
    QString awayGoals;

    QString line() const; // "Lens 2 - 1 Marseille"
    bool involves(const QString &team) const { return home == team || away == team; }
};
QList<NewResult> NewResults(const SeasonData &season, const IniSnapshot &before, const IniSnapshot &after);

// "1er", "2e", "17e".
QString RankText(int rank);

} // namespace kestrava

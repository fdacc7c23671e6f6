#include "CalendarRules.h"

namespace kestrava {

int CurrentMatchday(const SeasonData &season, const QDateTime &now, int keep)
{
    for (int md = 1; md <= MatchdayCount; ++md) {
        const QDateTime d = season.matchdayDate(md);
        if (d.isValid() && d > now)
            return md - 1;
    }
    return keep;
}

int OpeningMatchday(const SeasonData &season, const QDateTime &now)
{
    for (int md = 1; md <= MatchdayCount; ++md) {
        const QDateTime d = season.matchdayDate(md);
        if (d.isValid() && d.addDays(4) > now)
            return md;
    }
    return MatchdayCount;
}

} // namespace kestrava

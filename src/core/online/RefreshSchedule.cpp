#include "RefreshSchedule.h"

namespace kestrava {

int MatchdayOfDay(const SeasonData &season, const QDate &day)
{
    for (int md = MatchdayCount; md >= 1; --md) {
        const QDateTime &date = season.matchdayDates[md];
        if (!date.isValid() || date.date() > day)
            continue;
        const QDateTime &next = md < MatchdayCount ? season.matchdayDates[md + 1] : QDateTime();
        const QDate end = next.isValid() ? next.date() : date.date().addDays(LastMatchdaySpanDays);
        return day < end ? md : 0;
    }
    return 0;
}

bool InRefreshHours(const SeasonData &season, const QDateTime &now)
{
    return now.time().hour() >= 12 && MatchdayOfDay(season, now.date()) > 0;
}

QString NewResult::line() const
{
    return home + u' ' + homeGoals + QStringLiteral(" - ") + awayGoals + u' ' + away;
}

QList<NewResult> NewResults(const SeasonData &season, const IniSnapshot &before, const IniSnapshot &after)
{
    QList<NewResult> found;
    for (int md = 1; md <= MatchdayCount; ++md) {
        const QStringList &codes = season.matchdayFixtures[md];
        for (int p = 0; p < codes.size(); ++p) {
            const QString key = FixtureKey(md, p);
            const MatchResult now = ResultsStore::result(after, key);
            if (!GoalsEntered(now.r1()) || !GoalsEntered(now.r2()))
                continue;
            const MatchResult was = ResultsStore::result(before, key);
            if (was.r1() == now.r1() && was.r2() == now.r2())
                continue;
            // The names come from the season's calendar, as the grid shows them.
            found.append({md, season.TeamNameOf(QStringView(codes[p]).left(1)),
                          season.TeamNameOf(QStringView(codes[p]).mid(1, 1)), now.r1().trimmed(),
                          now.r2().trimmed()});
        }
    }
    return found;
}

QString RankText(int rank)
{
    return QString::number(rank) + (rank == 1 ? QStringLiteral("er") : QStringLiteral("e"));
}

} // namespace kestrava

#include "Standings.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <algorithm>
#include <cmath>

namespace kestrava {

namespace {

// Keeps a key piece inside its width, so that an absurd figure from a hand-edited store cannot
// spill into the piece before it and reorder the other teams.
double piece(double v, double max)
{
    return std::clamp(v, 0.0, max);
}

double primaryKey(const StandingRow &r)
{
    const double points = piece(RoundHalfAway(double(r.points) + 10), 9999);
    return points * 1e6 + piece(r.goalDifference + 200.0, 999) * 1e3 + piece(r.goalsFor, 999);
}

// Ascending order of the row texts without regard to case: the twelve-digit key first, then the
// rest of the text. The key is compared as a number, which is the same order for twelve digits
// and stays right if an absurd store ever makes it longer.
void arrange(std::array<int, TeamCount> &order, const std::array<StandingRow, TeamCount> &rows)
{
    std::array<QString, TeamCount> rest;
    std::array<QString, TeamCount> folded;
    for (int i = 0; i < TeamCount; ++i) {
        const QString text = rows[i].rowText();
        rest[i] = text.mid(text.indexOf(u'|'));
        folded[i] = FoldForSort(rest[i]);
    }
    for (int i = 0; i < TeamCount; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (rows[a].sortKey != rows[b].sortKey)
            return rows[a].sortKey < rows[b].sortKey;
        const int c = folded[a].compare(folded[b]);
        if (c != 0)
            return c < 0;
        return rest[a] < rest[b];
    });
}

void addResult(StandingsRun &run, const MatchResult &m)
{
    const int home = TeamIndexOfLetter(m.homeLetter());
    const int away = TeamIndexOfLetter(m.awayLetter());
    const int hg = IntValueOf(m.r1());
    const int ag = IntValueOf(m.r2());
    const bool homeEntered = GoalsEntered(m.r1());
    const bool awayEntered = GoalsEntered(m.r2());
    const bool draw = hg == ag && homeEntered && awayEntered;

    // A side whose letter is not a team adds nothing to any team; the run totals still count it.
    StandingRow *h = home >= 0 ? &run.rows[home] : nullptr;
    StandingRow *a = away >= 0 ? &run.rows[away] : nullptr;

    if (hg > ag) {
        if (h) h->formSequence += u'G';
        if (a) a->formSequence += u'P';
    } else if (ag > hg) {
        if (h) h->formSequence += u'P';
        if (a) a->formSequence += u'G';
    } else if (draw) {
        if (h) h->formSequence += u'N';
        if (a) a->formSequence += u'N';
    }

    if (h) {
        h->fairPlay += 3 * IntValueOf(m.cr1()) + IntValueOf(m.cj1());
        h->goalDifference += hg - ag;
        h->goalsFor += hg;
        h->goalsAgainst += ag;
        h->homeGoalsFor += hg;
        h->homeGoalsAgainst += ag;
    }
    if (a) {
        a->fairPlay += 3 * IntValueOf(m.cr2()) + IntValueOf(m.cj2());
        a->goalDifference += ag - hg;
        a->goalsFor += ag;
        a->goalsAgainst += hg;
        a->awayGoalsFor += ag;
        a->awayGoalsAgainst += hg;
    }
    if (homeEntered) {
        if (h) h->played += 1;
        run.appearanceCount += 1;
    }
    if (awayEntered) {
        if (a) a->played += 1;
        run.appearanceCount += 1;
    }
    run.goalCount += double(hg) + double(ag);

    if (hg > ag) {
        if (h) { h->points += 3; h->homePoints += 3; h->homeWins += 1; }
        if (a) a->awayLosses += 1;
    } else if (ag > hg) {
        if (a) { a->points += 3; a->awayPoints += 3; a->awayWins += 1; }
        if (h) h->homeLosses += 1;
    } else if (draw) {
        if (h) { h->points += 1; h->homePoints += 1; h->draws += 1; }
        if (a) { a->points += 1; a->awayPoints += 1; a->draws += 1; }
    }
}

// Goals of the two teams in every stored meeting between them, whatever the matchday limit.
int headToHead(const SeasonData &season, const IniSnapshot &store, const QString &prev, const QString &cur)
{
    int prevGoals = 0;
    int curGoals = 0;
    const QString prevAtHome = prev + cur;
    const QString curAtHome = cur + prev;
    for (int k = 0; k <= 306; ++k) {
        const QString &slot = season.calendar[k];
        if (slot.size() < 5)
            continue;
        const QString key = slot.left(2) + slot.mid(3, 2);
        if (slot.contains(prevAtHome)) {
            const MatchResult m = ResultsStore::result(store, key);
            prevGoals += IntValueOf(m.r1());
            curGoals += IntValueOf(m.r2());
        }
        if (slot.contains(curAtHome)) {
            const MatchResult m = ResultsStore::result(store, key);
            curGoals += IntValueOf(m.r1());
            prevGoals += IntValueOf(m.r2());
        }
    }
    return curGoals - prevGoals;
}

} // namespace

QString StandingRow::pointsText() const
{
    return PlainNumber(double(points));
}

QString StandingRow::rowText() const
{
    QStringList f;
    f.reserve(19);
    f << KeyText(sortKey) << name << pointsText() << QString::number(goalDifference)
      << QString::number(goalsFor) << QString::number(goalsAgainst) << QString::number(fairPlay)
      << QString::number(played) << QString::number(homeGoalsFor) << QString::number(awayGoalsFor)
      << QString::number(homeGoalsAgainst) << QString::number(awayGoalsAgainst) << QString::number(homePoints)
      << QString::number(awayPoints) << QString::number(homeWins) << QString::number(awayWins)
      << QString::number(homeLosses) << QString::number(awayLosses) << QString::number(draws);
    return f.join(u'|');
}

QString KeyText(double sortKey)
{
    return QStringLiteral("%1").arg(static_cast<qint64>(std::max(0.0, sortKey)), 12, 10, QLatin1Char('0'));
}

StandingsRun RunStandings(const SeasonData &season, const IniSnapshot &store, int lastMatchday)
{
    StandingsRun run;
    if (lastMatchday == 0)
        lastMatchday = MatchdayCount;
    run.lastMatchday = lastMatchday;
    for (int i = 0; i < TeamCount; ++i) {
        run.rows[i].teamIndex = i;
        run.rows[i].name = season.teams[i];
    }

    // Ten positions per matchday: the ninth fixture is position 8, a tenth is read if present.
    const int last = std::min(lastMatchday, 99);
    for (int md = 1; md <= last; ++md) {
        for (int p = 0; p <= 9; ++p) {
            const MatchResult m = ResultsStore::result(store, FixtureKey(md, p));
            if (m.homeLetter().isEmpty())
                continue;
            addResult(run, m);
        }
    }

    for (int i = 0; i < TeamCount; ++i) {
        StandingRow &r = run.rows[i];
        r.points += season.bonusMalus[i];
        r.sortKey = primaryKey(r);
    }

    std::array<int, TeamCount> order{};
    arrange(order, run.rows);

    // Head to head: each entry is compared with the one just before it in the first arrangement,
    // and only the later team of a level pair is adjusted.
    std::array<double, TeamCount> firstKeys{};
    for (int i = 0; i < TeamCount; ++i)
        firstKeys[i] = run.rows[i].sortKey;
    for (int e = 1; e < TeamCount; ++e) {
        const int prevTeam = order[e - 1];
        const int curTeam = order[e];
        if (firstKeys[curTeam] != firstKeys[prevTeam])
            continue;
        const int hh = headToHead(season, store, season.TeamLetterOf(run.rows[prevTeam].name),
                                  season.TeamLetterOf(run.rows[curTeam].name));
        if (hh != 0)
            run.rows[curTeam].sortKey += hh;
    }

    for (StandingRow &r : run.rows)
        r.sortKey = std::max(0.0, r.sortKey) * 1000 + (999 - piece(r.fairPlay, 999));

    arrange(order, run.rows);
    for (int e = 0; e < TeamCount; ++e)
        run.arrangement.append(run.rows[order[e]].rowText());
    for (int r = 0; r < TeamCount; ++r) {
        run.tableOrder[r] = order[TeamCount - 1 - r];
        run.rowKeys[r] = KeyText(run.rows[run.tableOrder[r]].sortKey);
    }
    return run;
}

std::array<int, TeamCount> RankNumbers(const std::array<QString, TeamCount> &rowKeys)
{
    std::array<int, TeamCount> ranks{};
    for (int r = 0; r < TeamCount; ++r)
        ranks[r] = (r > 0 && rowKeys[r] == rowKeys[r - 1]) ? ranks[r - 1] : r + 1;
    return ranks;
}

} // namespace kestrava

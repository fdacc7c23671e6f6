#include "ProjectionInput.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "standings/LeagueTableModel.h"
#include "standings/Standings.h"

#include <algorithm>
#include <cstring>

namespace kestrava {

namespace {

// A calendar slot "MM|PP|XY": its matchday, position and the two teams; false when malformed.
bool readSlot(const QString &slot, int &matchday, int &position, int &home, int &away)
{
    if (slot.size() < 8 || slot[2] != u'|' || slot[5] != u'|')
        return false;
    bool okM = false, okP = false;
    matchday = slot.left(2).toInt(&okM);
    position = slot.mid(3, 2).toInt(&okP);
    home = TeamIndexOfLetter(QStringView(slot).mid(6, 1));
    away = TeamIndexOfLetter(QStringView(slot).mid(7, 1));
    return okM && okP && matchday >= 1 && matchday <= MatchdayCount && home >= 0 && away >= 0 && home != away;
}

// A score as the engine reads it (head to head counts it as it stands), inside the same bounds.
int goals(const QString &text)
{
    return std::clamp(IntValueOf(text), -99999, 99999);
}

} // namespace

ProjectionInput MakeProjectionInput(const SeasonData &season, const IniSnapshot &store, int lastMatchday)
{
    ProjectionInput in;
    in.lastMatchday = lastMatchday == 0 ? MatchdayCount : std::clamp(lastMatchday, 0, MatchdayCount);
    const StandingsRun run = RunStandings(season, store, in.lastMatchday);
    for (int t = 0; t < TeamCount; ++t) {
        const StandingRow &r = run.rows[t];
        in.names[t] = r.name;
        in.points[t] = r.points;
        in.tablePoints[t] = int(RoundHalfAway(double(r.points) + 10)) - 10;
        in.goalsFor[t] = r.goalsFor;
        in.goalsAgainst[t] = r.goalsAgainst;
        in.fairPlay[t] = r.fairPlay;
    }
    in.tableOrder = run.tableOrder;

    // Among equal keys the table orders by name, as the engine compares them.
    std::array<int, TeamCount> byName {};
    std::array<QString, TeamCount> folded;
    for (int t = 0; t < TeamCount; ++t) {
        byName[t] = t;
        folded[t] = FoldForSort(season.teams[t]) + u'|';
    }
    std::stable_sort(
        byName.begin(), byName.end(), [&](int a, int b) { return folded[a].compare(folded[b]) < 0; });
    for (int i = 0; i < TeamCount; ++i)
        in.nameOrder[byName[i]] = i;

    for (const QString &slot : season.calendar) {
        int md = 0, pos = 0, home = 0, away = 0;
        if (!readSlot(slot, md, pos, home, away))
            continue;
        const MatchResult m = ResultsStore::result(store, FixtureKey(md, pos));
        // Played as the engine counts it: a record with a team letter and at least one score.
        const bool played = md <= in.lastMatchday && !m.homeLetter().isEmpty()
            && (GoalsEntered(m.r1()) || GoalsEntered(m.r2()));
        if (played)
            in.played.append({ home, away, goals(m.r1()), goals(m.r2()) });
        else
            in.unplayed.append({ home, away });
    }
    return in;
}

const QList<ProjectionZone> &ProjectionZones()
{
    static const QList<ProjectionZone> zones = {
        { "title", QStringLiteral("Champion"), 1, 1, Zones::Champions },
        { "champions_league", QStringLiteral("Champions league"), 1, 4, Zones::Champions },
        { "europe", QStringLiteral("Qualifié phase de ligue ou tour de barrage"), 5, 6, Zones::LeaguePhase },
        { "relegation_playoff", QStringLiteral("Barrage de relégation"), 16, 16, Zones::RelegationPlayoff },
        { "relegated", QStringLiteral("Relégué en Ligue 2"), 17, 18, Zones::Relegated },
        { "champions_league_group_stage", QStringLiteral("Qualifié phase de groupe Champions league"), 1, 3,
            Zones::Champions },
        { "champions_league_third_round",
            QStringLiteral("Qualifié 3eme tour pour non champions Champions league"), 4, 4,
            Zones::ThirdRound },
        { "league_phase", QStringLiteral("Qualifié phase de ligue"), 5, 5, Zones::LeaguePhase },
        { "playoff_round", QStringLiteral("Qualifié tour de barrage"), 6, 6, Zones::Playoff },
    };
    return zones;
}

const ProjectionZone &ProjectionZoneById(const char *id)
{
    for (const ProjectionZone &z : ProjectionZones())
        if (std::strcmp(z.id, id) == 0)
            return z;
    return ProjectionZones().front();
}

QString VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Assured:
        return QStringLiteral("assuré");
    case Verdict::Possible:
        return QStringLiteral("possible");
    case Verdict::Impossible:
        break;
    }
    return QStringLiteral("impossible");
}

} // namespace kestrava

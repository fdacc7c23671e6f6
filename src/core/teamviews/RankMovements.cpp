#include "RankMovements.h"

namespace kestrava {

namespace {

RankOrder silentOrder(
    const SeasonData &season, const IniSnapshot &store, int matchday, LeagueTableModel &table)
{
    ComputeStandings(season, store, matchday, true, StandingsContext {}, table);
    RankOrder order;
    for (int r = 0; r < TeamCount; ++r)
        order[r] = table.silentOrder(r);
    return order;
}

} // namespace

RankMovement MovementOf(const QString &team, const RankOrder &previous, const RankOrder &current)
{
    const auto was = std::find(previous.begin(), previous.end(), team);
    const auto is = std::find(current.begin(), current.end(), team);
    if (team.isEmpty() || was == previous.end() || is == current.end())
        return {};
    const auto a = was - previous.begin(), b = is - current.begin();
    if (a > b)
        return { RankMovement::Kind::Up, u'+' + QString::number(a - b) };
    if (a < b)
        return { RankMovement::Kind::Down, u'-' + QString::number(b - a) };
    return { RankMovement::Kind::Level, QStringLiteral("=") };
}

bool SetRankMovements(
    const SeasonData &season, const IniSnapshot &store, int matchday, LeagueTableModel &table)
{
    if (matchday < 2)
        return false;
    const RankOrder previous = silentOrder(season, store, matchday - 1, table);
    const RankOrder current = silentOrder(season, store, matchday, table);
    // Each icon speaks of the club shown in its row. After "Valider" on an earlier matchday the
    // table (the whole season) may list the clubs in another order than the run at the matchday.
    for (int r = 0; r < TeamCount; ++r) {
        const QString team = table.cell(r, TableColumn::Name).text;
        const RankMovement m = MovementOf(team, previous, current);
        if (m.kind != RankMovement::Kind::None)
            table.setMovement(r, m);
    }
    return true;
}

QString MovementDescription(const QString &team, const RankMovement &movement)
{
    if (movement.kind == RankMovement::Kind::None)
        return {};
    if (movement.kind == RankMovement::Kind::Level)
        return team + QStringLiteral(" : même place");
    const bool one = movement.text.mid(1) == u"1";
    return team + QStringLiteral(" : ") + movement.text
        + (one ? QStringLiteral(" place") : QStringLiteral(" places"));
}

} // namespace kestrava

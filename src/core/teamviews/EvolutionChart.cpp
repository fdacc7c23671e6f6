#include "EvolutionChart.h"

namespace kestrava {

int BarHeight(int rank)
{
    return 350 * (TeamCount - rank) + 200;
}

Rgb BarColour(int rank)
{
    if (rank == 1)
        return ChartColours::First;
    return rank == TeamCount ? ChartColours::Last : ChartColours::Between;
}

QDateTime ChartLimit(const QDateTime &launchTime, bool simulated)
{
    return simulated ? launchTime.addDays(1000) : launchTime;
}

bool ChartCounts(const SeasonData &season, int matchday, const QDateTime &limit)
{
    const QDateTime date = season.matchdayDate(matchday);
    return !date.isValid() || date <= limit;
}

QString RankOrderEntry(const StandingsRun &run)
{
    QString entry;
    for (int r = 0; r < TeamCount; ++r)
        entry += u'|' + run.atRank(r).name;
    return entry;
}

std::array<int, MatchdayCount + 1> ChartPositions(
    const std::array<QString, MatchdayCount + 1> &rankOrder, const QString &team)
{
    std::array<int, MatchdayCount + 1> positions {};
    for (int j = 1; j <= MatchdayCount; ++j) {
        if (rankOrder[j].isEmpty())
            continue;
        const QList<QStringView> names = QStringView(rankOrder[j]).split(u'|');
        for (int k = 1; k <= TeamCount && k < names.size(); ++k) {
            if (names[k] == team)
                positions[j] = k;
        }
    }
    return positions;
}

EvolutionChartModel::EvolutionChartModel(QObject *parent)
    : QObject(parent)
{
    bars[0].created = true;
    bars[0].matchday = QStringLiteral("1");
}

void EvolutionChartModel::showClub(int index)
{
    if (index < 0 || index >= clubs.size())
        return;
    selected = index;
    const QString team = clubs[index];
    const auto positions = ChartPositions(rankOrder, team);
    for (int j = 1; j <= MatchdayCount; ++j) {
        const int k = positions[j];
        if (k == 0)
            continue;
        ChartBar &bar = bars[j - 1];
        bar.height = BarHeight(k);
        bar.top = ChartTwips::Baseline - bar.height;
        bar.caption = QString::number(k);
        bar.colour = BarColour(k);
    }
    crestTeam = team;
    title = QStringLiteral("Evolution du classement de : ") + team;
}

} // namespace kestrava

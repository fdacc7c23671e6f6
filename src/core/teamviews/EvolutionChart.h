#pragma once

#include "platform/Rgb.h"
#include "season/SeasonData.h"
#include "standings/Standings.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrava {

// The chart's geometry in twips: every bar stands on the baseline, one bar per matchday.
namespace ChartTwips {
inline constexpr int Baseline = 8800;
inline constexpr int Pitch = 310;
inline constexpr int Top = Baseline - 6150; // the top of the first place's bar
} // namespace ChartTwips

namespace ChartColours {
inline constexpr Rgb First { 0, 192, 0 };
inline constexpr Rgb Last { 255, 0, 0 };
inline constexpr Rgb Between { 0, 0, 128 };
} // namespace ChartColours

// A bar for a rank: 350 twips a place above the last one's 200.
int BarHeight(int rank);
Rgb BarColour(int rank);

// The latest moment whose matchdays the chart counts: the launch time, or with the simulated
// matches, every matchday.
QDateTime ChartLimit(const QDateTime &launchTime, bool simulated);
// A matchday dated after the limit gets no table (a matchday without a date is counted).
bool ChartCounts(const SeasonData &season, int matchday, const QDateTime &limit);
// The table after a run as the chart keeps it: "|" and a name for each rank, first place first.
QString RankOrderEntry(const StandingsRun &run);
// A club's place in each kept table (index = matchday 1..34), 0 where none is kept or it is absent.
std::array<int, MatchdayCount + 1> ChartPositions(
    const std::array<QString, MatchdayCount + 1> &rankOrder, const QString &team);

struct ChartBar
{
    bool created = false; // the first matchday's bar exists from the start, the others once prepared
    int height = 0; // twips; 0 and no caption: no rank drawn yet
    int top = ChartTwips::Baseline;
    QString caption; // the rank written on the bar
    Rgb colour = ChartColours::Between;
    QString matchday; // the number under the bar
};

// The rank evolution chart: for the club chosen in its list, a bar per matchday whose height stands
// for the club's rank after it, from the tables that the preparation kept.
class EvolutionChartModel : public QObject
{
    Q_OBJECT
public:
    explicit EvolutionChartModel(QObject *parent = nullptr);

    bool visible = false; // "Graphiques" shows it, its "Fermer" hides it
    bool simulated = false; // "Voir aussi les matches simulés"
    bool preparing = false;
    QString title; // "Evolution du classement de : " and the club
    QString crestTeam; // whose crest shows beside the title
    QStringList clubs; // the 18 clubs in season order, once prepared
    int selected = -1;
    // The table after each matchday, index 1..34; empty when not kept.
    std::array<QString, MatchdayCount + 1> rankOrder;
    std::array<ChartBar, MatchdayCount> bars;

    // The chart of list entry `index`: bars of the matchdays that have a table; the others keep
    // what they showed.
    void showClub(int index);
    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

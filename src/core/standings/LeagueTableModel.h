#pragma once

#include "platform/Rgb.h"
#include "standings/Standings.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrava {

// The columns of the league table after the rank number, in screen order.
enum class TableColumn {
    Name,             // Tclass
    Points,           // TPTS
    Played,           // MJ
    GoalsFor,         // TBP
    GoalsAgainst,     // TBC
    GoalDifference,   // TDelta
    FairPlay,         // FP
    HomeGoalsFor,     // TBPD
    AwayGoalsFor,     // TBPE
    HomeGoalsAgainst, // TBCD
    AwayGoalsAgainst, // TBCE
    HomePoints,       // TPD
    AwayPoints,       // TPE
    HomeWins,         // TMD
    AwayWins,         // TME
    HomeLosses,       // TMpD
    AwayLosses,       // TMpE
    Draws,            // TMN
};
inline constexpr int ColumnCount = 18;

// A table row's last rank movement, as the movement icon beside the row gives it: up, down or
// level, with its tool tip ("+2", "-1", "="). None while the icon is clear.
struct RankMovement
{
    enum class Kind { None, Up, Down, Level };
    Kind kind = Kind::None;
    QString text;
};

struct TableCell
{
    QString text;
    Rgb background = Colours::White;
    Rgb foreground = Colours::Black;
    bool bold = false;
    QString tooltip;
};

// What a display run leaves beside the table.
struct StandingsContext
{
    int currentMatchday = 0;    // the calendar's current matchday
    QString favouriteTeam;      // empty when none
    bool chartBuilding = false; // the evolution chart is being built: the progress base is kept
};

namespace Zones {
inline constexpr Rgb Champions{151, 222, 255};
inline constexpr Rgb ThirdRound{206, 235, 251};
inline constexpr Rgb LeaguePhase{255, 240, 82};
inline constexpr Rgb Playoff{230, 204, 255};
inline constexpr Rgb RelegationPlayoff{255, 229, 229};
inline constexpr Rgb Relegated{255, 128, 128};
} // namespace Zones

// The league table as the window shows it: 18 rows of cells and everything beside them. It keeps
// its state between runs (a colour that a run does not set stays), as the table on screen does.
class LeagueTableModel : public QObject
{
    Q_OBJECT
public:
    explicit LeagueTableModel(QObject *parent = nullptr);

    const TableCell &cell(int row, TableColumn c) const { return m_cells[row][int(c)]; }
    TableCell &cell(int row, TableColumn c) { return m_cells[row][int(c)]; }
    // Sets a text with the rule that follows it: negative points are red.
    void setText(int row, TableColumn c, const QString &text);

    QString rankText(int row) const { return m_rank[row]; }
    void setRankText(int row, const QString &text) { m_rank[row] = text; }
    QString rowKey(int row) const { return m_rowKeys[row]; }
    void setRowKey(int row, const QString &key) { m_rowKeys[row] = key; }
    QString silentOrder(int row) const { return m_silentOrder[row]; }
    QString formSequenceOf(const QString &teamName, const SeasonData &season) const;
    const std::array<QString, 19> &formSequences() const { return m_formSequences; }
    QStringList arrangement() const { return m_lastRun.arrangement(); }

    QString lastUpdate() const { return m_lastUpdate; }
    QString lastUpdateTooltip() const { return m_lastUpdateTooltip; }
    Rgb lastUpdateColour() const { return m_lastUpdateColour; }
    void setLastUpdate(const QString &text, const QString &tooltip, Rgb colour)
    {
        m_lastUpdate = text;
        m_lastUpdateTooltip = tooltip;
        m_lastUpdateColour = colour;
    }
    QString title() const { return m_title; }
    void setTitle(const QString &t) { m_title = t; }
    QString gamesInHand() const { return m_gamesInHand; }
    bool gamesInHandVisible() const { return m_gamesInHandVisible; }
    void clearGamesInHand();
    double progressFraction() const { return m_progressFraction; }
    QString progressText() const { return m_progressText; }
    int progressBase() const { return m_progressBase; }
    QString leaderName() const { return m_leaderName; }
    QString leaderText() const { return m_leaderText; }
    void setLeader(const QString &name, const QString &text)
    {
        m_leaderName = name;
        m_leaderText = text;
    }
    QString goalsSummary() const { return m_goalsSummary; }
    // The column of the best positions still reachable, beside the table while it is on.
    bool possibleRankingVisible() const { return m_possibleRanking; }
    void setPossibleRankingVisible(bool on) { m_possibleRanking = on; }
    const TableCell &reachableCell(int row) const { return m_reachable[row]; }
    TableCell &reachableCell(int row) { return m_reachable[row]; }
    // The rank movement icons beside the rows: cleared by every run that fills the table, set by
    // the team views for a matchday.
    const RankMovement &movement(int row) const { return m_movements[row]; }
    void setMovement(int row, const RankMovement &m) { m_movements[row] = m; }
    void clearMovements() { m_movements.fill(RankMovement{}); }
    // The progress bar beside the table; the evolution chart hides it once built.
    bool progressShown() const { return m_progressShown; }
    void setProgressShown(bool shown) { m_progressShown = shown; }
    // The column(s) whose figures order the rows: the points of a standings run, the statistic of
    // a ranking category.
    const QList<TableColumn> &sortColumns() const { return m_sortColumns; }
    void setSortColumns(const QList<TableColumn> &columns) { m_sortColumns = columns; }

    // Zone backgrounds and tooltips of the name cells, then the favourite in yellow.
    void colourZones(const QString &favouriteTeam);

    // Display mode: fills the table and everything beside it from a run.
    void showRun(const StandingsRun &run, const StandingsContext &ctx, const QString &majText,
                 const QString &pseudo);
    // Silent mode: only the rank order is kept.
    void keepSilentRun(const StandingsRun &run);

signals:
    void changed();

private:
    void startRun(const StandingsRun &run, const QString &majText, const QString &pseudo);

    std::array<std::array<TableCell, ColumnCount>, TeamCount> m_cells;
    std::array<QString, TeamCount> m_rank;
    std::array<QString, TeamCount> m_rowKeys;
    std::array<QString, TeamCount> m_silentOrder;
    std::array<QString, 19> m_formSequences;
    StandingsRun m_lastRun;
    QString m_lastUpdate;
    QString m_lastUpdateTooltip;
    Rgb m_lastUpdateColour = Colours::Black;
    QString m_title;
    QString m_gamesInHand;
    bool m_gamesInHandVisible = false;
    double m_progressFraction = 0;
    QString m_progressText;
    int m_progressBase = 0;
    QString m_leaderName;
    QString m_leaderText;
    QString m_goalsSummary;
    bool m_possibleRanking = false;
    std::array<TableCell, TeamCount> m_reachable;
    std::array<RankMovement, TeamCount> m_movements;
    bool m_progressShown = true;
    QList<TableColumn> m_sortColumns{TableColumn::Points};
};

// The value of a points cell. The table writes a fraction with the French decimal comma, which the
// plain leading-number rule would cut off: 6,5 is read as 6.5, not 6.
double PointsValue(const QString &pointsText);

// Reads the store once, runs the standings and fills the model (display mode) or only its rank
// order (silent mode). `lastMatchday` 0 becomes 34, and then the title is emptied.
StandingsRun ComputeStandings(const SeasonData &season, const IniSnapshot &store, int &lastMatchday, bool silent,
                              const StandingsContext &ctx, LeagueTableModel &model);

} // namespace kestrava

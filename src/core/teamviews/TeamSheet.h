#pragma once

#include "platform/IniFile.h"
#include "platform/Rgb.h"
#include "season/SeasonData.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kestrava {

inline constexpr int SheetRowCount = 34;
// Rows 0 to 16 hold the home fixtures (the left column), rows 17 to 33 the away fixtures.
inline constexpr int SheetColumnRows = 17;
// From this matchday on, a fixture belongs to the "Retour" half of the season.
inline constexpr int FirstReturnMatchday = 18;

namespace SheetColours {
inline constexpr Rgb Win { 0, 255, 0 };
inline constexpr Rgb Draw { 224, 224, 224 };
inline constexpr Rgb Loss { 255, 0, 0 };
inline constexpr Rgb NoResult { 255, 255, 0 }; // the marker is then hidden
inline constexpr Rgb Partial { 255, 255, 255 }; // only one score entered
inline constexpr Rgb Name = Colours::White;
inline constexpr Rgb Marked { 255, 255, 0 }; // the favourite, or the name under the pointer
} // namespace SheetColours

// What the result marker says: it is hidden for None.
enum class SheetResult { None, Partial, Win, Draw, Loss };

// The four sections of the sheet, and the season's bar after them.
enum SheetSection : int { AllerHome = 0, AllerAway = 1, RetourHome = 2, RetourAway = 3, SeasonBar = 4 };

// A card box over the outer end of a name. `inset` is its distance from that end, in twips: the
// yellow box stands beside a red one, overlapping it by 15 twips.
struct SheetCard
{
    QString text;
    bool visible = false;
    int inset = 0;
};
namespace SheetCardTwips {
inline constexpr int Width = 180;
inline constexpr int BesideRed = Width - 15;
} // namespace SheetCardTwips

struct SheetName
{
    QString text;
    QString tag; // the team letter
    Rgb background = SheetColours::Name;
    bool bold = false;
};

enum class SheetCardBox { HomeRed, HomeYellow, AwayYellow, AwayRed };

struct SheetRow
{
    bool visible = false;
    QString key; // the fixture key, "MMPP"
    int matchday = 0;
    QString date; // "dd mm yy"
    bool retour = false;
    SheetName home, away;
    QString r1, r2; // a stored "-" shows empty
    std::array<SheetCard, 4> cards; // by SheetCardBox
    bool markerVisible = false;
    Rgb marker = SheetColours::NoResult;
    SheetResult result = SheetResult::None;
};

// A win/draw/loss bar: each part's width is its share of the section, and a part shows only when
// its count is above 0. What the three parts leave stands for the fixtures still to be played.
struct SheetBar
{
    int wins = 0, draws = 0, losses = 0, unplayed = 0;
    std::array<QString, 3> captions; // wins, draws, losses
    std::array<double, 3> shares {};
    bool partShown(int part) const { return shares[part] > 0; }
};

// The captions of the sheet, by their place on the page.
enum SheetCaption : int {
    TeamTitle = 0,
    AllerHomeTitle,
    RetourHomeTitle,
    AllerAwayTitle,
    RetourAwayTitle,
    RedCards,
    YellowCards,
    PointsLine,
    RankLine,
    GoalsForLine,
    GoalsAgainstLine,
    GoalsForPerMatch,
    GoalsAgainstPerMatch,
    SheetCaptionCount
};

// The figures behind the captions, for the command line.
struct SheetTotals
{
    QString rank; // as the table shows it; empty when the team is not in the table
    // Stored figures are read as the summary and the highlights read them, past the int range too.
    double red = 0, yellow = 0, goalsFor = 0, goalsAgainst = 0;
    int points = 0, played = 0;
    QString goalsForPerMatch, goalsAgainstPerMatch; // "0.0#"; empty when no match is played
};

// The team sheet: one club's 34 fixtures in two columns with their result markers, the bars of the
// four sections and of the season, and the club's totals. Every fill starts afresh.
class TeamSheetModel : public QObject
{
    Q_OBJECT
public:
    explicit TeamSheetModel(QObject *parent = nullptr);

    bool visible = false; // the planning frame is open
    QStringList clubs; // the list of clubs, filled on the first opening
    int selected = -1; // the club shown, by team index
    QString team; // its name, whose crest heads the sheet
    std::array<SheetRow, SheetRowCount> rows;
    std::array<SheetBar, 5> bars;
    std::array<QString, SheetCaptionCount> captions;
    SheetTotals totals;

    // The pointer over a name: every box holding that name is marked, the others go back to white.
    // False when nothing changed.
    bool markName(const QString &name);

    void notify() { emit changed(); }

signals:
    void changed();
};

struct SheetContext
{
    std::optional<QString> rank; // the team's rank as the table shows it; none when absent
    QString favouriteTeam;
};

// Fills the sheet for `team` from the season and one snapshot of the results store.
void FillTeamSheet(TeamSheetModel &sheet, const SeasonData &season, const IniSnapshot &store,
    const QString &team, const SheetContext &ctx);

// Goals per match as the sheet writes them: "0.0#" (1.0, 1.25), rounded half away from zero.
QString PerMatch(double goals, int played);

} // namespace kestrava

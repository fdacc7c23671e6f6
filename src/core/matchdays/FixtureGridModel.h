#pragma once

#include "platform/Rgb.h"
#include "season/ResultsStore.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

namespace kestrava {

inline constexpr int GridRowCount = 34;

enum class GoalsBox { Home, Away };              // R1, R2
enum class CardBox { HomeRed, HomeYellow, AwayYellow, AwayRed }; // CR1, CJ1, CJ2, CR2

namespace GridColours {
inline constexpr Rgb DarkBlue{0, 0, 64};
inline constexpr Rgb Winner{192, 0, 0};
inline constexpr Rgb Loser{170, 170, 170};
inline constexpr Rgb Draw{0, 128, 128};
inline constexpr Rgb ChosenTeam = Colours::ChosenTeam;
inline constexpr Rgb Overdue{255, 0, 0};
inline constexpr Rgb Future{0, 0, 192};
inline constexpr Rgb Past{0, 128, 0};
inline constexpr Rgb Today{192, 0, 0};
} // namespace GridColours

// Card box positions in twips from the row's left edge, at rest.
namespace CardPos {
inline constexpr int HomeRed = 15;
inline constexpr int HomeYellow = 180;
inline constexpr int AwayYellow = 3105;
inline constexpr int AwayRed = 3270;
} // namespace CardPos

struct NameBox
{
    QString text;
    QString tag; // the team letter
    bool visible = false;
    Rgb background = Colours::White;
    Rgb foreground = Colours::Black;
    bool bold = false;
};

struct EntryBox
{
    QString text;
    bool visible = false;
    int left = 0; // card boxes only, twips
};

struct GridRow
{
    NameBox home, away;            // T1, T2
    EntryBox r1, r2;               // goals
    std::array<EntryBox, 4> cards; // indexed by CardBox
    QString key;                   // Nm: the fixture key
    QString info;                  // InfoM
    bool infoVisible = false;
    Rgb infoColour = Colours::Black;
    bool infoBold = false;
};

// The fixture grid: 34 rows of entry boxes. The change rules of result entry run in the setters,
// whenever a box's text actually changes, whether the editor typed it or a filling wrote it.
class FixtureGridModel : public QObject
{
    Q_OBJECT
public:
    explicit FixtureGridModel(QObject *parent = nullptr);

    const GridRow &row(int r) const { return m_rows[r]; }
    GridRow &row(int r) { return m_rows[r]; }

    void setGoals(int r, GoalsBox box, const QString &text);
    void setCard(int r, CardBox box, const QString &text);

    // Clicking a goals box: the row's cards show, and the first two characters are selected so
    // that typing replaces the score.
    void clickGoals(int r);
    // A card box taking the focus shows the row's four card boxes.
    void focusCard(int r, CardBox box);

    void resetCardPositions(int r);
    void applyCollapse(int r);
    void showCardsWithText(int r);
    void hideCards(int r);

    // "Valider" is lit while there are changes not saved.
    bool pending() const { return m_pending; }
    void setPending(bool on);

    // Header (the matchday, its date and countdown), its colour and the matchday of matchday mode
    // (0 in team mode); the day's totals.
    QString header;
    Rgb headerColour = Colours::Black;
    int matchday = 0;
    QString totals;

    // The rows as the store receives them.
    QList<EntryRow> entryRows() const;

    void notify() { emit changed(); }

signals:
    void changed();
    void pendingChanged(bool pending);

private:
    void scoreChanged(int r, GoalsBox box);
    std::array<GridRow, GridRowCount> m_rows;
    bool m_pending = false;
};

} // namespace kestrava

#pragma once

#include "platform/Rgb.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

namespace kestrava {

// Where a button sits: the bar at the top, or the panel whose action it serves.
enum class ButtonPlace { Bar, RankingsMenu, Chart, Publishing, Donors, Highlights, About, Options, TeamSheet,
                         Projections };

namespace ButtonColours {
inline constexpr Rgb Rest{9, 27, 49};
inline constexpr Rgb Hover{0, 128, 128};
inline constexpr Rgb DownloadDone{200, 200, 200};
} // namespace ButtonColours

// The 40 buttons by index, as the window numbers them.
namespace Btn {
enum : int {
    Quit = 0,
    Save = 1,
    BestDefence = 2,
    BestAttack = 3,
    GeneralTable = 4,
    FairPlay = 5,
    About = 6,
    Help = 7,
    GoalAverage = 8,
    Update = 9,
    MatchdayTables = 10,
    CloseChart = 11,
    Chart = 12,
    SendFile = 13,
    Send = 14,
    ClosePublishing = 15,
    Donors = 16,
    CloseDonors = 17,
    MatchesWon = 18,
    CloseRankings = 19,
    Rankings = 20,
    FullTable = 21,
    MatchesLost = 22,
    MatchesDrawn = 23,
    CloseHighlights = 24,
    Highlights = 25,
    CloseAbout = 26,
    Options = 27,
    CloseOptions = 28,
    PossibleRanking = 29,
    InsertBonus = 30,
    BonusMalus = 31,
    DatedCopy = 32,
    Teams = 33,
    CloseTeamSheet = 34,
    PrintTeamSheet = 35,
    PrintBar = 36,
    PrintChart = 37,
    ChartTeam = 38,
    DreamTeam = 39,
    // Beyond the forty of the original bar: the projections view and its "Fermer".
    Projections = 40,
    CloseProjections = 41,
    // The publishing frame's import of results from an open-data file.
    ImportResults = 42,
    // "Configuration": the publisher's address checked, then saved.
    CheckSiteAddress = 43,
};
}

struct ButtonState
{
    QString caption;
    ButtonPlace place = ButtonPlace::Bar;
    bool built = false;   // its action exists in this program; a button that is not built is not shown
    bool visible = true;  // for built buttons that come and go ("Valider", "Expé Fichier")
    Rgb background = ButtonColours::Rest;
};

inline constexpr int ButtonCount = 44;

// The 40 buttons of the window: captions, places, colours, and the action each one runs. Every
// subsystem gives the actions of its own buttons; the window runs them between its prologue and
// epilogue. Widgets report presses and pointing here, and the window's controller takes them.
class ButtonBarModel : public QObject
{
    Q_OBJECT
public:
    explicit ButtonBarModel(QObject *parent = nullptr);

    const ButtonState &button(int index) const { return m_buttons[index]; }
    bool isShown(int index) const { return m_buttons[index].built && m_buttons[index].visible; }
    // The key that presses a frequent button ("Ctrl+S"); empty for most.
    static QString shortcut(int index);
    void setVisible(int index, bool visible);

    // A button with an action is built; one registered twice is a programming error.
    void setAction(int index, std::function<void()> action);
    // Runs the button's action; false when it has none.
    bool run(int index) const;

    // Hover: `hovered` in the hover colour, every other button at rest (-1: none hovered). The
    // download button stays grey once this run's download is done.
    void paintHover(int hovered, bool downloadDone);

    // From the widgets.
    void press(int index) { emit pressed(index); }
    void point(int index) { emit pointed(index); }

signals:
    void changed();
    void pressed(int index);
    void pointed(int index);

private:
    std::array<ButtonState, ButtonCount> m_buttons;
    std::array<std::function<void()>, ButtonCount> m_actions;
};

} // namespace kestrava

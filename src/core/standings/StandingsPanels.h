#pragma once

#include "platform/ButtonBarModel.h"
#include "platform/Rgb.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrava {

// What shows beside the league table: the rankings menu, the form guide, the bonus/malus list and
// the work list of the last run.
class StandingsPanels : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool rankingsMenu = false; // "Classements" menu
    bool formGuide = true;     // the last-five-results column beside the table
    bool bonusList = false;    // bonus/malus lines
    bool workList = false;     // the sorted row texts of the last run
    // "Verrouiller (Recherche d'une deuxième équipe)": shown by the first row click; ticked, a row
    // click picks a second club whose meetings with the first are marked in the grid.
    bool secondClubLockShown = false;
    bool secondClubLock = false;
    QStringList bonusLines;
    QStringList workListLines;

    void notify() { emit changed(); }

signals:
    void changed();
};

// The matchday number list of "Classement par Journée".
class MatchdayListModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    struct Entry
    {
        bool visible = false;
        Rgb foreground;
        Rgb background = ButtonColours::Rest;
    };
    std::array<Entry, 35> entries; // index = matchday number; 0 unused

    bool shown() const { return entries[1].visible; }
    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

#pragma once

#include "platform/Rgb.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrava {

// Which panels of the window are showing, and the texts that only they hold.
class PanelsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool rankingsMenu = false;   // "Classements" menu
    bool formGuide = true;       // the last-five-results column beside the table
    bool options = false;        // "Configuration"
    bool about = false;          // "A Propos"
    bool intro = false;          // the introduction text above the views
    bool columnTitles = true;    // "Domicile" / "Extérieur" over the detail columns
    bool bonusList = false;      // bonus/malus lines
    bool workList = false;       // the sorted row texts of the last run
    QString introText;
    QString aboutVersion;
    QStringList bonusLines;
    QStringList workListLines;

    void notify() { emit changed(); }

signals:
    void changed();
};

// The options panel: three check boxes and the favourite team.
class OptionsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    int autoUpdate = 0;      // "Mise à jour automatique au lancement"
    int highlightFavourite = 0; // "Surligner son équipe préférée"
    int trackingAid = 0;     // "Activer l'aide au suivi dans les tableaux"
    QStringList favouriteEntries; // "Aucune" then the 18 teams, filled on first opening
    QString favouriteCaption = QStringLiteral("Aucune");
    QString favouriteTag;    // "T" once the caption changed while the panel was open
    QString crestTeam;       // the team whose crest shows beside the choice; empty for none

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
        Rgb background{9, 27, 49};
    };
    std::array<Entry, 35> entries; // index = matchday number; 0 unused

    bool shown() const { return entries[1].visible; }
    void notify() { emit changed(); }

signals:
    void changed();
};

// The splash window shown while the program starts.
class SplashModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;
    QString title = QStringLiteral("Ligue 1\r\n2026 - 2027.");
    QString version;

    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

namespace kestrava {

// The publishing frame "Expédition fichier".
class PublishingModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;
    QString introText;      // what all users will read above the views
    QString versionText;    // the version announced in the published store
    bool versionEditable = false; // read-only until double-clicked
    QString ownVersion;     // the running program's version
    QStringList teams;      // the team choice for a bonus or malus
    QString chosenTeam;
    QString points;         // the bonus or malus box
    QStringList bonusLines; // "Lens: [-1]"

    void notify() { emit changed(); }

signals:
    void changed();
};

// The partners and donors panel with its ticker.
class DonorsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;
    QStringList entries; // headings end with "$"
    int next = 0;        // the entry the next tick shows
    QString caption = QStringLiteral("Donateurs");
    Rgb colour{0, 0, 192};
    bool running = false; // the ticker, one entry every 800 ms

    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

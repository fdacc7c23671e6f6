#pragma once

#include "platform/Rgb.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrava {

// The publisher's news above the table, or the column titles in its place.
class NewsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;     // the introduction text above the views
    bool columnTitles = true; // "Domicile" / "Extérieur" over the detail columns
    QString text;

    // Shown when there is a text; the column titles take its place otherwise.
    void showIfAny()
    {
        visible = !text.isEmpty();
        columnTitles = !visible;
    }
    void hide()
    {
        visible = false;
        columnTitles = true;
    }
    void notify() { emit changed(); }

signals:
    void changed();
};

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

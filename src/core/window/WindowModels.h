#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrava {

// The window's own panels: the about box.
class WindowPanels : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool about = false; // "A Propos"
    QString aboutVersion;

    void notify() { emit changed(); }

signals:
    void changed();
};

// The options panel: the favourite team, four check boxes and the publisher's address.
class OptionsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;       // "Configuration"
    int autoUpdate = 0;         // "Mise à jour automatique au lancement"
    int highlightFavourite = 0; // "Surligner son équipe préférée"
    int trackingAid = 0;        // "Activer l'aide au suivi dans les tableaux"
    int autoRefresh = 0;        // "Mises à jour automatiques les jours de match"
    QStringList favouriteEntries; // "Aucune" then the 18 teams, filled on first opening
    QString favouriteCaption = QStringLiteral("Aucune");
    QString favouriteTag;       // "T" once the caption changed while the panel was open
    QString crestTeam;          // the team whose crest shows beside the choice; empty for none
    QString siteAddress;        // "Adresse de l'éditeur": the address in use, empty while none is known
    QString siteAddressTyped;   // what the field holds, checked by "Vérifier et enregistrer"
    bool siteAddressEditable = false; // only a program that downloads checks an address

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

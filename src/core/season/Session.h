#pragma once

#include "platform/ButtonBarModel.h"
#include "platform/Services.h"
#include "platform/SiteAddresses.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>

namespace kestrava {

// The program's name: the title of its message boxes.
inline const QString ProgramName = QStringLiteral("Kestrava");

// What every action that needs the publisher says while no address is known.
inline const QString NoSiteAddressAdvice = QStringLiteral(
    "Indiquez l'adresse de votre éditeur dans « Configuration », champ « Adresse de l'éditeur », "
    "pour télécharger les résultats.");

// The program's version, as the about box and the splash show it.
QString VersionShort(); // "1.0"
QString VersionFull();  // "1.0.0"

// The platform's services, each behind its interface; tests give doubles.
struct Services
{
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    Dialogs *dialogs = nullptr;
    Shell *shell = nullptr;
    WindowPrinter *printer = nullptr;
    Downloader *downloader = nullptr; // without one, nothing online is offered
    Clipboard *clipboard = nullptr;
    Notifier *notifier = nullptr; // without one, automatic updates stay silent
};

// What every subsystem of one run shares: the season folder, the launch time, the season, the
// favourite team, the current matchday, the editor's identity, the button bar and the services.
// Each controller keeps the rest of its state to itself.
class Session : public QObject
{
    Q_OBJECT
public:
    Session(QString seasonFolder, Services services, QObject *parent = nullptr);

    // Where the season file, the results store and the donors file are (see FindSeasonFolder).
    QString seasonFolder() const { return m_seasonFolder; }
    // The season folder is the user's data folder: an installed program, which knows no publisher
    // until the user gives its address.
    bool inUserDataFolder = false;
    // Where the file choosers start: the person's documents for an installed program.
    QString filesFolder() const;
    const Services &services() const { return m_services; }
    bool online() const { return m_services.downloader && m_services.shell; }

    QDateTime launchTime;
    SeasonData season;
    QString favouriteTeam;   // empty when none
    int currentMatchday = 0; // the calendar's, shown beside the matchday list
    QString pseudo;          // the editor's pseudonym and password, typed or from the settings
    QString password;
    ButtonBarModel buttons;

    // The results store of the season folder, read afresh at every use.
    ResultsStore store() const { return ResultsStore(m_seasonFolder); }
    // The publisher's site, from the setting "Site"/"Base"; a run from the program's own folder
    // falls back on the demo site's address.
    SiteAddresses site() const;
    // False for an installed program whose user has not given the publisher's address yet.
    bool siteAddressKnown() const;
    // The site for an action the user asked for; without an address, says where to enter it.
    std::optional<SiteAddresses> siteForUser() const;

    // A message box titled with the program's name.
    void tell(const QString &text, MessageIcon icon = MessageIcon::Warning) const;
    // Opens a page or a file; says so when it cannot.
    void openUrl(const QUrl &url) const;

    // Lets pending window events run between the steps of a long action (the splash paints);
    // by default Qt's event loop.
    void pump() const;
    void setEventPump(std::function<void()> pump) { m_pump = std::move(pump); }
    // Busy periods show the hourglass.
    void setBusy(bool busy) { emit busyChanged(busy); }

    // Before anything refills the fixture grid: entries typed and not saved are offered for saving
    // first. False when the user cancels, and then nothing is to change. The grid's owner sets it.
    bool mayRefillGrid() const { return !m_refillGuard || m_refillGuard(); }
    void setRefillGuard(std::function<bool()> guard) { m_refillGuard = std::move(guard); }

signals:
    void busyChanged(bool busy);

private:
    QString m_seasonFolder;
    Services m_services;
    std::function<void()> m_pump;
    std::function<bool()> m_refillGuard;
};

} // namespace kestrava

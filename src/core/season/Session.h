#pragma once

#include "platform/ButtonBarModel.h"
#include "platform/Services.h"
#include "platform/SiteAddresses.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"

#include <QDateTime>
#include <QObject>

#include <functional>

namespace kestrava {

// The program's name: the title of its message boxes.
inline const QString ProgramName = QStringLiteral("Kestrava");

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

// What every subsystem of one run shares: the program's folder, the launch time, the season, the
// favourite team, the current matchday, the editor's identity, the button bar and the services.
// Each controller keeps the rest of its state to itself.
class Session : public QObject
{
    Q_OBJECT
public:
    Session(QString programDir, Services services, QObject *parent = nullptr);

    QString programDir() const { return m_programDir; }
    const Services &services() const { return m_services; }
    bool online() const { return m_services.downloader && m_services.shell; }

    QDateTime launchTime;
    SeasonData season;
    QString favouriteTeam;   // empty when none
    int currentMatchday = 0; // the calendar's, shown beside the matchday list
    QString pseudo;          // the editor's pseudonym and password, typed or from the settings
    QString password;
    ButtonBarModel buttons;

    // The results store beside the program, read afresh at every use.
    ResultsStore store() const { return ResultsStore(m_programDir); }
    // The publisher's site, from the setting "Site"/"Base".
    SiteAddresses site() const;

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
    QString m_programDir;
    Services m_services;
    std::function<void()> m_pump;
    std::function<bool()> m_refillGuard;
};

} // namespace kestrava

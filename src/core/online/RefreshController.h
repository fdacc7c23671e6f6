#pragma once

#include "season/Session.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

namespace kestrava {

class DownloadController;
class MatchdaysController;
class StandingsController;

// "Mises à jour automatiques les jours de match": while the window is open and the option is on,
// the results store is asked for again on a matchday's afternoon and evening, and new results are
// told on the desktop, the favourite club's first.
class RefreshController : public QObject
{
    Q_OBJECT
public:
    RefreshController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
                      DownloadController &download, QObject *parent = nullptr);

    void setEnabled(bool on);
    void setWindowShown(bool shown);
    // The schedule's beat (once a minute): asks the site when it is time.
    void tick();
    // A notice was clicked: the window comes up on its matchday.
    void activateNotice(int matchday);

    // Requests sent this run, and how the last one ended.
    int requests() const { return m_requests; }
    Downloader::Outcome lastOutcome() const { return m_lastOutcome; }

    static constexpr int BeatMs = 60 * 1000;

signals:
    void raiseRequested();

private:
    bool due(const QDateTime &now) const;
    void tell(const IniSnapshot &before, const IniSnapshot &after);
    void updateTimer();

    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    DownloadController &m_download;
    QTimer m_timer;
    bool m_enabled = false;
    bool m_windowShown = false;
    QDateTime m_lastAsked;
    int m_requests = 0;
    Downloader::Outcome m_lastOutcome = Downloader::Outcome::Failed;
};

} // namespace kestrava

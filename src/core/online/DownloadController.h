#pragma once

#include "online/OnlineModels.h"
#include "season/Session.h"

#include <QObject>

namespace kestrava {

class MatchdaysController;
class StandingsController;

// "Mise à Jour": the published results replace the local store, then the publisher's news, a newer
// program and newer season data are looked at. One download per run.
class DownloadController : public QObject
{
    Q_OBJECT
public:
    DownloadController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
                       QObject *parent = nullptr);

    NewsModel &news() { return m_news; }

    void resultsDownload();
    // This run's download has taken place (the button then stays grey).
    bool downloadDone() const;
    // The automatic refresh: the store asked for again with the validators of the last download.
    // A 304 or a failure changes nothing on screen and says nothing; a new store takes the path of
    // "Mise à Jour" without its question, and every view refreshes where it stands. Not paced.
    Downloader::Outcome refreshIfChanged();

signals:
    // The user went for the newer program: this one is to end now.
    void newerVersionChosen();

private:
    // What follows a new store. `interactive`: the user asked ("Mise à Jour"), so the newer-version
    // question may be asked and the calendar goes back to its opening matchday.
    void takeNewStore(const QDateTime &before, bool interactive);
    bool versionAndDataCheck(bool interactive); // false when the program is to end for a newer version

    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    NewsModel m_news;
    QDateTime m_downloadTag;
};

} // namespace kestrava

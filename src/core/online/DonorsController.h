#pragma once

#include "online/OnlineModels.h"
#include "season/Session.h"

#include <QObject>

class QTimer;

namespace kestrava {

class StandingsController;

// The partners and donors panel: the donors file (fetched when it is old), its ticker, and the
// links to the publisher's pages.
class DonorsController : public QObject
{
    Q_OBJECT
public:
    DonorsController(Session &session, StandingsController &standings, QObject *parent = nullptr);

    DonorsModel &model() { return m_model; }

    void toggle();
    void close();
    void stopTicker(); // the panel stays as it is
    // The weekly refresh: true when a fresh donors file arrived.
    bool refreshWeekly();
    void tick();
    void hoverLabel(); // the ticker pauses under the pointer
    void hoverPanel(); // and starts again
    void clickDonation();
    void clickHomeLink();
    void clickContactLink();

private:
    bool load();
    QString localPath() const;

    Session &m_session;
    StandingsController &m_standings;
    DonorsModel m_model;
    QTimer *m_timer = nullptr;
};

} // namespace kestrava

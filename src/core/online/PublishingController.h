#pragma once

#include "online/OnlineModels.h"
#include "season/Session.h"

#include <QObject>

namespace kestrava {

class MatchdaysController;
class StandingsController;

// The editor's publishing frame "Expédition fichier": the news text, the announced version, a
// bonus or malus, the dated copy, results taken from an open-data file, and sending the store through the publisher's upload page.
class PublishingController : public QObject
{
    Q_OBJECT
public:
    PublishingController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
                         NewsModel &news, QObject *parent = nullptr);

    PublishingModel &model() { return m_model; }

    void open();
    void close();
    void editIntroText(const QString &text);
    void doubleClickVersion();
    void editVersionText(const QString &text);
    void chooseBonusTeam(const QString &team);
    void editBonusPoints(const QString &text);
    void insertBonus();
    void sendFile();
    void datedCopy();
    // "Importer des résultats...": a file from elsewhere, its report as a preview, then one save.
    void importResults();
    void clickStoreLabel();

private:
    void fillBonusLines();

    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    NewsModel &m_news;
    PublishingModel m_model;
};

} // namespace kestrava

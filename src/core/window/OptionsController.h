#pragma once

#include "season/Session.h"
#include "window/WindowModels.h"

#include <QObject>

namespace kestrava {

class MatchdaysController;
class StandingsController;

// "Configuration": the favourite team, the four options, the editing password; restored at
// start-up and saved when the window closes. The publisher's address is saved once it is checked.
class OptionsController : public QObject
{
    Q_OBJECT
public:
    OptionsController(Session &session, StandingsController &standings, MatchdaysController &matchdays,
                      QObject *parent = nullptr);

    OptionsModel &model() { return m_model; }
    // "Fermer" redraws the calendar, and so the grid, after the favourite changed.
    bool closeRefillsGrid() const { return m_model.favouriteTag == u"T"; }

    void toggle();
    void hide() { m_model.visible = false; }
    void close(); // "Fermer"
    void chooseFavourite(int position);
    void setCheck(int box, int state); // box 4, 5, 6 or 7
    void askPassword();                // "Dream Team"
    // "Vérifier et enregistrer": the address typed is kept only when the season file can be fetched
    // from it and reads as one; otherwise the message says why and the address in use stays.
    bool checkSiteAddress(const QString &typed);
    void editSiteAddress(const QString &typed) { m_model.siteAddressTyped = typed; }

    // From the user's settings (the favourite only when its box is ticked), and back.
    void restore();
    void save();

signals:
    void siteAddressSaved();

private:
    Session &m_session;
    StandingsController &m_standings;
    MatchdaysController &m_matchdays;
    OptionsModel m_model;
};

} // namespace kestrava

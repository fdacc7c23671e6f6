#pragma once

#include "matchdays/MatchdaysController.h"
#include "online/DonorsController.h"
#include "online/DownloadController.h"
#include "online/PublishingController.h"
#include "online/RefreshController.h"
#include "projections/ProjectionsController.h"
#include "season/Session.h"
#include "standings/StandingsController.h"
#include "teamviews/ChartController.h"
#include "teamviews/TeamViewsController.h"
#include "window/OptionsController.h"
#include "window/WindowModels.h"

#include <QObject>

namespace kestrava {

// The window's own rules: the start-up, the button bar's prologue and epilogue around each
// button's action, hover colours, the about box, printing, quitting, and the wiring between the
// subsystems' controllers. Widgets draw the controllers' models and forward events; tests drive
// the controllers exactly as a person drives the window.
class MainController : public QObject
{
    Q_OBJECT
public:
    MainController(QString seasonFolder, Services services, QObject *parent = nullptr);

    // The start-up sequence. False when the season file is missing: the message has been shown
    // and the program must end without saving anything.
    bool start();
    // The window closes ("Quitter" or its close box): the options are saved.
    void close();
    // The window asks before closing: false keeps it open. Unsaved entries raise a question.
    bool confirmClose();

    void clickButton(int index);
    // A button's key: the button only acts when it is on show.
    void pressShortcut(int index);
    // Escape: the panel on top closes, as its own "Fermer" or a click on it would close it.
    void closeOpenPanel();
    void hoverButton(int index);
    void hoverWindow();
    void hoverPanel() { hoverButton(-1); }

    Session &session() { return m_session; }
    const SeasonData &season() const { return m_session.season; }
    ButtonBarModel &buttons() { return m_session.buttons; }
    StandingsController &standings() { return m_standings; }
    MatchdaysController &matchdays() { return m_matchdays; }
    TeamViewsController &teamViews() { return m_teamViews; }
    ChartController &chart() { return m_chart; }
    DownloadController &download() { return m_download; }
    RefreshController &refresh() { return m_refresh; }
    PublishingController &publishing() { return m_publishing; }
    DonorsController &donors() { return m_donors; }
    OptionsController &options() { return m_options; }
    ProjectionsController &projections() { return m_projections; }
    WindowPanels &panels() { return m_panels; }
    SplashModel &splash() { return m_splash; }

    QString windowTitle() const;
    bool stalenessPromptDue() const { return m_stalenessDue; }
    // The program is to end (the user quit, or went for a newer version during start-up).
    bool quitting() const { return m_quitting; }
    // Lets pending window events run (the splash paints); by default Qt's event loop.
    void setEventPump(std::function<void()> pump) { m_session.setEventPump(std::move(pump)); }

signals:
    void quitRequested();
    void busyChanged(bool busy);
    // A button's click has run whole: the panel it opened, if any, is to be shown in front.
    void buttonClicked(int index);

private:
    bool refillsGrid(int index) const;
    void prologue(int index);
    void epilogue(int index);
    bool quit();
    void endProgram();
    void toggleAbout();
    void closeAbout();
    void fullTable();
    void print();
    void notifyPanels();

    Session m_session;
    StandingsController m_standings;
    MatchdaysController m_matchdays;
    TeamViewsController m_teamViews;
    ChartController m_chart;
    DownloadController m_download;
    RefreshController m_refresh;
    PublishingController m_publishing;
    DonorsController m_donors;
    OptionsController m_options;
    ProjectionsController m_projections;
    WindowPanels m_panels;
    SplashModel m_splash;
    bool m_started = false;
    bool m_stalenessDue = false;
    bool m_quitting = false;
};

} // namespace kestrava

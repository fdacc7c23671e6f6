#include "MainController.h"

#include "window/Startup.h"

#include <QDir>

namespace kestrava {

MainController::MainController(QString programDir, Services services, QObject *parent)
    : QObject(parent)
    , m_session(std::move(programDir), services)
    , m_standings(m_session)
    , m_matchdays(m_session, m_standings)
    , m_teamViews(m_session, m_standings, m_matchdays)
    , m_download(m_session, m_standings, m_matchdays)
    , m_publishing(m_session, m_standings, m_matchdays, m_download.news())
    , m_donors(m_session, m_standings)
    , m_options(m_session, m_standings, m_matchdays)
{
    ButtonBarModel &buttons = m_session.buttons;
    buttons.setAction(Btn::Quit, [this] { quit(); });
    buttons.setAction(Btn::About, [this] { toggleAbout(); });
    buttons.setAction(Btn::CloseAbout, [this] { closeAbout(); });
    buttons.setAction(Btn::Rankings, [this] {
        m_standings.toggleRankingsMenu();
        m_donors.stopTicker();
    });
    buttons.setAction(Btn::FullTable, [this] { fullTable(); });
    buttons.setAction(Btn::PrintBar, [this] { print(); });
    buttons.setAction(Btn::PrintTeamSheet, [this] { print(); });
    connect(&buttons, &ButtonBarModel::pressed, this, &MainController::clickButton);
    connect(&buttons, &ButtonBarModel::pointed, this, &MainController::hoverButton);
    connect(&m_session, &Session::busyChanged, this, &MainController::busyChanged);

    // What one subsystem's event causes in another.
    connect(&m_standings, &StandingsController::matchdayTableChosen, this, [this](int matchday) {
        if (m_matchdays.matchdayPanel())
            m_matchdays.showMatchday(matchday);
    });
    connect(&m_standings, &StandingsController::teamChosen, this, [this](const QString &team, int rank) {
        m_download.news().visible = false;
        m_donors.close();
        m_matchdays.showTeamSeason(team, rank);
        m_download.news().notify();
    });
    connect(&m_download, &DownloadController::newerVersionChosen, this, [this] {
        close();
        emit quitRequested();
    });
    m_splash.version = QStringLiteral("Version: ") + VersionShort();
}

QString MainController::windowTitle() const
{
    return QStringLiteral("Championnat de ") + SeasonTitle;
}

bool MainController::start()
{
    Startup startup(*this);
    if (!startup.run())
        return false;
    m_stalenessDue = startup.stalenessDue();
    m_started = true;
    return true;
}

void MainController::close()
{
    if (!m_started)
        return;
    m_options.save();
    // Empty boxes never erase what is stored.
    SettingsStore &settings = *m_session.services().settings;
    if (!m_session.pseudo.isEmpty())
        settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), m_session.pseudo);
    if (!m_session.password.isEmpty())
        settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), m_session.password);
    m_started = false;
}

bool MainController::confirmClose()
{
    return m_matchdays.confirmDiscard();
}

void MainController::clickButton(int index)
{
    if (index < 0 || index >= ButtonCount || !m_session.buttons.button(index).built)
        return;
    prologue(index);
    m_session.buttons.run(index);
    if (index == Btn::Quit)
        return;
    epilogue(index);
    notifyPanels();
}

void MainController::prologue(int index)
{
    m_teamViews.endBanner();
    m_download.news().hide();
    m_standings.table().clearGamesInHand();
    if (index != Btn::Options)
        m_options.hide();
    if (index != Btn::About)
        m_panels.about = false;
}

void MainController::epilogue(int index)
{
    if (index == Btn::MatchdayTables) {
        m_standings.openMatchdayList();
        m_donors.close();
        return;
    }
    if (index != Btn::CloseRankings && index != Btn::PossibleRanking)
        m_standings.removeMatchdayList();
}

void MainController::notifyPanels()
{
    m_panels.notify();
    m_download.news().notify();
    m_standings.notify();
    m_options.model().notify();
}

void MainController::quit()
{
    // Unsaved entries are offered for saving first; Cancel keeps the window.
    if (!confirmClose())
        return;
    close();
    emit quitRequested();
}

void MainController::toggleAbout()
{
    if (m_panels.about) {
        closeAbout();
        return;
    }
    m_standings.setFormGuide(false);
    m_panels.aboutVersion = QStringLiteral("Version: ") + VersionFull();
    m_donors.close();
    m_panels.about = true;
}

void MainController::closeAbout()
{
    m_panels.about = false;
    m_standings.setFormGuide(true);
}

void MainController::fullTable()
{
    m_matchdays.setSheetTeam(QString());
    m_matchdays.refreshCalendar();
    m_standings.compute(0);
    m_standings.setFormGuide(true);
}

void MainController::hoverButton(int index)
{
    m_session.buttons.paintHover(index, m_download.downloadDone());
}

void MainController::hoverWindow()
{
    hoverButton(-1);
    m_teamViews.hoverWindow();
    m_matchdays.restMonths();
    m_standings.restMatchdayList();
}

void MainController::print()
{
    WindowPrinter *printer = m_session.services().printer;
    if (!printer)
        return;
    m_session.setBusy(true);
    const PrintOutcome out = printer->printWindow();
    m_session.setBusy(false);
    if (out.printed)
        return;
    if (!out.pdfPath.isEmpty()) {
        m_session.tell(QStringLiteral("Aucune imprimante n'est installée : la fenêtre a été enregistrée "
                                      "au format PDF dans\n")
                           + QDir::toNativeSeparators(out.pdfPath),
                       MessageIcon::Information);
        return;
    }
    m_session.tell(QStringLiteral("L'impression n'a pas pu être faite."));
}

} // namespace kestrava

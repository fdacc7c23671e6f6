#include "MainController.h"

#include "window/Startup.h"

#include <QDir>

namespace kestrava {

MainController::MainController(QString seasonFolder, Services services, QObject *parent)
    : QObject(parent)
    , m_session(std::move(seasonFolder), services)
    , m_standings(m_session)
    , m_matchdays(m_session, m_standings)
    , m_teamViews(m_session, m_standings, m_matchdays)
    , m_chart(m_session, m_standings, m_matchdays, m_teamViews)
    , m_download(m_session, m_standings, m_matchdays)
    , m_refresh(m_session, m_standings, m_matchdays, m_download)
    , m_publishing(m_session, m_standings, m_matchdays, m_download.news())
    , m_donors(m_session, m_standings)
    , m_options(m_session, m_standings, m_matchdays)
    , m_projections(m_session, m_standings)
{
    ButtonBarModel &buttons = m_session.buttons;
    // "Quitter" is run by clickButton itself: a cancelled quit goes on like any other button.
    buttons.setAction(Btn::Quit, [] {});
    buttons.setAction(Btn::About, [this] { toggleAbout(); });
    buttons.setAction(Btn::CloseAbout, [this] { closeAbout(); });
    buttons.setAction(Btn::Rankings, [this] {
        m_standings.toggleRankingsMenu();
        m_donors.stopTicker();
    });
    buttons.setAction(Btn::FullTable, [this] { fullTable(); });
    buttons.setAction(Btn::PrintBar, [this] { print(); });
    buttons.setAction(Btn::PrintTeamSheet, [this] { print(); });
    buttons.setAction(Btn::PrintChart, [this] { print(); });
    connect(&buttons, &ButtonBarModel::pressed, this, &MainController::clickButton);
    connect(&buttons, &ButtonBarModel::pointed, this, &MainController::hoverButton);
    connect(&m_session, &Session::busyChanged, this, &MainController::busyChanged);

    // What one subsystem's event causes in another.
    connect(&m_standings, &StandingsController::matchdayTableChosen, this, [this](int matchday) {
        if (m_matchdays.matchdayPanel() && m_session.mayRefillGrid())
            m_matchdays.showMatchday(matchday);
    });
    // Every display run empties the day's totals; the grid's matchday sets them again from the store.
    connect(&m_standings, &StandingsController::computed, &m_matchdays, &MatchdaysController::refreshTotals);
    connect(&m_standings, &StandingsController::teamChosen, this, [this](const QString &team, int rank) {
        m_download.news().visible = false;
        m_donors.close();
        m_matchdays.showTeamSeason(team, rank);
        m_download.news().notify();
    });
    connect(&m_standings, &StandingsController::secondTeamChosen, this, [this](const QString &team) {
        m_download.news().visible = false;
        m_matchdays.markSecondClub(team);
        m_download.news().notify();
    });
    // A rank number opens that club's sheet; the pointer over a row shows the club's summary.
    connect(&m_standings, &StandingsController::teamSheetRequested, &m_teamViews, &TeamViewsController::openTeamSheet);
    connect(&m_standings, &StandingsController::rowHovered, &m_teamViews, &TeamViewsController::hoverTableRow);
    connect(&m_download, &DownloadController::newerVersionChosen, this, &MainController::endProgram);
    connect(&m_options.model(), &OptionsModel::changed, this,
            [this] { m_refresh.setEnabled(m_options.model().autoRefresh == 1); });
    // The advice to give the publisher's address has done its work once an address is saved.
    connect(&m_options, &OptionsController::siteAddressSaved, this, [this] {
        NewsModel &news = m_download.news();
        if (news.text != NoSiteAddressAdvice)
            return;
        news.text.clear();
        news.hide();
        news.notify();
    });
    // A notice clicked shows its matchday: the panels follow as after a button.
    connect(&m_refresh, &RefreshController::raiseRequested, this, &MainController::notifyPanels);
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
    // A program ending during its start-up has nothing new to save.
    m_started = !m_quitting;
    // The window is on show from here until it closes; start-up itself never notifies.
    m_refresh.setEnabled(m_options.model().autoRefresh == 1);
    m_refresh.setWindowShown(m_started);
    return true;
}

void MainController::close()
{
    if (!m_started)
        return;
    m_refresh.setWindowShown(false);
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
    return m_matchdays.confirmDiscard(true);
}

void MainController::clickButton(int index)
{
    if (index < 0 || index >= ButtonCount || !m_session.buttons.button(index).built)
        return;
    // Typed entries are offered for saving before a button refills the grid; Cancel keeps all.
    if (refillsGrid(index) && !m_session.mayRefillGrid())
        return;
    prologue(index);
    if (index == Btn::Quit && quit())
        return;
    m_session.buttons.run(index);
    epilogue(index);
    notifyPanels();
    emit buttonClicked(index);
}

void MainController::pressShortcut(int index)
{
    if (index >= 0 && index < ButtonCount && m_session.buttons.isShown(index))
        clickButton(index);
}

void MainController::closeOpenPanel()
{
    if (m_matchdays.cardReportVisible()) {
        m_matchdays.clickCardReport();
        return;
    }
    const StandingsPanels &standings = m_standings.panels();
    if (standings.workList) {
        m_standings.clickWorkList();
        return;
    }
    if (standings.bonusList) {
        m_standings.clickBonusList();
        return;
    }
    // The panels with a "Fermer" of their own, topmost first.
    const std::pair<bool, int> closers[] = {
        {m_panels.about, Btn::CloseAbout},
        {m_options.model().visible, Btn::CloseOptions},
        {m_publishing.model().visible, Btn::ClosePublishing},
        {m_donors.model().visible, Btn::CloseDonors},
        {standings.rankingsMenu, Btn::CloseRankings},
        {m_teamViews.sheet().visible, Btn::CloseTeamSheet},
        {m_projections.model().visible, Btn::CloseProjections},
        {m_chart.highlights().visible, Btn::CloseHighlights},
        {m_chart.chart().visible, Btn::CloseChart},
    };
    for (const auto &[open, closer] : closers) {
        if (open) {
            clickButton(closer);
            return;
        }
    }
    if (m_standings.matchdayList().shown()) {
        m_standings.removeMatchdayList();
        m_standings.notify();
    }
}

bool MainController::refillsGrid(int index) const
{
    switch (index) {
    case Btn::Update:
        return m_session.services().downloader && !m_download.downloadDone();
    case Btn::FullTable:
    case Btn::CloseHighlights: // the month calendar opens its matchday again
        return true;
    case Btn::CloseOptions:
        return m_options.closeRefillsGrid();
    default:
        return false;
    }
}

void MainController::prologue(int index)
{
    m_teamViews.endBanner();
    m_download.news().hide();
    m_standings.table().clearGamesInHand();
    // The address's check answers in the panel it was typed in.
    if (index != Btn::Options && index != Btn::CheckSiteAddress)
        m_options.hide();
    if (index != Btn::About)
        m_panels.about = false;
}

void MainController::epilogue(int index)
{
    if (index == Btn::MatchdayTables) {
        m_standings.openMatchdayList();
        m_chart.hideHighlights();
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

bool MainController::quit()
{
    // Unsaved entries are offered for saving first; Cancel keeps the window.
    if (!confirmClose())
        return false;
    endProgram();
    return true;
}

void MainController::endProgram()
{
    m_chart.stop();
    close();
    m_quitting = true;
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
    m_standings.requestRankMovements(m_session.currentMatchday);
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
    m_standings.hideColumnRules();
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

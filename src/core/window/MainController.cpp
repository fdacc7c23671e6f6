#include "MainController.h"

#include "matchdays/CalendarRules.h"
#include "matchdays/MatchdayView.h"
#include "online/Online.h"
#include "platform/Settings.h"
#include "platform/Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace kestrava {

namespace {

const QString ProgramName = QStringLiteral("Kestrava");

namespace Btn {
enum {
    Quit = 0,
    Save = 1,
    Help = 7,
    Update = 9,
    SendFile = 13,
    Send = 14,
    ClosePublishing = 15,
    Donors = 16,
    CloseDonors = 17,
    InsertBonus = 30,
    DatedCopy = 32,
    About = 6,
    GeneralTable = 4,
    MatchdayTables = 10,
    CloseRankings = 19,
    Rankings = 20,
    FullTable = 21,
    CloseAbout = 26,
    Options = 27,
    CloseOptions = 28,
    PossibleRanking = 29,
    BonusMalus = 31,
    PrintBar = 36,
    DreamTeam = 39,
};
}

// The buttons that need the publisher's site.
constexpr int onlineButtons[] = {Btn::Help,   Btn::Update,          Btn::SendFile, Btn::Send,
                                 Btn::ClosePublishing, Btn::Donors, Btn::CloseDonors, Btn::InsertBonus,
                                 Btn::DatedCopy};

// The buttons whose actions this program has.
constexpr int builtButtons[] = {Btn::Quit, Btn::Save,         Btn::GeneralTable, Btn::About,      Btn::MatchdayTables,
                                Btn::CloseRankings, Btn::Rankings,    Btn::FullTable, Btn::CloseAbout,
                                Btn::Options,       Btn::CloseOptions, Btn::BonusMalus, Btn::PrintBar,
                                Btn::DreamTeam};

constexpr Rgb Yellow{255, 255, 0};
constexpr Rgb Green{0, 192, 0};

// Less than a minute between the launch and this run's download: the download is done.
constexpr qint64 OneMinuteMs = 60 * 1000;

} // namespace

QString VersionShort()
{
    return QStringLiteral("%1.%2").arg(KESTRAVA_VERSION_MAJOR).arg(KESTRAVA_VERSION_MINOR);
}

QString VersionFull()
{
    return QStringLiteral("%1.%2.%3").arg(KESTRAVA_VERSION_MAJOR).arg(KESTRAVA_VERSION_MINOR).arg(KESTRAVA_VERSION_PATCH);
}

MainController::MainController(QString programDir, ControllerServices services, QObject *parent)
    : QObject(parent)
    , m_programDir(std::move(programDir))
    , m_services(services)
{
    for (int i : builtButtons)
        m_buttons.setBuilt(i, true);
    if (m_services.downloader && m_services.shell) {
        for (int i : onlineButtons)
            m_buttons.setBuilt(i, true);
    }
    m_donorsTimer = new QTimer(this);
    m_donorsTimer->setInterval(800);
    connect(m_donorsTimer, &QTimer::timeout, this, &MainController::donorsTick);
    m_splash.version = QStringLiteral("Version: ") + VersionShort();
    // "Valider" shows exactly while the grid holds changes not saved; "Expé Fichier" starts hidden.
    m_buttons.setVisible(Btn::Save, false);
    m_buttons.setVisible(Btn::SendFile, false);
    connect(&m_grid, &FixtureGridModel::pendingChanged, this,
            [this](bool pending) { m_buttons.setVisible(Btn::Save, pending); });
}

QString MainController::windowTitle() const
{
    return QStringLiteral("Championnat de ") + SeasonTitle;
}

void MainController::pump()
{
    if (m_pump)
        m_pump();
    else
        QCoreApplication::processEvents();
}

bool MainController::StalenessDue(const QDateTime &launch, const std::optional<QDateTime> &storeModified,
                                  const QDateTime &lastMatchdayDate)
{
    if (!lastMatchdayDate.isValid() || launch >= lastMatchdayDate)
        return false;
    if (!storeModified || !storeModified->isValid())
        return true;
    return storeModified->msecsTo(launch) > qint64(10) * 24 * 3600 * 1000;
}

bool MainController::start()
{
    m_launchTime = m_services.clock->now();
    m_sendReference = m_launchTime;

    m_splash.visible = true;
    m_splash.notify();
    pump();

    if (!LoadSeasonFile(QDir(m_programDir).filePath(SeasonFileName), m_season)) {
        m_services.dialogs->message(QStringLiteral("Absence du fichier 2027.txt"), ProgramName, MessageIcon::None);
        m_splash.visible = false;
        m_splash.notify();
        return false;
    }
    const ResultsStore results = store();
    const IniSnapshot snapshot = results.snapshot();
    ResultsStore::loadBonusMalus(snapshot, m_season);
    m_panels.introText = snapshot.value(Store::Texte, Store::Texte);

    SettingsStore &settings = *m_services.settings;
    m_calendar.build(m_season, m_launchTime);

    m_options.highlightFavourite = CheckStateFromText(settings.read(QStringLiteral("Data"), QStringLiteral("C5"), QStringLiteral("0")));
    m_options.trackingAid = CheckStateFromText(settings.read(QStringLiteral("Data"), QStringLiteral("C6"), QStringLiteral("0")));
    if (m_options.highlightFavourite == 1) {
        m_options.favouriteCaption = settings.read(QStringLiteral("Data"), QStringLiteral("EP"), QString());
        m_favouriteTeam = m_options.favouriteCaption;
    }

    // The calendar's current matchday (after the season it stays at the last one) and the
    // matchday the grid opens on.
    m_currentMatchday = MatchdayCount;
    refreshCalendar();

    m_options.autoUpdate = CheckStateFromText(settings.read(QStringLiteral("Data"), QStringLiteral("C4"), QStringLiteral("0")));
    if (m_options.autoUpdate == 1 && m_services.downloader)
        clickButton(Btn::Update);
    else
        computeStandings(0);
    m_options.notify();

    pump();
    m_panels.intro = !m_panels.introText.isEmpty();
    m_panels.columnTitles = !m_panels.intro;
    m_panels.notify();

    m_splash.visible = false;
    m_splash.notify();

    const QFileInfo storeInfo(results.path());
    m_stalenessDue = StalenessDue(m_launchTime,
                                  storeInfo.exists() ? std::optional<QDateTime>(storeInfo.lastModified()) : std::nullopt,
                                  m_season.matchdayDate(MatchdayCount));
    // The offer to download is only made when the program can download.
    if (m_stalenessDue && m_services.downloader) {
        const QString question = QStringLiteral(
            "Les données enregistrées sur cet ordinateur sont datées de plus de 10 jours,\r\n"
            "Voulez vous télécharger les dernières données enregistrées ?\r\n"
            "Notez que...\r\n"
            "- S'il n'y a pas eu de match depuis, c'est inutile.\r\n"
            "- Vous pourrez à tout moment le faire en appuyant sur le bouton ''Mise à jour''.");
        if (m_services.dialogs->askYesNo(question, QStringLiteral("Mise à jour")))
            resultsDownload();
    }

    m_pseudo = settings.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QString());
    m_password = settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString());

    pump();
    if (m_services.downloader) {
        const QString stored = settings.read(QStringLiteral("data"), QStringLiteral("Vset"), QStringLiteral("-"));
        if (WeeklyDonorsRefreshDue(m_launchTime, stored)) {
            refreshDonorsWeekly();
            settings.write(QStringLiteral("data"), QStringLiteral("Vset"), FormatStamp(m_launchTime));
        }
    }

    m_buttons.paintHover(-1, downloadDone());
    m_started = true;
    return true;
}

void MainController::close()
{
    if (!m_started)
        return;
    SettingsStore &settings = *m_services.settings;
    settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QString::number(m_options.autoUpdate));
    settings.write(QStringLiteral("Data"), QStringLiteral("C5"), QString::number(m_options.highlightFavourite));
    settings.write(QStringLiteral("Data"), QStringLiteral("C6"), QString::number(m_options.trackingAid));
    // Empty boxes never erase what is stored.
    if (!m_pseudo.isEmpty())
        settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), m_pseudo);
    if (!m_password.isEmpty())
        settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), m_password);
    m_started = false;
}

void MainController::computeStandings(int lastMatchday)
{
    emit busyChanged(true);
    StandingsContext ctx;
    ctx.currentMatchday = m_currentMatchday;
    ctx.favouriteTeam = m_favouriteTeam;
    int last = lastMatchday;
    ComputeStandings(m_season, store().snapshot(), last, false, ctx, m_table);
    emit busyChanged(false);
}

bool MainController::downloadDone() const
{
    return m_downloadTag.isValid() && std::abs(m_downloadTag.msecsTo(m_launchTime)) < OneMinuteMs;
}

void MainController::clickButton(int index)
{
    if (index < 0 || index >= ButtonCount || !m_buttons.button(index).built)
        return;
    prologue(index);
    action(index);
    if (index == Btn::Quit)
        return;
    epilogue(index);
    m_panels.notify();
    m_options.notify();
    m_matchdayList.notify();
}

void MainController::prologue(int index)
{
    m_panels.intro = false;
    m_panels.columnTitles = true;
    m_table.clearGamesInHand();
    if (index != Btn::Options)
        m_panels.options = false;
    if (index != Btn::About)
        m_panels.about = false;
}

void MainController::action(int index)
{
    switch (index) {
    case Btn::Quit:
        // Unsaved entries are offered for saving first; Cancel keeps the window.
        if (!confirmClose())
            break;
        close();
        emit quitRequested();
        break;
    case Btn::GeneralTable:
        computeStandings(0);
        m_panels.formGuide = true;
        break;
    case Btn::About:
        toggleAbout();
        break;
    case Btn::CloseRankings:
        computeStandings(0);
        m_panels.rankingsMenu = false;
        break;
    case Btn::Rankings:
        m_panels.rankingsMenu = !m_panels.rankingsMenu;
        m_donorsTimer->stop();
        m_donors.running = false;
        m_panels.formGuide = true;
        break;
    case Btn::Save:
        saveGrid();
        break;
    case Btn::Help:
        openUrl(site().helpPage());
        break;
    case Btn::Update:
        resultsDownload();
        break;
    case Btn::SendFile:
        openPublishing();
        break;
    case Btn::Send:
        sendFile();
        break;
    case Btn::ClosePublishing:
        m_publishing.visible = false;
        m_publishing.notify();
        break;
    case Btn::Donors:
        toggleDonors();
        break;
    case Btn::CloseDonors:
        closeDonors();
        break;
    case Btn::InsertBonus:
        insertBonus();
        break;
    case Btn::DatedCopy:
        if (!store().datedCopy(m_launchTime)) {
            m_services.dialogs->message(QStringLiteral("La copie datée du fichier des résultats n'a pas pu être faite."),
                                        ProgramName, MessageIcon::Warning);
        }
        break;
    case Btn::FullTable:
        m_teamSheetTag.clear();
        refreshCalendar();
        computeStandings(0);
        m_panels.formGuide = true;
        break;
    case Btn::CloseAbout:
        m_panels.about = false;
        m_panels.formGuide = true;
        break;
    case Btn::Options:
        toggleOptions();
        break;
    case Btn::CloseOptions:
        if (m_options.favouriteTag == u"T")
            refreshCalendar();
        break;
    case Btn::BonusMalus:
        toggleBonusList();
        break;
    case Btn::PrintBar:
        print();
        break;
    case Btn::DreamTeam:
        askPassword();
        break;
    default:
        break;
    }
}

void MainController::epilogue(int index)
{
    if (index == Btn::MatchdayTables) {
        m_panels.formGuide = false;
        m_donors.visible = false;
        m_donors.running = false;
        m_donorsTimer->stop();
        m_donors.notify();
        if (!m_matchdayList.shown())
            buildMatchdayList();
        return;
    }
    if (index != Btn::CloseRankings && index != Btn::PossibleRanking)
        removeMatchdayList();
}

void MainController::toggleAbout()
{
    if (m_panels.about) {
        m_panels.about = false;
        m_panels.formGuide = true;
        return;
    }
    m_panels.formGuide = false;
    m_panels.aboutVersion = QStringLiteral("Version: ") + VersionFull();
    m_donors.visible = false;
    m_donors.running = false;
    m_donorsTimer->stop();
    m_donors.notify();
    m_panels.about = true;
}

void MainController::toggleOptions()
{
    if (m_panels.options) {
        m_panels.options = false;
        return;
    }
    m_options.favouriteTag.clear();
    m_panels.options = true;
    if (m_options.favouriteEntries.size() < 10) {
        m_options.favouriteEntries.clear();
        m_options.favouriteEntries.append(QStringLiteral("Aucune"));
        for (int i = 0; i < TeamCount; ++i) {
            m_options.favouriteEntries.append(m_season.teams[i]);
            if (m_season.teams[i] == m_favouriteTeam)
                m_options.crestTeam = m_season.teams[i];
        }
    }
}

void MainController::toggleBonusList()
{
    if (m_panels.bonusList) {
        m_panels.bonusList = false;
        return;
    }
    m_panels.bonusLines.clear();
    for (int i = 0; i < TeamCount; ++i) {
        const float v = m_season.bonusMalus[i];
        if (v == 0)
            continue;
        const QString value = (v > 0 ? QStringLiteral("+") : QString()) + PlainNumber(double(v));
        m_panels.bonusLines.append(m_season.teams[i] + QStringLiteral(": [ ") + value + QStringLiteral(" ]"));
    }
    m_panels.bonusList = true;
}

void MainController::buildMatchdayList()
{
    for (int n = 1; n <= MatchdayCount; ++n) {
        auto &e = m_matchdayList.entries[n];
        e.visible = true;
        e.foreground = n > m_currentMatchday ? Yellow : Green;
        e.background = ButtonColours::Rest;
    }
}

void MainController::removeMatchdayList()
{
    for (auto &e : m_matchdayList.entries)
        e.visible = false;
}

void MainController::clickMatchdayNumber(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount || !m_matchdayList.shown())
        return;
    if (m_matchdayPanel)
        showMatchday(matchday);
    m_panels.rankingsMenu = true;
    computeStandings(matchday);
    m_table.setTitle(QStringLiteral("Classement à la Journée N°") + QString::number(matchday));
    m_panels.notify();
    emit m_table.changed();
}

void MainController::hoverButton(int index)
{
    m_buttons.paintHover(index, downloadDone());
}

void MainController::hoverWindow()
{
    m_buttons.paintHover(-1, downloadDone());
    bool monthsChanged = false;
    for (auto &m : m_calendar.months) {
        if (!(m.background == CalendarColours::Rest)) {
            m.background = CalendarColours::Rest;
            monthsChanged = true;
        }
    }
    if (monthsChanged)
        m_calendar.notify();
    bool any = false;
    for (auto &e : m_matchdayList.entries) {
        if (!(e.background == ButtonColours::Rest)) {
            e.background = ButtonColours::Rest;
            any = true;
        }
    }
    if (any)
        m_matchdayList.notify();
}

void MainController::hoverPanel()
{
    m_buttons.paintHover(-1, downloadDone());
}

void MainController::hoverMatchdayNumber(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount)
        return;
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayList.entries[n].background = n == matchday ? ButtonColours::Hover : ButtonColours::Rest;
    m_matchdayList.notify();
}

void MainController::hoverMatchdayListFrame()
{
    if (!m_matchdayList.shown())
        return;
    for (int n = 1; n <= MatchdayCount; ++n)
        m_matchdayList.entries[n].background = ButtonColours::Rest;
    m_matchdayList.notify();
}

void MainController::clickLogo()
{
    m_panels.workListLines = m_table.arrangement();
    m_panels.workList = true;
    m_panels.notify();
}

void MainController::clickWorkList()
{
    m_panels.workList = false;
    m_panels.notify();
}

void MainController::clickBonusList()
{
    m_panels.bonusList = false;
    m_panels.notify();
}

void MainController::chooseFavourite(int position)
{
    if (position < 0 || position >= m_options.favouriteEntries.size())
        return;
    const QString chosen = m_options.favouriteEntries[position];
    if (m_options.favouriteCaption != chosen)
        m_options.favouriteTag = QStringLiteral("T");
    m_options.favouriteCaption = chosen;
    m_services.settings->write(QStringLiteral("Data"), QStringLiteral("EP"), chosen);
    m_favouriteTeam = chosen;
    m_options.crestTeam.clear();
    if (position >= 1) {
        m_options.crestTeam = chosen;
        m_options.highlightFavourite = 1;
    } else {
        m_options.highlightFavourite = 0;
    }
    // The table shows the favourite in yellow at once.
    if (ValueOf(m_table.cell(0, TableColumn::Points).text) > 0 || m_table.cell(0, TableColumn::Name).bold) {
        for (int r = 0; r < TeamCount; ++r)
            m_table.cell(r, TableColumn::Name).background = Colours::White;
        m_table.colourZones(m_favouriteTeam);
        emit m_table.changed();
    }
    m_options.notify();
    refreshCalendar();
}

void MainController::setCheck(int box, int state)
{
    const int v = state == 1 ? 1 : 0;
    if (box == 4)
        m_options.autoUpdate = v;
    else if (box == 5)
        m_options.highlightFavourite = v;
    else if (box == 6)
        m_options.trackingAid = v;
    m_options.notify();
}

void MainController::refreshCalendar()
{
    m_currentMatchday = CurrentMatchday(m_season, m_launchTime, m_currentMatchday);
    showMatchday(OpeningMatchday(m_season, m_launchTime));
    for (int m = 0; m < CalendarModel::MonthCount; ++m) {
        const QDate d = m_calendar.months[m].date;
        if (d.month() == m_launchTime.date().month() && d.year() == m_launchTime.date().year())
            m_calendar.showMonth(m, m_season, m_launchTime);
    }
    // Before the season starts, its first month is on show.
    const QDate first = m_calendar.months[0].date;
    if (first.year() == m_launchTime.date().year() && m_launchTime.date().month() < first.month())
        m_calendar.showMonth(0, m_season, m_launchTime);
    m_calendar.notify();
}

void MainController::showMatchday(int matchday)
{
    if (matchday < 1 || matchday > MatchdayCount)
        return;
    m_panels.rankingsMenu = false;
    m_matchdayPanel = true;
    ShowMatchday(m_grid, m_season, store().snapshot(), matchday,
                 GridContext{m_launchTime, m_favouriteTeam});
    m_panels.notify();
}

void MainController::editGoals(int row, GoalsBox box, const QString &text)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.setGoals(row, box, text);
    m_grid.notify();
}

void MainController::editCard(int row, CardBox box, const QString &text)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.setCard(row, box, text);
    m_grid.notify();
}

void MainController::clickGoals(int row)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.clickGoals(row);
    m_grid.notify();
}

void MainController::focusCard(int row, CardBox box)
{
    if (row < 0 || row >= GridRowCount)
        return;
    m_grid.focusCard(row, box);
    m_grid.notify();
}

bool MainController::saveGrid()
{
    emit busyChanged(true);
    const SaveOutcome out = store().saveResults(m_grid.entryRows(), m_launchTime, m_sendReference, m_password);
    if (!out.written) {
        emit busyChanged(false);
        // Nothing was stored: the entries stay on screen and "Valider" stays lit.
        m_services.dialogs->message(
            QStringLiteral("Les résultats n'ont pas pu être enregistrés dans le fichier Resultats2027.ini.\n"
                           "Vérifiez que le dossier du programme est accessible en écriture, puis appuyez de "
                           "nouveau sur « Valider »."),
            ProgramName, MessageIcon::Warning);
        return false;
    }
    for (int r = 0; r < GridRowCount; ++r) {
        m_grid.resetCardPositions(r);
        m_grid.applyCollapse(r);
        m_grid.showCardsWithText(r);
    }
    m_grid.setPending(false);
    m_buttons.setVisible(Btn::SendFile, out.sendButtonVisible);
    m_table.clearGamesInHand();
    computeStandings(0);
    m_grid.notify();
    emit busyChanged(false);
    return true;
}

void MainController::clickTitleLabel()
{
    if (m_buttons.button(Btn::SendFile).visible) {
        m_buttons.setVisible(Btn::SendFile, false);
        return;
    }
    if (m_password == EditingPassword) {
        m_buttons.setVisible(Btn::SendFile, true);
        m_sendReference = m_launchTime.addDays(-15);
    }
}

void MainController::clickGoalsSummary()
{
    m_cardReport = CardReport(store().snapshot());
    m_cardReportVisible = true;
    m_panels.notify();
}

void MainController::clickCardReport()
{
    m_cardReportVisible = false;
    m_panels.notify();
}

void MainController::clickTableRow(int row)
{
    if (row < 0 || row >= TeamCount)
        return;
    const QString name = m_table.cell(row, TableColumn::Name).text;
    if (name.isEmpty())
        return;
    m_panels.intro = false;
    m_panels.rankingsMenu = false;
    m_table.clearGamesInHand();
    m_teamSheetTag = name;
    closeDonors();
    m_matchdayPanel = false;
    m_panels.formGuide = false;
    ShowTeamSeason(m_grid, m_season, store().snapshot(), name, GridContext{m_launchTime, m_favouriteTeam});
    for (int r = 0; r < TeamCount; ++r)
        m_table.cell(r, TableColumn::Name).background = r == row ? GridColours::ChosenTeam : Colours::White;
    m_grid.header = SeasonTitle + u' ' + name + QStringLiteral(" N°") + QString::number(row + 1);
    m_grid.headerColour = Colours::Black;
    if (m_table.cell(0, TableColumn::Points).text != u"0")
        m_table.colourZones(m_favouriteTeam);
    emit m_table.changed();
    m_grid.notify();
    m_panels.notify();
}

void MainController::hoverMonth(int month)
{
    m_calendar.showMonth(month, m_season, m_launchTime);
}

void MainController::clickMonth(int month)
{
    if (month < 0 || month >= CalendarModel::MonthCount)
        return;
    m_calendar.locked = true;
    m_calendar.notify();
}

void MainController::hoverCalendarDay(int day)
{
    if (day < 0 || day >= CalendarModel::DayCount || !m_calendar.locked)
        return;
    m_calendar.locked = false;
    m_calendar.notify();
}

void MainController::clickCalendarDay(int day)
{
    if (day < 0 || day >= CalendarModel::DayCount || !m_calendar.days[day].visible)
        return;
    showMatchday(m_calendar.days[day].matchday);
}

void MainController::setCalendarLock(bool locked)
{
    m_calendar.locked = locked;
    m_calendar.notify();
}

bool MainController::confirmClose()
{
    if (!m_grid.pending())
        return true;
    const Answer a = m_services.dialogs->askYesNoCancel(
        QStringLiteral("Des résultats saisis n'ont pas été enregistrés.\nVoulez-vous les enregistrer avant de quitter ?"),
        ProgramName);
    if (a == Answer::Cancel)
        return false;
    if (a == Answer::Yes)
        return saveGrid();
    return true;
}

SiteAddresses MainController::site() const
{
    return SiteAddresses(m_services.settings->read(QStringLiteral("Site"), QStringLiteral("Base"),
                                                   SiteAddresses::defaultBase()));
}

void MainController::openUrl(const QUrl &url)
{
    if (m_services.shell && !m_services.shell->open(url)) {
        m_services.dialogs->message(QStringLiteral("Impossible d'ouvrir la page ") + url.toDisplayString(),
                                    ProgramName, MessageIcon::Warning);
    }
}

void MainController::showIntroFrame()
{
    m_panels.intro = !m_panels.introText.isEmpty();
    m_panels.columnTitles = !m_panels.intro;
}

void MainController::resultsDownload()
{
    if (!m_services.downloader)
        return;
    // One download per run: the tag starts a day before the launch and takes the launch time.
    if (!m_downloadTag.isValid())
        m_downloadTag = m_launchTime.addDays(-1);
    if (m_downloadTag.msecsTo(m_launchTime) < OneMinuteMs)
        return;
    m_downloadTag = m_launchTime;
    emit busyChanged(true);

    const ResultsStore results = store();
    const QDateTime before = ParseMaj(results.snapshot().value(Store::Maj, Store::Maj), m_launchTime);
    pump();
    if (!FetchResultsStore(results, site(), *m_services.downloader)) {
        emit busyChanged(false);
        m_services.dialogs->message(QStringLiteral("Erreur de connexion !"), SeasonTitle, MessageIcon::Information);
        computeStandings(0);
        m_buttons.paintHover(-1, downloadDone());
        return;
    }
    pump();
    if (!versionAndDataCheck()) {
        // The user went for the newer program: this one ends now.
        emit busyChanged(false);
        return;
    }
    const IniSnapshot snapshot = results.snapshot();
    ResultsStore::loadBonusMalus(snapshot, m_season);
    const QString maj = snapshot.value(Store::Maj, Store::Maj);
    const QString publisher = snapshot.value(Store::Pseudo, Store::Pseudo);
    const QDateTime after = ParseMaj(maj, m_launchTime);
    const bool own = !m_pseudo.isEmpty() && m_pseudo == publisher;
    pump();
    refreshCalendar();
    computeStandings(0);
    // The standings run rewrites the label's text; its colour tells how the new file compares.
    m_table.setLastUpdate(maj, publisher, LastUpdateColour(before, after, own));
    showIntroFrame();
    m_panels.notify();
    emit m_table.changed();
    m_buttons.paintHover(-1, downloadDone());
    emit busyChanged(false);
}

bool MainController::versionAndDataCheck()
{
    const IniSnapshot snapshot = store().snapshot();
    const QString cv = snapshot.value(Store::CV, Store::CV, QStringLiteral("-"));
    if (NewerVersionAnnounced(cv)) {
        const bool yes = m_services.dialogs->askYesNo(
            QStringLiteral("Une version plus récente du logiciel est disponible, voulez vous la télécharger ?"),
            ProgramName + QStringLiteral(" Version ") + cv);
        if (yes) {
            openUrl(site().helpPage());
            close();
            emit quitRequested();
            return false;
        }
    }
    // The season file is replaced only by a complete, well-formed one; it is read at the next start.
    if (UpdateSeasonFile(snapshot, m_season.dataVersion, m_programDir, site(), *m_services.downloader)
        == SeasonUpdate::Failed)
        m_services.dialogs->message(QStringLiteral("Mise a jour incomplete"), ProgramName, MessageIcon::None);
    m_panels.introText = snapshot.value(Store::Texte, Store::Texte);
    showIntroFrame();
    const QString publisher = snapshot.value(Store::Pseudo, Store::Pseudo);
    m_table.setLastUpdate(snapshot.value(Store::Maj, Store::Maj), publisher,
                          m_pseudo == publisher ? MajColours::Newer : m_table.lastUpdateColour());
    return true;
}

bool MainController::loadDonors()
{
    const QString local = QDir(m_programDir).filePath(QStringLiteral("don.L1"));
    const QFileInfo info(local);
    const auto modified = info.exists() ? std::optional<QDateTime>(info.lastModified()) : std::nullopt;
    if (!DonorsFileFresh(modified, m_launchTime)) {
        if (!m_services.downloader || !m_services.downloader->download(site().donors(), local, LooksLikeTextFile))
            return false;
    }
    QFile f(local);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    m_donors.entries = ParseDonors(DecodeWin1252(f.readAll()));
    if (m_donors.next >= m_donors.entries.size())
        m_donors.next = 0;
    m_donors.running = !m_donors.entries.isEmpty();
    if (m_donors.running)
        m_donorsTimer->start();
    return true;
}

void MainController::toggleDonors()
{
    if (m_donors.visible) {
        closeDonors();
        return;
    }
    m_panels.about = false;
    m_donors.visible = true;
    loadDonors();
    m_donors.notify();
}

void MainController::closeDonors()
{
    m_donors.visible = false;
    m_donors.running = false;
    m_donorsTimer->stop();
    m_donors.notify();
}

void MainController::refreshDonorsWeekly()
{
    const QString local = QDir(m_programDir).filePath(QStringLiteral("don.L1"));
    if (m_services.downloader->download(site().donors(), local, LooksLikeTextFile))
        clickButton(Btn::Donors);
}

void MainController::donorsTick()
{
    if (m_donors.entries.isEmpty())
        return;
    m_panels.formGuide = false;
    int i = m_donors.next;
    if (i < 0 || i >= m_donors.entries.size())
        i = 0;
    const QString entry = m_donors.entries[i];
    m_donors.colour = entry.contains(u'$') ? Rgb{192, 0, 0} : Rgb{0, 0, 192};
    m_donors.caption = QString(entry).remove(u'$');
    ++i;
    m_donors.next = i >= m_donors.entries.size() ? 0 : i;
    m_donors.notify();
    m_panels.notify();
}

void MainController::hoverDonorsLabel()
{
    if (!m_donors.running)
        return;
    m_donors.running = false;
    m_donorsTimer->stop();
    m_donors.notify();
}

void MainController::hoverDonorsPanel()
{
    hoverPanel();
    if (m_donors.running || m_donors.entries.isEmpty() || !m_donors.visible)
        return;
    m_donors.running = true;
    m_donorsTimer->start();
    m_donors.notify();
}

void MainController::clickDonation()
{
    openUrl(site().donationPage());
}

void MainController::clickHomeLink()
{
    openUrl(site().homePage());
}

void MainController::clickContactLink()
{
    openUrl(site().contactPage(SeasonTitle + QStringLiteral(" Version ") + VersionShort()));
}

void MainController::fillBonusLines()
{
    m_publishing.bonusLines.clear();
    for (int i = 0; i < TeamCount; ++i) {
        if (m_season.bonusMalus[i] != 0)
            m_publishing.bonusLines.append(m_season.teams[i] + QStringLiteral(": [") + PlainNumber(double(m_season.bonusMalus[i])) + u']');
    }
}

void MainController::openPublishing()
{
    m_matchdayPanel = false;
    m_panels.formGuide = false;
    fillBonusLines();
    m_publishing.teams.clear();
    for (int i = 0; i < TeamCount; ++i)
        m_publishing.teams.append(m_season.teams[i]);
    m_publishing.visible = true;
    m_panels.intro = true; // the introduction shows as a live preview
    m_panels.columnTitles = false;
    m_publishing.introText = m_panels.introText;
    m_publishing.versionText = store().snapshot().value(Store::CV, Store::CV, QStringLiteral("-"));
    m_publishing.versionEditable = false;
    m_publishing.ownVersion = VersionShort();
    m_publishing.notify();
}

void MainController::editIntroText(const QString &text)
{
    m_publishing.introText = RemoveDiacritics(text);
    m_panels.introText = m_publishing.introText;
    m_publishing.notify();
    m_panels.notify();
}

void MainController::doubleClickVersion()
{
    m_publishing.versionEditable = true;
    m_publishing.notify();
}

void MainController::editVersionText(const QString &text)
{
    if (!m_publishing.versionEditable)
        return;
    m_publishing.versionText = text;
}

void MainController::chooseBonusTeam(const QString &team)
{
    m_publishing.chosenTeam = team;
}

void MainController::editBonusPoints(const QString &text)
{
    m_publishing.points = text;
}

void MainController::insertBonus()
{
    m_publishing.points = BonusIntegerPart(m_publishing.points);
    if (!m_publishing.chosenTeam.isEmpty()) {
        const int team = m_season.TeamIndexOf(m_publishing.chosenTeam);
        if (team < TeamCount) {
            const QString value = PlainNumber(ValueOf(m_publishing.points));
            if (!WriteIni(store().path(), Store::BonMal, TeamLetter(team), value)) {
                m_services.dialogs->message(QStringLiteral("Le bonus ou malus n'a pas pu être enregistré."),
                                            ProgramName, MessageIcon::Warning);
            }
        }
    }
    store().loadBonusMalus(m_season);
    fillBonusLines();
    computeStandings(0);
    m_publishing.notify();
}

void MainController::sendFile()
{
    // The rows on screen are saved first, whatever follows.
    if (!saveGrid())
        return;
    m_publishing.introText = RemoveDiacritics(m_publishing.introText);
    if (m_pseudo.isEmpty()) {
        m_services.dialogs->message(QStringLiteral("Pseudo ??"), ProgramName, MessageIcon::None);
        return;
    }
    if (m_password.isEmpty()) {
        m_services.dialogs->message(QStringLiteral("Mot De Passe ??"), ProgramName, MessageIcon::None);
        return;
    }
    IniDocument doc = IniDocument::fromFile(store().path());
    doc.set(Store::Maj, Store::Maj, FormatMaj(m_launchTime));
    doc.set(Store::Pseudo, Store::Pseudo, m_pseudo);
    // The password goes to the user's settings only: the store is published.
    m_services.settings->write(QStringLiteral("MDP"), QStringLiteral("MDP"), m_password);
    doc.set(Store::Texte, Store::Texte, m_publishing.introText);
    doc.set(Store::CV, Store::CV, m_publishing.versionText);
    if (!doc.save(store().path())) {
        m_services.dialogs->message(QStringLiteral("Le fichier des résultats n'a pas pu être préparé pour l'envoi."),
                                    ProgramName, MessageIcon::Warning);
        return;
    }
    pump();
    if (m_services.clipboard)
        m_services.clipboard->setText(QDir::toNativeSeparators(store().path()));
    pump();
    openUrl(site().uploadPage(m_pseudo, m_password));
    pump();
    m_publishing.visible = false;
    refreshCalendar();
    m_buttons.setVisible(Btn::SendFile, false);
    m_publishing.notify();
}

void MainController::clickStoreLabel()
{
    openUrl(QUrl::fromLocalFile(store().path()));
}

void MainController::askPassword()
{
    const auto answer = m_services.dialogs->askText(QStringLiteral("Mot de passe"), ProgramName);
    if (answer && *answer == EditingPassword)
        m_password = EditingPassword;
}

void MainController::print()
{
    if (!m_services.printer)
        return;
    emit busyChanged(true);
    const PrintOutcome out = m_services.printer->printWindow();
    emit busyChanged(false);
    if (out.printed)
        return;
    if (!out.pdfPath.isEmpty()) {
        m_services.dialogs->message(QStringLiteral("Aucune imprimante n'est installée : la fenêtre a été enregistrée "
                                                   "au format PDF dans\n")
                                        + QDir::toNativeSeparators(out.pdfPath),
                                    ProgramName, MessageIcon::Information);
        return;
    }
    m_services.dialogs->message(QStringLiteral("L'impression n'a pas pu être faite."), ProgramName,
                                MessageIcon::Warning);
}

} // namespace kestrava

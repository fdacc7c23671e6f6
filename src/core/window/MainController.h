#pragma once

#include "matchdays/CalendarModel.h"
#include "matchdays/FixtureGridModel.h"
#include "platform/Services.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "window/ButtonBarModel.h"
#include "window/WindowModels.h"

#include "platform/SiteAddresses.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace kestrava {

struct ControllerServices
{
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    Dialogs *dialogs = nullptr;
    Shell *shell = nullptr;
    WindowPrinter *printer = nullptr;
    Downloader *downloader = nullptr; // without one, nothing online is offered
    Clipboard *clipboard = nullptr;
};

// The program's version, as the about box and the splash show it.
QString VersionShort(); // "1.0"
QString VersionFull();  // "1.0.0"

// The window's whole state and one method per user event. Widgets draw the models and forward
// events here; tests drive it exactly as a person drives the window.
class MainController : public QObject
{
    Q_OBJECT
public:
    MainController(QString programDir, ControllerServices services, QObject *parent = nullptr);

    // The start-up sequence. False when the season file is missing: the message has been shown
    // and the program must end without saving anything.
    bool start();
    // The window closes ("Quitter" or its close box): the options are saved.
    void close();

    void clickButton(int index);
    void hoverButton(int index);
    void hoverWindow();
    void hoverPanel();
    void hoverMatchdayNumber(int matchday);
    void hoverMatchdayListFrame();
    void clickMatchdayNumber(int matchday);
    void clickLogo();
    void clickWorkList();
    void clickBonusList();
    void chooseFavourite(int position);
    void setCheck(int box, int state); // box 4, 5 or 6 of the options panel
    void setPseudo(const QString &pseudo) { m_pseudo = pseudo; }

    // The fixture grid: typing, clicks and focus.
    void editGoals(int row, GoalsBox box, const QString &text);
    void editCard(int row, CardBox box, const QString &text);
    void clickGoals(int row);
    void focusCard(int row, CardBox box);
    // "Valider": false when the store could not be written (the editor was told, entries kept).
    bool saveGrid();
    void clickTitleLabel();   // the send button toggle
    void clickGoalsSummary(); // the card report
    void clickCardReport();   // hides it
    void clickTableRow(int row);

    // The month calendar.
    void hoverMonth(int month);
    void clickMonth(int month);
    void hoverCalendarDay(int day);
    void clickCalendarDay(int day);
    void setCalendarLock(bool locked);
    void refreshCalendar();
    void showMatchday(int matchday);

    // Online: the results download and the checks that follow it, the donors, the links.
    void resultsDownload();
    void donorsTick();
    void hoverDonorsLabel(); // the ticker pauses under the pointer
    void hoverDonorsPanel(); // and starts again
    void clickDonation();
    void clickHomeLink();
    void clickContactLink();

    // Publishing ("Expédition fichier").
    void editIntroText(const QString &text);
    void doubleClickVersion();
    void editVersionText(const QString &text);
    void chooseBonusTeam(const QString &team);
    void editBonusPoints(const QString &text);
    void clickStoreLabel();
    void setPassword(const QString &password) { m_password = password; }

    // The window asks before closing: false keeps it open. Unsaved entries raise a question.
    bool confirmClose();

    const SeasonData &season() const { return m_season; }
    LeagueTableModel &table() { return m_table; }
    ButtonBarModel &buttons() { return m_buttons; }
    PanelsModel &panels() { return m_panels; }
    OptionsModel &options() { return m_options; }
    MatchdayListModel &matchdayList() { return m_matchdayList; }
    SplashModel &splash() { return m_splash; }
    FixtureGridModel &grid() { return m_grid; }
    CalendarModel &calendar() { return m_calendar; }
    bool matchdayPanel() const { return m_matchdayPanel; }
    bool cardReportVisible() const { return m_cardReportVisible; }
    QString cardReport() const { return m_cardReport; }
    bool sendButtonVisible() const { return m_buttons.button(13).visible; }
    PublishingModel &publishing() { return m_publishing; }
    DonorsModel &donors() { return m_donors; }
    SiteAddresses site() const;
    bool downloadDoneThisRun() const { return downloadDone(); }

    QString programDir() const { return m_programDir; }
    QString windowTitle() const;
    QDateTime launchTime() const { return m_launchTime; }
    int currentMatchday() const { return m_currentMatchday; }
    QString favouriteTeam() const { return m_favouriteTeam; }
    QString pseudo() const { return m_pseudo; }
    QString password() const { return m_password; }
    QDateTime sendReferenceDate() const { return m_sendReference; }
    bool stalenessPromptDue() const { return m_stalenessDue; }
    ResultsStore store() const { return ResultsStore(m_programDir); }

    // Old local results (more than 10 days, the store's modification time) before the last
    // matchday's date deserve the offer of a download. A missing store counts as old.
    static bool StalenessDue(const QDateTime &launch, const std::optional<QDateTime> &storeModified,
                             const QDateTime &lastMatchdayDate);

    // Lets pending window events run (the splash paints); by default Qt's event loop.
    void setEventPump(std::function<void()> pump) { m_pump = std::move(pump); }

    // Recomputes the table over the whole season (or up to `lastMatchday`) from the store on disk.
    void computeStandings(int lastMatchday = 0);

signals:
    void quitRequested();
    void busyChanged(bool busy);

private:
    void prologue(int index);
    void epilogue(int index);
    void action(int index);
    void toggleAbout();
    void toggleOptions();
    void toggleBonusList();
    void buildMatchdayList();
    void removeMatchdayList();
    void print();
    void askPassword();
    void pump();
    bool versionAndDataCheck(); // false when the program is to end for a newer version
    void toggleDonors();
    void closeDonors();
    bool loadDonors();
    void refreshDonorsWeekly();
    void openPublishing();
    void insertBonus();
    void sendFile();
    void fillBonusLines();
    void showIntroFrame();
    void openUrl(const QUrl &url);
    bool downloadDone() const;

    QString m_programDir;
    ControllerServices m_services;
    std::function<void()> m_pump;

    SeasonData m_season;
    LeagueTableModel m_table;
    ButtonBarModel m_buttons;
    PanelsModel m_panels;
    OptionsModel m_options;
    MatchdayListModel m_matchdayList;
    SplashModel m_splash;
    FixtureGridModel m_grid;
    CalendarModel m_calendar;
    bool m_matchdayPanel = true;
    bool m_cardReportVisible = false;
    QString m_cardReport;
    QString m_teamSheetTag; // the team a row click chose, for its sheet

    QDateTime m_launchTime;
    QDateTime m_sendReference;
    QDateTime m_downloadTag;
    int m_currentMatchday = 0;
    QString m_favouriteTeam;
    QString m_pseudo;
    QString m_password;
    bool m_stalenessDue = false;
    PublishingModel m_publishing;
    DonorsModel m_donors;
    QTimer *m_donorsTimer = nullptr;
    bool m_started = false;
};

} // namespace kestrava

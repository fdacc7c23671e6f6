// kestrava-capture: builds the window as the program does (same services, the real downloader,
// the user's settings), puts it in a named state the way a user would, and saves a picture of it.
// Used by scripts/screenshot --state to look at the views a plain start does not show.
#include "NetworkDownloader.h"
#include "matchdays/FixtureGridPanel.h"
#include "platform/Settings.h"
#include "platform/SystemClipboard.h"
#include "platform/WidgetPrinter.h"
#include "window/MainController.h"
#include "platform/ClickableWidgets.h"
#include "window/MainWindow.h"
#include "platform/Style.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>

using namespace kestrava;

namespace {

// The moment the pictures are taken at, whatever the day: the same picture every time.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now)
        : m_now(std::move(now))
    {
    }
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

// Nothing is opened in a browser and no question waits for an answer: the capture must not block.
class SilentShell final : public Shell
{
public:
    bool open(const QUrl &) override { return true; }
};

class SilentDialogs final : public Dialogs
{
public:
    void message(const QString &text, const QString &, MessageIcon) override { report(text); }
    bool askYesNo(const QString &text, const QString &) override
    {
        report(text);
        return false;
    }
    Answer askYesNoCancel(const QString &text, const QString &) override
    {
        report(text);
        return Answer::No;
    }
    std::optional<QString> askText(const QString &text, const QString &) override
    {
        report(text);
        return std::nullopt;
    }
    std::optional<QString> askSaveFile(const QString &title, const QString &, const QString &) override
    {
        report(title);
        return std::nullopt;
    }
    std::optional<QString> askOpenFile(const QString &title, const QString &, const QString &) override
    {
        report(title);
        return std::nullopt;
    }

private:
    static void report(const QString &text)
    {
        std::fprintf(stderr, "kestrava-capture : message « %s »\n", qPrintable(text.simplified()));
    }
};

void settle(int ms = 250)
{
    QTest::qWait(ms);
}

void typeInto(QWidget *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QTest::keyClicks(box, text);
}

bool drive(const QString &state, MainController &c, MainWindow &w)
{
    if (state == u"opening")
        return true;
    if (state == u"entry" || state == u"editor") {
        if (state == u"editor") {
            // The editor: "Expé Fichier" beside "Valider" in the bar.
            c.session().password = QStringLiteral("7nord");
            c.matchdays().clickTitleLabel();
        }
        // Matchday 14 from the calendar, a score and a card typed, not yet saved.
        c.matchdays().hoverMonth(4);
        for (int k = 0; k < 6; ++k) {
            if (c.matchdays().calendar().days[k].visible && c.matchdays().calendar().days[k].matchday == 14)
                c.matchdays().clickCalendarDay(k);
        }
        QWidget *row = w.gridPanel()->row(0);
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("r1")), QStringLiteral("2"));
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("r2")), QStringLiteral("1"));
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("cj1")), QStringLiteral("3"));
        return true;
    }
    if (state == u"team") {
        c.standings().clickTableRow(2);
        return true;
    }
    if (state == u"category") {
        // The best defence, chosen from the rankings menu; the favourite shows in yellow.
        c.session().favouriteTeam = QStringLiteral("Lille");
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::BestDefence);
        return true;
    }
    if (state == u"reachable") {
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::PossibleRanking);
        return true;
    }
    if (state == u"lock") {
        // Marseille's season, then Lens picked with the lock: their meetings marked. The tracking
        // aid frames the row and the column under the pointer.
        c.options().setCheck(6, 1);
        c.standings().clickTableRow(2);
        c.standings().setSecondClubLock(true);
        c.standings().clickTableRow(0);
        c.standings().hoverTableCell(5, TableColumn::GoalsFor);
        return true;
    }
    if (state == u"projections") {
        // The view computes in the background: the picture waits for the figures.
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::Projections);
        for (int waited = 0; c.projections().model().running && waited < 60000; waited += 50)
            QTest::qWait(50);
        return !c.projections().model().running;
    }
    if (state == u"cards") {
        c.matchdays().clickGoalsSummary();
        return true;
    }
    if (state == u"rankings") {
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::BonusMalus);
        c.clickButton(Btn::MatchdayTables);
        c.standings().clickMatchdayNumber(5);
        return true;
    }
    if (state == u"publishing") {
        c.session().password = QStringLiteral("7nord");
        c.session().pseudo = QStringLiteral("Editeur");
        c.matchdays().clickTitleLabel();
        c.clickButton(Btn::SendFile);
        auto *intro = w.findChild<QPlainTextEdit *>(QStringLiteral("introEdit"));
        intro->moveCursor(QTextCursor::End);
        intro->insertPlainText(QStringLiteral(" Journée à venir."));
        return true;
    }
    if (state == u"donors") {
        c.clickButton(Btn::Donors);
        c.donors().tick();
        c.donors().tick();
        return true;
    }
    if (state == u"about") {
        c.clickButton(Btn::About);
        return true;
    }
    if (state == u"options") {
        c.clickButton(Btn::Options);
        return true;
    }
    if (state == u"sheet") {
        // The leader's sheet, as "Equipes" opens it with no club chosen and no favourite.
        c.clickButton(Btn::Teams);
        return true;
    }
    if (state == u"chart") {
        // The evolution chart as "Graphiques" opens it: the leader's, no favourite being set.
        c.clickButton(Btn::Chart);
        return true;
    }
    if (state == u"highlights") {
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::Highlights);
        return true;
    }
    if (state == u"summary") {
        // The crest banner halfway through its run, stopped by the pointer on the eighth club.
        for (int k = 0; k < 300; ++k)
            c.teamViews().bannerTick();
        c.teamViews().hoverBannerCrest(7);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrava"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ApplyApplicationStyle(app);
    InstallAccessibility();

    QCommandLineParser parser;
    const QCommandLineOption dirOption(QStringLiteral("dir"), QString(), QStringLiteral("DOSSIER"));
    const QCommandLineOption stateOption(
        QStringLiteral("state"), QString(), QStringLiteral("ETAT"), QStringLiteral("opening"));
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("PNG"));
    const QCommandLineOption nowOption(QStringLiteral("now"), QString(), QStringLiteral("AAAA-MM-JJTHH:MM"),
        QStringLiteral("2026-12-06T08:00"));
    parser.addOptions({ dirOption, stateOption, outOption, nowOption });
    parser.process(app);
    if (!parser.isSet(dirOption) || !parser.isSet(outOption)) {
        std::fprintf(stderr, "usage : kestrava-capture --dir DOSSIER --state ETAT --out IMAGE.png\n");
        return 2;
    }

    const QString programDir = parser.value(dirOption);
    FixedClock clock(QDateTime::fromString(parser.value(nowOption), Qt::ISODate));
    QtSettingsStore settings;
    SilentDialogs dialogs;
    SilentShell shell;
    WidgetPrinter printer(programDir, [] { return false; });
    NetworkDownloader downloader;
    SystemClipboard clipboard;
    MainController controller(
        programDir, { &clock, &settings, &dialogs, &shell, &printer, &downloader, &clipboard });
    MainWindow window(controller);
    printer.setWindow(&window);
    if (!controller.start())
        return 1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    settle();
    const QString state = parser.value(stateOption);
    if (!drive(state, controller, window)) {
        std::fprintf(stderr, "kestrava-capture : état inconnu « %s »\n", qPrintable(state));
        return 2;
    }
    settle();
    if (!window.grab().save(parser.value(outOption)))
        return 1;
    controller.close();
    return 0;
}

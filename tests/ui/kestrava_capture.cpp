// kestrava-capture: builds the window as the program does (same services, the real downloader,
// the user's settings), puts it in a named state the way a user would, and saves a picture of it.
// Used by scripts/screenshot --state to look at the views a plain start does not show.
#include "NetworkDownloader.h"
#include "TestDoubles.h"
#include "matchdays/FixtureGridPanel.h"
#include "platform/Settings.h"
#include "platform/SystemClipboard.h"
#include "platform/WidgetPrinter.h"
#include "window/MainController.h"
#include "window/MainWindow.h"
#include "window/Style.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>

using namespace kestrava;

namespace {

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
            c.setPassword(QStringLiteral("7nord"));
            c.clickTitleLabel();
        }
        // Matchday 14 from the calendar, a score and a card typed, not yet saved.
        c.hoverMonth(4);
        for (int k = 0; k < 6; ++k) {
            if (c.calendar().days[k].visible && c.calendar().days[k].matchday == 14)
                c.clickCalendarDay(k);
        }
        QWidget *row = w.gridPanel()->row(0);
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("r1")), QStringLiteral("2"));
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("r2")), QStringLiteral("1"));
        typeInto(row->findChild<QLineEdit *>(QStringLiteral("cj1")), QStringLiteral("3"));
        return true;
    }
    if (state == u"team") {
        c.clickTableRow(2);
        return true;
    }
    if (state == u"cards") {
        c.clickGoalsSummary();
        return true;
    }
    if (state == u"rankings") {
        c.clickButton(20);
        c.clickButton(31);
        c.clickButton(10);
        c.clickMatchdayNumber(5);
        return true;
    }
    if (state == u"publishing") {
        c.setPassword(QStringLiteral("7nord"));
        c.setPseudo(QStringLiteral("Editeur"));
        c.clickTitleLabel();
        c.clickButton(13);
        auto *intro = w.findChild<QPlainTextEdit *>(QStringLiteral("introEdit"));
        intro->moveCursor(QTextCursor::End);
        intro->insertPlainText(QStringLiteral(" Journée à venir."));
        return true;
    }
    if (state == u"donors") {
        c.clickButton(16);
        c.donorsTick();
        c.donorsTick();
        return true;
    }
    if (state == u"about") {
        c.clickButton(6);
        return true;
    }
    if (state == u"options") {
        c.clickButton(27);
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
    test::FixedClock clock(QDateTime::fromString(parser.value(nowOption), Qt::ISODate));
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

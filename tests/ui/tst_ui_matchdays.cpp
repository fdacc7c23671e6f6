// The fixture grid, the month calendar and the card report on the demo season, offscreen: typing
// reaches the controller, "Valider" saves into the store and the table follows, and the widgets
// show what the models hold.
#include "UiTestKit.h"
#include "matchdays/FixtureGridPanel.h"
#include "platform/WidgetPrinter.h"
#include "standings/LeagueTableItemModel.h"
#include "standings/LeagueTableView.h"
#include "platform/ClickableWidgets.h"
#include "window/MainWindow.h"
#include "platform/Style.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

namespace {

// The window on the demo season, with the ways into the grid, the calendar and the table.
struct Program : WindowProgram
{
    QWidget *row(int r) const { return window->gridPanel()->row(r); }
    QLineEdit *box(int r, const char *name) const
    {
        return row(r)->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    QString name(int r, const char *side) const
    {
        return row(r)->findChild<QWidget *>(QString::fromLatin1(side))->accessibleName();
    }
    void type(QLineEdit *box, const QString &text) const
    {
        click(box);
        QTest::keyClicks(box, text);
    }
    // The calendar label that shows `matchday`, after the pointer went over its month.
    QWidget *calendarDayOf(int matchday)
    {
        for (int m = 0; m < CalendarModel::MonthCount; ++m) {
            for (int k = 0; k < CalendarModel::DayCount; ++k) {
                const auto &day = controller->matchdays().calendar().days[k];
                if (day.visible && day.matchday == matchday)
                    return find(QStringLiteral("calendarDay%1").arg(k));
            }
            QWidget *month = find(QStringLiteral("month%1").arg(m));
            QTest::mouseMove(month, month->rect().center());
        }
        return nullptr;
    }
    void openMatchday(int matchday)
    {
        QWidget *day = calendarDayOf(matchday);
        QVERIFY(day && day->isVisible());
        click(day);
        QCOMPARE(controller->matchdays().grid().matchday, matchday);
    }
    QModelIndex tableCell(int row, TableColumn c) const
    {
        return window->tableView()->model()->index(row, LeagueTableItemModel::columnOf(c));
    }
    int tableRowOf(const QString &team) const
    {
        const QModelIndex first = tableCell(0, TableColumn::Name);
        return first.model()->match(first, Qt::DisplayRole, team, 1, Qt::MatchExactly).value(0).row();
    }
    QString tableText(int row, TableColumn c) const { return tableCell(row, c).data().toString(); }
    // A click on a team's cell in the table.
    void clickTable(const QString &team, TableColumn c) const
    {
        LeagueTableView *view = window->tableView();
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(tableCell(tableRowOf(team), c)).center());
    }
};

} // namespace

class TestMatchdays : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ApplyApplicationStyle(*qApp); }
    void opensOnTheCurrentMatchday()
    {
        Program p;
        QVERIFY(p.open());

        // 6 December: matchday 13 (4 December) is still the opening one.
        const FixtureGridModel &grid = p.controller->matchdays().grid();
        QCOMPARE(grid.matchday, 13);
        QCOMPARE(p.label(QStringLiteral("gridHeader")), grid.header);
        QVERIFY(grid.header.startsWith(QStringLiteral("Journée N°13")));
        QCOMPARE(p.find<QLabel>(QStringLiteral("gridHeader"))->palette().color(QPalette::WindowText),
            ToColour(grid.headerColour));
        QCOMPARE(p.label(QStringLiteral("gridTotals")), ScreenText(grid.totals));
        QVERIFY(p.shown(QStringLiteral("gridTotals")));

        // Nine rows, each as the model holds it; the others hidden.
        for (int r = 0; r < GridRowCount; ++r) {
            QCOMPARE(p.row(r)->isVisible(), r < 9);
            if (r >= 9)
                continue;
            const GridRow &row = grid.row(r);
            QCOMPARE(p.name(r, "home") + u'|' + p.name(r, "away"), row.home.text + u'|' + row.away.text);
            QCOMPARE(
                p.box(r, "r1")->text() + u'|' + p.box(r, "r2")->text(), row.r1.text + u'|' + row.r2.text);
            const char *cards[4] = { "cr1", "cj1", "cj2", "cr2" };
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(p.box(r, cards[c])->isVisible(), row.cards[c].visible);
                QCOMPARE(p.box(r, cards[c])->text(), row.cards[c].text);
            }
            QCOMPARE(p.row(r)->findChild<QLabel *>(QStringLiteral("info"))->text(), row.info);
            // The card boxes lie over the outer ends of the names, yellow in the red box's place
            // when there is no red card.
            QLineEdit *homeYellow = p.box(r, "cj1");
            QLineEdit *awayYellow = p.box(r, "cj2");
            const QRect home = p.row(r)->findChild<QWidget *>(QStringLiteral("home"))->geometry();
            const QRect away = p.row(r)->findChild<QWidget *>(QStringLiteral("away"))->geometry();
            if (homeYellow->isVisible()) {
                QVERIFY(home.contains(homeYellow->geometry().center()));
                QCOMPARE(homeYellow->x() < 5, row.cards[int(CardBox::HomeRed)].text.isEmpty());
            }
            if (awayYellow->isVisible()) {
                QVERIFY(away.contains(awayYellow->geometry().center()));
                QCOMPARE(awayYellow->geometry().right() > away.right() - 5,
                    row.cards[int(CardBox::AwayRed)].text.isEmpty());
            }
        }
    }
    void typedResultIsSavedAndTheTableFollows()
    {
        Program p;
        QVERIFY(p.open());
        const int lens = p.tableRowOf(QStringLiteral("Lens"));
        QCOMPARE(lens, 0);
        QCOMPARE(p.tableText(lens, TableColumn::Points), QStringLiteral("32"));
        QCOMPARE(p.tableText(lens, TableColumn::Played), QStringLiteral("13"));
        QVERIFY(!p.button(1)->isVisible());

        p.openMatchday(14);
        QVERIFY(p.label(QStringLiteral("gridHeader")).startsWith(QStringLiteral("Journée N°14")));
        // Row 2 of matchday 14: Nantes - Lens, not played yet.
        QCOMPARE(p.name(2, "home") + u'-' + p.name(2, "away"), QStringLiteral("Nantes-Lens"));
        QVERIFY(p.box(2, "r1")->text().isEmpty());

        p.type(p.box(2, "r1"), QStringLiteral("0"));
        QCOMPARE(p.controller->matchdays().grid().row(2).r1.text, QStringLiteral("0"));
        // "Valider" lights up with the first change.
        QVERIFY(p.button(1)->isVisible());
        p.type(p.box(2, "r2"), QStringLiteral("3"));
        p.type(p.box(2, "cj2"), QStringLiteral("2"));
        QCOMPARE(p.controller->matchdays().grid().row(2).r2.text, QStringLiteral("3"));
        QCOMPARE(p.controller->matchdays().grid().row(2).away.foreground, GridColours::Winner);

        p.click(p.button(1));
        QVERIFY(!p.button(1)->isVisible() && !p.controller->matchdays().grid().pending());

        // The store holds the record: home letter | CR1 | CJ1 | R1 | R2 | CJ2 | CR2 | away letter.
        const IniSnapshot store = IniSnapshot::fromFile(p.path(QStringLiteral("Resultats2027.ini")));
        const QStringList record
            = store.value(QStringLiteral("Resultats"), QStringLiteral("1402")).split(u'|');
        QCOMPARE(record.size(), 8);
        QCOMPARE(record.mid(3, 3),
            (QStringList { QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("2") }));
        QCOMPARE(record[7], p.controller->season().TeamLetterOf(QStringLiteral("Lens")));

        // The table follows at once: Lens has played 14 and has 35 points.
        QCOMPARE(p.tableRowOf(QStringLiteral("Lens")), 0);
        QCOMPARE(p.tableText(0, TableColumn::Points), QStringLiteral("35"));
        QCOMPARE(p.tableText(0, TableColumn::Played), QStringLiteral("14"));
        QCOMPARE(p.label(QStringLiteral("leaderText")), ScreenText(p.controller->standings().table().leaderText()));
    }
    void typingInTheGrid()
    {
        Program p;
        QVERIFY(p.open());
        p.openMatchday(14);
        p.click(p.box(0, "r1"));
        QLineEdit *yellow = p.box(0, "cj1");
        QVERIFY(yellow->isVisible());
        p.type(yellow, QStringLiteral("12"));
        QCOMPARE(p.controller->matchdays().grid().row(0).cards[int(CardBox::HomeYellow)].text, QStringLiteral("1"));
        QCOMPARE(yellow->text(), QStringLiteral("1"));
        QVERIFY(yellow->hasFocus());
        QVERIFY(p.button(1)->isVisible());

        // A click on a typed score selects it and shows the row's cards.
        QLineEdit *home = p.box(1, "r1");
        for (const char *card : { "cr1", "cj1", "cj2", "cr2" })
            QVERIFY(!p.box(1, card)->isVisible());
        p.type(home, QStringLiteral("12"));
        p.click(home);
        QCOMPARE(home->selectedText(), QStringLiteral("12"));
        for (const char *card : { "cr1", "cj1", "cj2", "cr2" })
            QVERIFY2(p.box(1, card)->isVisible(), card);
        // Typing replaces the selected score.
        QTest::keyClicks(home, QStringLiteral("4"));
        QCOMPARE(p.controller->matchdays().grid().row(1).r1.text, QStringLiteral("4"));
        // The names show the result colours and weights the model gives.
        QCOMPARE(p.controller->matchdays().grid().row(1).home.foreground, GridColours::Winner);
        QVERIFY(p.controller->matchdays().grid().row(1).home.bold);

        // Tab goes through a row, then to the next one.
        p.click(p.box(3, "r1"));
        QVERIFY(p.box(3, "r1")->hasFocus());
        for (const char *next : { "r2", "cj1", "cr1", "cj2", "cr2" }) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(p.box(3, next)->hasFocus(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(p.box(4, "r1")->hasFocus());
    }
    void teamNameShowsItsSeason()
    {
        Program p;
        QVERIFY(p.open());
        QVERIFY(p.tableRowOf(QStringLiteral("Marseille")) >= 0);
        p.clickTable(QStringLiteral("Marseille"), TableColumn::Name);

        QVERIFY(!p.controller->matchdays().matchdayPanel());
        QCOMPARE(p.controller->matchdays().grid().matchday, 0);
        QVERIFY(p.label(QStringLiteral("gridHeader")).contains(QStringLiteral("Marseille")));
        QVERIFY(p.window->gridPanel()->isVisible());
        // The day's totals belong to the matchday view.
        QVERIFY(!p.find(QStringLiteral("gridTotals"))->isVisible());
        int shown = 0;
        for (int r = 0; r < GridRowCount; ++r) {
            if (!p.row(r)->isVisible())
                continue;
            ++shown;
            QVERIFY(p.name(r, "home") == QStringLiteral("Marseille")
                || p.name(r, "away") == QStringLiteral("Marseille"));
            QCOMPARE(p.row(r)->findChild<QLabel *>(QStringLiteral("info"))->text(),
                p.controller->matchdays().grid().row(r).info);
        }
        QCOMPARE(shown, 34);

        // The grid scrolls to reach the last fixture.
        QScrollArea *scroll = p.find<QScrollArea>(QStringLiteral("gridScroll"));
        QTRY_VERIFY(scroll->verticalScrollBar()->maximum() > 0);
        scroll->ensureWidgetVisible(p.row(33));
        QVERIFY(!p.row(33)->visibleRegion().isEmpty());

        // Another team: the grid starts again at its first row.
        p.clickTable(QStringLiteral("Lens"), TableColumn::Name);
        QVERIFY(p.label(QStringLiteral("gridHeader")).contains(QStringLiteral("Lens")));
        QCOMPARE(scroll->verticalScrollBar()->value(), 0);

        // A click elsewhere in the table opens nothing.
        const QString header = p.controller->matchdays().grid().header;
        p.clickTable(QStringLiteral("Lens"), TableColumn::Points);
        QCOMPARE(p.controller->matchdays().grid().header, header);
    }
    void calendarHoverLockAndClick()
    {
        Program p;
        QVERIFY(p.open());
        const CalendarModel &calendar = p.controller->matchdays().calendar();
        QCOMPARE(p.find(QStringLiteral("month1"))->accessibleName(), QStringLiteral("Septembre 2026"));

        // The pointer over September shows its matchdays.
        QWidget *september = p.find(QStringLiteral("month1"));
        QTest::mouseMove(september, september->rect().center());
        QCOMPARE(calendar.shownMonth, 1);
        QCOMPARE(calendar.months[1].background, CalendarColours::Shown);
        int shown = 0;
        for (int k = 0; k < CalendarModel::DayCount; ++k) {
            QWidget *day = p.find(QStringLiteral("calendarDay%1").arg(k));
            QCOMPARE(day->isVisible(), calendar.days[k].visible);
            if (!calendar.days[k].visible)
                continue;
            ++shown;
            QCOMPARE(day->accessibleName(), calendar.days[k].caption);
        }
        QVERIFY(shown >= 3);

        // A click keeps the month: the lock is ticked and another month no longer follows the pointer.
        p.click(september);
        auto *lock = p.find<QCheckBox>(QStringLiteral("calendarLock"));
        QVERIFY(calendar.locked && lock->isChecked());
        QWidget *march = p.find(QStringLiteral("month7"));
        QTest::mouseMove(march, march->rect().center());
        QCOMPARE(calendar.shownMonth, 1);

        // A matchday of the month opens in the grid.
        const int matchday = calendar.days[0].matchday;
        p.click(p.find(QStringLiteral("calendarDay0")));
        QCOMPARE(p.controller->matchdays().grid().matchday, matchday);
        QVERIFY(
            p.label(QStringLiteral("gridHeader")).startsWith(QStringLiteral("Journée N°%1:").arg(matchday)));

        // The box itself unlocks.
        p.click(lock);
        QVERIFY(!calendar.locked && !lock->isChecked());
        QTest::mouseMove(march, march->rect().topLeft() + QPoint(3, 3));
        QCOMPARE(calendar.shownMonth, 7);
    }
    void cardReportOpensAndCloses()
    {
        Program p;
        QVERIFY(p.open());
        QWidget *report = p.find(QStringLiteral("cardReport"));
        QVERIFY(!report->isVisible());
        p.click(p.find(QStringLiteral("goalsSummary")));
        QVERIFY(report->isVisible());
        const QString text = p.label(QStringLiteral("cardReportText"));
        QCOMPARE(text, ScreenText(p.controller->matchdays().cardReport()));
        QVERIFY(text.startsWith(QStringLiteral("Jour 01: Cj:")));
        QVERIFY(text.contains(QStringLiteral("\nCumul CR ")));
        // Inside the window, clear of the grid.
        QVERIFY(p.inside(report));
        p.click(report);
        QVERIFY(!report->isVisible());
    }
    void closingWithUnsavedEntriesAsks()
    {
        Program p;
        QVERIFY(p.open());
        p.openMatchday(14);
        p.type(p.box(0, "r1"), QStringLiteral("2"));
        p.type(p.box(0, "r2"), QStringLiteral("2"));

        // "Quitter" then Cancel: the window goes on and shows what its models now hold.
        p.click(p.button(Btn::Quit));
        QVERIFY(p.window->isVisible() && !p.controller->quitting());
        QVERIFY(!p.controller->download().news().visible && !p.shown(QStringLiteral("introFrame")));
        QVERIFY(p.shown(QStringLiteral("columnTitles")));
        // The close box and Cancel keep the window and the entries.
        p.dialogs.shown.clear();
        QVERIFY(!p.window->close() && p.window->isVisible());
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].kind, QStringLiteral("yesnocancel"));
        QVERIFY(p.dialogs.shown[0].text.contains(QStringLiteral("n'ont pas été enregistrés")));
        QCOMPARE(p.box(0, "r1")->text(), QStringLiteral("2"));

        // Yes saves them, then the window closes.
        p.dialogs.threeWayAnswers = { Answer::Yes };
        QVERIFY(p.window->close());
        const IniSnapshot store = IniSnapshot::fromFile(p.path(QStringLiteral("Resultats2027.ini")));
        QCOMPARE(store.value(QStringLiteral("Resultats"), QStringLiteral("1400")).split(u'|').value(3),
            QStringLiteral("2"));
    }
};

QTEST_MAIN(TestMatchdays)
#include "tst_ui_matchdays.moc"

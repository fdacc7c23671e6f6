// The team sheet and the summary panel in the window, offscreen: the clicks and the pointer reach
// the controller, and the widgets show what the models hold.
#include "UiTestKit.h"
#include "matchdays/FixtureGridPanel.h"
#include "teamviews/ChartBars.h"
#include "teamviews/MovementIcons.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>

#include <QListWidget>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

class TestUiTeamViews : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InstallAccessibility(); }
    void sheetFromTheButtonBar()
    {
        WindowProgram p;
        QVERIFY(p.open());
        p.click(p.button(Btn::Teams));
        QVERIFY(p.shown(QStringLiteral("sheetPanel")));
        QVERIFY(p.inside(p.find(QStringLiteral("sheetPanel"))));
        QCOMPARE(p.label(QStringLiteral("sheetCaption0")), QStringLiteral("Lens"));
        QCOMPARE(p.label(QStringLiteral("sheetCaption7")), QStringLiteral("Points: 32"));
        QCOMPARE(p.find(QStringLiteral("sheetRow0"))->accessibleName(),
            QStringLiteral("J1 21 08 26 Lens 2 - 1 Strasbourg"));

        // Another club from the list fills the page again.
        auto *clubs = p.find<QListWidget>(QStringLiteral("clubList"));
        QCOMPARE(clubs->currentItem()->text(), QStringLiteral("Lens"));
        QTest::mouseClick(
            clubs->viewport(), Qt::LeftButton, {}, clubs->visualItemRect(clubs->item(1)).center());
        QCOMPARE(p.label(QStringLiteral("sheetCaption0")), QStringLiteral("Marseille"));

        // The pointer over a name marks that club's rows.
        QWidget *row = p.find(QStringLiteral("sheetRow0"));
        QTest::mouseMove(row, QPoint(row->width() - 20, row->height() / 2));
        const TeamSheetModel &sheet = p.controller->teamViews().sheet();
        QCOMPARE(sheet.rows[0].away.background, SheetColours::Marked);

        p.click(p.button(Btn::PrintTeamSheet));
        QVERIFY(p.dialogs.shown.last().text.startsWith(QStringLiteral("Aucune imprimante")));
        p.click(p.button(Btn::CloseTeamSheet));
        QVERIFY(!p.shown(QStringLiteral("sheetPanel")));
    }

    void summaryFollowsThePointer()
    {
        WindowProgram p;
        QVERIFY(p.open());
        TeamViewsController &t = p.controller->teamViews();
        QCOMPARE(p.label(QStringLiteral("summaryName")), QStringLiteral("Lens"));
        QVERIFY(p.shown(QStringLiteral("crestBanner")));

        // A crest of the banner, once in view, stops it and shows its club.
        for (int k = 0; k < 100; ++k)
            t.bannerTick();
        QWidget *strip = p.find(QStringLiteral("crestBanner"));
        const CrestBannerModel &banner = t.banner();
        QTest::mouseMove(strip, QPoint((banner.stripLeft + banner.lefts[0]) / 15 + 5, strip->height() / 2));
        QVERIFY(!t.bannerRunning());
        QCOMPARE(p.label(QStringLiteral("summaryName")), banner.crests[0]);

        // A team of the fixture grid, then the leader's box.
        QWidget *away = p.window->gridPanel()->row(0)->findChild<QWidget *>(QStringLiteral("away"));
        QTest::mouseMove(away, away->rect().center());
        const QString awayTeam = p.controller->matchdays().grid().row(0).away.text;
        QCOMPARE(p.label(QStringLiteral("summaryName")), awayTeam);
        // Only a running banner is ended by a name of the grid: the paused one waits.
        QVERIFY(p.shown(QStringLiteral("crestBanner")) && !t.bannerRunning());
        p.click(p.find(QStringLiteral("leaderText")));
        QCOMPARE(p.label(QStringLiteral("summaryName")), QStringLiteral("Lens"));
        QCOMPARE(p.label(QStringLiteral("summaryWon")), QStringLiteral("Matches Gagnés: 10 (Dom:6) (Ext:4)"));

        // The last update's date brings the banner back.
        p.click(p.find(QStringLiteral("lastUpdate")));
        QVERIFY(t.bannerRunning());
        QTRY_VERIFY(p.shown(QStringLiteral("crestBanner")));
    }

    void chartPanel()
    {
        WindowProgram p;
        QVERIFY(p.open());
        p.click(p.button(Btn::Chart));
        QVERIFY(p.shown(QStringLiteral("chartPanel")) && p.inside(p.find(QStringLiteral("chartPanel"))));
        QCOMPARE(p.label(QStringLiteral("chartTitle")), QStringLiteral("Evolution du classement de : Lens"));
        // The bars stand on one line, the first place's the tallest; none after the launch date.
        auto *bars = p.find<ChartBars>(QStringLiteral("chartBars"));
        QCOMPARE(bars->barRect(12).bottom(), bars->barRect(0).bottom());
        QVERIFY(bars->barRect(12).height() > bars->barRect(0).height());
        QVERIFY(bars->barRect(13).isEmpty());
        QVERIFY(bars->accessibleDescription().startsWith(QStringLiteral("J1 : ")));
        // The arrow keys choose a club in the list.
        auto *clubs = p.find<QListWidget>(QStringLiteral("chartClubs"));
        clubs->setFocus(Qt::TabFocusReason);
        QTest::keyClick(clubs, Qt::Key_Down);
        QCOMPARE(p.label(QStringLiteral("chartTitle")), QStringLiteral("Evolution du classement de : Brest"));
        p.click(p.button(Btn::ChartTeam));
        QCOMPARE(p.label(QStringLiteral("sheetCaption0")), QStringLiteral("Brest"));
        p.click(p.button(Btn::CloseTeamSheet));
        p.click(p.button(Btn::PrintChart));
        QVERIFY(p.dialogs.shown.last().text.startsWith(QStringLiteral("Aucune imprimante")));
        p.click(p.button(Btn::CloseChart));
        QVERIFY(!p.shown(QStringLiteral("chartPanel")) && p.shown(QStringLiteral("progressBar")));

        p.click(p.button(Btn::Rankings));
        p.click(p.button(Btn::Highlights));
        QWidget *highlights = p.find(QStringLiteral("highlightsPanel"));
        QVERIFY(highlights->isVisible() && p.inside(highlights));
        QCOMPARE(p.label(QStringLiteral("highlight0")), QStringLiteral("Nice-Monaco le 28/08/2026: 7 (2 à 5)"));
        p.click(p.button(Btn::CloseHighlights));
        QVERIFY(!p.shown(QStringLiteral("highlightsPanel")));
    }

    void movementIconsFromTheKeyboard()
    {
        WindowProgram p;
        QVERIFY(p.open());
        QApplication::setActiveWindow(p.window.get());
        auto *icons = p.find<MovementIcons>(QStringLiteral("movementIcons"));
        const LeagueTableModel &table = p.controller->standings().table();
        const QString second = table.cell(1, TableColumn::Name).text;
        MovementIcon *icon = icons->icon(1);
        QCOMPARE(icon->toolTip(), table.movement(1).text);
        QVERIFY(!icon->toolTip().isEmpty());
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(icon);
        QVERIFY(a && a->role() == QAccessible::Button);
        QVERIFY(a->text(QAccessible::Name).startsWith(second + QStringLiteral(" : ")));
        // Reached by Tab it is the pointer over its row; Enter opens the club's sheet.
        icons->icon(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(icons->icon(0), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), icon);
        QCOMPARE(p.label(QStringLiteral("summaryName")), second);
        QTest::keyClick(icon, Qt::Key_Return);
        QVERIFY(p.shown(QStringLiteral("sheetPanel")));
        QCOMPARE(p.label(QStringLiteral("sheetCaption0")), second);
    }
};

QTEST_MAIN(TestUiTeamViews)
#include "tst_ui_teamviews.moc"

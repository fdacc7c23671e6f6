// The team sheet and the summary panel in the window, offscreen: the clicks and the pointer reach
// the controller, and the widgets show what the models hold.
#include "UiTestKit.h"
#include "matchdays/FixtureGridPanel.h"

#include <QListWidget>
#include <QTest>

using namespace kestrava;
using namespace kestrava::uitest;

class TestUiTeamViews : public QObject
{
    Q_OBJECT
private slots:
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
        QVERIFY(!p.shown(QStringLiteral("crestBanner")));
        p.click(p.find(QStringLiteral("leaderText")));
        QCOMPARE(p.label(QStringLiteral("summaryName")), QStringLiteral("Lens"));
        QCOMPARE(p.label(QStringLiteral("summaryWon")), QStringLiteral("Matches Gagnés: 10 (Dom:6) (Ext:4)"));

        // The last update's date brings the banner back.
        p.click(p.find(QStringLiteral("lastUpdate")));
        QVERIFY(t.bannerRunning());
        QTRY_VERIFY(p.shown(QStringLiteral("crestBanner")));
    }
};

QTEST_MAIN(TestUiTeamViews)
#include "tst_ui_teamviews.moc"

// What lies beside the league table, driven as a person drives the window: the rankings menu, the
// matchday number list, the bonus/malus list and the work list of the last run.
#include "TestProgram.h"

#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {
using Program = TestProgram;
constexpr Rgb Yellow{255, 255, 0};
constexpr Rgb Green{0, 192, 0};
} // namespace

class TestStandingsController : public QObject
{
    Q_OBJECT
private slots:
    void rankingsMenuAndMatchdayTables()
    {
        Program p;
        MainController &c = p.start();
        StandingsController &s = c.standings();
        c.clickButton(Btn::Rankings);
        QVERIFY(s.panels().rankingsMenu);
        c.clickButton(Btn::Rankings);
        QVERIFY(!s.panels().rankingsMenu);

        c.clickButton(Btn::Rankings);
        s.clickMatchdayNumber(5); // the list is not shown: nothing happens
        QVERIFY(s.table().title().isEmpty());
        c.clickButton(Btn::Highlights);
        QVERIFY(c.chart().highlights().visible);
        c.clickButton(Btn::MatchdayTables);
        QVERIFY(!c.chart().highlights().visible);
        const auto &e = s.matchdayList().entries;
        QVERIFY(s.matchdayList().shown() && !s.panels().formGuide);
        for (int n = 1; n <= 34; ++n)
            QVERIFY2(e[n].visible && e[n].foreground == (n > 13 ? Yellow : Green), qPrintable(QString::number(n)));
        s.clickMatchdayNumber(5);
        QCOMPARE(s.table().title(), QStringLiteral("Classement à la Journée N°5"));
        QVERIFY(s.panels().rankingsMenu);
        for (int r = 0; r < TeamCount; ++r)
            QVERIFY(s.table().cell(r, TableColumn::Played).text.toInt() <= 5);
        // Only the whole season builds the games-in-hand message.
        QVERIFY(!s.table().gamesInHandVisible());

        c.clickButton(Btn::MatchdayTables); // again: unchanged
        c.clickButton(Btn::CloseRankings);  // the menu's "Fermer" keeps the list and recomputes
        QVERIFY(s.matchdayList().shown() && !s.panels().rankingsMenu && s.table().title().isEmpty());
        QVERIFY(s.table().gamesInHandVisible());
        c.clickButton(Btn::Rankings); // any other button removes it
        QVERIFY(!s.matchdayList().shown());
    }
    void beforeTheSeasonEveryNumberIsYellow()
    {
        Program p;
        p.clock.set(QDateTime(QDate(2026, 7, 15), QTime(10, 0)));
        MainController &c = p.start();
        c.clickButton(Btn::MatchdayTables);
        QCOMPARE(c.session().currentMatchday, 0);
        QCOMPARE(c.standings().matchdayList().entries[1].foreground, Yellow);
    }
    void bonusList_data()
    {
        QTest::addColumn<QString>("bonMal");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("malus") << QStringLiteral("Q=-1") << QStringList{QStringLiteral("Paris FC: [ -1 ]")};
        QTest::newRow("bonus with a fraction") << QStringLiteral("A=2.5\r\nQ=-1")
                                               << QStringList{QStringLiteral("Paris SG: [ +2,5 ]"),
                                                              QStringLiteral("Paris FC: [ -1 ]")};
        QTest::newRow("zero and empty values") << QStringLiteral("A=0\r\nB=") << QStringList{};
    }
    void bonusList()
    {
        QFETCH(QString, bonMal);
        Program p(Program::Empty);
        p.setStore("[BonMal]\r\n" + bonMal.toLatin1() + "\r\n");
        MainController &c = p.start();
        StandingsController &s = c.standings();
        c.clickButton(Btn::BonusMalus);
        QVERIFY(s.panels().bonusList);
        QTEST(s.panels().bonusLines, "lines");
        s.clickBonusList(); // a click on the list or its button again closes it
        QVERIFY(!s.panels().bonusList);
        c.clickButton(Btn::BonusMalus);
        c.clickButton(Btn::BonusMalus);
        QVERIFY(!s.panels().bonusList);
    }
    void workList()
    {
        Program p;
        StandingsController &s = p.start().standings();
        s.clickLogo();
        QVERIFY(s.panels().workList);
        QCOMPARE(s.panels().workListLines.size(), TeamCount);
        // Ascending order: the leader is last.
        QVERIFY(s.panels().workListLines.last().contains(QStringLiteral("|Lens|")));
        s.clickWorkList();
        QVERIFY(!s.panels().workList);
    }
};

QTEST_GUILESS_MAIN(TestStandingsController)
#include "tst_standings_controller.moc"

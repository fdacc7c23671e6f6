// The standings controller beyond the table run: ranking categories, reachable positions and the
// champion, the second-club lock, the rank click, the row hover and the tracking aids. The category
// and reachable rules run on tables filled by hand, every expected order worked out by hand.
#include "TestProgram.h"
#include "standings/PossibleRanking.h"
#include "standings/RankingCategory.h"

#include <QSignalSpy>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using C = TableColumn;

const QStringList Names = { "Alpha", "Bravo", "Charlie", "Delta" };

// Rows given as "name=value/points" for a category (a value "2+3" fills the two cells of wins or
// losses, home first); the other rows hold the category's worst figure and no point.
void fillForCategory(LeagueTableModel &t, const RankingCategory &cat, const QStringList &rows)
{
    const QString worst = QString::number(cat.lowerIsBetter ? 450 : cat.keyBase ? -400 : 0);
    for (int r = 0; r < TeamCount; ++r) {
        for (int c = 0; c < ColumnCount; ++c)
            t.setText(r, C(c), QStringLiteral("0"));
        const QString spec = r < rows.size() ? rows[r] : QStringLiteral("Zulu%1=%2/0").arg(r).arg(worst);
        t.setText(r, C::Name, spec.section(u'=', 0, 0));
        const QString value = spec.section(u'=', 1).section(u'/', 0, 0);
        t.setText(r, C::Points, spec.section(u'/', 1));
        for (int i = 0; i < cat.columns.size(); ++i)
            t.setText(
                r, cat.columns[i], value.section(u'+', i, i).isEmpty() ? worst : value.section(u'+', i, i));
    }
}

// Rows given as "points/goal difference/goals scored/played"; the others score nothing and have
// no match left.
void fillForReachable(LeagueTableModel &t, const QStringList &rows)
{
    for (int r = 0; r < TeamCount; ++r) {
        const QString spec = r < rows.size() ? rows[r] : QStringLiteral("0/0/0/34");
        t.setText(r, C::Name, r < Names.size() ? Names[r] : QStringLiteral("Zulu%1").arg(r));
        t.setText(r, C::Points, spec.section(u'/', 0, 0));
        t.setText(r, C::GoalDifference, spec.section(u'/', 1, 1));
        t.setText(r, C::GoalsFor, spec.section(u'/', 2, 2));
        t.setText(r, C::Played, spec.section(u'/', 3, 3));
    }
}

QStringList firstRows(const LeagueTableModel &t, int n)
{
    QStringList out;
    for (int r = 0; r < n; ++r)
        out << t.rankText(r) + u' ' + t.cell(r, C::Name).text;
    return out;
}

} // namespace

class TstRankings : public QObject
{
    Q_OBJECT
private slots:
    void category_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("equal statistic shares a rank, more points first")
            << "BC" << QStringList { "Alpha=10/20", "Bravo=10/25", "Charlie=12/40", "Delta=9/5" }
            << QStringList { "1 Delta", "2 Bravo", "2 Alpha", "4 Charlie" };
        QTest::newRow("full tie: the later name first")
            << "FP" << QStringList { "Alpha=10/20", "Bravo=10/20" } << QStringList { "1 Bravo", "1 Alpha" };
        QTest::newRow("a malus at -3 points sorts last")
            << "BP" << QStringList { "Alpha=30/-3", "Bravo=30/0", "Charlie=30/12" }
            << QStringList { "1 Charlie", "1 Bravo", "1 Alpha" };
        QTest::newRow("wins: home and away added")
            << "MG" << QStringList { "Alpha=3+1/10", "Bravo=2+2/12", "Charlie=0+5/3" }
            << QStringList { "1 Charlie", "2 Bravo", "2 Alpha" };
        QTest::newRow("losses: fewest first")
            << "MP" << QStringList { "Alpha=0+3/9", "Bravo=1+1/5" } << QStringList { "1 Bravo", "2 Alpha" };
        QTest::newRow("goal average below zero")
            << "GA" << QStringList { "Alpha=-5/10", "Bravo=3/1" } << QStringList { "1 Bravo", "2 Alpha" };
    }
    void category()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        const RankingCategory *cat = CategoryOf(code);
        QVERIFY(cat);
        LeagueTableModel t;
        fillForCategory(t, *cat, rows);
        t.cell(3, C::Name).tooltip = QStringLiteral("Qualifié 3eme tour pour non champions Champions league");
        ShowRankingCategory(t, *cat, QStringLiteral("Alpha"));
        QCOMPARE(firstRows(t, expected.size()), expected);
        // Chosen again, the same order: the key holds only cell values and names.
        ShowRankingCategory(t, *cat, QStringLiteral("Alpha"));
        QCOMPARE(firstRows(t, expected.size()), expected);

        QCOMPARE(t.title(), QString::fromUtf8(cat->title));
        QCOMPARE(t.leaderText(), t.cell(0, C::Name).text);
        QCOMPARE(t.sortColumns(), cat->columns);
        for (int r = 0; r < TeamCount; ++r) {
            const TableCell &name = t.cell(r, C::Name);
            QCOMPARE(name.background, name.text == u"Alpha" ? Colours::Favourite : Colours::White);
            QVERIFY(name.tooltip.isEmpty());
            QCOMPARE(t.cell(r, C::Played).background, Colours::White);
            for (const C c : { C::GoalsAgainst, C::AwayWins, C::Draws }) {
                const Rgb normal = c == C::Draws ? Colours::LightGrey
                    : c == C::AwayWins           ? Colours::LightGreen
                                                 : Colours::LightOrange;
                QCOMPARE(t.cell(r, c).background, cat->columns.contains(c) ? Colours::Favourite : normal);
            }
        }
    }
    void reachable_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("positions");
        QTest::addColumn<QString>("champion");
        QStringList empty;
        for (int r = 0; r < TeamCount; ++r)
            empty << QStringLiteral("0/0/0/0");
        QTest::newRow("nothing played") << empty << QString(18, u'1') << QString();
        QTest::newRow("80 against 70 with 3 left") << QStringList { "80/40/60/34", "70/30/50/31" } << "12"
                                                   << "Alpha";
        QTest::newRow("only the second row counts")
            << QStringList { "80/40/60/34", "70/30/50/31", "60/10/40/27" } << "121"
            << "Alpha";
        QTest::newRow("level points, goals scored fall short")
            << QStringList { "50/10/30/34", "50/10/29/34" } << "12"
            << "Alpha";
        QTest::newRow("level on every decimal")
            << QStringList { "50/10/30/34", "50/10/30/34" } << "11" << QString();
        QTest::newRow("a fraction of a point decides") << QStringList { "6,5/0/0/34", "6/0/0/34" } << "12"
                                                       << "Alpha";
        QTest::newRow("more matches than a season")
            << QStringList { "5/0/0/34", "5/0/0/40" } << "11" << QString();
    }
    void reachable()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, positions);
        LeagueTableModel t;
        fillForReachable(t, rows);
        t.cell(1, C::Name).background = Zones::Champions;
        ShowPossibleRanking(t);
        QString shown;
        for (int r = 0; r < positions.size(); ++r)
            shown += t.reachableCell(r).text;
        QCOMPARE(shown, positions);
        QVERIFY(t.possibleRankingVisible());
        QTEST(ChampionOf(t), "champion");
        // Each cell in the colour of the name cell of the position it shows.
        for (int r = 0; r < positions.size(); ++r)
            QCOMPARE(t.reachableCell(r).background,
                t.cell(t.reachableCell(r).text.toInt() - 1, C::Name).background);
    }

    void possibleRankingToggle()
    {
        TestProgram p;
        MainController &c = p.start();
        LeagueTableModel &t = c.standings().table();
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(t.possibleRankingVisible());
        // Thirteen matchdays played: everybody can still be first, nobody is champion.
        QCOMPARE(t.reachableCell(17).text, QStringLiteral("1"));
        QCOMPARE(t.reachableCell(17).background, Zones::Champions);
        QVERIFY(p.dialogs.shown.isEmpty());
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(!t.possibleRankingVisible());

        // From a category view the general table comes back first.
        c.clickButton(Btn::BestDefence);
        QCOMPARE(t.cell(0, C::Name).text, QStringLiteral("Strasbourg"));
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(t.possibleRankingVisible() && t.title().isEmpty());
        QCOMPARE(t.cell(0, C::Name).text, QStringLiteral("Lens"));
        // A matchday table keeps it on; a category or a table run switches it off.
        c.clickButton(Btn::MatchdayTables);
        c.standings().clickMatchdayNumber(5);
        QVERIFY(t.possibleRankingVisible());
        QCOMPARE(t.title(), QStringLiteral("Classement à la Journée N°5"));
        c.clickButton(Btn::MatchesDrawn);
        QVERIFY(!t.possibleRankingVisible());
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(t.possibleRankingVisible() && t.title().isEmpty());
        c.clickButton(Btn::GeneralTable);
        QVERIFY(!t.possibleRankingVisible());
    }
    void championAtEverySwitchOn()
    {
        TestProgram p(TestProgram::Empty);
        p.setStore("[Resultats]\r\n[BonMal]\r\nC=200\r\n");
        MainController &c = p.start();
        const QString leader = c.season().teams[2];
        for (int i = 0; i < 2; ++i) {
            c.clickButton(Btn::PossibleRanking);
            c.clickButton(Btn::PossibleRanking);
        }
        QCOMPARE(p.dialogs.shown.size(), 2);
        QCOMPARE(p.dialogs.shown[1].text, leader + QStringLiteral(" est champion de Ligue 1 2027 !!!"));
        QCOMPARE(p.dialogs.shown[1].title, QStringLiteral("Félicitations !!!"));
        QCOMPARE(p.dialogs.shown[1].icon, MessageIcon::Information);
    }

    void secondClubLock()
    {
        TestProgram p;
        MainController &c = p.start();
        StandingsController &s = c.standings();
        const FixtureGridModel &grid = c.matchdays().grid();
        QVERIFY(!s.panels().secondClubLockShown);
        s.clickTableRow(7); // Lyon
        QVERIFY(s.panels().secondClubLockShown && !s.panels().secondClubLock);
        s.setSecondClubLock(true);
        auto marked = [&] {
            QStringList names;
            for (int r = 0; r < GridRowCount; ++r) {
                for (const NameBox *b : { &grid.row(r).home, &grid.row(r).away }) {
                    if (b->background == Colours::SecondClub)
                        names << b->text;
                }
            }
            return names;
        };
        for (const int row : { 9, 10 }) {
            const QString second = s.table().cell(row, C::Name).text;
            s.clickTableRow(row);
            // The grid keeps Lyon's season and marks both meetings with the second club alone.
            QCOMPARE(grid.header, QStringLiteral(" Ligue 1 (2026 - 2027) Lyon N°8"));
            QCOMPARE(marked(), QStringList(2, second));
            QCOMPARE(c.matchdays().sheetTeam(), second);
            QCOMPARE(s.table().cell(row, C::Name).background, Colours::SecondClub);
        }
        // A matchday of the calendar clears the lock.
        c.matchdays().clickCalendarDay(0);
        QVERIFY(!s.panels().secondClubLock && s.panels().secondClubLockShown);
    }
    void rankAndHoverSignals()
    {
        TestProgram p;
        StandingsController &s = p.start().standings();
        QSignalSpy sheet(&s, &StandingsController::teamSheetRequested);
        QSignalSpy hovered(&s, &StandingsController::rowHovered);
        s.clickRankNumber(3);
        s.hoverTableRow(0);
        QCOMPARE(sheet.size(), 1);
        QCOMPARE(sheet[0][0].toString(), s.table().cell(3, C::Name).text);
        QCOMPARE(hovered.size(), 1);
        QCOMPARE(hovered[0][0].toString(), QStringLiteral("Lens"));
    }

    void trackingAid_data()
    {
        QTest::addColumn<bool>("option");
        QTest::addColumn<QStringList>("steps"); // "row,column" hovers (column 0: the name), or an event
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("hovers");
        QTest::newRow("along a row the column rules move")
            << true << QStringList { "3,1", "3,2" } << 3 << 2 << 3 << 2;
        QTest::newRow("down a column only the row rules move")
            << true << QStringList { "3,1", "6,1", "7,1" } << 7 << 1 << 4 << 3;
        QTest::newRow("a name frames the row only") << true << QStringList { "5,0" } << 5 << -1 << 1 << 1;
        QTest::newRow("option off: no rules, figures say nothing")
            << false << QStringList { "3,0", "3,1" } << -1 << -1 << 0 << 1;
        QTest::newRow("the bare window hides the column rules, the column brings them back")
            << true << QStringList { "3,1", "window", "3,1" } << 3 << 1 << 4 << 2;
        QTest::newRow("switching the option off takes the rules away")
            << true << QStringList { "3,1", "off" } << -1 << -1 << 4 << 1;
    }
    void trackingAid()
    {
        QFETCH(bool, option);
        QFETCH(QStringList, steps);
        TestProgram p;
        MainController &c = p.start();
        StandingsController &s = c.standings();
        c.options().setCheck(6, option ? 1 : 0);
        QCOMPARE(s.trackingAid(), option);
        QSignalSpy changes(&s.tracking(), &TableTrackingModel::changed);
        QSignalSpy hovers(&s, &StandingsController::rowHovered);
        for (const QString &step : steps) {
            if (step == u"window")
                c.hoverWindow();
            else if (step == u"off")
                c.options().setCheck(6, 0);
            else if (const int column = step.section(u',', 1).toInt(); column == 0)
                s.hoverTableRow(step.section(u',', 0, 0).toInt());
            else
                s.hoverTableCell(step.section(u',', 0, 0).toInt(), C(column));
        }
        QTEST(s.tracking().ruledRow(), "row");
        const bool column = s.tracking().group() != TableTrackingModel::Group::None;
        QTEST(column ? int(s.tracking().ruledColumn()) : -1, "column");
        QTEST(int(changes.size()), "changes");
        QTEST(int(hovers.size()), "hovers");
    }
    void trackingAidRestoredAtStartUp()
    {
        TestProgram p;
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C6"), QStringLiteral("1"));
        QVERIFY(p.start().standings().trackingAid());
    }
};

QTEST_GUILESS_MAIN(TstRankings)
#include "tst_rankings.moc"

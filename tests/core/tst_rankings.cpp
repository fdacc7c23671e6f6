// The standings controller beyond the table run: ranking categories, reachable positions and the
// champion, the second-club lock, the row hover and the tracking aids. The category and reachable
// rules run on tables filled by hand, every expected order worked out by hand.
#include "TestProgram.h"
#include "standings/PossibleRanking.h"
#include "standings/RankingCategory.h"

#include <QSignalSpy>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using C = TableColumn;

// Row r holds the space-separated texts of rows[r] in `columns`; the other rows hold `filler`.
void fill(LeagueTableModel &t, const QList<C> &columns, const QStringList &rows, const QString &filler)
{
    for (int r = 0; r < TeamCount; ++r) {
        const QString text = r < rows.size() ? rows[r] : QStringLiteral("Zulu%1 ").arg(r) + filler;
        const QStringList texts = text.split(u' ');
        for (int i = 0; i < columns.size(); ++i)
            t.setText(r, columns[i], texts.value(i));
    }
}

} // namespace

class TstRankings : public QObject
{
    Q_OBJECT
private slots:
    void category_data()
    {
        // Rows: name, points, then the statistic (home, then away for wins and losses).
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("expected");
        QTest::newRow("equal statistic shares a rank, more points first") << "BC"
            << "Alpha 20 10;Bravo 25 10;Charlie 40 12;Delta 5 9" << "1 Delta;2 Bravo;2 Alpha;4 Charlie";
        QTest::newRow("full tie: the later name first") << "FP" << "Alpha 20 10;Bravo 20 10"
            << "1 Bravo;1 Alpha";
        QTest::newRow("a malus at -3 points sorts last") << "BP" << "Alpha -3 30;Bravo 0 30;Charlie 12 30"
            << "1 Charlie;1 Bravo;1 Alpha";
        QTest::newRow("wins: home and away added") << "MG" << "Alpha 10 3 1;Bravo 12 2 2;Charlie 3 0 5"
            << "1 Charlie;2 Bravo;2 Alpha";
        QTest::newRow("losses: fewest first") << "MP" << "Alpha 9 0 3;Bravo 5 1 1" << "1 Bravo;2 Alpha";
        QTest::newRow("goal average below zero") << "GA" << "Alpha 10 -5;Bravo 1 3" << "1 Bravo;2 Alpha";
    }
    void category()
    {
        QFETCH(QString, code);
        QFETCH(QString, rows);
        const RankingCategory *cat = CategoryOf(code);
        QVERIFY(cat);
        // The other rows hold the worst figure of the category and no point.
        const int worst = cat->lowerIsBetter ? 450 : cat->keyBase ? -400 : 0;
        LeagueTableModel t;
        const int n = rows.count(u';') + 1;
        fill(t, QList<C> { C::Name, C::Points } + cat->columns, rows.split(u';'),
            QStringLiteral("0 %1 %1").arg(worst));
        t.cell(3, C::Name).tooltip = QStringLiteral("Qualifié 3eme tour pour non champions Champions league");
        // Chosen twice, the same order: the key holds only cell values and names.
        for (int i = 0; i < 2; ++i) {
            ShowRankingCategory(t, *cat, QStringLiteral("Alpha"));
            QStringList shown;
            for (int r = 0; r < n; ++r)
                shown << t.rankText(r) + u' ' + t.cell(r, C::Name).text;
            QTEST(shown.join(u';'), "expected");
        }
        QVERIFY(t.title() == QString::fromUtf8(cat->title) && t.leaderText() == t.cell(0, C::Name).text);
        // No zone colour nor tooltip; the favourite in yellow; the category's column(s) yellow.
        const Rgb yellow = Colours::Favourite;
        for (int r = 0; r < TeamCount; ++r) {
            const TableCell &name = t.cell(r, C::Name);
            QCOMPARE(name.background, name.text == u"Alpha" ? yellow : Colours::White);
            QVERIFY(name.tooltip.isEmpty());
            QCOMPARE(t.cell(r, C::Played).background, Colours::White);
            QCOMPARE(t.cell(r, C::GoalsAgainst).background, code == u"BC" ? yellow : Colours::LightOrange);
            QCOMPARE(t.cell(r, C::AwayWins).background, code == u"MG" ? yellow : Colours::LightGreen);
        }
    }
    void reachable_data()
    {
        // Rows: name, points, goal difference, goals scored, played.
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("positions");
        QTest::addColumn<QString>("champion");
        QTest::newRow("nothing played") << QString() << "111" << QString();
        QTest::newRow("80 against 70 with 3 left") << "A 80 40 60 34;B 70 30 50 31" << "12" << "A";
        QTest::newRow("only the second row counts") << "A 80 40 60 34;B 70 30 50 31;C 60 10 40 27" << "121"
            << "A";
        QTest::newRow("level points, goals scored short") << "A 50 10 30 34;B 50 10 29 34" << "12" << "A";
        QTest::newRow("a fraction of a point decides") << "A 6,5 0 0 34;B 6 0 0 34" << "12" << "A";
        QTest::newRow("more matches than a season") << "A 5 0 0 34;B 5 0 0 40" << "11" << QString();
    }
    void reachable()
    {
        QFETCH(QString, rows);
        QFETCH(QString, positions);
        LeagueTableModel t;
        fill(t, { C::Name, C::Points, C::GoalDifference, C::GoalsFor, C::Played },
            rows.isEmpty() ? QStringList() : rows.split(u';'),
            QStringLiteral("0 0 0 ") + (rows.isEmpty() ? "0" : "34"));
        t.cell(1, C::Name).background = Zones::Champions;
        ShowPossibleRanking(t);
        QVERIFY(t.possibleRankingVisible());
        for (int r = 0; r < positions.size(); ++r) {
            QCOMPARE(t.reachableCell(r).text, positions.mid(r, 1));
            // In the colour of the name cell of the position it shows.
            const int reached = positions.mid(r, 1).toInt() - 1;
            QCOMPARE(t.reachableCell(r).background, t.cell(reached, C::Name).background);
        }
        QTEST(ChampionOf(t), "champion");
    }

    void possibleRankingToggle()
    {
        TestProgram p;
        MainController &c = p.start();
        LeagueTableModel &t = c.standings().table();
        c.clickButton(Btn::PossibleRanking);
        // Thirteen matchdays played: everybody can still be first, nobody is champion.
        QVERIFY(t.possibleRankingVisible() && t.reachableCell(17).text == u"1" && p.dialogs.shown.isEmpty());
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(!t.possibleRankingVisible());
        // From a category view the general table comes back first.
        c.clickButton(Btn::BestDefence);
        QCOMPARE(t.cell(0, C::Name).text, QStringLiteral("Strasbourg"));
        // A favourite chosen there brings no zone colour back.
        c.options().toggle();
        c.options().chooseFavourite(1);
        QCOMPARE(t.cell(0, C::Name).background, Colours::White);
        c.clickButton(Btn::PossibleRanking);
        QVERIFY(t.possibleRankingVisible() && t.title().isEmpty() && t.cell(0, C::Name).text == u"Lens");
        // A matchday table keeps it on; a category or a table run switches it off.
        c.clickButton(Btn::MatchdayTables);
        c.standings().clickMatchdayNumber(5);
        QVERIFY(t.possibleRankingVisible() && t.title().contains(u"Journée N°5"));
        c.clickButton(Btn::MatchesDrawn);
        QVERIFY(!t.possibleRankingVisible());
    }
    void championAtEverySwitchOn()
    {
        TestProgram p(TestProgram::Empty);
        p.setStore("[Resultats]\r\n[BonMal]\r\nC=200\r\n");
        MainController &c = p.start();
        for (int i = 0; i < 4; ++i)
            c.clickButton(Btn::PossibleRanking);
        QCOMPARE(p.dialogs.shown.size(), 2);
        const ScriptedDialogs::Shown &box = p.dialogs.shown[1];
        QCOMPARE(box.text, c.season().teams[2] + QStringLiteral(" est champion de Ligue 1 2027 !!!"));
        QVERIFY(box.title == u"Félicitations !!!" && box.icon == MessageIcon::Information);
    }

    void secondClubLock()
    {
        TestProgram p;
        MainController &c = p.start();
        StandingsController &s = c.standings();
        const FixtureGridModel &grid = c.matchdays().grid();
        s.clickTableRow(7); // Lyon
        QVERIFY(s.panels().secondClubLockShown && !s.panels().secondClubLock);
        s.setSecondClubLock(true);
        for (const int row : { 9, 10 }) {
            const QString second = s.table().cell(row, C::Name).text;
            s.clickTableRow(row);
            // The grid keeps Lyon's season and marks the two meetings with the second club alone.
            QStringList marked;
            for (int r = 0; r < GridRowCount; ++r) {
                for (const NameBox *b : { &grid.row(r).home, &grid.row(r).away })
                    marked << (b->background == Colours::SecondClub ? b->text : QString());
            }
            marked.removeAll(QString());
            QCOMPARE(marked, QStringList(2, second));
            QCOMPARE(grid.header, QStringLiteral(" Ligue 1 (2026 - 2027) Lyon N°8"));
            QCOMPARE(c.matchdays().sheetTeam(), second);
            QCOMPARE(s.table().cell(row, C::Name).background, Colours::SecondClub);
        }
        // A matchday of the calendar clears the lock.
        c.matchdays().clickCalendarDay(0);
        QVERIFY(!s.panels().secondClubLock);
    }

    void trackingAid_data()
    {
        // Steps: "row,column" hovers (column 0: the name) or an event; then the ruled row and column
        // (-1: out of sight), how often the rules changed, and the rows the summary heard of.
        QTest::addColumn<bool>("option");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("hovered");
        QTest::newRow("along a row the column rules move") << true << "3,1 3,2" << "3 2 3" << "Monaco;Monaco";
        QTest::newRow("down a column only the row rules move") << true << "3,1 0,1 1,1" << "1 1 4"
            << "Monaco;Lens;Nice";
        QTest::newRow("a name frames the row only") << true << "0,0" << "0 -1 1" << "Lens";
        QTest::newRow("option off: no rules, figures say nothing") << false << "3,0 3,1" << "-1 -1 0"
            << "Monaco";
        QTest::newRow("the bare window hides the column rules, the column brings them back") << true
            << "3,1 window 3,1" << "3 1 4" << "Monaco;Monaco";
        QTest::newRow("switching the option off takes the rules away") << true << "3,1 off" << "-1 -1 4"
            << "Monaco";
    }
    void trackingAid()
    {
        QFETCH(bool, option);
        QFETCH(QString, steps);
        TestProgram p;
        MainController &c = p.start();
        StandingsController &s = c.standings();
        c.options().setCheck(6, option ? 1 : 0);
        QSignalSpy changes(&s.tracking(), &TableTrackingModel::changed);
        QSignalSpy hovers(&s, &StandingsController::rowHovered);
        for (const QString &step : steps.split(u' ')) {
            const int row = step.section(u',', 0, 0).toInt(), column = step.section(u',', 1).toInt();
            if (step == u"window")
                c.hoverWindow();
            else if (step == u"off")
                c.options().setCheck(6, 0);
            else if (column == 0)
                s.hoverTableRow(row);
            else
                s.hoverTableCell(row, C(column));
        }
        const bool column = s.tracking().group() != TableTrackingModel::Group::None;
        const int ruledColumn = column ? int(s.tracking().ruledColumn()) : -1;
        const int ruledRow = s.tracking().ruledRow();
        QTEST(QStringLiteral("%1 %2 %3").arg(ruledRow).arg(ruledColumn).arg(changes.size()), "rules");
        QStringList hovered;
        for (const auto &args : hovers)
            hovered << args[0].toString();
        QTEST(hovered.join(u';'), "hovered");
    }
};

QTEST_GUILESS_MAIN(TstRankings)
#include "tst_rankings.moc"

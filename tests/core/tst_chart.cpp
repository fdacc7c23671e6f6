// The rank evolution chart, the rank movement icons and the season highlights, driven as the
// window drives them, and their command-line forms.
#include "TestProgram.h"
#include "teamviews/RankMovements.h"
#include "teamviews/SeasonHighlights.h"
#include "standings/TableExport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using Program = TestProgram;

// Matchday 1: Brest 0-1 Paris SG. Matchday 2: Nice 0-1 Monaco. The other clubs stay level and
// stand in descending order of name. Matchday 3: Lens 0-5 Toulouse.
const QByteArray ThreeMatchdays
    = "[Resultats]\r\n0103=I|||0|1|||A\r\n0201=D|||0|1|||C\r\n0308=H|||0|5|||J\r\n";

const SeasonData &season()
{
    static SeasonData s;
    if (s.teams[0].isEmpty())
        LoadSeasonFile(DataDir + QStringLiteral("/2027.txt"), s);
    return s;
}

QString allClubs()
{
    return QStringList(season().teams.begin(), season().teams.begin() + TeamCount).join(u' ');
}

QByteArray cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KESTRAVA_CLI), args);
    return p.waitForFinished(30000) && p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray("failed");
}

int rowOf(const LeagueTableModel &table, const QString &team)
{
    for (int r = 0; r < TeamCount; ++r) {
        if (table.cell(r, TableColumn::Name).text == team)
            return r;
    }
    return -1;
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void barGeometry_data()
    {
        QTest::addColumn<int>("rank");
        QTest::addColumn<int>("height");
        QTest::addColumn<Rgb>("colour");
        QTest::newRow("first") << 1 << 6150 << ChartColours::First;
        QTest::newRow("second") << 2 << 5800 << ChartColours::Between;
        QTest::newRow("17th") << 17 << 550 << ChartColours::Between;
        QTest::newRow("last") << 18 << 200 << ChartColours::Last;
    }
    void barGeometry()
    {
        QFETCH(int, rank);
        QFETCH(int, height);
        QFETCH(Rgb, colour);
        EvolutionChartModel chart;
        QStringList names(season().teams.begin(), season().teams.begin() + TeamCount);
        names.move(names.indexOf(QStringLiteral("Lens")), rank - 1);
        chart.rankOrder[5] = u'|' + names.join(u'|');
        chart.clubs = { QStringLiteral("Lens") };
        chart.showClub(0);
        const ChartBar &bar = chart.bars[4];
        QCOMPARE(bar.height, height);
        QCOMPARE(bar.top, 8800 - height);
        QCOMPARE(bar.caption, QString::number(rank));
        QCOMPARE(bar.colour, colour);
        // Matchdays without a kept table leave their bars as they were.
        QCOMPARE(chart.bars[5].height, 0);
        QCOMPARE(chart.title, QStringLiteral("Evolution du classement de : Lens"));
    }

    void limitDateAndSimulatedMatchdays()
    {
        Program p;
        MainController &c = p.start();
        const EvolutionChartModel &chart = c.chart().chart();
        c.clickButton(Btn::Chart);
        // Launched on 6 December: matchday 13 (4 December) counts, 14 (11 December) does not.
        QVERIFY(!chart.rankOrder[13].isEmpty() && chart.rankOrder[14].isEmpty());
        QVERIFY(chart.bars[33].created && chart.bars[13].caption.isEmpty());
        QCOMPARE(chart.clubs.size(), 18);
        QCOMPARE(chart.title, QStringLiteral("Evolution du classement de : Lens")); // the leader
        QVERIFY(!c.standings().table().progressShown());
        // The command line gives the same places.
        const QStringList lines
            = QString::fromUtf8(cli({ "evolution", "--dir", p.dir.path(), "--now", "2026-12-06 08:00" }))
                  .split(u'\n');
        QCOMPARE(lines[0].count(u','), 34);
        QStringList lens { QStringLiteral("Lens") };
        for (int j = 1; j <= 34; ++j)
            lens << (j <= 13 ? QString::number(ChartPositions(chart.rankOrder, lens[0])[j]) : QString());
        QCOMPARE(lines[8], lens.join(u','));

        // The simulated matches count every matchday; the favourite's chart opens.
        c.session().favouriteTeam = QStringLiteral("Nice");
        c.chart().setSimulated(true);
        QVERIFY(!chart.rankOrder[34].isEmpty());
        QCOMPARE(chart.crestTeam, QStringLiteral("Nice"));
        QCOMPARE(chart.bars[33].caption, QString::number(ChartPositions(chart.rankOrder, "Nice")[34]));
        c.chart().selectClub(7);
        c.clickButton(Btn::ChartTeam);
        QCOMPARE(c.teamViews().sheet().team, QStringLiteral("Lens"));
    }

    void closingStopsThePreparation()
    {
        Program p;
        MainController &c = p.start();
        int pumps = 0;
        // The first pump repaints before the loop; then one after each matchday.
        c.setEventPump([&] {
            if (++pumps == 4)
                c.clickButton(Btn::CloseChart);
        });
        c.clickButton(Btn::Chart);
        const EvolutionChartModel &chart = c.chart().chart();
        QVERIFY(!chart.visible && !chart.preparing);
        QVERIFY(!chart.rankOrder[3].isEmpty() && chart.rankOrder[4].isEmpty());
        // The table is the general table again, its movement icons set, the progress bar back.
        const LeagueTableModel &table = c.standings().table();
        QCOMPARE(table.cell(0, TableColumn::Points).text, QStringLiteral("32"));
        QCOMPARE(table.movement(0).text, QStringLiteral("="));
        QVERIFY(table.progressShown() && table.title().isEmpty());
    }

    void movementIcons()
    {
        Program p(Program::Empty);
        p.setStore(ThreeMatchdays);
        MainController &c = p.start();
        const LeagueTableModel &table = c.standings().table();
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::MatchdayTables);
        c.standings().clickMatchdayNumber(2);
        const QList<QPair<QString, QString>> expected
            = { { "Paris SG", "=" }, { "Monaco", "+7" }, { "Nice", "-10" }, { "Toulouse", "-1" },
                  { "Nantes", "=" }, { "Marseille", "+1" }, { "Brest", "=" } };
        QString csv;
        for (const auto &[team, sign] : expected) {
            const int row = rowOf(table, team);
            QCOMPARE(table.movement(row).text, sign);
            csv += QString::number(row) + team + sign;
        }
        QCOMPARE(MovementDescription("Monaco", table.movement(1)), QStringLiteral("Monaco : +7 places"));
        // The summary shows the movement of its club's row.
        c.standings().hoverTableRow(rowOf(table, QStringLiteral("Nice")));
        QCOMPARE(c.teamViews().summary().line(SummaryPanelModel::Movement), QStringLiteral(" (-10)"));

        const QStringList lines
            = QString::fromUtf8(cli({ "table", "--movement", "--matchday", "2", "--dir", p.dir.path() }))
                  .split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines[0].endsWith(QStringLiteral(",form,movement")));
        QString fromCli;
        for (const auto &[team, sign] : expected) {
            const int row = rowOf(table, team);
            fromCli += QString::number(row) + team + lines[row + 1].section(u',', -1);
        }
        QCOMPARE(fromCli, csv);

        // Matchday 1 leaves the cleared icons alone; a category view clears them too.
        c.standings().clickMatchdayNumber(1);
        QCOMPARE(table.movement(0).kind, RankMovement::Kind::None);
        c.standings().clickMatchdayNumber(2);
        c.clickButton(Btn::BestDefence);
        QCOMPARE(table.movement(rowOf(table, QStringLiteral("Monaco"))).text, QString());
        // Over the whole season's table, each icon still speaks of the club in its row.
        c.clickButton(Btn::FullTable);
        c.chart().setRankMovementIcons(2);
        QCOMPARE(rowOf(table, QStringLiteral("Monaco")), 2);
        QCOMPARE(table.movement(2).text, QStringLiteral("+7"));
    }

    // The movement icons run two silent tables after every displayed one: the forms beside the
    // table must stay those of the table on screen, as the command line prints them.
    void formsFollowTheTableOnScreen_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("start-up") << -1;
        QTest::newRow("Tableau complet") << int(Btn::FullTable);
        QTest::newRow("Classement Général") << int(Btn::GeneralTable);
        QTest::newRow("Valider on an earlier matchday") << int(Btn::Save);
    }
    void formsFollowTheTableOnScreen()
    {
        QFETCH(int, button);
        Program p;
        p.clock.set(QDateTime(QDate(2026, 9, 26), QTime(12, 0)));
        MainController &c = p.start();
        QCOMPARE(c.session().currentMatchday, 5);
        if (button == Btn::Save) {
            c.matchdays().showMatchday(3);
            c.matchdays().editCard(0, CardBox::HomeYellow, QStringLiteral("2"));
        } else if (button == Btn::GeneralTable) {
            c.clickButton(Btn::Rankings);
        }
        if (button >= 0)
            c.clickButton(button);
        const LeagueTableModel &table = c.standings().table();
        const QStringList lines = QString::fromUtf8(
            cli({ "table", "--format", "csv", "--now", "2026-09-26 12:00", "--dir", p.dir.path() }))
                                      .split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), TeamCount + 1);
        const int form = lines[0].split(u',').indexOf(QStringLiteral("form"));
        QVERIFY(form > 0);
        QString shown, printed;
        for (int r = 0; r < TeamCount; ++r) {
            const QString name = table.cell(r, TableColumn::Name).text;
            shown += name + u' ' + LastFive(table.formSequenceOf(name, c.season())) + u'\n';
            printed += lines[r + 1].split(u',').value(1) + u' ' + lines[r + 1].split(u',').value(form) + u'\n';
        }
        QCOMPARE(shown, printed);
        QVERIFY(shown.contains(QStringLiteral("Lens PGGGG")));
    }

    void highlights_data()
    {
        QTest::addColumn<QByteArray>("results");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("text");
        QTest::newRow("earliest of equal goals") << QByteArray(
            "0105=E|||4|3|||F\r\n0104=B|||5|2|||K\r\n"
            "0200=O|||6|1|||R") << int(MostGoals) << "Marseille-Auxerre le 21/08/2026: 7 (5 à 2)";
        QTest::newRow("0-0 is no record") << QByteArray("0106=H|||0|0|||G") << int(MostGoals) << "";
        QTest::newRow("difference") << QByteArray("0100=A|||0|4|||B") << int(LargestDifference)
                                    << "Paris SG-Marseille le 21/08/2026: 0 à 4";
        QTest::newRow("red weighs 3")
            << QByteArray("0100=R|0|3|1|0|0|0|D\r\n0200=O|1|0|1|0|1|0|R") << int(MostCards)
            << "Le Havre-Saint-Étienne le 28/08/2026: \r\n1 Carton(s) Rouge(s) et 1 "
               "Carton(s) jaune(s).";
        QTest::newRow("earliest matchday") << QByteArray("0100=A|||2|1|||B\r\n0200=C|||1|2|||D")
                                           << int(MostGoalsMatchday) << "Le 21/08/2026: 3 buts marqués";
        QTest::newRow("runs in progress")
            << QByteArray("0100=A|||1|0|||B\r\n0200=A|||2|0|||C\r\n0300=D|||1|0|||A") << int(Unbeaten)
            << "Nice: 1 matches.";
        QTest::newRow("all at the longest") << QByteArray("0100=A|||1|0|||B\r\n0200=A|||2|0|||C\r\n"
                                                          "0300=D|||1|0|||A")
                                            << int(Winless) << "Paris SG Marseille Monaco: 1 matches.";
        QTest::newRow("draw as texts") << QByteArray("0100=A|||1|1|||B\r\n0101=C|||1|01|||D") << int(Unbeaten)
                                       << "Paris SG Marseille: 1 matches.";
        QTest::newRow("- changes no run")
            << QByteArray("0100=A|||-|-|||B") << int(Unbeaten) << allClubs() + ": 0 matches.";
        QTest::newRow("no result") << QByteArray() << int(Winless) << allClubs() + ": 0 matches.";
        QTest::newRow("no result, no goals") << QByteArray() << int(MostGoals) << "";
    }
    void highlights()
    {
        QFETCH(QByteArray, results);
        QFETCH(int, record);
        QFETCH(QString, text);
        const IniSnapshot store = IniSnapshot::fromBytes("[Resultats]\r\n" + results + "\r\n");
        QCOMPARE(ComputeHighlights(season(), store)[record], text);
    }

    void highlightsPanelAndCommandLine()
    {
        Program p;
        MainController &c = p.start();
        c.clickButton(Btn::Rankings);
        c.clickButton(Btn::Highlights);
        const HighlightsModel &h = c.chart().highlights();
        QVERIFY(h.visible && c.standings().table().title().isEmpty());
        const QJsonObject json
            = QJsonDocument::fromJson(cli({ "highlights", "--dir", p.dir.path(), "--format", "json" }))
                  .object();
        QCOMPARE(json.value("most_cards").toString(), QString(h.texts[MostCards]).replace("\r\n", "\n"));
        QCOMPARE(json.value("winless").toString(), h.texts[Winless]);
        QCOMPARE(json.size(), 6);
        // Computed afresh at each opening.
        p.setStore("[Resultats]\r\n");
        c.clickButton(Btn::Highlights);
        QVERIFY(!h.visible);
        c.clickButton(Btn::Highlights);
        QCOMPARE(h.texts[MostGoals], QString());
        c.clickButton(Btn::CloseHighlights);
        QVERIFY(!h.visible);
    }
};

QTEST_GUILESS_MAIN(TestChart)
#include "tst_chart.moc"

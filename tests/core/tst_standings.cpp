// The league table engine on small hand-made seasons. Every expected figure below is worked out by
// hand from the table rules (points, goal difference, goals scored, head-to-head goals, fair play,
// then the name), never read back from the program.
#include "platform/IniFile.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "standings/Standings.h"
#include "standings/TableExport.h"

#include <QFile>
#include <QtTest>

using namespace kestrava;

namespace {

// Team letters A to R in alphabetical order, so that "ascending name" and "ascending letter" agree.
const QStringList PlainNames = { "Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India",
    "Juliett", "Kilo", "Lima", "Mike", "November", "Oscar", "Papa", "Quebec", "Romeo" };

// Matchday 1 complete (AB CD ... QR) and a second-matchday fixture AC.
const QStringList FullFirstMatchday = { "1|AB", "1|CD", "1|EF", "1|GH", "1|IJ", "1|KL", "1|MN", "1|OP", "1|QR", "2|AC" };

// A season whose calendar holds the given fixtures ("md|XY", in file order), numbered as the
// season file loader numbers them: positions restart at 00 with every new matchday.
SeasonData makeSeason(const QStringList &fixtures, const QStringList &names = PlainNames)
{
    SeasonData s;
    for (int i = 0; i < TeamCount; ++i)
        s.teams[i] = names.value(i);
    int slot = 0;
    int position = 0;
    int previous = -1;
    for (const QString &f : fixtures) {
        const int md = f.section(u'|', 0, 0).toInt();
        const QString code = f.section(u'|', 1, 1);
        position = md == previous ? position + 1 : 0;
        previous = md;
        ++slot;
        s.calendar[slot] = QStringLiteral("%1|%2|%3")
                               .arg(md, 2, 10, QLatin1Char('0'))
                               .arg(position, 2, 10, QLatin1Char('0'))
                               .arg(code);
        s.matchdayFixtures[md].append(code);
    }
    for (int md = 1; md <= MatchdayCount; ++md)
        s.matchdayDates[md] = QDateTime(QDate(2026, 8, 21).addDays(7 * (md - 1)), QTime(0, 0));
    return s;
}

// A results store: "key=record" lines under [Resultats], "letter=value" lines under [BonMal].
IniSnapshot makeStore(const QStringList &results, const QStringList &bonus = {})
{
    QByteArray text = "[Resultats]\r\n";
    for (const QString &r : results)
        text += r.toLatin1() + "\r\n";
    if (!bonus.isEmpty()) {
        text += "[BonMal]\r\n";
        for (const QString &b : bonus)
            text += b.toLatin1() + "\r\n";
    }
    text += "[Maj]\r\nMaj=05 d\xe9"
            "c. 21:40\r\n[Pseudo]\r\nPseudo=Editeur\r\n";
    return IniSnapshot::fromBytes(text);
}

// One display run as start-up does it: bonus/malus loaded, then the whole season or a matchday.
StandingsRun display(SeasonData &season, const IniSnapshot &store, LeagueTableModel &model,
    int lastMatchday = 0, int currentMatchday = 0, const QString &favourite = {})
{
    ResultsStore::loadBonusMalus(store, season);
    StandingsContext ctx;
    ctx.currentMatchday = currentMatchday;
    ctx.favouriteTeam = favourite;
    return ComputeStandings(season, store, lastMatchday, false, ctx, model);
}

QString nameAt(const LeagueTableModel &m, int row)
{
    return m.cell(row, TableColumn::Name).text;
}

int rowOf(const LeagueTableModel &m, const QString &name)
{
    for (int r = 0; r < TeamCount; ++r) {
        if (nameAt(m, r) == name)
            return r;
    }
    return -1;
}

// "rank name" of the teams named in `wanted`, in table order.
QStringList ranked(const LeagueTableModel &m, const QStringList &wanted)
{
    QStringList out;
    for (int r = 0; r < TeamCount; ++r) {
        if (wanted.contains(nameAt(m, r)))
            out << m.rankText(r) + u' ' + nameAt(m, r);
    }
    return out;
}

QStringList namesOf(const QStringList &rankedNames)
{
    QStringList out;
    for (const QString &s : rankedNames)
        out << s.section(u' ', 1);
    return out;
}

// Every team of matchday 1 played, home wins 1-0, and Alpha-Charlie 0-0 at matchday 2.
IniSnapshot firstMatchdayPlayed()
{
    QStringList results;
    for (int i = 0; i < 9; ++i)
        results << QStringLiteral("010%1=%2|||1|0|||%3").arg(i).arg(TeamLetter(2 * i), TeamLetter(2 * i + 1));
    return makeStore(results << QStringLiteral("0200=A|||0|0|||C"));
}

} // namespace

class TstStandings : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();

    void emptyStore();
    void accentsAndCase();
    void nameThatStartsAnother();
    void bonusMalus_data();
    void bonusMalus();
    void rowTextWithFraction();

    void matchdayLimit();
    void incompleteRecords();
    void badRecords();
    void formSequence();

    void gamesInHand_data();
    void gamesInHand();
    void progressAndPlayed();
    void goalsSummary_data();
    void goalsSummary();
    void rankNumbers_data();
    void rankNumbers();
    void zones();
    void silentMode();
    void demoSeason();
};

// ---------------------------------------------------------------------------------------------
// Tie-break steps. Teams not named in a row are "fillers": no result, 0 points, level with each
// other. Keys are the twelve-digit texts: (points + 10) in four digits, goal difference + 200 and
// goals scored in three, the head-to-head adjustment added to that number, then 999 - fair play.

void TstStandings::order_data()
{
    QTest::addColumn<QStringList>("fixtures");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<int>("lastMatchday");
    QTest::addColumn<QStringList>("expected"); // "rank name" in table order
    QTest::addColumn<QStringList>("keys"); // "name=key"

    // Echo 3 pts +4; Alpha 3 pts -3 ranks above Bravo/Charlie (1 pt, 0, 5 goals): points first.
    QTest::newRow("points before goal difference")
        << QStringList { "1|AD", "1|BC", "2|EA" }
        << QStringList { "0100=A|||1|0|||D", "0101=B|||5|5|||C", "0200=E|||4|0|||A" } << 0
        << QStringList { "1 Echo", "2 Alpha", "3 Charlie", "3 Bravo", "5 Romeo", "5 Foxtrot", "18 Delta" }
        << QStringList { "Echo=013204004999", "Alpha=013197001999", "Bravo=011200005999",
               "Charlie=011200005999", "Foxtrot=010200000999", "Delta=010199000999" };

    // Alpha +3 with 3 goals above Charlie +2 with 5 goals.
    QTest::newRow("goal difference before goals scored")
        << QStringList { "1|AB", "1|CD" } << QStringList { "0100=A|||3|0|||B", "0101=C|||5|3|||D" } << 0
        << QStringList { "1 Alpha", "2 Charlie", "3 Romeo", "3 Echo", "17 Delta", "18 Bravo" }
        << QStringList { "Alpha=013203003999", "Charlie=013202005999", "Delta=010198003999",
               "Bravo=010197000999" };

    // Alpha and Bravo level (3 pts, 0, 1 goal); Bravo won at Alpha 0-1, an away goal that counts
    // like any other. Bravo, the later of the pair, gets +1 and passes Alpha in spite of its two
    // yellow cards (without the head-to-head, fair play would put Alpha first).
    QTest::newRow("head to head won by the later team")
        << QStringList { "1|AB", "2|AC", "2|DB" }
        << QStringList { "0100=A|||0|1|||B", "0200=A|||1|0|||C", "0201=D|||1|0|2||B" } << 0
        << QStringList { "1 Delta", "2 Bravo", "3 Alpha", "4 Romeo", "18 Charlie" }
        << QStringList { "Delta=013201001999", "Bravo=013200002997", "Alpha=013200001999" };

    // Alpha won the meeting 1-0: Bravo, the later team, gets -1; Alpha's key is left alone. By
    // name alone Bravo would have come first.
    QTest::newRow("head to head won by the earlier team")
        << QStringList { "1|AB", "2|BD", "2|CA" }
        << QStringList { "0100=A|||1|0|||B", "0200=B|||1|0|||D", "0201=C|||1|0|||A" } << 0
        << QStringList { "1 Charlie", "2 Alpha", "3 Bravo", "4 Romeo", "18 Delta" }
        << QStringList { "Charlie=013201001999", "Alpha=013200001999", "Bravo=013200000999" };

    // 2-1 and 0-1: two goals each over the two meetings, so nothing changes; Bravo's away goal is
    // worth no more than a home goal. Bravo's yellow card then puts Alpha first.
    QTest::newRow("head to head level: away goals count like home goals")
        << QStringList { "1|AB", "2|BA" } << QStringList { "0100=A|||2|1|1||B", "0200=B|||1|0|||A" } << 0
        << QStringList { "1 Alpha", "2 Bravo", "3 Romeo", "3 Charlie" }
        << QStringList { "Alpha=013200002999", "Bravo=013200002998", "Charlie=010200000999" };

    // At matchday 1 they drew 1-1; the return match (0-2, matchday 2) is stored and counts in the
    // head-to-head although the table stops at matchday 1: Bravo -2.
    QTest::newRow("head to head counts every stored meeting")
        << QStringList { "1|AB", "2|BA" } << QStringList { "0100=A|||1|1|||B", "0200=B|||0|2|||A" } << 1
        << QStringList { "1 Alpha", "2 Bravo", "3 Romeo" }
        << QStringList { "Alpha=011200001999", "Bravo=011199999999", "Romeo=010200000999" };

    // A beat B, B beat C, C beat A, all 1-0: three level teams. Bravo is compared with Alpha (-1),
    // Charlie with Bravo (-1) on the first keys; Alpha and Charlie are never compared.
    QTest::newRow("three level teams, each with its neighbour")
        << QStringList { "1|AB", "2|BC", "3|CA" }
        << QStringList { "0100=A|||1|0|||B", "0200=B|||1|0|||C", "0300=C|||1|0|||A" } << 0
        << QStringList { "1 Alpha", "2 Charlie", "2 Bravo", "4 Romeo" }
        << QStringList { "Alpha=013200001999", "Bravo=013200000999", "Charlie=013200000999" };

    // Alpha: yellow 2 + red 1 = 5; Bravo: 4 yellows. Charlie (away): yellow 1 + red 2 = 7.
    QTest::newRow("fair play") << QStringList { "1|AC", "1|BD" }
                               << QStringList { "0100=A|1|2|1|0|1|2|C", "0101=B||4|1|0|||D" } << 0
                               << QStringList { "1 Bravo", "2 Alpha", "3 Romeo", "17 Delta", "18 Charlie" }
                               << QStringList { "Bravo=013201001995", "Alpha=013201001994",
                                      "Delta=010199000999", "Charlie=010199000992" };

    // Figures far beyond any integer: the run must neither overflow nor wrap. Bravo has 6 points,
    // every piece at its limit and the worst fair play.
    QTest::newRow("numbers beyond any integer")
        << QStringList { "1|BA", "1|DE", "2|BC" }
        << QStringList { "0100=B|99999999999|99999999999|99999999999|0|||A", "0200=B|||99999999999|0|||C",
               "0101=D|||1|0|||E" }
        << 0 << QStringList { "1 Bravo", "2 Delta", "3 Romeo", "16 Echo", "17 Charlie", "17 Alpha" }
        << QStringList { "Bravo=016999999000", "Delta=013201001999", "Echo=010199000999" };
}

void TstStandings::order()
{
    QFETCH(QStringList, fixtures);
    QFETCH(QStringList, results);
    QFETCH(int, lastMatchday);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, keys);

    SeasonData season = makeSeason(fixtures);
    LeagueTableModel model;
    display(season, makeStore(results), model, lastMatchday);

    QCOMPARE(ranked(model, namesOf(expected)), expected);
    for (const QString &k : keys) {
        const int row = rowOf(model, k.section(u'=', 0, 0));
        QVERIFY2(row >= 0, qPrintable(k));
        QCOMPARE(model.rowKey(row), k.section(u'=', 1));
    }
    for (int r = 0; r < TeamCount; ++r)
        QCOMPARE(model.rowKey(r).size(), 12);
}


void TstStandings::emptyStore()
{
    SeasonData season = makeSeason({ "1|AB" });
    LeagueTableModel model;
    const StandingsRun run = display(season, makeStore({}), model);
    QCOMPARE(run.appearanceCount, 0);
    // Everybody level: descending name, one shared rank, the same key, no colouring, no highlight.
    QStringList names;
    for (int r = 0; r < TeamCount; ++r) {
        names << nameAt(model, r);
        QCOMPARE(model.rankText(r), QStringLiteral("1"));
        QCOMPARE(model.rowKey(r), QStringLiteral("010200000999"));
        QCOMPARE(model.cell(r, TableColumn::Points).text, QStringLiteral("0"));
        QCOMPARE(model.cell(r, TableColumn::Name).background, Colours::White);
        QVERIFY(model.cell(r, TableColumn::Name).tooltip.isEmpty());
        QVERIFY(!model.cell(r, TableColumn::Name).bold);
        QCOMPARE(model.cell(r, TableColumn::Played).background, Colours::White);
    }
    QStringList descending = PlainNames;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(names, descending);
    QVERIFY(model.leaderName().isEmpty());
    QVERIFY(!model.gamesInHandVisible());
    QCOMPARE(model.progressText(), QStringLiteral("0% des Matches joués"));
    QCOMPARE(model.goalsSummary(), QStringLiteral("Nombre de buts au total: 0"));
    QCOMPARE(model.lastUpdate(), QStringLiteral("05 déc. 21:40"));
    QCOMPARE(model.lastUpdateTooltip(), QStringLiteral("Editeur"));

    // Once there is a leader, an empty store does not take the name away.
    display(season, makeStore({ "0100=A|||2|0|||B" }), model);
    QCOMPARE(model.leaderText(), QStringLiteral("Premier:\r\nAlpha"));
    display(season, makeStore({}), model);
    QCOMPARE(nameAt(model, 0), QStringLiteral("Romeo"));
    QCOMPARE(model.leaderName(), QStringLiteral("Alpha"));
}

void TstStandings::accentsAndCase()
{
    // Ordering ignores case and reads an accented letter as its base letter.
    const QStringList names = { "Zèbre", "abeille", "Éclair", "ecrou", "Delta", "étoile", "Bravo", "charlie", "Île",
        "igloo", "Oméga", "orange", "Nîmes", "nantes", "Kilo", "lima", "Mike", "Papa" };
    SeasonData season = makeSeason({}, names);
    LeagueTableModel model;
    display(season, makeStore({}), model);
    QStringList got;
    for (int r = 0; r < TeamCount; ++r)
        got << nameAt(model, r);
    QCOMPARE(got, QStringList({ "Zèbre", "Papa", "orange", "Oméga", "Nîmes", "nantes", "Mike", "lima", "Kilo", "Île",
                      "igloo", "étoile", "ecrou", "Éclair", "Delta", "charlie", "Bravo", "abeille" }));

    // The same rule between two teams level on every count, among teams that are not:
    // Éclair (C) and ecrou (D) both win 1-0, no meeting, no cards.
    SeasonData two = makeSeason({ "1|CB", "1|DE" }, names);
    display(two, makeStore({ "0100=C|||1|0|||B", "0101=D|||1|0|||E" }), model);
    QCOMPARE(ranked(model, { "ecrou", "Éclair", "Zèbre" }), QStringList({ "1 ecrou", "1 Éclair", "3 Zèbre" }));
}

void TstStandings::nameThatStartsAnother()
{
    // Fully level, the row texts compare at the name's end: "Paris FC|" sorts before "Paris|",
    // so in the descending table "Paris" comes first.
    QStringList names = PlainNames;
    names[0] = QStringLiteral("Paris FC");
    names[1] = QStringLiteral("Paris");
    SeasonData season = makeSeason({}, names);
    LeagueTableModel model;
    display(season, makeStore({}), model);
    QCOMPARE(rowOf(model, QStringLiteral("Paris")) + 1, rowOf(model, QStringLiteral("Paris FC")));
}

// Alpha: three home wins 1-0 and a home draw 0-0 = 10 points, +3, 3 goals.
void TstStandings::bonusMalus_data()
{
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("red");
    // 7 + 10 = 17: the points piece is 0017, then 203, 003 and 999 - 0, in twelve digits.
    QTest::newRow("malus 3") << "-3" << "7" << "017203003999" << false;
    // 6.5 + 10 = 16.5 rounds away from zero to 17 (to even it would be 16); 20.5 to 21.
    QTest::newRow("half malus") << "-3.5" << "6,5" << "017203003999" << false;
    QTest::newRow("half bonus") << "0.5" << "10,5" << "021203003999" << false;
    // -3.5 + 10 = 6.5 rounds to 7.
    QTest::newRow("negative half") << "-13.5" << "-3,5" << "007203003999" << true;
    QTest::newRow("no value") << "" << "10" << "020203003999" << false;
}

void TstStandings::bonusMalus()
{
    QFETCH(QString, bonus);
    QFETCH(QString, points);
    QFETCH(QString, key);
    QFETCH(bool, red);
    SeasonData season = makeSeason({ "1|AB", "2|AC", "3|AD", "4|AE" });
    const IniSnapshot store = makeStore({ "0100=A|||1|0|||B", "0200=A|||1|0|||C", "0300=A|||1|0|||D", "0400=A|||0|0|||E" },
        bonus.isEmpty() ? QStringList {} : QStringList { QStringLiteral("A=") + bonus });
    LeagueTableModel model;
    display(season, store, model);

    const int row = rowOf(model, QStringLiteral("Alpha"));
    QCOMPARE(model.cell(row, TableColumn::Points).text, points);
    QCOMPARE(model.rowKey(row), key);
    QCOMPARE(model.cell(row, TableColumn::Points).foreground, red ? Colours::Red : Colours::Black);
    // Home points never hold the bonus or malus.
    QCOMPARE(model.cell(row, TableColumn::HomePoints).text, QStringLiteral("10"));
    QCOMPARE(model.cell(rowOf(model, QStringLiteral("Echo")), TableColumn::Points).foreground, Colours::Black);
}

void TstStandings::rowTextWithFraction()
{
    SeasonData season = makeSeason({ "1|AB", "2|AC", "3|AD", "4|AE" });
    const IniSnapshot store = makeStore(
        { "0100=A|||1|0|||B", "0200=A|||1|0|||C", "0300=A|||1|0|||D", "0400=A|||0|0|||E" }, { "A=-2.5" });
    LeagueTableModel model;
    const StandingsRun run = display(season, store, model);
    // 7.5 + 10 = 17.5 rounds to 18. Fields: key, name, points, difference, for, against, fair
    // play, played, home for, away for, home against, away against, home points, away points, home
    // wins, away wins, home losses, away losses, draws.
    QCOMPARE(run.arrangement().size(), TeamCount);
    QCOMPARE(run.arrangement().last(), QStringLiteral("018203003999|Alpha|7,5|3|3|0|0|4|3|0|0|0|10|0|3|0|0|0|1"));
    QCOMPARE(run.arrangement().first(), QStringLiteral("010199000999|Bravo|0|-1|0|1|0|1|0|0|0|1|0|0|0|0|0|1|0"));
    QCOMPARE(model.arrangement(), run.arrangement());
}

void TstStandings::matchdayLimit()
{
    SeasonData season = makeSeason({ "1|AB", "2|AC", "3|AD", "4|AE", "5|AF", "6|AG", "6|HI" });
    const IniSnapshot store = makeStore({ "0100=A|||1|0|||B", "0200=A|||1|0|||C", "0300=A|||1|0|||D",
        "0400=A|||1|0|||E", "0500=A|||1|0|||F", "0600=A|||1|0|||G", "0601=H|||1|0|||I" });
    LeagueTableModel model;
    model.setTitle(QStringLiteral("Classement à la Journée N°5"));
    int last = 5;
    StandingsContext ctx;
    ctx.currentMatchday = 1; // every counted team is ahead of it: a whole-season run would say so
    const StandingsRun run = ComputeStandings(season, store, last, false, ctx, model);
    QCOMPARE(last, 5);
    QCOMPARE(model.title(), QStringLiteral("Classement à la Journée N°5"));
    QCOMPARE(run.appearanceCount, 10);
    QCOMPARE(model.cell(0, TableColumn::Points).text, QStringLiteral("15"));
    QCOMPARE(model.cell(rowOf(model, QStringLiteral("Hotel")), TableColumn::Points).text, QStringLiteral("0"));
    QVERIFY(!model.gamesInHandVisible());

    // 0 asks for the whole season: the caller's variable becomes 34 and the title is emptied.
    last = 0;
    ComputeStandings(season, store, last, false, ctx, model);
    QCOMPARE(last, 34);
    QVERIFY(model.title().isEmpty());
    QCOMPARE(model.cell(0, TableColumn::Points).text, QStringLiteral("18"));
    QCOMPARE(model.cell(0, TableColumn::Played).text, QStringLiteral("6"));
    QVERIFY(model.gamesInHandVisible());
}

void TstStandings::incompleteRecords()
{
    // A home score alone is a home win for the table; the away team has not played but has lost.
    SeasonData season = makeSeason({ "1|AB" });
    LeagueTableModel model;
    StandingsRun run = display(season, makeStore({ "0100=A|||2||||B" }), model);
    const StandingRow &a = run.rows[0];
    const StandingRow &b = run.rows[1];
    QCOMPARE(QList<int>({ a.played, int(a.points), a.homeWins, a.homePoints, a.goalsFor }), QList<int>({ 1, 3, 1, 3, 2 }));
    QCOMPARE(QList<int>({ b.played, int(b.points), b.awayLosses, b.goalsAgainst, b.goalDifference }), QList<int>({ 0, 0, 1, 2, -2 }));
    QCOMPARE(a.formSequence + b.formSequence, QStringLiteral("GP"));
    QCOMPARE(run.appearanceCount, 1);
    QCOMPARE(run.goalCount, 2.0);
    QCOMPARE(model.cell(17, TableColumn::AwayLosses).text, QStringLiteral("1"));

    // Both scores "-": nothing happened.
    run = display(season, makeStore({ "0100=A|||-|-|||B" }), model);
    for (const StandingRow &r : run.rows)
        QVERIFY(r.points == 0 && r.played == 0 && r.draws == 0 && r.formSequence.isEmpty());
    QCOMPARE(run.appearanceCount, 0);
    QCOMPARE(model.rankText(17), QStringLiteral("1"));
}

void TstStandings::badRecords()
{
    SeasonData season = makeSeason({});
    // Z, a lower-case letter, S and an empty away letter are no team; an empty home letter skips the
    // whole record.
    const IniSnapshot store = makeStore(
        { "0100=Z|||3|0|||B", "0101=A|||1|1|||S", "0102=a|||2|0|||C", "0103=|||5|5|||D", "0104=E|||1|0|||" });
    LeagueTableModel model;
    const StandingsRun run = display(season, store, model);
    // "played points draws awayLosses goalsAgainst form" of Alpha .. Echo.
    QStringList got;
    for (int i = 0; i < 5; ++i) {
        const StandingRow &x = run.rows[i];
        got << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(x.played).arg(x.points).arg(x.draws).arg(x.awayLosses).arg(x.goalsAgainst).arg(x.formSequence);
    }
    QCOMPARE(got, QStringList({ "1 1 1 0 1 N", "1 0 0 1 3 P", "1 0 0 1 2 P", "0 0 0 0 0 ", "1 3 0 0 0 G" }));
    // The run totals count both sides of every record with a home letter.
    QCOMPARE(run.appearanceCount, 8);
    QCOMPARE(run.goalCount, 8.0);
    for (int i = 5; i < TeamCount; ++i)
        QCOMPARE(run.rows[i].played + run.rows[i].goalsFor + run.rows[i].goalsAgainst, 0);
    QCOMPARE(nameAt(model, 0), QStringLiteral("Echo"));
}

void TstStandings::formSequence()
{
    SeasonData season = makeSeason({ "1|AB", "2|CA", "3|AD", "4|EA", "5|AF", "6|GA", "7|AH" });
    const IniSnapshot store = makeStore({ "0100=A|||1|0|||B", "0200=C|||0|2|||A", "0300=A|||1|1|||D",
        "0400=E|||1|0|||A", "0500=A|||3|0|||F", "0600=G|||2|1|||A", "0700=A|||0|0|||H" });
    LeagueTableModel model;
    const StandingsRun run = display(season, store, model);
    QCOMPARE(run.rows[0].formSequence, QStringLiteral("GGNPGPN"));
    QCOMPARE(model.formSequenceOf(QStringLiteral("Alpha"), season), QStringLiteral("GGNPGPN"));
    QCOMPARE(LastFive(run.rows[0].formSequence), QStringLiteral("NPGPN"));
    QCOMPARE(run.rows[2].formSequence + run.rows[4].formSequence + run.rows[7].formSequence, QStringLiteral("PGN"));
}

void TstStandings::gamesInHand_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("lastMatchday");
    QTest::addColumn<QString>("message"); // empty: hidden
    const QString behind = QStringLiteral("Romeo, Quebec, Papa, Oscar, November, Mike, Lima, Kilo, Juliett, India, Hotel, Golf, Foxtrot, Echo, Delta");
    // Alpha and Bravo drew 0-0 (1 pt each, Bravo first by name); Charlie's home-only 0 counts it
    // as played without points, so it comes last of the point-less teams.
    QTest::newRow("three teams ahead") << QStringList { "0100=A|||0|0|||B", "0101=C|||0||||D" } << 0 << 0
                                       << QStringLiteral("1,5 Matches en avance pour: Bravo, Alpha, Charlie. ");
    QTest::newRow("two teams ahead") << QStringList { "0100=A|||0|0|||B" } << 0 << 0
                                     << QStringLiteral("1 Match en avance pour: Bravo, Alpha. ");
    QTest::newRow("one team ahead") << QStringList { "0100=A|||1||||B" } << 0 << 0
                                    << QStringLiteral("0,5 Match en avance pour: Alpha. ");
    QTest::newRow("sixteen behind") << QStringList { "0100=A|||0|0|||B" } << 1 << 0
                                    << QStringLiteral("8 Matches en retard pour : %1, Charlie.").arg(behind);
    QTest::newRow("ahead and behind") << QStringList { "0100=A|||0|0|||B", "0200=A|||0|0|||C" } << 1 << 0
                                      << QStringLiteral("0,5 Match en avance pour: Alpha. 7,5 Matches en retard pour : %1.").arg(behind);
    // Eighteen names make 9 matches, still below the cut-off of 10.
    QTest::newRow("everybody behind") << QStringList {} << 1 << 0
                                      << QStringLiteral("9 Matches en retard pour : %1, Charlie, Bravo, Alpha.").arg(behind);
    QTest::newRow("up to date") << QStringList { "0100=A|||0|0|||B", "0101=C|||0|0|||D", "0102=E|||0|0|||F",
        "0103=G|||0|0|||H", "0104=I|||0|0|||J", "0105=K|||0|0|||L", "0106=M|||0|0|||N", "0107=O|||0|0|||P",
        "0108=Q|||0|0|||R" } << 1 << 0 << QString();
    QTest::newRow("not for a matchday table") << QStringList { "0100=A|||0|0|||B" } << 0 << 5 << QString();
}

void TstStandings::gamesInHand()
{
    QFETCH(QStringList, results);
    QFETCH(int, current);
    QFETCH(int, lastMatchday);
    QFETCH(QString, message);
    SeasonData season = makeSeason(FullFirstMatchday);
    LeagueTableModel model;
    // A previous message never lingers.
    display(season, makeStore({ "0100=A|||0|0|||B" }), model);
    display(season, makeStore(results), model, lastMatchday, current);
    QCOMPARE(model.gamesInHandVisible(), !message.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(model.gamesInHand(), message);
}

void TstStandings::progressAndPlayed()
{
    SeasonData season = makeSeason(FullFirstMatchday);
    LeagueTableModel model;
    // Two fixtures: 4 of 612 appearances = 0.65 %, shown rounded.
    display(season, makeStore({ "0100=A|||1|0|||B", "0101=C|||1|0|||D" }), model);
    QCOMPARE(model.progressText(), QStringLiteral("1% des Matches joués"));

    const IniSnapshot store = firstMatchdayPlayed();
    display(season, store, model, 0, 1);
    // 20 appearances: 3.27 %.
    QCOMPARE(model.progressText(), QStringLiteral("3% des Matches joués"));
    QCOMPARE(model.progressFraction(), 20.0 / 612);
    // A team with one match (18 < 20 appearances) has fewer than the average; two is not.
    for (int r = 0; r < TeamCount; ++r) {
        const bool two = nameAt(model, r) == u"Alpha" || nameAt(model, r) == u"Charlie";
        QCOMPARE(model.cell(r, TableColumn::Played).text, two ? QStringLiteral("2") : QStringLiteral("1"));
        QCOMPARE(model.cell(r, TableColumn::Played).background, two ? Colours::White : Colours::LightGreen);
    }
    // Alpha and Charlie are level (4 pts, +1, 1 goal, 0-0 between them): Charlie first by name.
    QCOMPARE(model.gamesInHand(), QStringLiteral("1 Match en avance pour: Charlie, Alpha. "));

    // While the evolution chart is built, the last full count is the base.
    StandingsContext ctx;
    ctx.chartBuilding = true;
    int last = 1;
    ComputeStandings(season, store, last, false, ctx, model);
    QCOMPARE(model.progressText(), QStringLiteral("90%"));
    QCOMPARE(model.progressFraction(), 18.0 / 20);
    QCOMPARE(model.progressBase(), 20);
}

void TstStandings::goalsSummary_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("summary");
    QTest::newRow("7 goals in 3 matches") << QStringList { "0100=A|||3|1|||B", "0101=C|||2|0|||D", "0102=E|||1|0|||F" }
                                          << QStringLiteral("Nombre de buts au total: 7\r\nMoyenne de buts par match :2,33");
    QTest::newRow("20 goals in 3 matches") << QStringList { "0100=A|||9|1|||B", "0101=C|||5|5|||D", "0102=E|||0|0|||F" }
                                           << QStringLiteral("Nombre de buts au total: 20\r\nMoyenne de buts par match :6,67");
    // One appearance is half a match.
    QTest::newRow("home score only") << QStringList { "0100=A|||2||||B" }
                                     << QStringLiteral("Nombre de buts au total: 2\r\nMoyenne de buts par match :4,00");
    QTest::newRow("nothing played") << QStringList { "0100=A|||-|-|||B" } << QStringLiteral("Nombre de buts au total: 0");
}

void TstStandings::goalsSummary()
{
    QFETCH(QStringList, results);
    QFETCH(QString, summary);
    SeasonData season = makeSeason({ "1|AB", "1|CD", "1|EF" });
    LeagueTableModel model;
    display(season, makeStore(results), model);
    QCOMPARE(model.goalsSummary(), summary);
}

void TstStandings::rankNumbers_data()
{
    QTest::addColumn<QString>("keys"); // one letter per row, equal letters = equal keys
    QTest::addColumn<QString>("ranks");
    QTest::newRow("all equal") << "aaaaaaaaaaaaaaaaaa" << "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
    QTest::newRow("1 1 3") << "aabcdefghijklmnopq" << "1 1 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18";
    QTest::newRow("runs") << "aabccdeeefghijklmm" << "1 1 3 4 4 6 7 7 7 10 11 12 13 14 15 16 17 17";
}

void TstStandings::rankNumbers()
{
    QFETCH(QString, keys);
    QFETCH(QString, ranks);
    std::array<QString, TeamCount> rowKeys;
    for (int r = 0; r < TeamCount; ++r)
        rowKeys[r] = QStringLiteral("0102000009") + keys[r];
    QStringList texts;
    for (int n : RankNumbers(rowKeys))
        texts << QString::number(n);
    QCOMPARE(texts.join(u' '), ranks);
}

void TstStandings::zones()
{
    SeasonData season = makeSeason(FullFirstMatchday.mid(0, 9));
    // Home wins by 9, 8, ... 1 goals: A C E G I K M O Q, then the losers R P N L J H F D B.
    QStringList results;
    for (int i = 0; i < 9; ++i)
        results << QStringLiteral("010%1=%2|||%3|0|||%4").arg(i).arg(TeamLetter(2 * i)).arg(9 - i).arg(TeamLetter(2 * i + 1));
    LeagueTableModel model;
    display(season, makeStore(results), model, 0, 1, QStringLiteral("Echo"));

    const QStringList order = { "Alpha", "Charlie", "Echo", "Golf", "India", "Kilo", "Mike", "Oscar", "Quebec", "Romeo",
        "Papa", "November", "Lima", "Juliett", "Hotel", "Foxtrot", "Delta", "Bravo" };
    const QString cl = QStringLiteral("Qualifié phase de groupe Champions league");
    const QString down = QStringLiteral("Relégué en Ligue 2");
    const QList<QPair<Rgb, QString>> expected = { { Zones::Champions, cl }, { Zones::Champions, cl },
        { Colours::Favourite, cl }, // the favourite is yellow, its tooltip stays
        { Zones::ThirdRound, QStringLiteral("Qualifié 3eme tour pour non champions Champions league") },
        { Zones::LeaguePhase, QStringLiteral("Qualifié phase de ligue") },
        { Zones::Playoff, QStringLiteral("Qualifié tour de barrage") } };
    for (int r = 0; r < TeamCount; ++r) {
        QPair<Rgb, QString> want = r < 6 ? expected[r] : QPair<Rgb, QString>(Colours::White, QString());
        if (r == 15)
            want = { Zones::RelegationPlayoff, QStringLiteral("Barrage de relégation") };
        if (r >= 16)
            want = { Zones::Relegated, down };
        QCOMPARE(nameAt(model, r), order[r]);
        QCOMPARE(model.rankText(r), QString::number(r + 1));
        QCOMPARE(model.cell(r, TableColumn::Name).background, want.first);
        QCOMPARE(model.cell(r, TableColumn::Name).tooltip, want.second);
        QCOMPARE(model.cell(r, TableColumn::Name).bold, r == 0);
    }
    QCOMPARE(model.leaderName(), QStringLiteral("Alpha"));
}

void TstStandings::silentMode()
{
    SeasonData season = makeSeason({ "1|AB", "1|CD" });
    LeagueTableModel model;
    display(season, makeStore({ "0100=A|||1|0|||B" }), model, 0, 0);
    const QStringList shown = { model.goalsSummary(), model.progressText(), model.gamesInHand(), model.rowKey(0) };

    // Silent: Charlie wins, Alpha loses. Only the rank order and the form change.
    int last = 0;
    StandingsContext ctx;
    ctx.currentMatchday = 1;
    ComputeStandings(season, makeStore({ "0100=A|||0|2|||B", "0101=C|||3|0|||D" }), last, true, ctx, model);
    QCOMPARE(last, 34);
    QCOMPARE(QStringList({ model.silentOrder(0), model.silentOrder(1), model.silentOrder(16), model.silentOrder(17) }),
        QStringList({ "Charlie", "Bravo", "Alpha", "Delta" }));
    QCOMPARE(model.formSequenceOf(QStringLiteral("Alpha"), season), QStringLiteral("P"));

    QCOMPARE(QStringList({ model.goalsSummary(), model.progressText(), model.gamesInHand(), model.rowKey(0) }), shown);
    QCOMPARE(nameAt(model, 0), QStringLiteral("Alpha"));
    QCOMPARE(model.cell(0, TableColumn::Points).text, QStringLiteral("3"));
    QCOMPARE(model.leaderName(), QStringLiteral("Alpha"));
}

// The shipped demo season against the table worked out apart from the program.
void TstStandings::demoSeason()
{
    SeasonData season;
    QVERIFY(LoadSeasonFile(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), season));
    const IniSnapshot store
        = IniSnapshot::fromFile(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
    QVERIFY(store.fileExists());
    LeagueTableModel model;
    // The 6th of December 2026 falls after matchday 13 (4 December) and before matchday 14.
    display(season, store, model, 0, 13);

    QFile golden(QStringLiteral(KESTRAVA_TEST_DATA_DIR "/demo-table.csv"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QCOMPARE(TableAsCsv(model, season), QString::fromUtf8(golden.readAll()));

    QCOMPARE(
        model.gamesInHand(), QStringLiteral("2 Matches en retard pour : Nice, Paris SG, Auxerre, Lille."));
    QCOMPARE(model.progressText(), QStringLiteral("38% des Matches joués"));
    QCOMPARE(model.goalsSummary(),
        QStringLiteral("Nombre de buts au total: 360\r\nMoyenne de buts par match :3,13"));
    QCOMPARE(model.leaderName(), QStringLiteral("Lens"));
    QCOMPARE(model.rowKey(0), QStringLiteral("042213027971"));
    QCOMPARE(model.rowKey(17), QStringLiteral("015189007971"));
}

QTEST_GUILESS_MAIN(TstStandings)
#include "tst_standings.moc"

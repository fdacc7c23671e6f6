// The league table engine on small hand-made seasons. Every expected figure below is worked out by
// hand from the table rules (points, goal difference, goals scored, head-to-head goals, fair play,
// then the name), never read back from the program. The shipped season's table is checked through
// kestrava-cli against its golden file (tst_cli).
#include "platform/IniFile.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"
#include "standings/Standings.h"

#include <QtTest>

#include <functional>

using namespace kestrava;

namespace {

// Team letters A to R in alphabetical order, so that "ascending name" and "ascending letter" agree.
const QStringList PlainNames = { "Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India",
    "Juliett", "Kilo", "Lima", "Mike", "November", "Oscar", "Papa", "Quebec", "Romeo" };

// A season whose calendar holds the fixture of each record "MMPP=H|...|A" ("MM|PP|HA"), in its last
// slots, so that the last record listed sits in slot 306, where the head-to-head scan ends.
SeasonData makeSeason(const QStringList &results, const QStringList &names = PlainNames)
{
    SeasonData s;
    for (int i = 0; i < TeamCount; ++i)
        s.teams[i] = names.value(i);
    int slot = 307 - int(results.size());
    for (const QString &r : results)
        s.calendar[slot++] = r.left(2) + u'|' + r.mid(2, 2) + u'|' + r.mid(5, 1) + r.right(1);
    return s;
}

// A results store: "key=record" lines under [Resultats], "letter=value" lines under [BonMal].
IniSnapshot makeStore(const QStringList &results, const QStringList &bonus = {})
{
    QByteArray text = "[Resultats]\r\n" + results.join(QStringLiteral("\r\n")).toLatin1() + "\r\n[BonMal]\r\n"
        + bonus.join(QStringLiteral("\r\n")).toLatin1() + "\r\n[Maj]\r\nMaj=05 d\xe9" "c. 21:40\r\n[Pseudo]\r\nPseudo=Editeur\r\n";
    return IniSnapshot::fromBytes(text);
}

// One display run as start-up does it: bonus/malus loaded, then the whole season or a matchday.
StandingsRun display(SeasonData &season, const IniSnapshot &store, LeagueTableModel &model, int lastMatchday = 0,
    int currentMatchday = 0, const QString &favourite = {})
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

QStringList tableNames(const LeagueTableModel &m)
{
    QStringList out;
    for (int r = 0; r < TeamCount; ++r)
        out << nameAt(m, r);
    return out;
}

// Matchday 1 played: home team 2i against 2i+1 (A-B ... Q-R), each with `score(i)` as "home|away".
QStringList firstMatchday(const std::function<QString(int)> &score)
{
    QStringList results;
    for (int i = 0; i < 9; ++i)
        results << QStringLiteral("010%1=%2|||%3|||%4").arg(i).arg(TeamLetter(2 * i), score(i), TeamLetter(2 * i + 1));
    return results;
}

} // namespace

class TstStandings : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void records_data();
    void records();
    void nameOrder();
    void bonusMalus_data();
    void bonusMalus();
    void farBelowZero();
    void matchdayLimit();
    void gamesInHand_data();
    void gamesInHand();
    void progressAndPlayed();
    void zones();
    void silentMode();
    void eachMatchdayInOnePass_data();
    void eachMatchdayInOnePass();
};

// Tie-break steps. Teams not named in a row are "fillers": no result, 0 points, level with each
// other. Keys are the twelve-digit texts: (points + 10) in four digits, goal difference + 200 and
// goals scored in three, the head-to-head adjustment added to that number, then 999 - fair play.
void TstStandings::order_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<int>("lastMatchday");
    QTest::addColumn<QStringList>("expected"); // "rank name" or "rank name key", in table order

    // Echo 3 pts +4; Alpha 3 pts -3 ranks above Bravo/Charlie (1 pt, 0, 5 goals): points first.
    QTest::newRow("points before goal difference")
        << QStringList { "0100=A|||1|0|||D", "0101=B|||5|5|||C", "0200=E|||4|0|||A" } << 0
        << QStringList { "1 Echo 013204004999", "2 Alpha 013197001999", "3 Charlie 011200005999",
               "3 Bravo 011200005999", "5 Romeo", "5 Foxtrot 010200000999", "18 Delta 010199000999" };

    // Alpha +3 with 3 goals above Charlie +2 with 5 goals.
    QTest::newRow("goal difference before goals scored")
        << QStringList { "0100=A|||3|0|||B", "0101=C|||5|3|||D" } << 0
        << QStringList { "1 Alpha 013203003999", "2 Charlie 013202005999", "3 Romeo", "3 Echo",
               "17 Delta 010198003999", "18 Bravo 010197000999" };

    // Alpha and Bravo level (3 pts, 0, 1 goal); Bravo won at Alpha 0-1, an away goal that counts
    // like any other. Bravo, the later of the pair, gets +1 and passes Alpha in spite of its two
    // yellow cards (without the head-to-head, fair play would put Alpha first).
    QTest::newRow("head to head won by the later team")
        << QStringList { "0100=A|||0|1|||B", "0200=A|||1|0|||C", "0201=D|||1|0|2||B" } << 0
        << QStringList { "1 Delta 013201001999", "2 Bravo 013200002997", "3 Alpha 013200001999", "4 Romeo", "18 Charlie" };

    // Alpha won the meeting 1-0: Bravo, the later team, gets -1; Alpha's key is left alone. By
    // name alone Bravo would have come first.
    QTest::newRow("head to head won by the earlier team")
        << QStringList { "0100=A|||1|0|||B", "0200=B|||1|0|||D", "0201=C|||1|0|||A" } << 0
        << QStringList { "1 Charlie 013201001999", "2 Alpha 013200001999", "3 Bravo 013200000999", "4 Romeo", "18 Delta" };

    // 2-1 and 0-1: two goals each over the two meetings, so nothing changes; Bravo's away goal is
    // worth no more than a home goal. Bravo's yellow card then puts Alpha first.
    QTest::newRow("head to head level: away goals count like home goals")
        << QStringList { "0100=A|||2|1|1||B", "0200=B|||1|0|||A" } << 0
        << QStringList { "1 Alpha 013200002999", "2 Bravo 013200002998", "3 Romeo", "3 Charlie 010200000999" };

    // At matchday 1 they drew 1-1; the return match (0-2, matchday 2) is stored and counts in the
    // head-to-head although the table stops at matchday 1: Bravo -2. It sits in the calendar's
    // last slot (306), so the scan must reach the end of the calendar.
    QTest::newRow("head to head counts every stored meeting, up to the last slot")
        << QStringList { "0100=A|||1|1|||B", "0200=B|||0|2|||A" } << 1
        << QStringList { "1 Alpha 011200001999", "2 Bravo 011199999999", "3 Romeo 010200000999" };

    // A beat B, B beat C, C beat A, all 1-0: three level teams. Bravo is compared with Alpha (-1),
    // Charlie with Bravo (-1) on the first keys; Alpha and Charlie are never compared.
    QTest::newRow("three level teams, each with its neighbour")
        << QStringList { "0100=A|||1|0|||B", "0200=B|||1|0|||C", "0300=C|||1|0|||A" } << 0
        << QStringList { "1 Alpha 013200001999", "2 Charlie 013200000999", "2 Bravo 013200000999", "4 Romeo" };

    // Alpha: yellow 2 + red 1 = 5; Bravo: 4 yellows. Charlie (away): yellow 1 + red 2 = 7.
    QTest::newRow("fair play") << QStringList { "0100=A|1|2|1|0|1|2|C", "0101=B||4|1|0|||D" } << 0
                               << QStringList { "1 Bravo 013201001995", "2 Alpha 013201001994", "3 Romeo",
                                      "17 Delta 010199000999", "18 Charlie 010199000992" };

    // Figures far beyond any integer: the run must neither overflow nor wrap. Bravo has 6 points,
    // every piece at its limit and the worst fair play.
    QTest::newRow("numbers beyond any integer")
        << QStringList { "0100=B|99999999999|99999999999|99999999999|0|||A", "0200=B|||99999999999|0|||C",
               "0101=D|||1|0|||E" }
        << 0 << QStringList { "1 Bravo 016999999000", "2 Delta 013201001999", "3 Romeo", "16 Echo 010199000999",
                    "17 Charlie", "17 Alpha" };
}

void TstStandings::order()
{
    QFETCH(QStringList, results);
    QFETCH(int, lastMatchday);
    QFETCH(QStringList, expected);
    SeasonData season = makeSeason(results);
    LeagueTableModel model;
    display(season, makeStore(results), model, lastMatchday);
    QStringList got;
    for (int r = 0; r < TeamCount; ++r) {
        for (const QString &e : expected) {
            if (e.section(u' ', 1, 1) == nameAt(model, r))
                got << model.rankText(r) + u' ' + nameAt(model, r) + (e.count(u' ') > 1 ? u' ' + model.rowKey(r) : QString());
        }
    }
    QCOMPARE(got, expected);
}

// What one stored record adds to each side. A team's fields, as its row text holds them after the
// key: name, points, difference, for, against, fair play, played, home for, away for, home
// against, away against, home points, away points, home wins, away wins, home losses, away losses,
// draws; then its form.
void TstStandings::records_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("teams"); // "fields|form"
    QTest::addColumn<QString>("summary"); // the run's totals; one appearance is half a match

    // Cards: fair play is 3 per red and 1 per yellow, each side its own pair of boxes.
    QTest::newRow("home win, away win, draw")
        << QStringList { "0100=A|1|2|2|1|3|1|B", "0101=C|||0|3|||D", "0102=E|||1|1|||F" }
        << QStringList { "Alpha|3|1|2|1|5|1|2|0|1|0|3|0|1|0|0|0|0|G", "Bravo|0|-1|1|2|6|1|0|1|0|2|0|0|0|0|0|1|0|P",
               "Charlie|0|-3|0|3|0|1|0|0|3|0|0|0|0|0|1|0|0|P", "Delta|3|3|3|0|0|1|0|3|0|0|0|3|0|1|0|0|0|G",
               "Echo|1|0|1|1|0|1|1|0|1|0|1|0|0|0|0|0|1|N", "Foxtrot|1|0|1|1|0|1|0|1|0|1|0|1|0|0|0|0|1|N" }
        << QStringLiteral("Nombre de buts au total: 8\r\nMoyenne de buts par match :2,67");
    // Alpha at home: 1-0, 1-1, 3-0, 0-0; away: 0-2 (won), 1-0 and 2-1 (lost). Form in matchday order.
    QTest::newRow("a season of form")
        << QStringList { "0100=A|||1|0|||B", "0200=C|||0|2|||A", "0300=A|||1|1|||D", "0400=E|||1|0|||A",
               "0500=A|||3|0|||F", "0600=G|||2|1|||A", "0700=A|||0|0|||H" }
        << QStringList { "Alpha|11|4|8|4|0|7|5|3|1|3|8|3|2|1|0|2|2|GGNPGPN" }
        << QStringLiteral("Nombre de buts au total: 12\r\nMoyenne de buts par match :1,71");
    // Z, a lower-case letter, S and an empty away letter are no team, but the run totals count both
    // sides; an empty home letter skips the whole record. A home score alone is a home win, and the
    // away team has lost without playing; two "-" are nothing at all.
    QTest::newRow("incomplete and damaged records")
        << QStringList { "0100=Z|||3|0|||B", "0101=A|||1|1|||S", "0102=a|||2|0|||C", "0103=|||5|5|||D", "0104=E|||1|0|||",
               "0105=F|||2||||G", "0106=H|||-|-|||I" }
        << QStringList { "Alpha|1|0|1|1|0|1|1|0|1|0|1|0|0|0|0|0|1|N", "Bravo|0|-3|0|3|0|1|0|0|0|3|0|0|0|0|0|1|0|P",
               "Charlie|0|-2|0|2|0|1|0|0|0|2|0|0|0|0|0|1|0|P", "Delta|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|",
               "Echo|3|1|1|0|0|1|1|0|0|0|3|0|1|0|0|0|0|G", "Foxtrot|3|2|2|0|0|1|2|0|0|0|3|0|1|0|0|0|0|G",
               "Golf|0|-2|0|2|0|0|0|0|0|2|0|0|0|0|0|1|0|P", "Hotel|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|" }
        << QStringLiteral("Nombre de buts au total: 10\r\nMoyenne de buts par match :2,22");
}

void TstStandings::records()
{
    QFETCH(QStringList, results);
    QFETCH(QStringList, teams);
    QFETCH(QString, summary);
    SeasonData season = makeSeason(results);
    LeagueTableModel model;
    const StandingsRun run = display(season, makeStore(results), model);
    for (const QString &t : teams) {
        const StandingRow &row = run.rows[season.TeamIndexOf(t.section(u'|', 0, 0))];
        QCOMPARE(row.rowText().mid(13) + u'|' + row.formSequence, t);
    }
    QCOMPARE(model.goalsSummary(), summary);
}

// Fully level teams: ordering ignores case, reads an accented letter as its base letter and a
// ligature as its letters, and compares the row texts at the name's end ("Paris FC|" sorts before
// "Paris|"). The table runs in descending order. A leader once named stays when the store empties.
void TstStandings::nameOrder()
{
    const QStringList names = { "Zèbre", "abeille", "Éclair", "ecrou", "Delta", "étoile", "Bravo", "charlie", "Île",
        "igloo", "Oméga", "orange", "Paris FC", "Paris", "Cœur", "coda", "Mike", "Papa" };
    SeasonData season = makeSeason({}, names);
    LeagueTableModel model;
    display(season, makeStore({}), model);
    QVERIFY(model.leaderName().isEmpty());
    display(season, makeStore({ "0100=A|||0|2|||B" }), model);
    QCOMPARE(model.leaderText(), QStringLiteral("Premier:\r\nabeille"));
    display(season, makeStore({}), model);
    QCOMPARE(tableNames(model), QStringList({ "Zèbre", "Paris", "Paris FC", "Papa", "orange", "Oméga", "Mike", "Île",
                                    "igloo", "étoile", "ecrou", "Éclair", "Delta", "Cœur", "coda", "charlie", "Bravo",
                                    "abeille" }));
    for (int r = 0; r < TeamCount; ++r)
        QCOMPARE(model.rankText(r) + model.rowKey(r), QStringLiteral("1010200000999"));
    QCOMPARE(model.leaderName(), QStringLiteral("abeille"));
    QCOMPARE(model.progressText(), QStringLiteral("0% des Matches joués"));
    QCOMPARE(model.goalsSummary(), QStringLiteral("Nombre de buts au total: 0"));
}

// Alpha: three home wins 1-0 and a home draw 0-0 = 10 points, +3, 3 goals, with the [BonMal] value.
void TstStandings::bonusMalus_data()
{
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("key");
    // 7 + 10 = 17: the points piece is 0017, then 203, 003 and 999 - 0, in twelve digits.
    QTest::newRow("malus 3") << "-3" << "7" << "017203003999";
    // 6.5 + 10 = 16.5 rounds away from zero to 17 (to even it would be 16); 20.5 to 21.
    QTest::newRow("half malus") << "-3.5" << "6,5" << "017203003999";
    QTest::newRow("half bonus") << "0.5" << "10,5" << "021203003999";
    // -3.5 + 10 = 6.5 rounds to 7.
    QTest::newRow("negative half") << "-13.5" << "-3,5" << "007203003999";
    QTest::newRow("no value") << "" << "10" << "020203003999";
    // Held in single precision, a malus shows as typed, not as its binary expansion.
    QTest::newRow("single precision") << "-1.3" << "8,7" << "019203003999";
}

void TstStandings::bonusMalus()
{
    QFETCH(QString, bonus);
    QFETCH(QString, points);
    QFETCH(QString, key);
    const QStringList results = { "0100=A|||1|0|||B", "0200=A|||1|0|||C", "0300=A|||1|0|||D", "0400=A|||0|0|||E" };
    SeasonData season = makeSeason(results);
    LeagueTableModel model;
    display(season, makeStore(results, { QStringLiteral("A=") + bonus }), model);
    const int row = tableNames(model).indexOf(QStringLiteral("Alpha"));
    QCOMPARE(model.cell(row, TableColumn::Points).text, points);
    QCOMPARE(model.rowKey(row), key);
    // Negative points show in red.
    QCOMPARE(model.cell(row, TableColumn::Points).foreground, points.startsWith(u'-') ? Colours::Red : Colours::Black);
    // Home points never hold the bonus or malus.
    QCOMPARE(model.cell(row, TableColumn::HomePoints).text, QStringLiteral("10"));
}

// Heavy penalties: the order follows the points however far below zero they go; the key text keeps
// its twelve digits, its points piece held at 0000.
void TstStandings::farBelowZero()
{
    SeasonData season = makeSeason({});
    LeagueTableModel model;
    display(season, makeStore({}, { "A=-20", "B=-21", "C=-10" }), model);
    const QStringList names = tableNames(model);
    QCOMPARE(names.mid(15), QStringList({ season.teams[2], season.teams[0], season.teams[1] }));
    QCOMPARE(model.rankText(15) + model.rankText(16) + model.rankText(17), QStringLiteral("161718"));
    QCOMPARE(model.rowKey(17), QStringLiteral("000200000999"));
}

void TstStandings::matchdayLimit()
{
    const QStringList results = { "0100=A|||1|0|||B", "0200=A|||1|0|||C", "0300=A|||1|0|||D", "0400=A|||1|0|||E",
        "0500=A|||1|0|||F", "0600=A|||1|0|||G", "0601=H|||1|0|||I" };
    SeasonData season = makeSeason(results);
    const IniSnapshot store = makeStore(results);
    LeagueTableModel model;
    model.setTitle(QStringLiteral("Classement à la Journée N°5"));
    int last = 5;
    const StandingsContext ctx;
    const StandingsRun run = ComputeStandings(season, store, last, false, ctx, model);
    // Matchdays 1 to 5 count, 6 does not; the title stays.
    QCOMPARE(last, 5);
    QCOMPARE(model.title(), QStringLiteral("Classement à la Journée N°5"));
    QCOMPARE(run.appearanceCount, 10);
    QCOMPARE(model.cell(0, TableColumn::Points).text, QStringLiteral("15"));

    // 0 asks for the whole season: the caller's variable becomes 34 and the title is emptied.
    last = 0;
    ComputeStandings(season, store, last, false, ctx, model);
    QCOMPARE(last, 34);
    QVERIFY(model.title().isEmpty());
    QCOMPARE(model.cell(0, TableColumn::Points).text + u'/' + model.cell(0, TableColumn::Played).text, QStringLiteral("18/6"));
}

// Teams whose played count differs from the current matchday's, in table order; half a match per name.
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
    QTest::newRow("ahead and behind") << QStringList { "0100=A|||0|0|||B", "0200=A|||0|0|||C" } << 1 << 0
                                      << QStringLiteral("0,5 Match en avance pour: Alpha. 7,5 Matches en retard pour : %1.").arg(behind);
    // Eighteen names make 9 matches, still below the cut-off of 10.
    QTest::newRow("everybody behind") << QStringList {} << 1 << 0
                                      << QStringLiteral("9 Matches en retard pour : %1, Charlie, Bravo, Alpha.").arg(behind);
    QTest::newRow("up to date") << firstMatchday([](int) { return QStringLiteral("0|0"); }) << 1 << 0 << QString();
    QTest::newRow("not for a matchday table") << QStringList { "0100=A|||0|0|||B" } << 0 << 5 << QString();
}

void TstStandings::gamesInHand()
{
    QFETCH(QStringList, results);
    QFETCH(int, current);
    QFETCH(int, lastMatchday);
    QFETCH(QString, message);
    SeasonData season = makeSeason({});
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
    SeasonData season = makeSeason({});
    LeagueTableModel model;
    // Every team one match: 18 of 612 appearances = 2.94 %, shown rounded; nobody below the average.
    const QStringList oneEach = firstMatchday([](int) { return QStringLiteral("1|0"); });
    display(season, makeStore(oneEach), model);
    QCOMPARE(model.progressText(), QStringLiteral("3% des Matches joués"));
    for (int r = 0; r < TeamCount; ++r)
        QCOMPARE(model.cell(r, TableColumn::Played).background, Colours::White);

    // 20 appearances: a team with one match (18 < 20) has fewer than the average and is coloured.
    const IniSnapshot store = makeStore(QStringList(oneEach) << "0200=A|||0|0|||C");
    display(season, store, model, 0, 1);
    QCOMPARE(model.progressFraction(), 20.0 / 612);
    for (int r = 0; r < TeamCount; ++r) {
        const bool two = nameAt(model, r) == u"Alpha" || nameAt(model, r) == u"Charlie";
        QCOMPARE(model.cell(r, TableColumn::Played).text, two ? QStringLiteral("2") : QStringLiteral("1"));
        QCOMPARE(model.cell(r, TableColumn::Played).background, two ? Colours::White : Colours::LightGreen);
    }

    // While the evolution chart is built, the last full count is the base.
    StandingsContext ctx;
    ctx.chartBuilding = true;
    int last = 1;
    ComputeStandings(season, store, last, false, ctx, model);
    QCOMPARE(model.progressText(), QStringLiteral("90%"));
    QCOMPARE(model.progressFraction(), 18.0 / 20);
    QCOMPARE(model.progressBase(), 20);
}

void TstStandings::zones()
{
    // Home wins by 9, 8, ... 1 goals: one rank each. The colours and tooltips go by row.
    const QStringList results = firstMatchday([](int i) { return QStringLiteral("%1|0").arg(9 - i); });
    SeasonData season = makeSeason(results);
    LeagueTableModel model;
    display(season, makeStore(results), model, 0, 1, QStringLiteral("Echo"));

    const QString cl = QStringLiteral("Qualifié phase de groupe Champions league");
    // The favourite is yellow whatever its zone; its tooltip stays.
    const QList<QPair<Rgb, QString>> expected = { { Zones::Champions, cl }, { Zones::Champions, cl },
        { Colours::Favourite, cl }, { Zones::ThirdRound, QStringLiteral("Qualifié 3eme tour pour non champions Champions league") },
        { Zones::LeaguePhase, QStringLiteral("Qualifié phase de ligue") },
        { Zones::Playoff, QStringLiteral("Qualifié tour de barrage") } };
    for (int r = 0; r < TeamCount; ++r) {
        QPair<Rgb, QString> want = r < 6 ? expected[r] : QPair<Rgb, QString>(Colours::White, QString());
        if (r == 15)
            want = { Zones::RelegationPlayoff, QStringLiteral("Barrage de relégation") };
        if (r >= 16)
            want = { Zones::Relegated, QStringLiteral("Relégué en Ligue 2") };
        QCOMPARE(model.rankText(r), QString::number(r + 1));
        QCOMPARE(model.cell(r, TableColumn::Name).background, want.first);
        QCOMPARE(model.cell(r, TableColumn::Name).tooltip, want.second);
        QCOMPARE(model.cell(r, TableColumn::Name).bold, r == 0);
    }
}

// A silent run (for the movement icons) only records the rank order; the table shown and its forms stay.
void TstStandings::silentMode()
{
    SeasonData season = makeSeason({});
    LeagueTableModel model;
    display(season, makeStore({ "0100=A|||1|0|||B" }), model, 0, 0);
    const QStringList shown = { model.goalsSummary(), model.progressText(), model.gamesInHand(), model.rowKey(0) };

    int last = 0;
    StandingsContext ctx;
    ctx.currentMatchday = 1;
    ComputeStandings(season, makeStore({ "0100=A|||0|2|||B", "0101=C|||3|0|||D" }), last, true, ctx, model);
    QCOMPARE(QStringList({ model.silentOrder(0), model.silentOrder(1), model.silentOrder(16), model.silentOrder(17) }),
        QStringList({ "Charlie", "Bravo", "Alpha", "Delta" }));
    QCOMPARE(model.formSequenceOf(QStringLiteral("Alpha"), season), QStringLiteral("G"));
    QCOMPARE(QStringList({ model.goalsSummary(), model.progressText(), model.gamesInHand(), model.rowKey(0) }), shown);
    QCOMPARE(nameAt(model, 0) + u'/' + model.cell(0, TableColumn::Points).text + u'/' + model.leaderName(),
        QStringLiteral("Alpha/3/Alpha"));
}

QTEST_GUILESS_MAIN(TstStandings)
#include "tst_standings.moc"

// The one-pass runs (the web edition's rank charts) against a run of its own for each matchday.
void TstStandings::eachMatchdayInOnePass_data()
{
    QTest::addColumn<QString>("storePath");
    QTest::newRow("demo season") << QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini");
    QTest::newRow("no store") << QString();
}

void TstStandings::eachMatchdayInOnePass()
{
    QFETCH(QString, storePath);
    SeasonData season;
    QVERIFY(LoadSeasonFile(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), season));
    const IniSnapshot store = storePath.isEmpty() ? IniSnapshot::fromBytes({}) : IniSnapshot::fromFile(storePath);
    ResultsStore::loadBonusMalus(store, season);
    std::array<bool, MatchdayCount + 1> wanted{};
    wanted.fill(true);
    wanted[0] = false;
    wanted[7] = false; // a matchday left out still counts for the ones after it
    int expected = 1;
    RunStandingsAfterEachMatchday(season, store, wanted, [&](const StandingsRun &run) {
        if (expected == 7)
            ++expected;
        QCOMPARE(run.lastMatchday, expected);
        const StandingsRun alone = RunStandings(season, store, expected);
        QCOMPARE(run.tableOrder, alone.tableOrder);
        QCOMPARE(run.rowKeys, alone.rowKeys);
        QCOMPARE(run.ranks, alone.ranks);
        QCOMPARE(run.appearanceCount, alone.appearanceCount);
        QCOMPARE(run.goalCount, alone.goalCount);
        for (int t = 0; t < TeamCount; ++t)
            QCOMPARE(run.rows[t].fairPlay, alone.rows[t].fairPlay);
        ++expected;
    });
    QCOMPARE(expected, MatchdayCount + 1);
}

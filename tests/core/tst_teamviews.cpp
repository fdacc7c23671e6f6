// The team views: the sheet and its planning frame, the summary panel, the crest banner, and the
// command line's team sheet and iCalendar export.
#include "RunProgram.h"
#include "TestProgram.h"
#include "teamviews/TeamViewsController.h"
#include "window/MainController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using Program = TestProgram;

// Lens (H) at home on matchdays 1 and 3, away on 2, 4, 5 and 7; a "-|-" fixture, a half-entered
// score at each end, a 0-0, a win, a loss, and no result anywhere else.
const QByteArray LensStore = "[Resultats]\r\n"
                             "0106=H||1|0|0|||G\r\n" // 0-0 at home
                             "0207=P|||-|-|||H\r\n" // nothing played yet
                             "0308=H|1|2|3||||J\r\n" // only the home score
                             "0408=E|||0||||H\r\n" // only the home score, 0
                             "0507=I|1||1|2|2||H\r\n" // won away
                             "0705=O|||3|0|||H\r\n"; // lost away

const SheetRow *rowOf(const TeamSheetModel &sheet, const QString &key)
{
    for (const SheetRow &row : sheet.rows) {
        if (row.visible && row.key == key)
            return &row;
    }
    return nullptr;
}

Outcome cli(const QStringList &args)
{
    return RunProgram(QStringLiteral(KESTRAVA_CLI), args);
}

// The events of an iCalendar file as a real parser reads them: "UID|DTSTART|SUMMARY" lines.
QStringList parsedEvents(const QByteArray &ics)
{
    const Outcome o = RunProgram(
        QStringLiteral("/usr/bin/python3"), { QStringLiteral(KESTRAVA_TEST_DATA_DIR "/ics_events.py") }, ics);
    return o.status == 0 ? QString::fromUtf8(o.out).split(u'\n', Qt::SkipEmptyParts)
                         : QStringList { QStringLiteral("error: ") + o.err };
}

} // namespace

class TestTeamViews : public QObject
{
    Q_OBJECT
private slots:
    void sheetRows_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("r1");
        QTest::addColumn<QString>("r2");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("markerShown");
        QTest::newRow("0-0 at home") << "0106"
                                     << "0"
                                     << "0" << int(SheetResult::Draw) << true;
        QTest::newRow("-|- shows empty") << "0207"
                                         << ""
                                         << "" << int(SheetResult::None) << false;
        QTest::newRow("home score only") << "0308"
                                         << "3"
                                         << "" << int(SheetResult::Partial) << true;
        QTest::newRow("0 and no away score") << "0408"
                                             << "0"
                                             << "" << int(SheetResult::Draw) << true;
        QTest::newRow("won away") << "0507"
                                  << "1"
                                  << "2" << int(SheetResult::Win) << true;
        QTest::newRow("lost away") << "0705"
                                   << "3"
                                   << "0" << int(SheetResult::Loss) << true;
        QTest::newRow("no result") << "1002"
                                   << ""
                                   << "" << int(SheetResult::None) << false;
    }
    void sheetRows()
    {
        QFETCH(QString, key);
        QFETCH(QString, r1);
        QFETCH(QString, r2);
        QFETCH(int, result);
        QFETCH(bool, markerShown);
        Program p(Program::Empty);
        p.setStore(LensStore);
        MainController &c = p.start();
        c.teamViews().openTeamSheet(QStringLiteral("Lens"));
        const SheetRow *row = rowOf(c.teamViews().sheet(), key);
        QVERIFY(row);
        QCOMPARE(row->r1, r1);
        QCOMPARE(row->r2, r2);
        QCOMPARE(int(row->result), result);
        QCOMPARE(row->markerVisible, markerShown);
        static const QHash<int, Rgb> colours = { { int(SheetResult::Draw), SheetColours::Draw },
            { int(SheetResult::Win), SheetColours::Win }, { int(SheetResult::Loss), SheetColours::Loss },
            { int(SheetResult::Partial), SheetColours::Partial },
            { int(SheetResult::None), SheetColours::NoResult } };
        QCOMPARE(row->marker, colours.value(int(row->result)));
    }

    void sheetTotalsAndLayout()
    {
        Program p(Program::Empty);
        p.setStore(LensStore);
        MainController &c = p.start();
        c.teamViews().openTeamSheet(QStringLiteral("Lens"));
        const TeamSheetModel &s = c.teamViews().sheet();
        QVERIFY(s.visible);
        QCOMPARE(s.clubs.size(), 18);
        // Home fixtures fill the left column, away ones the right; Retour rows from matchday 18.
        QCOMPARE(s.rows[0].key, QStringLiteral("0106"));
        QCOMPARE(s.rows[17].key, QStringLiteral("0207"));
        QVERIFY(s.rows[0].home.bold && !s.rows[0].away.bold);
        QCOMPARE(s.rows[0].date, QStringLiteral("21 08 26"));
        QVERIFY(!s.rows[8].retour && s.rows[9].retour);
        // The yellow box steps aside for a red one.
        const SheetRow *both = rowOf(s, QStringLiteral("0308"));
        QCOMPARE(both->cards[int(SheetCardBox::HomeYellow)].inset, SheetCardTwips::BesideRed);
        QVERIFY(!both->cards[int(SheetCardBox::AwayRed)].visible);

        QCOMPARE(s.bars[AllerHome].draws, 1);
        QCOMPARE(s.bars[AllerHome].unplayed, 7); // the half-entered score counts nowhere
        QCOMPARE(s.bars[AllerAway].wins, 1);
        QCOMPARE(s.bars[AllerAway].losses, 1);
        QCOMPARE(s.bars[AllerAway].shares[1], 1.0 / 8);
        QVERIFY(!s.bars[RetourHome].partShown(0) && s.bars[RetourHome].unplayed == 8);
        QCOMPARE(s.bars[SeasonBar].captions[2], QStringLiteral("\r\nDéfaites: 1"));
        QCOMPARE(s.captions[PointsLine], QStringLiteral("Points: 5"));
        QCOMPARE(s.captions[RedCards], QStringLiteral("Cartons Rouges: 1"));
        QCOMPARE(s.captions[YellowCards], QStringLiteral("Cartons Jaunes: 5"));
        QCOMPARE(s.captions[GoalsForLine], QStringLiteral("Buts Marqués: 5"));
        QCOMPARE(s.captions[GoalsForPerMatch], QStringLiteral("1.25 par match."));
        QCOMPARE(s.captions[GoalsAgainstPerMatch], QStringLiteral("1.0 par match."));
        QCOMPARE(s.captions[RankLine], QStringLiteral("Classement: 1"));
    }

    void perMatch_data()
    {
        QTest::addColumn<int>("goals");
        QTest::addColumn<int>("played");
        QTest::addColumn<QString>("text");
        QTest::newRow("2 in 2") << 2 << 2 << "1.0";
        QTest::newRow("5 in 4") << 5 << 4 << "1.25";
        QTest::newRow("2 in 3") << 2 << 3 << "0.67";
        QTest::newRow("1 in 8, half up") << 1 << 8 << "0.13";
        QTest::newRow("none played") << 0 << 0 << "";
    }
    void perMatch()
    {
        QFETCH(int, goals);
        QFETCH(int, played);
        QFETCH(QString, text);
        QCOMPARE(PerMatch(goals, played), text);
    }

    void noResultAtAll()
    {
        Program p(Program::Empty);
        p.setStore(LensStore);
        MainController &c = p.start();
        // The sheet of a club with results was shown first: nothing of it may stay.
        c.teamViews().openTeamSheet(QStringLiteral("Lens"));
        c.teamViews().selectClub(0);
        const TeamSheetModel &s = c.teamViews().sheet();
        for (int b = AllerHome; b <= SeasonBar; ++b)
            QVERIFY(!s.bars[b].partShown(0) && !s.bars[b].partShown(1) && !s.bars[b].partShown(2));
        QVERIFY(s.captions[GoalsForPerMatch].isEmpty());
        QCOMPARE(s.captions[PointsLine], QStringLiteral("Points: 0"));
    }

    void figuresPastTheIntRange()
    {
        Program p(Program::Empty);
        p.setStore("[Resultats]\r\n0106=H|99999999999|99999999999|99999999999|0|||G\r\n"
                   "0308=H|99999999999|99999999999|99999999999|1|||J\r\n");
        MainController &c = p.start();
        c.teamViews().openTeamSheet(QStringLiteral("Lens"));
        const TeamSheetModel &s = c.teamViews().sheet();
        QCOMPARE(s.captions[GoalsForLine], QStringLiteral("Buts Marqués: 199999999998"));
        QCOMPARE(s.captions[GoalsAgainstLine], QStringLiteral("Buts Encaissés: 1"));
        QCOMPARE(s.captions[RedCards], QStringLiteral("Cartons Rouges: 199999999998"));
        QCOMPARE(s.captions[YellowCards], QStringLiteral("Cartons Jaunes: 199999999998"));
        QCOMPARE(s.captions[GoalsForPerMatch], QStringLiteral("99999999999.0 par match."));
    }

    void favouriteAndHover()
    {
        Program p;
        MainController &c = p.start();
        c.session().favouriteTeam = QStringLiteral("Lens");
        TeamViewsController &t = c.teamViews();
        t.openTeamSheet(QStringLiteral("Brest"));
        const TeamSheetModel &s = t.sheet();
        int yellow = 0;
        for (const SheetRow &row : s.rows) {
            for (const SheetName *n : { &row.home, &row.away }) {
                QCOMPARE(n->background == SheetColours::Marked, n->text == u"Lens");
                yellow += n->text == u"Lens" ? 1 : 0;
            }
        }
        QCOMPARE(yellow, 2);
        // Pointing at a name replaces the favourite's marking by that club's.
        t.hoverSheetName(0, true);
        const QString pointed = s.rows[0].away.text;
        for (const SheetRow &row : s.rows)
            QCOMPARE(row.away.background == SheetColours::Marked, row.away.text == pointed);
        // Never on its own sheet.
        t.selectClub(7);
        for (const SheetRow &row : s.rows)
            QVERIFY(row.home.background == SheetColours::Name && row.away.background == SheetColours::Name);
    }

    void openingRule_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("favourite");
        QTest::addColumn<QString>("shown");
        QTest::newRow("leader") << ""
                                << ""
                                << "Lens";
        QTest::newRow("favourite") << ""
                                   << "Brest"
                                   << "Brest";
        QTest::newRow("tag first") << "Nice"
                                   << "Brest"
                                   << "Nice";
        QTest::newRow("Aucune is no club") << ""
                                           << "Aucune"
                                           << "Lens";
    }
    void openingRule()
    {
        QFETCH(QString, tag);
        QFETCH(QString, favourite);
        QFETCH(QString, shown);
        Program p;
        MainController &c = p.start();
        c.session().favouriteTeam = favourite;
        c.matchdays().setSheetTeam(tag);
        c.clickButton(Btn::Teams);
        QCOMPARE(c.teamViews().sheet().team, shown);
    }

    void sameClubRefilledOnlyWhenChanged()
    {
        Program p(Program::Empty);
        MainController &c = p.start();
        TeamViewsController &t = c.teamViews();
        t.openTeamSheet(QStringLiteral("Lens"));
        // Nothing changed: the sheet comes back as it was left, the name marked under the pointer.
        t.hoverSheetName(0, true);
        const Rgb marked = t.sheet().rows[0].away.background;
        QVERIFY(!(marked == SheetColours::Name));
        c.clickButton(Btn::CloseTeamSheet);
        t.openTeamSheet(QStringLiteral("Lens"));
        QCOMPARE(t.sheet().rows[0].away.background, marked);
        // New results on disk: the same club's sheet shows them.
        c.clickButton(Btn::CloseTeamSheet);
        QVERIFY(!t.sheet().visible);
        p.setStore(LensStore);
        t.openTeamSheet(QStringLiteral("Lens"));
        QVERIFY(t.sheet().visible);
        QCOMPARE(t.sheet().captions[PointsLine], QStringLiteral("Points: 5"));
    }

    void summaryCounts()
    {
        Program p(Program::Empty);
        p.setStore(LensStore);
        MainController &c = p.start();
        TeamViewsController &t = c.teamViews();
        t.hoverTableRow(QStringLiteral("Brest"));
        t.hoverTableRow(QStringLiteral("Lens"));
        const SummaryPanelModel &s = t.summary();
        // "-|-" counts nothing; "3|" is a home win and "0|" a draw, by the home score alone.
        QCOMPARE(s.line(SummaryPanelModel::Won), QStringLiteral("Matches Gagnés: 2 (Dom:1) (Ext:1)"));
        QCOMPARE(s.line(SummaryPanelModel::Lost), QStringLiteral("Matches Perdus: 1 (Dom:0) (Ext:1)"));
        QCOMPARE(s.line(SummaryPanelModel::Drawn), QStringLiteral("Matches Nuls: 2"));
        QCOMPARE(s.line(SummaryPanelModel::Played), QStringLiteral("Matches Joués: 5"));
        QCOMPARE(s.line(SummaryPanelModel::Name), QStringLiteral("Lens"));
        QCOMPARE(s.line(SummaryPanelModel::Movement), QStringLiteral(" (=)"));
        // Every run of the table refreshes the team on show.
        p.setStore("[Resultats]\r\n");
        c.standings().compute(0);
        QCOMPARE(s.line(SummaryPanelModel::Played), QStringLiteral("Matches Joués: 0"));
        // The movement of the team's row, once the icons give it.
        const LeagueTableModel &table = c.standings().table();
        t.setRankMovements([&table](int row) {
            return RankMovement { RankMovement::Kind::Up, table.cell(row, TableColumn::Name).text };
        });
        t.clickSummary();
        QCOMPARE(s.line(SummaryPanelModel::Movement), QStringLiteral(" (Lens)"));
        t.clickLeader();
        QCOMPARE(s.team(), c.standings().table().cell(0, TableColumn::Name).text);
    }

    void bannerTrigger_data()
    {
        QTest::addColumn<int>("stripLeft");
        QTest::addColumn<int>("position");
        constexpr int pitch = BannerTwips::Crest + BannerTwips::Gap;
        QTest::newRow("zone start excluded") << BannerTwips::TriggerFrom << -1;
        QTest::newRow("first crest in") << BannerTwips::TriggerFrom + 1 << 0;
        QTest::newRow("zone end excluded") << BannerTwips::TriggerTo << -1;
        QTest::newRow("second crest") << BannerTwips::TriggerFrom + 1 - pitch << 1;
        QTest::newRow("last crest") << BannerTwips::TriggerTo - 1 - 17 * pitch << 17;
        QTest::newRow("entering at the right") << BannerTwips::View << -1;
    }
    void bannerTrigger()
    {
        CrestBannerModel banner;
        std::array<QString, TeamCount> teams;
        for (int i = 0; i < TeamCount; ++i)
            teams[i] = QString(QChar(u'a' + i));
        banner.layOut(teams);
        QFETCH(int, stripLeft);
        QFETCH(int, position);
        banner.stripLeft = stripLeft;
        QCOMPARE(banner.crestInTriggerZone(), position < 0 ? QString() : teams[position]);
    }

    void bannerLifecycle()
    {
        Program p;
        MainController &c = p.start();
        TeamViewsController &t = c.teamViews();
        const CrestBannerModel &b = t.banner();
        const LeagueTableModel &table = c.standings().table();
        QVERIFY(t.bannerRunning() && b.shown);
        QCOMPARE(t.summary().team(), table.cell(0, TableColumn::Name).text);
        // The panel follows the crest passing the trigger zone: the third club after a while.
        while (b.crestInTriggerZone() != table.cell(2, TableColumn::Name).text)
            t.bannerTick();
        QCOMPARE(t.summary().team(), table.cell(2, TableColumn::Name).text);
        // Pointing at a crest stops it; the bare window starts it again.
        t.hoverBannerCrest(5);
        QVERIFY(!t.bannerRunning());
        QCOMPARE(t.summary().team(), table.cell(5, TableColumn::Name).text);
        // A button leaves a paused banner alone: the bare window starts it again.
        c.clickButton(Btn::Rankings);
        QVERIFY(b.shown && !b.gone());
        c.hoverWindow();
        QVERIFY(t.bannerRunning());
        // Any button ends it at the next tick, for good.
        c.clickButton(Btn::Rankings);
        t.bannerTick();
        QVERIFY(!t.bannerRunning() && !b.shown);
        c.hoverWindow();
        QVERIFY(!t.bannerRunning());
        // The last update's date lays it out again.
        t.clickLastUpdate();
        QVERIFY(t.bannerRunning() && b.shown && b.stripLeft == BannerTwips::View);
        // Left alone, it runs out by itself and stops its timer.
        int ticks = 0;
        while (t.bannerRunning() && ticks++ < 10000)
            t.bannerTick();
        QVERIFY(!b.shown && b.gone());
        QCOMPARE(ticks, (BannerTwips::View + b.stripWidth) / BannerTwips::Step + 1);
    }

    void exportCalendar()
    {
        Program p;
        MainController &c = p.start();
        TeamViewsController &t = c.teamViews();
        t.openTeamSheet(QStringLiteral("Lens"));
        // Cancelled: nothing written.
        QVERIFY(!t.exportCalendar());
        QCOMPARE(p.dialogs.shown.last().kind, QStringLiteral("savefile"));
        QCOMPARE(p.dialogs.shown.last().text, p.path(QStringLiteral("Ligue1-2026-2027-Lens.ics")));
        const QString target = p.path(QStringLiteral("lens.ics"));
        p.dialogs.saveFileAnswers = { target };
        QVERIFY(t.exportCalendar());
        const QStringList events = parsedEvents(ReadFileBytes(target));
        QCOMPARE(events.size(), 34);
        QVERIFY2(
            events.contains(QStringLiteral("L1-2026-2027-HG@kestrava|2026-08-21|Lens - Strasbourg (2-1)")),
            qPrintable(events.value(0)));
        // A folder that cannot take the file: the user is told.
        p.dialogs.saveFileAnswers = { p.path(QStringLiteral("missing/lens.ics")) };
        QVERIFY(!t.exportCalendar());
        QVERIFY(p.dialogs.shown.last().text.startsWith(
            QStringLiteral("Le calendrier n'a pas pu être enregistré")));
    }

    void cliTeamSheet()
    {
        Program p(Program::Empty);
        p.setStore(LensStore);
        const QString dir = p.dir.path();
        const Outcome csv = cli({ "team", "Lens", "--dir", dir, "--format", "csv" });
        QCOMPARE(csv.status, 0);
        const QStringList lines = QString::fromUtf8(csv.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 35);
        QCOMPARE(lines[0],
            QStringLiteral("row,key,matchday,date,home,away,home_goals,away_goals,home_yellow,"
                           "home_red,away_yellow,away_red,result"));
        QCOMPARE(lines[1], QStringLiteral("0,0106,1,21 08 26,Lens,Strasbourg,0,0,1,,,,draw"));
        QCOMPARE(lines[2], QStringLiteral("1,0308,3,11 09 26,Lens,Toulouse,3,,2,1,,,partial"));
        QCOMPARE(lines[18], QStringLiteral("17,0207,2,28 08 26,Lorient,Lens,,,,,,,none"));

        const Outcome json = cli({ "team", "Lens", "--dir", dir, "--format", "json" });
        QCOMPARE(json.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(o.value("team").toString(), QStringLiteral("Lens"));
        QCOMPARE(o.value("points").toInt(), 5);
        QCOMPARE(o.value("rank").toInt(), 1);
        QCOMPARE(o.value("goals_for_per_match").toString(), QStringLiteral("1.25"));
        QCOMPARE(o.value("rows").toArray().size(), 34);
        const QJsonObject away = o.value("sections").toArray()[1].toObject();
        QCOMPARE(away.value("unplayed").toInt(), 5);
        QCOMPARE(o.value("season").toObject().value("draws").toInt(), 2);

        p.setStore("[Resultats]\r\n");
        const Outcome none = cli({ "team", "Lens", "--dir", dir, "--format", "json" });
        QVERIFY(QJsonDocument::fromJson(none.out).object().value("goals_against_per_match").isNull());
        const Outcome text = cli({ "team", "Lens", "--dir", dir });
        QCOMPARE(text.status, 0);
        QVERIFY(text.out.startsWith("Lens - Ligue 1 (2026 - 2027)\n"));

        const Outcome unknown = cli({ "team", "Lensois", "--dir", dir });
        QCOMPARE(unknown.status, 2);
        QCOMPARE(unknown.err, QStringLiteral("Equipe inconnue: Lensois\n"));
        QCOMPARE(cli({ "team", "--dir", dir }).status, 1);
    }

    void cliCalendarUpdatesOnReimport()
    {
        Program p(Program::Empty);
        const QString dir = p.dir.path();
        const Outcome all = cli({ "calendar", "--dir", dir });
        QCOMPARE(all.status, 0);
        const QStringList before = parsedEvents(all.out);
        QCOMPARE(before.size(), 306);
        QCOMPARE(QSet<QString>(before.begin(), before.end()).size(), 306);
        // Once played, the same event (same UID) carries the score.
        p.setStore(LensStore);
        const QStringList after = parsedEvents(cli({ "calendar", "--team", "Lens", "--dir", dir }).out);
        QCOMPARE(after.size(), 34);
        const QString won = QStringLiteral("L1-2026-2027-IH@kestrava|2026-09-25|Brest - Lens (1-2)");
        QVERIFY(after.contains(won));
        QVERIFY(before.contains(QStringLiteral("L1-2026-2027-IH@kestrava|2026-09-25|Brest - Lens")));
        QCOMPARE(cli({ "calendar", "--team", "Lensois", "--dir", dir }).status, 2);

        // A name long enough to fold its lines (the fold falls on an "é"), with a comma to escape.
        const QString longName = QStringLiteral("Racing Club de Lens, Association Sportive Artois du d'été");
        QByteArray season = ReadFileBytes(p.path(QStringLiteral("2027.txt")));
        season.replace("EQU|Lens\r\n", "EQU|" + longName.toLatin1() + "\r\n");
        WriteFileBytes(p.path(QStringLiteral("2027.txt")), season);
        const QByteArray ics = cli({ "calendar", "--team", longName, "--dir", dir }).out;
        QVERIFY(ics.contains("Lens\\, Association"));
        const QStringList folded = parsedEvents(ics);
        QVERIFY(folded.contains(QStringLiteral("L1-2026-2027-IH@kestrava|2026-09-25|Brest - ") + longName
            + QStringLiteral(" (1-2)")));

        // A season file where the same club hosts the same visitor twice: each event keeps a UID
        // of its own, the second one naming its slot.
        season.replace("CAL|22|HI\r\n", "CAL|22|IH\r\n");
        WriteFileBytes(p.path(QStringLiteral("2027.txt")), season);
        const QStringList twice = parsedEvents(cli({ "calendar", "--dir", dir }).out);
        QSet<QString> uids;
        for (const QString &event : twice)
            uids.insert(event.section(u'|', 0, 0));
        QCOMPARE(uids.size(), 306);
        QVERIFY(uids.contains(QStringLiteral("L1-2026-2027-IH@kestrava")));
        QVERIFY(std::any_of(uids.begin(), uids.end(), [](const QString &u) { return u.startsWith(QStringLiteral("L1-2026-2027-IH-22")); }));
    }
};

QTEST_GUILESS_MAIN(TestTeamViews)
#include "tst_teamviews.moc"

// The fixture grid, its fillings, result entry and saving, the card report and the month calendar.
#include "TestProgram.h"
#include "matchdays/CalendarModel.h"
#include "matchdays/CalendarRules.h"
#include "matchdays/FixtureGridModel.h"
#include "matchdays/MatchdayView.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "window/MainController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

SeasonData shippedSeason()
{
    SeasonData s;
    LoadSeasonFile(DataDir + QStringLiteral("/2027.txt"), s);
    return s;
}

IniSnapshot storeOf(const QByteArray &text)
{
    return IniSnapshot::fromBytes(text);
}

const Rgb red{192, 0, 0}, grey{170, 170, 170}, teal{0, 128, 128}, darkBlue{0, 0, 64};

using Program = TestProgram;

} // namespace

class TestMatchdays : public QObject
{
    Q_OBJECT
    const SeasonData season = shippedSeason();

private slots:
    void changeRules()
    {
        FixtureGridModel g;
        g.setGoals(0, GoalsBox::Home, QStringLiteral("3"));
        QVERIFY(g.pending());
        QCOMPARE(g.row(0).home.foreground, red);
        QCOMPARE(g.row(0).away.foreground, grey);
        QVERIFY(g.row(0).home.bold && !g.row(0).away.bold);
        g.setGoals(0, GoalsBox::Away, QStringLiteral("3"));
        QCOMPARE(g.row(0).home.foreground, teal);
        QCOMPARE(g.row(0).away.foreground, teal);
        QVERIFY(g.row(0).away.bold);
        g.setGoals(0, GoalsBox::Away, QStringLiteral("4"));
        QCOMPARE(g.row(0).away.foreground, red);
        QCOMPARE(g.row(0).home.foreground, grey);
        // Emptied boxes: dark blue, not bold.
        g.setGoals(0, GoalsBox::Home, QString());
        g.setGoals(0, GoalsBox::Away, QString());
        QCOMPARE(g.row(0).home.foreground, darkBlue);
        QVERIFY(!g.row(0).home.bold && !g.row(0).away.bold);
        // The same text again runs nothing.
        g.setPending(false);
        g.setGoals(0, GoalsBox::Away, QString());
        QVERIFY(!g.pending());
        // A score change puts the card boxes back at rest.
        g.row(1).cards[int(CardBox::HomeYellow)].left = 15;
        g.setGoals(1, GoalsBox::Home, QStringLiteral("1"));
        QCOMPARE(g.row(1).cards[int(CardBox::HomeYellow)].left, 180);
    }
    void cardLimit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("two digits") << "12" << "1";
        QTest::newRow("blank then two digits") << " 12" << " ";
        QTest::newRow("one digit") << "2" << "2";
        QTest::newRow("digit with blanks") << " 2 " << " 2 ";
        QTest::newRow("empty") << "" << "";
    }
    void cardLimit()
    {
        QFETCH(QString, typed);
        FixtureGridModel g;
        g.setCard(0, CardBox::AwayRed, QStringLiteral("x"));
        g.setPending(false);
        g.setCard(0, CardBox::AwayRed, typed);
        QTEST(g.row(0).cards[int(CardBox::AwayRed)].text, "kept");
        QVERIFY(g.pending());
    }
    void header_data()
    {
        QTest::addColumn<QDateTime>("launch");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<Rgb>("colour");
        // Matchday 14 is on Friday 11 December 2026, at midnight.
        const QDate d(2026, 12, 11);
        QTest::newRow("tomorrow, 14:00") << QDateTime(d.addDays(-1), QTime(14, 0)) << 11 << " Dans 0 jour" << Rgb{0, 0, 192};
        QTest::newRow("tomorrow, 10:00") << QDateTime(d.addDays(-1), QTime(10, 0)) << 11 << " Dans 1 jour" << Rgb{0, 0, 192};
        QTest::newRow("two days, 10:00") << QDateTime(d.addDays(-2), QTime(10, 0)) << 11 << " Dans 2 jours" << Rgb{0, 0, 192};
        QTest::newRow("halfway goes even") << QDateTime(d.addDays(-3), QTime(12, 0)) << 11 << " Dans 2 jours" << Rgb{0, 0, 192};
        QTest::newRow("today") << QDateTime(d, QTime(20, 0)) << 11 << " Aujourd'hui !" << Rgb{192, 0, 0};
        QTest::newRow("today at midnight") << QDateTime(d, QTime(0, 0)) << 11 << " Aujourd'hui !" << Rgb{192, 0, 0};
        QTest::newRow("yesterday") << QDateTime(d.addDays(1), QTime(0, 1)) << 11 << "" << Rgb{0, 128, 0};
        // Across the clock changes (Paris time), days are counted as the wall clock shows them.
        QTest::newRow("2.5 days over the October change") << QDateTime(QDate(2026, 10, 23), QTime(12, 0)) << 26
                                                          << " Dans 2 jours" << Rgb{0, 0, 192};
        QTest::newRow("3.5 days over the March change") << QDateTime(QDate(2027, 3, 25), QTime(12, 0)) << 29
                                                        << " Dans 4 jours" << Rgb{0, 0, 192};
        QTest::newRow("the night the clocks go back") << QDateTime(QDate(2026, 10, 25), QTime(23, 30)) << 25
                                                      << " Aujourd'hui !" << Rgb{192, 0, 0};
    }
    void header()
    {
        QFETCH(QDateTime, launch);
        QFETCH(int, day);
        QFETCH(QString, suffix);
        // The row's matchday, moved to the day of its month that the row names.
        SeasonData s = season;
        const QDate date(launch.date().year(), launch.date().month(), day);
        s.matchdayDates[14] = QDateTime(date, QTime(0, 0));
        const MatchdayHeader h = HeaderFor(s, 14, launch);
        QVERIFY2(h.text.endsWith(QStringLiteral(". ") + suffix), qPrintable(h.text));
        QTEST(h.colour, "colour");
        if (day == 11)
            QVERIFY(h.text.startsWith(QStringLiteral("Journée N°14: Vendredi 11 Décembre.")));
    }
    void matchdayFilling()
    {
        // Matchday 1: RD, QO, MC ... Row 0 R-D 3-0 with one yellow at home; row 1 home goals only;
        // row 2 a draw with a two-digit card count.
        const IniSnapshot store = storeOf("[Resultats]\r\n0100=R||1|3|0|||D\r\n0101=Q|1|2|2||3|1|O\r\n"
                                          "0102=M|0|10|1|1|0||C\r\n");
        FixtureGridModel g;
        ShowMatchday(g, season, store, 1, GridContext{December6, QStringLiteral("Monaco")});
        QCOMPARE(g.matchday, 1);
        QVERIFY(g.header.startsWith(QStringLiteral("Journée N°1: Vendredi 21 Août. ")));
        QCOMPARE(g.headerColour, (Rgb{0, 128, 0}));
        QVERIFY(!g.pending());
        const GridRow &r0 = g.row(0);
        QCOMPARE(r0.home.text, season.teams[17]);
        QCOMPARE(r0.home.tag + r0.away.tag, QStringLiteral("RD"));
        QCOMPARE(r0.key, QStringLiteral("0100"));
        QCOMPARE(r0.home.foreground, red);
        QCOMPARE(r0.away.foreground, grey);
        QVERIFY(r0.home.bold && r0.away.bold);
        // The home yellow takes the red box's place; the empty boxes stay hidden.
        QCOMPARE(r0.cards[int(CardBox::HomeYellow)].left, 15);
        QVERIFY(r0.cards[int(CardBox::HomeYellow)].visible && !r0.cards[int(CardBox::HomeRed)].visible);
        QCOMPARE(r0.info, QStringLiteral("Retour le: 22 01 27"));
        // Home goals only: no card shows although cards are stored.
        const GridRow &r1 = g.row(1);
        QCOMPARE(r1.r1.text + u'|' + r1.r2.text, QStringLiteral("2|"));
        for (const EntryBox &b : r1.cards)
            QVERIFY(!b.visible);
        // Two-digit card: its first character only.
        QCOMPARE(g.row(2).cards[int(CardBox::HomeYellow)].text, QStringLiteral("1"));
        QCOMPARE(g.row(2).home.foreground, teal);
        // The favourite in yellow; rows past nine hidden; unplayed rows black and not bold.
        QCOMPARE(g.row(2).away.background, Colours::Favourite); // M-C: Nantes against Monaco
        QCOMPARE(g.row(2).home.background, Colours::White);
        QVERIFY(!g.row(9).home.visible && !g.row(9).r1.visible);
        QVERIFY(g.row(5).home.foreground == Colours::Black && !g.row(5).home.bold);
        // Goals 3 + 2 + 2; yellows 1 + 2 + 3 + 1 (the cut "10") ; reds 1 + 1.
        QCOMPARE(g.totals, QStringLiteral("Buts dans la journée: 7\r\nCartons Jaunes: 7\r\nCartons Rouges:2"));

        // A calendar letter that no team has: the row carries that letter, never the one it showed
        // before, so a save writes this fixture's letters.
        SeasonData odd = season;
        odd.matchdayFixtures[1][0] = QStringLiteral("ZD");
        ShowMatchday(g, odd, store, 1, GridContext{December6, QString()});
        QCOMPARE(g.row(0).home.tag + g.row(0).away.tag, QStringLiteral("ZD"));
        QVERIFY(g.row(0).home.text.isEmpty());
        QCOMPARE(g.entryRows().value(0).homeLetter, QStringLiteral("Z"));
    }
    void dashScoresAndReturnLines()
    {
        // Matchday 1 row 0 is R-D; its return leg is D-R on a later matchday.
        QString returnKey;
        for (const QString &slot : season.calendar) {
            if (slot.endsWith(QStringLiteral("|DR")))
                returnKey = slot.left(2) + slot.mid(3, 2);
        }
        QVERIFY(!returnKey.isEmpty());
        const int returnMatchday = returnKey.left(2).toInt();
        QVERIFY(returnMatchday >= 18);
        const IniSnapshot store = storeOf("[Resultats]\r\n0100=R||1|3|1|||D\r\n" + returnKey.toLatin1()
                                          + "=D|||-|-|||R\r\n");
        FixtureGridModel g;
        ShowMatchday(g, season, store, returnMatchday, GridContext{December6, QString()});
        int row = returnKey.right(2).toInt();
        QVERIFY(g.row(row).r1.text.isEmpty() && g.row(row).r2.text.isEmpty());
        QCOMPARE(g.row(row).home.foreground, darkBlue);
        QVERIFY(!g.row(row).home.bold && !g.row(row).away.bold);
        // The first leg from the current home team's side: D scored 1, R scored 3.
        QCOMPARE(g.row(row).info, QStringLiteral("(1-3)"));

        // An unplayed first leg gives "(-)" and an empty line; "-" in both gives "(---)", empty too.
        FixtureGridModel g2;
        ShowMatchday(g2, season, storeOf("[Resultats]\r\n"), returnMatchday, GridContext{December6, QString()});
        QCOMPARE(g2.row(row).info, QString());
        ShowMatchday(g2, season, storeOf("[Resultats]\r\n0100=R|||-|-|||D\r\n"), returnMatchday,
                     GridContext{December6, QString()});
        QCOMPARE(g2.row(row).info, QString());
    }
    void teamMode()
    {
        const QString lens = QStringLiteral("Lens");
        const QString letter = season.TeamLetterOf(lens);
        // Lens's first fixture scored, the second not (overdue on 6 December), the third with one box.
        QStringList keys;
        for (const QString &slot : season.calendar) {
            if (slot.contains(letter))
                keys.append(slot.left(2) + slot.mid(3, 2));
        }
        QCOMPARE(keys.size(), 34);
        FixtureGridModel g;
        // A score shown before makes the later emptying run the change rule.
        ShowMatchday(g, season, storeOf("[Resultats]\r\n0101=Q||1|2|1|||O\r\n"), 1, GridContext{December6, QString()});
        const QByteArray store = "[Resultats]\r\n" + keys[0].toLatin1() + "=X||1|2|0|||Y\r\n" + keys[2].toLatin1()
            + "=X|||1||||Y\r\n";
        ShowTeamSeason(g, season, storeOf(store), lens, GridContext{December6, QStringLiteral("Nice")});
        QVERIFY(g.matchday == 0 && g.totals.isEmpty());
        QCOMPARE(g.row(0).key, keys[0]);
        QCOMPARE(g.row(33).key, keys[33]);
        QVERIFY(g.row(33).home.visible);
        QCOMPARE(g.row(0).r1.text, QStringLiteral("2"));
        QCOMPARE(g.row(0).infoColour, Colours::Black);
        // Row 1: no score and more than five days old: red and bold.
        QVERIFY(g.row(1).infoColour == (Rgb{255, 0, 0}) && g.row(1).infoBold);
        QCOMPARE(g.row(1).home.foreground, darkBlue); // its boxes were emptied from the last view
        // One goals box filled: black.
        QVERIFY(g.row(2).infoColour == Colours::Black && !g.row(2).infoBold);
        // A fixture in the future is never overdue.
        QCOMPARE(g.row(33).infoColour, Colours::Black);
        // The chosen team in light green, the favourite in yellow.
        const GridRow &r0 = g.row(0);
        const NameBox &mine = r0.home.text == lens ? r0.home : r0.away;
        QCOMPARE(mine.background, (Rgb{128, 255, 128}));
        int nice = 0;
        for (int i = 0; i < 34; ++i) {
            for (const NameBox *b : {&g.row(i).home, &g.row(i).away})
                nice += b->text == u"Nice" && b->background == Colours::Favourite;
        }
        QCOMPARE(nice, 2);
        QVERIFY(!g.pending());
    }
    void cardReport()
    {
        QCOMPARE(CardReport(storeOf("")), QStringLiteral("Cumul CJ 0\r\nCumul CR 0"));
        const IniSnapshot store = storeOf("[Resultats]\r\n0100=R|1|2|3|0|1||D\r\n0105=A||||||2|B\r\n"
                                          "0300=A||||||||B\r\n3510=A||4|||||B\r\n");
        QCOMPARE(CardReport(store), QStringLiteral("Jour 01: Cj:3. CR:3\r\nJour 35: Cj:4. CR:0\r\nCumul CJ 7\r\nCumul CR 3"));
    }
    void tableRowClick()
    {
        Program p;
        MainController &c = p.start();
        // Lyon, eighth: outside the zones, so its cell keeps the light green of the chosen team.
        c.standings().clickTableRow(7);
        QCOMPARE(c.standings().table().cell(7, TableColumn::Name).text, QStringLiteral("Lyon"));
        QCOMPARE(c.matchdays().grid().header, QStringLiteral(" Ligue 1 (2026 - 2027) Lyon N°8"));
        QVERIFY(c.matchdays().grid().matchday == 0 && !c.matchdays().matchdayPanel() && c.matchdays().grid().totals.isEmpty());
        QCOMPARE(c.standings().table().cell(7, TableColumn::Name).background, (Rgb{128, 255, 128}));
        QCOMPARE(c.standings().table().cell(8, TableColumn::Name).background, Colours::White);
        // The zones are coloured again over the highlight: the leader keeps its zone colour.
        QCOMPARE(c.standings().table().cell(0, TableColumn::Name).background, (Rgb{151, 222, 255}));
        for (int r = 0; r < 34; ++r) {
            const GridRow &row = c.matchdays().grid().row(r);
            QVERIFY(row.home.text == u"Lyon" || row.away.text == u"Lyon");
        }
        // A matchday number then leaves the grid as it is: the matchday panel is closed.
        c.clickButton(10);
        c.standings().clickMatchdayNumber(3);
        QCOMPARE(c.matchdays().grid().matchday, 0);
        QCOMPARE(c.standings().table().title(), QStringLiteral("Classement à la Journée N°3"));
    }
    void currentAndOpening_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("opening");
        // Matchday 13: 04/12/2026, 14: 11/12/2026, 34: 21/05/2027.
        QTest::newRow("three days after 13") << QDateTime(QDate(2026, 12, 7), QTime(12, 0)) << 13 << 13;
        QTest::newRow("five days after 13") << QDateTime(QDate(2026, 12, 9), QTime(12, 0)) << 13 << 14;
        QTest::newRow("on the day of 14") << QDateTime(QDate(2026, 12, 11), QTime(9, 0)) << 14 << 14;
        // A matchday dated exactly now has begun.
        QTest::newRow("at the first moment of 14") << QDateTime(QDate(2026, 12, 11), QTime(0, 0)) << 14 << 14;
        QTest::newRow("July before the season") << QDateTime(QDate(2026, 7, 10), QTime(9, 0)) << 0 << 1;
        QTest::newRow("after the season") << QDateTime(QDate(2027, 6, 10), QTime(9, 0)) << 34 << 34;
    }
    void currentAndOpening()
    {
        QFETCH(QDateTime, now);
        QTEST(CurrentMatchday(season, now, 34), "current");
        QTEST(OpeningMatchday(season, now), "opening");
        // After the season the previous value is kept.
        QCOMPARE(CurrentMatchday(season, QDateTime(QDate(2027, 6, 10), QTime(9, 0)), 7), 7);
    }
    void monthsAndTheirMatchdays()
    {
        CalendarModel c;
        const QDateTime launch(QDate(2026, 12, 11), QTime(15, 0));
        c.build(season, December6);
        QCOMPARE(c.months[0].caption, QStringLiteral("Août 2026"));
        QCOMPARE(c.months[4].caption, QStringLiteral("Décembre 2026"));
        QCOMPARE(c.months[9].caption, QStringLiteral("Mai 2027"));
        QCOMPARE(c.months[3].foreground, (Rgb{0, 192, 0}));   // November: past
        QCOMPARE(c.months[4].foreground, (Rgb{255, 255, 0})); // this month
        QCOMPARE(c.months[5].foreground, (Rgb{255, 255, 0}));
        c.build(season, launch);
        QCOMPARE(c.shownMonth, 11);
        c.showMonth(4, season, launch);
        QCOMPARE(c.shownMonth, 4);
        // December: matchdays 13, 14, 15.
        QVERIFY(c.days[0].visible && c.days[1].visible && c.days[2].visible && !c.days[3].visible);
        QCOMPARE(c.days[0].caption, QStringLiteral("Journée 13 : 04 déc."));
        QCOMPARE(c.days[0].foreground, (Rgb{0, 128, 0}));
        QCOMPARE(c.days[1].foreground, (Rgb{192, 0, 0})); // today, although earlier than the launch
        QCOMPARE(c.days[2].foreground, (Rgb{0, 0, 192}));
        QCOMPARE(c.months[4].background, (Rgb{0, 128, 128}));
        QCOMPARE(c.months[3].background, (Rgb{9, 27, 49}));
        // Locked: the pointer over another month changes nothing.
        c.locked = true;
        c.showMonth(5, season, launch);
        QCOMPARE(c.shownMonth, 4);
        c.locked = false;
        c.showMonth(5, season, launch);
        QCOMPARE(c.days[0].matchday, 16);
    }
    void saveRules()
    {
        Program p;
        MainController &c = p.start();
        QCOMPARE(c.matchdays().grid().matchday, 13); // opened on the current matchday
        QVERIFY(!c.buttons().isShown(1));
        // Away goals with an empty home box: not saved, the stored record kept.
        const QString before = ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1300"));
        QVERIFY(!before.isEmpty());
        const QString totalsBefore = c.matchdays().grid().totals;
        c.matchdays().editGoals(0, GoalsBox::Home, QString());
        c.matchdays().editGoals(0, GoalsBox::Away, QStringLiteral("5"));
        QVERIFY(c.buttons().isShown(1));
        // "-" is stored as typed and counts as not played.
        c.matchdays().editGoals(1, GoalsBox::Home, QStringLiteral("-"));
        c.matchdays().editGoals(1, GoalsBox::Away, QStringLiteral("-"));
        c.clickButton(1);
        QVERIFY(!c.buttons().isShown(1));
        QCOMPARE(ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1300")), before);
        const QString dash = ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1301"));
        QCOMPARE(dash.split(u'|').mid(3, 2), (QStringList{QStringLiteral("-"), QStringLiteral("-")}));
        QCOMPARE(ReadIni(p.storePath(), QStringLiteral("Maj"), QStringLiteral("Maj")), FormatMaj(December6));
        // Rows past the ninth are never written in matchday mode.
        QVERIFY(ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1309")).isEmpty());
        // The day's totals follow the save: the goals of row 1 are gone.
        QCOMPARE(c.matchdays().grid().totals, DayTotals(IniSnapshot::fromFile(p.storePath()), 13));
        QVERIFY(c.matchdays().grid().totals != totalsBefore);
    }
    void sendButton()
    {
        Program p;
        p.settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), QStringLiteral("7nord"));
        MainController &c = p.start();
        c.matchdays().editGoals(3, GoalsBox::Home, QStringLiteral("2"));
        c.clickButton(1);
        // The store predates the launch: the first save leaves the send button hidden.
        QVERIFY(!c.buttons().button(Btn::SendFile).visible);
        c.matchdays().editGoals(3, GoalsBox::Home, QStringLiteral("3"));
        c.clickButton(1);
        QVERIFY(c.buttons().button(Btn::SendFile).visible);
        // The title label hides it, and shows it again with the password, moving the reference back.
        c.matchdays().clickTitleLabel();
        QVERIFY(!c.buttons().button(Btn::SendFile).visible);
        c.matchdays().clickTitleLabel();
        QVERIFY(c.buttons().button(Btn::SendFile).visible);
        QCOMPARE(c.matchdays().sendReferenceDate(), December6.addDays(-15));

        // Without the password it never shows.
        Program q;
        MainController &d = q.start();
        d.matchdays().clickTitleLabel();
        QVERIFY(!d.buttons().button(Btn::SendFile).visible);
        d.matchdays().editGoals(3, GoalsBox::Home, QStringLiteral("2"));
        d.clickButton(1);
        d.clickButton(1);
        QVERIFY(!d.buttons().button(Btn::SendFile).visible);
    }
    void roundTrip()
    {
        Program p(Program::None); // no store yet
        {
            MainController &c = p.start();
            c.matchdays().showMatchday(1);
            c.matchdays().editGoals(0, GoalsBox::Home, QStringLiteral("4"));
            c.matchdays().editGoals(0, GoalsBox::Away, QStringLiteral("1"));
            c.matchdays().editCard(0, CardBox::AwayYellow, QStringLiteral("2"));
            c.matchdays().editCard(0, CardBox::AwayRed, QStringLiteral("1"));
            QVERIFY(c.matchdays().saveGrid());
            // The table follows at once: the home team leads with 3 points.
            QCOMPARE(c.standings().table().cell(0, TableColumn::Name).text, c.matchdays().grid().row(0).home.text);
            QCOMPARE(c.standings().table().cell(0, TableColumn::Points).text, QStringLiteral("3"));
            c.clickButton(0);
        }
        QCOMPARE(ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("0100")),
                 QStringLiteral("R|||4|1|2|1|D"));
        MainController &again = p.start();
        again.matchdays().showMatchday(1);
        QCOMPARE(again.matchdays().grid().row(0).r1.text, QStringLiteral("4"));
        QCOMPARE(again.matchdays().grid().row(0).cards[int(CardBox::AwayRed)].text, QStringLiteral("1"));
        int row = 0;
        while (row < TeamCount - 1 && again.standings().table().cell(row, TableColumn::Name).text != again.matchdays().grid().row(0).away.text)
            ++row;
        QCOMPARE(again.standings().table().cell(row, TableColumn::FairPlay).text, QStringLiteral("5"));
    }
    void failedSaveKeepsEntries()
    {
        Program p;
        MainController &c = p.start();
        // The store's place is taken by a folder: nothing can replace it.
        QVERIFY(QFile::remove(p.storePath()));
        QVERIFY(QDir(p.dir.path()).mkdir(QStringLiteral("Resultats2027.ini")));
        c.matchdays().editGoals(4, GoalsBox::Home, QStringLiteral("9"));
        QVERIFY(!c.matchdays().saveGrid());
        QCOMPARE(p.dialogs.shown.size(), 1);
        QVERIFY(p.dialogs.shown[0].text.contains(QStringLiteral("n'ont pas pu être enregistrés")));
        QCOMPARE(c.matchdays().grid().row(4).r1.text, QStringLiteral("9"));
        QVERIFY(c.buttons().isShown(1));
    }
    void refillAsksFirst_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        for (const char *action : {"Tableau complet", "Mise à Jour", "favourite", "Fermer after a favourite",
                                   "calendar day", "table row", "matchday number"}) {
            QTest::addRow("%s, Cancel", action) << QString::fromUtf8(action) << int(Answer::Cancel);
            QTest::addRow("%s, No", action) << QString::fromUtf8(action) << int(Answer::No);
        }
    }
    void refillAsksFirst()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        Program p;
        ForbiddenDownloader offline;
        p.downloader = &offline;
        MainController &c = p.start();
        MatchdaysController &m = c.matchdays();
        const auto run = [&] {
            if (action == u"Tableau complet")
                c.clickButton(Btn::FullTable);
            else if (action == u"Mise à Jour")
                c.clickButton(Btn::Update);
            else if (action == u"favourite")
                c.options().chooseFavourite(3);
            else if (action == u"Fermer after a favourite")
                c.clickButton(Btn::CloseOptions);
            else if (action == u"calendar day")
                m.clickCalendarDay(1);
            else if (action == u"table row")
                c.standings().clickTableRow(4);
            else
                c.standings().clickMatchdayNumber(2);
        };
        if (action.contains(u"favourite"))
            c.clickButton(Btn::Options);
        if (action == u"Fermer after a favourite")
            c.options().chooseFavourite(3);
        if (action == u"matchday number")
            c.clickButton(Btn::MatchdayTables);
        m.showMatchday(14);
        m.editGoals(0, GoalsBox::Home, QStringLiteral("5"));
        p.dialogs.threeWayAnswers = {Answer(answer)};
        p.dialogs.shown.clear();
        run();
        QCOMPARE(p.dialogs.shown.value(0).kind, QStringLiteral("yesnocancel"));
        QVERIFY(p.dialogs.shown[0].text.contains(QStringLiteral("d'afficher d'autres matches")));
        if (answer == int(Answer::Cancel)) {
            QVERIFY(m.grid().pending() && m.grid().matchday == 14);
            QCOMPARE(m.grid().row(0).r1.text, QStringLiteral("5"));
            QCOMPARE(offline.calls, 0);
        } else if (action == u"Mise à Jour") {
            QCOMPARE(offline.calls, 1); // tried, and failed: the grid stays as it was
        } else {
            QVERIFY(!m.grid().pending());
        }
        QVERIFY(ReadIni(p.storePath(), QStringLiteral("Resultats"), QStringLiteral("1400")).isEmpty());
    }
    void closeWithUnsavedEntries_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(Answer::Yes) << true << true;
        QTest::newRow("no") << int(Answer::No) << true << false;
        QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
    }
    void closeWithUnsavedEntries()
    {
        QFETCH(int, answer);
        Program p;
        MainController &c = p.start();
        QVERIFY(c.confirmClose()); // nothing typed: no question
        QVERIFY(p.dialogs.shown.isEmpty());
        c.matchdays().editGoals(5, GoalsBox::Home, QStringLiteral("7"));
        p.dialogs.threeWayAnswers.append(Answer(answer));
        QTEST(c.confirmClose(), "closes");
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].kind, QStringLiteral("yesnocancel"));
        const QString stored = ReadIni(p.storePath(), QStringLiteral("Resultats"), c.matchdays().grid().row(5).key);
        QTEST(stored.split(u'|').value(3) == u"7", "saved");
    }
};

QTEST_GUILESS_MAIN(TestMatchdays)
#include "tst_matchdays.moc"

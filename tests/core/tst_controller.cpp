// The window's behaviour driven through the controller, as a person drives the window.
#include "TestProgram.h"
#include "platform/Settings.h"
#include "window/MainController.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

using Program = TestProgram;

} // namespace

class TestController : public QObject
{
    Q_OBJECT
private slots:
    void missingSeasonStopsWithTheMessage()
    {
        Program p(Program::Demo, false);
        MainController &c = p.make();
        QVERIFY(!c.start());
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].text, QStringLiteral("Absence du fichier 2027.txt"));
        QVERIFY(!c.splash().visible);
        c.close();
        QCOMPARE(p.settings.writeCount(), 0); // nothing saved
    }
    void startsOnTheDemoSeason()
    {
        Program p;
        MainController &c = p.start();
        QCOMPARE(c.windowTitle(), QStringLiteral("Championnat de  Ligue 1 (2026 - 2027)"));
        QCOMPARE(c.standings().table().cell(0, TableColumn::Name).text, QStringLiteral("Lens"));
        QCOMPARE(c.standings().table().leaderText(), QStringLiteral("Premier:\r\nLens"));
        QCOMPARE(c.session().currentMatchday, 13);
        // The demo store has an introduction text: the frame shows and the column titles hide.
        QVERIFY(c.download().news().visible && !c.download().news().columnTitles);
        QVERIFY(c.download().news().text.startsWith(QStringLiteral("Bienvenue")));
        QVERIFY(!c.splash().visible);
        QCOMPARE(c.splash().version, QStringLiteral("Version: 1.0"));
        QCOMPARE(c.matchdays().sendReferenceDate(), December6);
        QVERIFY(p.dialogs.shown.isEmpty());
    }
    void optionsRestored_data()
    {
        QTest::addColumn<QString>("c5");
        QTest::addColumn<QString>("c6");
        QTest::addColumn<int>("highlight");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<QString>("favourite");
        QTest::addColumn<QString>("caption");
        QTest::newRow("ticked") << "1" << "1" << 1 << 1 << "Lens" << "Lens";
        QTest::newRow("unticked: EP not read") << "0" << "0" << 0 << 0 << "" << "Aucune";
        QTest::newRow("absent") << QString() << QString() << 0 << 0 << "" << "Aucune";
    }
    void optionsRestored()
    {
        QFETCH(QString, c5);
        QFETCH(QString, c6);
        Program p;
        if (!c5.isNull())
            p.settings.write(QStringLiteral("Data"), QStringLiteral("C5"), c5);
        if (!c6.isNull())
            p.settings.write(QStringLiteral("Data"), QStringLiteral("C6"), c6);
        p.settings.write(QStringLiteral("Data"), QStringLiteral("EP"), QStringLiteral("Lens"));
        MainController &c = p.start();
        QTEST(c.options().model().highlightFavourite, "highlight");
        QTEST(c.options().model().trackingAid, "tracking");
        QTEST(c.session().favouriteTeam, "favourite");
        QTEST(c.options().model().favouriteCaption, "caption");
    }
    void staleness_data()
    {
        QTest::addColumn<QDateTime>("launch");
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<bool>("due");
        const QDateTime launch = December6;
        QTest::newRow("exactly 10 days") << launch << launch.addDays(-10) << false;
        QTest::newRow("10 days and one minute") << launch << launch.addDays(-10).addSecs(-60) << true;
        QTest::newRow("missing store") << launch << QDateTime() << true;
        const QDateTime last(QDate(2027, 5, 21), QTime(0, 0));
        QTest::newRow("at the last matchday's date") << last << last.addDays(-60) << false;
        QTest::newRow("just before the last matchday") << last.addSecs(-60) << last.addDays(-60) << true;
    }
    void staleness()
    {
        QFETCH(QDateTime, launch);
        QFETCH(QDateTime, modified);
        const QDateTime last(QDate(2027, 5, 21), QTime(0, 0));
        const auto m = modified.isValid() ? std::optional<QDateTime>(modified) : std::nullopt;
        QTEST(StalenessDue(launch, m, last), "due");
    }
    void stalenessFromTheStoreFile_data()
    {
        QTest::addColumn<bool>("withStore");
        QTest::addColumn<int>("age");
        QTest::addColumn<bool>("due");
        QTest::newRow("eleven days old") << true << 11 << true;
        QTest::newRow("saved yesterday") << true << 1 << false;
        QTest::newRow("no store") << false << 0 << true;
    }
    void stalenessFromTheStoreFile()
    {
        QFETCH(bool, withStore);
        QFETCH(int, age);
        Program p(withStore ? Program::Demo : Program::None);
        if (withStore)
            QVERIFY(SetModified(p.storePath(), December6.addDays(-age)));
        QTEST(p.start().stalenessPromptDue(), "due");
        // Until the program can download, the offer is not made.
        QVERIFY(p.dialogs.shown.isEmpty());
    }
    void settingsNamesIgnoreCase()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Kestrava.ini"));
        {
            auto store = QtSettingsStore::atPath(path);
            store->write(QStringLiteral("Data"), QStringLiteral("C5"), QStringLiteral("1"));
            store->write(QStringLiteral("data"), QStringLiteral("Vset"), QStringLiteral("-"));
            QCOMPARE(store->read(QStringLiteral("DATA"), QStringLiteral("c5"), QStringLiteral("0")), QStringLiteral("1"));
        }
        auto again = QtSettingsStore::atPath(path);
        QCOMPARE(again->read(QStringLiteral("data"), QStringLiteral("c5"), QStringLiteral("0")), QStringLiteral("1"));
        QCOMPARE(again->read(QStringLiteral("Data"), QStringLiteral("VSET"), QString()), QStringLiteral("-"));
        QCOMPARE(again->read(QStringLiteral("Data"), QStringLiteral("EP"), QStringLiteral("défaut")), QStringLiteral("défaut"));
        // "Data" and "data" are one section: one group in the file.
        const QByteArray text = ReadFileBytes(path);
        QCOMPARE(text.count("[data]"), 1);
        QVERIFY(!text.contains("[Data]"));

        for (const auto &[text, state] : {std::pair{"1", 1}, {" 1 ", 1}, {"0", 0}, {"vrai", 0}, {"", 0}})
            QVERIFY2(CheckStateFromText(QString::fromLatin1(text)) == state, text);
    }
    void emptyBoxesNeverEraseSettings()
    {
        Program p;
        p.settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QStringLiteral("Editeur"));
        p.settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), QStringLiteral("7nord"));
        MainController &c = p.start();
        QCOMPARE(c.session().pseudo, QStringLiteral("Editeur"));
        QCOMPARE(c.session().password, QStringLiteral("7nord"));
        c.session().pseudo = QString();
        c.close();
        QCOMPARE(p.settings.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QString()), QStringLiteral("Editeur"));
        QCOMPARE(p.settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString()), QStringLiteral("7nord"));
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("C4"), QString()), QStringLiteral("0"));
    }
    void prologueHidesIntroAndMessage()
    {
        Program p;
        MainController &c = p.start();
        QVERIFY(c.standings().table().gamesInHandVisible()); // Nice, Paris SG, Auxerre and Lille have a match in hand
        QVERIFY(c.download().news().visible);
        c.clickButton(20);
        QVERIFY(!c.download().news().visible && c.download().news().columnTitles);
        QVERIFY(!c.standings().table().gamesInHandVisible() && c.standings().table().gamesInHand().isEmpty());
        // "Classement Général" computes the table afresh, message included.
        c.clickButton(4);
        QVERIFY(c.standings().table().gamesInHandVisible() && c.standings().panels().formGuide);
    }
    void toggles()
    {
        Program p;
        MainController &c = p.start();
        c.clickButton(20);
        QVERIFY(c.standings().panels().rankingsMenu);
        c.clickButton(20);
        QVERIFY(!c.standings().panels().rankingsMenu);

        // "Fermer" of the menu recomputes the general table and closes the menu.
        c.clickButton(20);
        c.clickButton(10);
        c.standings().clickMatchdayNumber(3);
        QCOMPARE(c.standings().table().title(), QStringLiteral("Classement à la Journée N°3"));
        c.clickButton(19);
        QVERIFY(!c.standings().panels().rankingsMenu && c.standings().table().title().isEmpty());
        QCOMPARE(c.standings().table().cell(0, TableColumn::Name).text, QStringLiteral("Lens"));

        c.clickButton(27);
        QVERIFY(c.options().model().visible);
        QCOMPARE(c.options().model().favouriteEntries.size(), 19);
        QCOMPARE(c.options().model().favouriteEntries.first(), QStringLiteral("Aucune"));
        c.clickButton(27);
        QVERIFY(!c.options().model().visible);
        c.clickButton(27);
        c.clickButton(6); // any other button hides the options
        QVERIFY(!c.options().model().visible && c.panels().about && !c.standings().panels().formGuide);
        QCOMPARE(c.panels().aboutVersion, QStringLiteral("Version: 1.0.0"));
        c.clickButton(6);
        QVERIFY(!c.panels().about && c.standings().panels().formGuide);
        c.clickButton(6);
        c.clickButton(26);
        QVERIFY(!c.panels().about && c.standings().panels().formGuide);
        // Opening the options a second time does not refill the list.
        c.clickButton(27);
        c.options().model().favouriteEntries.append(QStringLiteral("marque"));
        c.clickButton(28);
        c.clickButton(27);
        QCOMPARE(c.options().model().favouriteEntries.size(), 20);
    }
    void matchdayList()
    {
        Program p;
        MainController &c = p.start();
        c.clickButton(10);
        const auto &e = c.standings().matchdayList().entries;
        QVERIFY(c.standings().matchdayList().shown() && !c.standings().panels().formGuide);
        for (int n = 1; n <= 34; ++n) {
            QVERIFY(e[n].visible);
            // Matchdays after the current one (13) are yellow, the others green.
            QCOMPARE(e[n].foreground, (n > 13 ? Rgb{255, 255, 0} : Rgb{0, 192, 0}));
        }
        c.clickButton(10); // again: unchanged
        QVERIFY(c.standings().matchdayList().shown());
        c.clickButton(19); // the menu's "Fermer" keeps it
        QVERIFY(c.standings().matchdayList().shown());
        c.clickButton(20); // any other button removes it
        QVERIFY(!c.standings().matchdayList().shown());

        // Before the season every number is yellow.
        Program before;
        before.clock.set(QDateTime(QDate(2026, 7, 15), QTime(10, 0)));
        MainController &b = before.start();
        b.clickButton(10);
        QCOMPARE(b.session().currentMatchday, 0);
        QCOMPARE(b.standings().matchdayList().entries[1].foreground, (Rgb{255, 255, 0}));
    }
    void matchdayNumberShowsTableAtThatMatchday()
    {
        Program p;
        MainController &c = p.start();
        c.standings().clickMatchdayNumber(5); // the list is not shown: nothing happens
        QCOMPARE(c.standings().table().title(), QString());
        c.clickButton(10);
        c.standings().clickMatchdayNumber(5);
        QCOMPARE(c.standings().table().title(), QStringLiteral("Classement à la Journée N°5"));
        QVERIFY(c.standings().panels().rankingsMenu);
        for (int r = 0; r < TeamCount; ++r)
            QVERIFY(c.standings().table().cell(r, TableColumn::Played).text.toInt() <= 5);
        // Only the whole season builds the games-in-hand message.
        QVERIFY(!c.standings().table().gamesInHandVisible());
    }
    void favouriteHighlight()
    {
        Program p;
        MainController &c = p.start();
        c.clickButton(27);
        const int marseille = c.options().model().favouriteEntries.indexOf(QStringLiteral("Marseille"));
        QVERIFY(marseille > 0);
        c.options().chooseFavourite(marseille);
        QCOMPARE(c.session().favouriteTeam, QStringLiteral("Marseille"));
        QCOMPARE(c.options().model().favouriteCaption, QStringLiteral("Marseille"));
        QCOMPARE(c.options().model().crestTeam, QStringLiteral("Marseille"));
        QCOMPARE(c.options().model().highlightFavourite, 1);
        QCOMPARE(c.options().model().favouriteTag, QStringLiteral("T"));
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("EP"), QString()), QStringLiteral("Marseille"));
        const int row = 2;
        QCOMPARE(c.standings().table().cell(row, TableColumn::Name).text, QStringLiteral("Marseille"));
        // Third place: yellow instead of the zone colour, the zone's tooltip kept.
        QCOMPARE(c.standings().table().cell(row, TableColumn::Name).background, (Rgb{255, 255, 0}));
        QCOMPARE(c.standings().table().cell(row, TableColumn::Name).tooltip, QStringLiteral("Qualifié phase de groupe Champions league"));
        c.clickButton(4); // a new run keeps the highlight
        QCOMPARE(c.standings().table().cell(row, TableColumn::Name).background, (Rgb{255, 255, 0}));

        c.clickButton(27);
        c.options().chooseFavourite(0);
        QCOMPARE(c.session().favouriteTeam, QStringLiteral("Aucune"));
        QCOMPARE(c.options().model().highlightFavourite, 0);
        QVERIFY(c.options().model().crestTeam.isEmpty());
        QCOMPARE(c.standings().table().cell(row, TableColumn::Name).background, (Rgb{151, 222, 255}));
        c.close();
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("C5"), QString()), QStringLiteral("0"));
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("EP"), QString()), QStringLiteral("Aucune"));
    }
    void bonusList_data()
    {
        QTest::addColumn<QString>("bonMal");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("demo malus") << QStringLiteral("Q=-1") << QStringList{QStringLiteral("Paris FC: [ -1 ]")};
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
        c.clickButton(31);
        QVERIFY(c.standings().panels().bonusList);
        QTEST(c.standings().panels().bonusLines, "lines");
        c.standings().clickBonusList(); // a click on the list or its button again closes it
        QVERIFY(!c.standings().panels().bonusList);
        c.clickButton(31);
        c.clickButton(31);
        QVERIFY(!c.standings().panels().bonusList);
    }
    void dreamTeam_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("password");
        QTest::newRow("right") << std::optional<QString>(QStringLiteral("7nord")) << QStringLiteral("7nord");
        QTest::newRow("wrong") << std::optional<QString>(QStringLiteral("7NORD")) << QString();
        QTest::newRow("cancelled") << std::optional<QString>() << QString();
    }
    void dreamTeam()
    {
        QFETCH(std::optional<QString>, answer);
        Program p;
        MainController &c = p.start();
        p.dialogs.textAnswers.append(answer);
        c.clickButton(27);
        c.clickButton(39);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].kind + p.dialogs.shown[0].text, QStringLiteral("textMot de passe"));
        QTEST(c.session().password, "password");
        c.close();
        QTEST(p.settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString()), "password");
    }
    void printing_data()
    {
        QTest::addColumn<bool>("printed");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("printer") << true << QString() << 0 << QString();
        QTest::newRow("no printer: pdf") << false << QStringLiteral("/tmp/Kestrava-impression.pdf") << 1
                                         << QStringLiteral("/tmp/Kestrava-impression.pdf");
        QTest::newRow("nothing printed") << false << QString() << 1 << QStringLiteral("impression");
    }
    void printing()
    {
        QFETCH(bool, printed);
        QFETCH(QString, pdf);
        QFETCH(int, messages);
        QFETCH(QString, mentions);
        Program p;
        MainController &c = p.start();
        p.printer.next = PrintOutcome{printed, pdf};
        c.clickButton(36);
        QCOMPARE(p.printer.calls, 1);
        QCOMPARE(p.dialogs.shown.size(), messages);
        if (messages)
            QVERIFY2(p.dialogs.shown[0].text.contains(mentions), qPrintable(p.dialogs.shown[0].text));
    }
    void hoverColours()
    {
        Program p;
        MainController &c = p.start();
        const Rgb rest{9, 27, 49}, hover{0, 128, 128};
        c.hoverButton(20);
        QCOMPARE(c.buttons().button(20).background, hover);
        c.hoverButton(36);
        QCOMPARE(c.buttons().button(20).background, rest);
        QCOMPARE(c.buttons().button(36).background, hover);
        c.hoverWindow();
        for (int i = 0; i < ButtonCount; ++i)
            QCOMPARE(c.buttons().button(i).background, rest);

        c.clickButton(10);
        c.standings().hoverMatchdayNumber(7);
        QCOMPARE(c.standings().matchdayList().entries[7].background, hover);
        c.standings().hoverMatchdayNumber(8);
        QCOMPARE(c.standings().matchdayList().entries[7].background, rest);
        c.standings().hoverMatchdayListFrame();
        QCOMPARE(c.standings().matchdayList().entries[8].background, rest);
        c.standings().hoverMatchdayNumber(8);
        c.hoverWindow();
        QCOMPARE(c.standings().matchdayList().entries[8].background, rest);

        // The shown month loses its highlight too; the month itself stays shown.
        c.matchdays().hoverMonth(4); // December, the month shown since start-up
        QCOMPARE(c.matchdays().calendar().months[4].background, hover);
        c.hoverWindow();
        QCOMPARE(c.matchdays().calendar().months[4].background, rest);
        QCOMPARE(c.matchdays().calendar().shownMonth, 4);
    }
    void quitSavesOptions()
    {
        Program p;
        MainController &c = p.start();
        c.options().setCheck(6, 1);
        c.options().setCheck(4, 1);
        QSignalSpy quit(&c, &MainController::quitRequested);
        c.clickButton(0);
        QCOMPARE(quit.count(), 1);
        QCOMPARE(p.settings.read(QStringLiteral("data"), QStringLiteral("c6"), QString()), QStringLiteral("1"));
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("C4"), QString()), QStringLiteral("1"));
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("C5"), QString()), QStringLiteral("0"));
        // The close box after "Quitter" saves nothing twice.
        const int writes = p.settings.writeCount();
        c.close();
        QCOMPARE(p.settings.writeCount(), writes);
    }
    void buttonsNotBuiltDoNothing()
    {
        Program p;
        MainController &c = p.start();
        QVERIFY(!c.buttons().button(Btn::Highlights).built); // "Le plus de...." comes with the highlights
        QVERIFY(c.download().news().visible);
        c.clickButton(Btn::Highlights);
        QVERIFY(c.download().news().visible); // not even the prologue ran
        c.clickButton(-1);
        c.clickButton(40);
    }
    void workList()
    {
        Program p;
        MainController &c = p.start();
        c.standings().clickLogo();
        QVERIFY(c.standings().panels().workList);
        QCOMPARE(c.standings().panels().workListLines.size(), TeamCount);
        // Ascending order: the leader is last.
        QVERIFY(c.standings().panels().workListLines.last().contains(QStringLiteral("|Lens|")));
        c.standings().clickWorkList();
        QVERIFY(!c.standings().panels().workList);
    }
};

QTEST_GUILESS_MAIN(TestController)
#include "tst_controller.moc"

// The window's own rules, driven through its controller as a person drives the window: start-up,
// the button bar's prologue and epilogue, options, printing, hover colours and quitting.
#include "TestProgram.h"
#include "platform/SeasonFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {
using Program = TestProgram;
const QString Data = QStringLiteral("Data");
} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    // Where the season lives: the program's folder as a run folder, or the user's data folder filled
    // from the shipped data of an installed program (the season file alone, a user's copy kept).
    void seasonFolder_data()
    {
        QTest::addColumn<QString>("program"); // the program's folder: "season", "read-only" (with it) or ""
        QTest::addColumn<QByteArray>("user"); // the user's season file before; "blocked": a file in the folder's place
        QTest::addColumn<QByteArray>("after"); // the user's season file after ("=": the shipped one), or "program", "problem"
        QTest::newRow("run folder") << "season" << QByteArray() << QByteArray("program");
        QTest::newRow("installed, first start") << "" << QByteArray() << QByteArray("=");
        QTest::newRow("read-only folder") << "read-only" << QByteArray() << QByteArray("=");
        QTest::newRow("a newer season kept") << "" << QByteArray("newer") << QByteArray("newer");
        QTest::newRow("folder cannot be made") << "" << QByteArray("blocked") << QByteArray("problem");
    }
    void seasonFolder()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, after);
        const QByteArray season = ReadFileBytes(DataDir + QStringLiteral("/2027.txt"));
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin")), share = prefix.filePath(QStringLiteral("share/kestrava"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(share) && WriteFileBytes(share + QStringLiteral("/2027.txt"), season));
        QCOMPARE(SharedDataFolder(bin), share);
        QVERIFY(program.isEmpty() || WriteFileBytes(bin + QStringLiteral("/2027.txt"), season));
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const auto clear = [&] { QDir(folder).removeRecursively() && QFile::remove(folder); };
        clear();
        if (user == "blocked")
            QVERIFY(WriteFileBytes(folder, user));
        else if (!user.isEmpty())
            QVERIFY(QDir().mkpath(folder) && WriteFileBytes(folder + QStringLiteral("/2027.txt"), user));
        const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        if (program == u"read-only") {
            QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
            // Root writes into any folder: the row says nothing new then.
            if (QFile probe(bin + QStringLiteral("/probe")); probe.open(QIODevice::WriteOnly)) {
                QVERIFY(probe.remove() && QFile::setPermissions(bin, writable));
                QSKIP("this account writes into read-only folders");
            }
        }
        const SeasonFolder found = FindSeasonFolder(bin, share, QStringLiteral("2027.txt"));
        QFile::setPermissions(bin, writable);
        QCOMPARE(found.path, after == "program" ? bin : folder);
        QCOMPARE(found.userData, after != "program");
        QCOMPARE(found.problem.contains(QDir::toNativeSeparators(folder)), after == "problem");
        // A page printed without a printer goes to the documents of an installed program's user.
        QCOMPARE(UserFilesFolder(found), found.userData ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : bin);
        // The season file alone (the demonstration results stay with the demonstration site).
        if (found.userData && after != "problem") {
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{ QStringLiteral("2027.txt") });
            QCOMPARE(ReadFileBytes(folder + QStringLiteral("/2027.txt")), after == "=" ? season : after);
        }
        // The program's folder is left as it was, the probe gone; a run folder's user folder untouched.
        QCOMPARE(QDir(bin).entryList(QDir::Files | QDir::Hidden).size(), program.isEmpty() ? 0 : 1);
        QCOMPARE(QFileInfo::exists(folder), found.userData);
        clear();
    }
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
        QCOMPARE(c.session().currentMatchday, 13);
        // The demo store has an introduction text: the frame shows and the column titles hide.
        const NewsModel &news = c.download().news();
        QVERIFY(news.visible && !news.columnTitles && news.text.startsWith(QStringLiteral("Bienvenue")));
        QVERIFY(!c.splash().visible);
        QCOMPARE(c.splash().version, QStringLiteral("Version: 1.0"));
        QCOMPARE(c.matchdays().sendReferenceDate(), December6);
        QVERIFY(p.dialogs.shown.isEmpty());
    }
    void optionsRestored_data()
    {
        QTest::addColumn<QString>("c5");
        QTest::addColumn<QString>("ep");
        QTest::addColumn<int>("highlight");
        QTest::addColumn<QString>("favourite");
        QTest::addColumn<QString>("caption");
        QTest::newRow("ticked") << "1" << "Lens" << 1 << "Lens" << "Lens";
        QTest::newRow("unticked: EP not read") << "0" << "Lens" << 0 << "" << "Aucune";
        QTest::newRow("absent") << QString() << "Lens" << 0 << "" << "Aucune";
        QTest::newRow("ticked, no favourite stored") << "1" << QString() << 1 << "" << "Aucune";
    }
    void optionsRestored()
    {
        QFETCH(QString, c5);
        QFETCH(QString, ep);
        Program p;
        if (!c5.isNull())
            p.settings.write(Data, QStringLiteral("C5"), c5);
        p.settings.write(Data, QStringLiteral("C6"), QStringLiteral("1"));
        if (!ep.isNull())
            p.settings.write(Data, QStringLiteral("EP"), ep);
        MainController &c = p.start();
        const OptionsModel &options = c.options().model();
        QTEST(options.highlightFavourite, "highlight");
        QCOMPARE(options.trackingAid, 1);
        QTEST(c.session().favouriteTeam, "favourite");
        QTEST(options.favouriteCaption, "caption");
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
    void stalenessFromTheStoreFile()
    {
        Program old;
        QVERIFY(SetModified(old.storePath(), December6.addDays(-11)));
        QVERIFY(old.start().stalenessPromptDue());
        // Until the program can download, the offer is not made.
        QVERIFY(old.dialogs.shown.isEmpty());
        Program none(Program::None);
        QVERIFY(none.start().stalenessPromptDue());
    }
    void settingsNamesIgnoreCase()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Kestrava.ini"));
        {
            auto store = QtSettingsStore::atPath(path);
            store->write(Data, QStringLiteral("C5"), QStringLiteral("1"));
            store->write(QStringLiteral("data"), QStringLiteral("Vset"), QStringLiteral("-"));
        }
        auto again = QtSettingsStore::atPath(path);
        QCOMPARE(again->read(QStringLiteral("DATA"), QStringLiteral("c5"), QStringLiteral("0")), QStringLiteral("1"));
        QCOMPARE(again->read(Data, QStringLiteral("VSET"), QString()), QStringLiteral("-"));
        // "Data" and "data" are one section: one group in the file.
        QCOMPARE(ReadFileBytes(path).count("[data]"), 1);
        for (const auto &[text, state] : {std::pair{"1", 1}, {" 1 ", 1}, {"0", 0}, {"vrai", 0}, {"", 0}})
            QVERIFY2(CheckStateFromText(QString::fromLatin1(text)) == state, text);
    }
    void quitSavesOptionsButNeverEmptyBoxes()
    {
        Program p;
        p.settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QStringLiteral("Editeur"));
        p.settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), QStringLiteral("7nord"));
        MainController &c = p.start();
        QCOMPARE(c.session().pseudo, QStringLiteral("Editeur"));
        c.session().pseudo.clear();
        c.options().setCheck(6, 1);
        QSignalSpy quit(&c, &MainController::quitRequested);
        c.clickButton(Btn::Quit);
        QCOMPARE(quit.count(), 1);
        QCOMPARE(p.settings.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QString()), QStringLiteral("Editeur"));
        QCOMPARE(p.settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString()), QStringLiteral("7nord"));
        QCOMPARE(p.settings.read(QStringLiteral("data"), QStringLiteral("c6"), QString()), QStringLiteral("1"));
        QCOMPARE(p.settings.read(Data, QStringLiteral("C4"), QString()), QStringLiteral("0"));
        // The close box after "Quitter" saves nothing twice.
        const int writes = p.settings.writeCount();
        c.close();
        QCOMPARE(p.settings.writeCount(), writes);
    }
    void prologueAndToggles()
    {
        Program p;
        MainController &c = p.start();
        QVERIFY(c.standings().table().gamesInHandVisible()); // four clubs have a match in hand
        c.clickButton(Btn::Options);
        QVERIFY(c.options().model().visible && !c.download().news().visible);
        QVERIFY(c.download().news().columnTitles);
        QVERIFY(c.standings().table().gamesInHand().isEmpty());
        QCOMPARE(c.options().model().favouriteEntries.size(), 19);
        c.clickButton(Btn::Options);
        QVERIFY(!c.options().model().visible);
        c.clickButton(Btn::Options);
        c.clickButton(Btn::About); // any other button hides the options
        QVERIFY(!c.options().model().visible && c.panels().about && !c.standings().panels().formGuide);
        QCOMPARE(c.panels().aboutVersion, QStringLiteral("Version: 1.0.0"));
        c.clickButton(Btn::About);
        QVERIFY(!c.panels().about && c.standings().panels().formGuide);
        c.clickButton(Btn::About);
        c.clickButton(Btn::CloseAbout);
        QVERIFY(!c.panels().about && c.standings().panels().formGuide);
        // Opening the options a second time does not refill the list.
        c.clickButton(Btn::Options);
        c.options().model().favouriteEntries.append(QStringLiteral("marque"));
        c.clickButton(Btn::CloseOptions);
        c.clickButton(Btn::Options);
        QCOMPARE(c.options().model().favouriteEntries.size(), 20);
    }
    void favourite()
    {
        Program p;
        MainController &c = p.start();
        c.clickButton(Btn::Options);
        const int marseille = c.options().model().favouriteEntries.indexOf(QStringLiteral("Marseille"));
        c.options().chooseFavourite(marseille);
        const OptionsModel &options = c.options().model();
        QCOMPARE(c.session().favouriteTeam, QStringLiteral("Marseille"));
        QVERIFY(options.crestTeam == u"Marseille" && options.highlightFavourite == 1 && options.favouriteTag == u"T");
        QCOMPARE(p.settings.read(Data, QStringLiteral("EP"), QString()), QStringLiteral("Marseille"));
        // Third place: yellow instead of the zone colour at once, the zone's tooltip kept.
        const TableCell &third = c.standings().table().cell(2, TableColumn::Name);
        QCOMPARE(third.background, (Rgb{255, 255, 0}));
        QCOMPARE(third.tooltip, QStringLiteral("Qualifié phase de groupe Champions league"));
        c.clickButton(Btn::GeneralTable); // a new run keeps the highlight
        QCOMPARE(c.standings().table().cell(2, TableColumn::Name).background, (Rgb{255, 255, 0}));

        c.clickButton(Btn::Options);
        c.options().chooseFavourite(0);
        QCOMPARE(c.session().favouriteTeam, QStringLiteral("Aucune"));
        QVERIFY(options.highlightFavourite == 0 && options.crestTeam.isEmpty());
        QCOMPARE(c.standings().table().cell(2, TableColumn::Name).background, (Rgb{151, 222, 255}));
        c.close();
        QCOMPARE(p.settings.read(Data, QStringLiteral("C5"), QString()), QStringLiteral("0"));
        QCOMPARE(p.settings.read(Data, QStringLiteral("EP"), QString()), QStringLiteral("Aucune"));
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
        c.clickButton(Btn::Options);
        c.clickButton(Btn::DreamTeam);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].kind + p.dialogs.shown[0].text, QStringLiteral("textMot de passe"));
        QTEST(c.session().password, "password");
    }
    void printing_data()
    {
        QTest::addColumn<bool>("printed");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("printer") << true << QString() << QString();
        QTest::newRow("no printer: pdf") << false << QStringLiteral("/tmp/Kestrava-impression.pdf")
                                         << QStringLiteral("/tmp/Kestrava-impression.pdf");
        QTest::newRow("nothing printed") << false << QString() << QStringLiteral("impression");
    }
    void printing()
    {
        QFETCH(bool, printed);
        QFETCH(QString, pdf);
        QFETCH(QString, mentions);
        Program p;
        MainController &c = p.start();
        p.printer.next = PrintOutcome{printed, pdf};
        c.clickButton(Btn::PrintBar);
        QCOMPARE(p.printer.calls, 1);
        QCOMPARE(p.dialogs.shown.size(), mentions.isEmpty() ? 0 : 1);
        if (!mentions.isEmpty())
            QVERIFY2(p.dialogs.shown[0].text.contains(mentions), qPrintable(p.dialogs.shown[0].text));
    }
    void hoverColours()
    {
        Program p;
        MainController &c = p.start();
        const Rgb rest{9, 27, 49}, hover{0, 128, 128};
        c.hoverButton(Btn::Rankings);
        QCOMPARE(c.buttons().button(Btn::Rankings).background, hover);
        c.hoverButton(Btn::PrintBar);
        QCOMPARE(c.buttons().button(Btn::Rankings).background, rest);
        QCOMPARE(c.buttons().button(Btn::PrintBar).background, hover);
        c.clickButton(Btn::MatchdayTables);
        c.standings().hoverMatchdayNumber(7);
        c.matchdays().hoverMonth(4); // December, the month shown since start-up
        QCOMPARE(c.matchdays().calendar().months[4].background, hover);
        // The bare window rests every button, matchday number and month; the month stays shown.
        c.hoverWindow();
        for (int i = 0; i < ButtonCount; ++i)
            QCOMPARE(c.buttons().button(i).background, rest);
        QCOMPARE(c.standings().matchdayList().entries[7].background, rest);
        QCOMPARE(c.matchdays().calendar().months[4].background, rest);
        QCOMPARE(c.matchdays().calendar().shownMonth, 4);
    }
};

QTEST_GUILESS_MAIN(TestWindow)
#include "tst_window.moc"

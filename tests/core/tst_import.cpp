// Results from open-data files: the hand-made files of tests/data/import read into the store, the
// club names that must and must not match, the import from the window against the same results typed
// in the grid, and `kestrava-cli import` as it ships.
#include "RunProgram.h"
#include "TestProgram.h"
#include "matchdays/ResultsImport.h"
#include "platform/Text.h"

#include <QProcess>
#include <QtTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

const QString ImportDir = QStringLiteral(KESTRAVA_TEST_DATA_DIR "/import/");

QByteArray ImportFile(const QString &name)
{
    return ReadFileBytes(ImportDir + name);
}

using Records = QMap<QString, QString>; // fixture key -> record, "" for none

struct Counts
{
    int written, unchanged, withoutScore, conflicts, unplaced, unknown;
};

const QDateTime Launch(QDate(2026, 9, 1), QTime(9, 30));

// The results of matchdays 1 and 2 in roundtrip.csv, by grid row: goals, then the yellow and red
// cards of the home side and of the away side.
struct Typed
{
    int matchday, row;
    const char *r1, *r2, *cj1, *cr1, *cj2, *cr2;
};
const Typed RoundTrip[] = {
    { 1, 0, "2", "1", "3", "0", "1", "1" },
    { 1, 1, "0", "0", "2", "0", "2", "0" },
    { 1, 2, "1", "3", "1", "0", "0", "0" },
    { 1, 3, "1", "1", "4", "1", "2", "0" },
    { 1, 4, "4", "0", "0", "0", "2", "0" },
    { 1, 5, "2", "2", "1", "0", "1", "0" },
    { 1, 6, "3", "1", "2", "0", "3", "0" },
    { 1, 7, "0", "1", "1", "0", "4", "1" },
    { 1, 8, "3", "0", "2", "0", "1", "0" },
    { 2, 0, "1", "2", "2", "0", "0", "0" },
    { 2, 1, "0", "0", "3", "0", "3", "0" },
    { 2, 2, "5", "0", "0", "0", "1", "0" },
    { 2, 3, "2", "2", "2", "1", "2", "1" },
    { 2, 4, "1", "0", "1", "0", "2", "0" },
    { 2, 5, "0", "2", "3", "0", "1", "0" },
    { 2, 6, "1", "1", "2", "0", "2", "0" },
    { 2, 7, "0", "3", "1", "1", "0", "0" },
    { 2, 8, "2", "1", "2", "0", "2", "0" },
};

Outcome RunCli(const QStringList &args)
{
    return RunProgram(QStringLiteral(KESTRAVA_CLI), args);
}

} // namespace

Q_DECLARE_METATYPE(Records)

class TestImport : public QObject
{
    Q_OBJECT

    SeasonData m_season;

private slots:
    void initTestCase() { QVERIFY(LoadSeasonFile(DataDir + QStringLiteral("/2027.txt"), m_season)); }

    void clubNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("club"); // empty: not recognised
        QTest::newRow("season's own") << "Saint-Étienne"
                                      << "Saint-Étienne";
        QTest::newRow("St, no accent") << "St Etienne"
                                       << "Saint-Étienne";
        QTest::newRow("capitals, dots") << "SAINT.ETIENNE"
                                        << "Saint-Étienne";
        QTest::newRow("alias folded alike") << "A.S. St-Étienne"
                                            << "Saint-Étienne";
        QTest::newRow("Ste is Sainte, not Saint") << "Ste Etienne"
                                                  << "";
        QTest::newRow("short alias") << "PSG"
                                     << "Paris SG";
        QTest::newRow("long alias, no hyphen") << "Paris Saint Germain"
                                               << "Paris SG";
        QTest::newRow("other Paris club") << "paris-fc"
                                          << "Paris FC";
        QTest::newRow("Paris alone is no club") << "Paris"
                                                << "";
        QTest::newRow("spaces and case") << "  le   HAVRE a.c. "
                                         << "Le Havre";
        QTest::newRow("misspelt") << "Olympique Lyonais"
                                  << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void clubNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, club);
        const ClubMatcher clubs(m_season);
        const int team = clubs.teamOf(name);
        QCOMPARE(team < 0 ? QString() : m_season.teams[size_t(team)], club);
    }

    // Each hand-made file into a store prepared for it: what is written, kept and reported.
    void files_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<bool>("otherNames"); // AutresNoms2027.txt in the season folder
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QList<int>>("counts"); // written, unchanged, no score, conflicts, unplaced, unknown
        QTest::addColumn<Records>("records");

        const QByteArray conflict = "[Resultats]\r\n0103=I|0|0|2|0|0|0|A\r\n0104=B|0|0|4|0|2|0|K\r\n";
        const Records csv { { "0100", "R|0|3|2|1|1|1|D" }, { "0101", "Q|0|2|0|0|2|0|O" },
            { "0102", "M|0|1|1|3|0|0|C" }, { "0104", "B|0|0|4|0|2|0|K" }, { "0105", "" }, { "0106", "" },
            { "0107", "" }, { "0108", "L|0|2|3|0|1|0|P" }, { "0200", "O|0|2|1|2|0|0|R" } };
        Records kept = csv;
        kept.insert("0103", "I|0|0|2|0|0|0|A");
        Records replaced = csv;
        replaced.insert("0103", "I|1|4|1|1|2|0|A");
        QTest::newRow("csv: alias, unknown, malformed, not played, conflict")
            << ImportFile("season.csv") << conflict << false << false << QList<int> { 5, 1, 1, 1, 2, 1 }
            << kept;
        QTest::newRow("csv --replace") << ImportFile("season.csv") << conflict << false << true
                                       << QList<int> { 6, 1, 1, 1, 2, 1 } << replaced;
        QTest::newRow("csv: BOM, CR LF, quoted, ISO dates")
            << ImportFile("season-bom-crlf.csv") << QByteArray() << false << false
            << QList<int> { 2, 0, 0, 0, 0, 0 }
            << Records { { "0100", "R|0|3|2|1|1|1|D" }, { "0101", "Q|0|2|0|0|2|0|O" } };
        QTest::newRow("csv: Windows-1252, dd/mm/yy, no cards")
            << ImportFile("season-1252.csv") << QByteArray() << false << false
            << QList<int> { 3, 0, 0, 0, 0, 0 }
            << Records { { "0100", "R|||2|1|||D" }, { "0200", "O|||1|2|||R" }, { "0201", "D|||0|0|||C" } };
        // The stored score had no cards yet: the file's cards complete it.
        QTest::newRow("cards added to a stored score")
            << ImportFile("season-bom-crlf.csv") << QByteArray("[Resultats]\r\n0100=R|||2|1|||D\r\n") << false
            << false << QList<int> { 2, 0, 0, 0, 0, 0 } << Records { { "0100", "R|0|3|2|1|1|1|D" } };
        const Records json { { "0100", "R|||2|1|||D" }, { "0101", "Q|||0|0|||O" }, { "0103", "I|||1|1|||A" },
            { "0107", "" }, { "0108", "" }, { "0200", "" } };
        QTest::newRow("json: aliases, not played, unknown, malformed")
            << ImportFile("season.json") << QByteArray() << false << false << QList<int> { 3, 0, 1, 0, 2, 1 }
            << json;
        Records withNames = json;
        withNames.insert("0108", "L|||3|0|||P");
        QTest::newRow("json with the editor's other names")
            << ImportFile("season.json") << QByteArray() << true << false << QList<int> { 4, 0, 1, 0, 1, 0 }
            << withNames;
        // The same score without cards in the file: the stored cards stay, nothing is written.
        QTest::newRow("json keeps stored cards")
            << ImportFile("season.json") << QByteArray("[Resultats]\r\n0100=R|0|3|2|1|1|1|D\r\n") << false
            << false << QList<int> { 2, 1, 1, 0, 2, 1 } << Records { { "0100", "R|0|3|2|1|1|1|D" } };
        // Two lines for one fixture: the second disagrees with the first, which stands.
        QTest::newRow("one fixture twice") << QByteArray(
            "Date,HomeTeam,AwayTeam,FTHG,FTAG\n2026-08-21,Lens,Strasbourg,1,0\n"
            "2026-08-21,Lens,Strasbourg,0,1\n2027-02-12,Strasbourg,Lens,0,1\n2026-08-21,Lens,Lens,1,1\n")
                                           << QByteArray() << false << false
                                           << QList<int> { 2, 0, 0, 1, 1, 0 }
                                           << Records { { "0106", "H|||1|0|||G" } };
        QTest::newRow("semicolons, cards past nine, a quote left open")
            << QByteArray(
                   "Date;HomeTeam;AwayTeam;FTHG;FTAG;HY;AY;HR;AR\n21/08/2026;Lens;Strasbourg;1;0;12;3;;1\n"
                   "22/08/2026;\"Nantes;Monaco;1;3;1;0;0;0\n")
            << QByteArray() << false << false << QList<int> { 1, 0, 0, 0, 1, 0 }
            << Records { { "0106", "H||12|1|0|3|1|G" }, { "0102", "" } };
    }
    void files()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, store);
        QFETCH(bool, otherNames);
        QFETCH(bool, replace);
        QFETCH(QList<int>, counts);
        QFETCH(Records, records);

        QTemporaryDir dir;
        const ResultsStore results(dir.path());
        if (!store.isEmpty())
            QVERIFY(WriteFileBytes(results.path(), store));
        if (otherNames)
            QVERIFY(
                QFile::copy(ImportDir + OtherNamesFileName, QDir(dir.path()).filePath(OtherNamesFileName)));

        ClubMatcher clubs(m_season);
        const QStringList notes = clubs.loadOtherNamesFile(dir.path());
        QCOMPARE(notes.size(), otherNames ? 2 : 0);
        const ImportPlan plan
            = PlanImport(ReadResultsFile(file), m_season, results.snapshot(), clubs, replace);
        QVERIFY2(plan.readable(), qPrintable(plan.problem));
        const QList<int> got { plan.written, plan.unchanged, plan.withoutScore, int(plan.conflicts.size()),
            int(plan.unplaced.size()), int(plan.unknownClubs.size()) };
        QVERIFY2(got == counts, qPrintable(ImportReport(plan)));
        QVERIFY(SaveImport(plan, results, Launch));

        const IniSnapshot after = results.snapshot();
        for (auto it = records.cbegin(); it != records.cend(); ++it)
            QCOMPARE(after.value(Store::Results, it.key()), it.value());
        if (plan.written > 0)
            QCOMPARE(after.value(Store::Maj, Store::Maj), FormatMaj(Launch));
    }

    // Not a results file: nothing is read, the reason is said.
    void neitherFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("web page") << ImportFile("neither.html");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("CSV without the goals")
            << QByteArray("Date,HomeTeam,AwayTeam\n21/08/2026,Lens,Nice\n");
        QTest::newRow("JSON cut short") << QByteArray("{\"matches\": [{\"team1\": \"Lens\"");
        QTest::newRow("JSON of something else") << QByteArray("{\"clubs\": []}");
        QTest::newRow("a results store")
            << ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
    }
    void neitherFormat()
    {
        QFETCH(QByteArray, file);
        const ImportedFile read = ReadResultsFile(file);
        QCOMPARE(read.format, ImportFormat::Unknown);
        QVERIFY(!read.problem.isEmpty());
        QVERIFY(read.matches.isEmpty());
    }

    void unknownClubsNameTheClosest()
    {
        const ClubMatcher clubs(m_season);
        QCOMPARE(clubs.closest(QStringLiteral("Olympique Lyonais")).value(0), QStringLiteral("Lyon"));
        QCOMPARE(clubs.closest(QStringLiteral("Strasbourgg")).value(0), QStringLiteral("Strasbourg"));
    }

    // The window's import of a season's first two matchdays leaves the same store and the same table
    // as the editor typing those results into the grid and pressing "Valider".
    void importEqualsTyping()
    {
        ForbiddenDownloader noNetwork;
        TestProgram imported(TestProgram::Empty);
        imported.downloader = &noNetwork;
        MainController &a = imported.start();
        a.matchdays().showMatchday(1);
        a.clickButton(Btn::SendFile);
        const QByteArray before = imported.storeBytes();

        // Non: the report was shown, nothing is written.
        imported.dialogs.openFileAnswers = { ImportDir + QStringLiteral("roundtrip.csv") };
        imported.dialogs.yesNoAnswers = { false };
        a.clickButton(Btn::ImportResults);
        QCOMPARE(imported.dialogs.shown.value(0).kind, QStringLiteral("openfile"));
        QCOMPARE(imported.dialogs.shown.value(1).kind, QStringLiteral("yesno"));
        QVERIFY2(imported.dialogs.shown.value(1).text.contains(QStringLiteral("Résultats écrits : 18")),
            qPrintable(imported.dialogs.shown.value(1).text));
        QCOMPARE(imported.storeBytes(), before);
        QCOMPARE(a.matchdays().grid().row(0).r1.text, QString());

        imported.dialogs.openFileAnswers = { ImportDir + QStringLiteral("roundtrip.csv") };
        imported.dialogs.yesNoAnswers = { true };
        a.clickButton(Btn::ImportResults);
        QCOMPARE(imported.dialogs.shown.size(), 4);
        // The grid on show and the table take the new results at once.
        QCOMPARE(a.matchdays().grid().row(0).r1.text, QStringLiteral("2"));
        QCOMPARE(a.matchdays().grid().row(0).cards[int(CardBox::AwayRed)].text, QStringLiteral("1"));

        TestProgram typed(TestProgram::Empty);
        MainController &b = typed.start();
        for (const int matchday : { 1, 2 }) {
            b.matchdays().showMatchday(matchday);
            for (const Typed &t : RoundTrip) {
                if (t.matchday != matchday)
                    continue;
                b.matchdays().editGoals(t.row, GoalsBox::Home, QString::fromLatin1(t.r1));
                b.matchdays().editGoals(t.row, GoalsBox::Away, QString::fromLatin1(t.r2));
                b.matchdays().editCard(t.row, CardBox::HomeYellow, QString::fromLatin1(t.cj1));
                b.matchdays().editCard(t.row, CardBox::HomeRed, QString::fromLatin1(t.cr1));
                b.matchdays().editCard(t.row, CardBox::AwayYellow, QString::fromLatin1(t.cj2));
                b.matchdays().editCard(t.row, CardBox::AwayRed, QString::fromLatin1(t.cr2));
            }
            b.clickButton(Btn::Save);
        }
        QCOMPARE(QString::fromLatin1(imported.storeBytes()), QString::fromLatin1(typed.storeBytes()));
        for (int r = 0; r < TeamCount; ++r) {
            for (int c = 0; c < ColumnCount; ++c)
                QCOMPARE(a.standings().table().cell(r, TableColumn(c)).text,
                    b.standings().table().cell(r, TableColumn(c)).text);
        }
        QCOMPARE(a.standings().table().cell(0, TableColumn::Points).text, QStringLiteral("6"));
    }

    // `kestrava-cli import`: the report, the exit status, and what reaches the store.
    void cli_data()
    {
        QTest::addColumn<QStringList>("args"); // "@" is the season folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("golden"); // the report on stdout; empty: nothing on stdout
        QTest::addColumn<bool>("written");
        const QString season = ImportDir + QStringLiteral("season.csv");
        QTest::newRow("some lines not placed")
            << QStringList { "import", season, "--dir", "@" } << 6 << "season-report.txt" << true;
        QTest::newRow("dry run") << QStringList { "import", "--dry-run", season, "--dir", "@" } << 6
                                 << "season-dry-run.txt" << false;
        QTest::newRow("every line placed")
            << QStringList { "import", ImportDir + QStringLiteral("roundtrip.csv"), "--dir", "@" } << 0 << ""
            << true;
        QTest::newRow("neither format") << QStringList { "import", ImportDir + QStringLiteral("neither.html"),
            "--dir", "@" } << 2 << "" << false;
        QTest::newRow("no such file") << QStringList { "import", ImportDir + QStringLiteral("absent.csv"),
            "--dir", "@" } << 2 << "" << false;
        QTest::newRow("no file named") << QStringList { "import", "--dir", "@" } << 1 << "" << false;
        QTest::newRow("unknown option")
            << QStringList { "import", season, "--dir", "@", "--force" } << 1 << "" << false;
    }
    void cli()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, golden);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(DataDir + QStringLiteral("/2027.txt"), QDir(dir.path()).filePath("2027.txt")));
        const ResultsStore store(dir.path());
        const QByteArray before = "[Resultats]\r\n0103=I|0|0|2|0|0|0|A\r\n0104=B|0|0|4|0|2|0|K\r\n";
        QVERIFY(WriteFileBytes(store.path(), before));

        const Outcome o = RunCli(args.replaceInStrings(QStringLiteral("@"), dir.path()));
        QVERIFY2(o.status == status, qPrintable(o.err));
        if (!golden.isEmpty()) {
            QString expected = QString::fromUtf8(ImportFile(golden));
            expected.replace(QStringLiteral("@"), dir.path());
            QCOMPARE(QString::fromUtf8(o.out), expected);
        }
        QCOMPARE(store.snapshot().value(Store::Results, QStringLiteral("0100")).isEmpty(), !written);
        if (!written)
            QCOMPARE(ReadFileBytes(store.path()), before);
        if (status == 2)
            QVERIFY(o.err.startsWith(QStringLiteral("Fichier illisible")));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"

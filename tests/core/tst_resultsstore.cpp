// The results store: records, bonus/malus, the editor's save and the dated copy.
#include "TestFiles.h"
#include "WriteBlocker.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

using namespace kestrava;
using kestrava::test::ReadFileBytes;
using kestrava::test::SetModified;
using kestrava::test::WriteBlocker;
using kestrava::test::WriteFileBytes;

namespace {

const QDateTime Launch(QDate(2026, 12, 6), QTime(7, 24));

// The 34 rows of the entry grid, all boxes empty, then `filled` in the first rows: each one
// "key|home|cr1|cj1|r1|r2|cj2|cr2|away".
QList<EntryRow> entryRows(const QStringList &filled = {})
{
    QList<EntryRow> rows(34);
    for (int i = 0; i < 34; ++i) {
        rows[i].key = FixtureKey(1 + i / 9, i % 9);
        rows[i].homeLetter = TeamLetter(i % 18);
        rows[i].awayLetter = TeamLetter((i + 5) % 18);
    }
    for (int i = 0; i < filled.size(); ++i) {
        const QStringList f = filled[i].split(u'|');
        rows[i] = { f[0], f[1], f[8], f[4], f[5], f[3], f[6], f[2], f[7] };
    }
    return rows;
}

QString stored(const ResultsStore &store, const QString &key)
{
    return store.snapshot().value(Store::Results, key, QStringLiteral("<absent>"));
}

const QByteArray PublishedStore = "[Resultats]\r\n"
                                  "0100=R||3|0|1||0|D\r\n"
                                  "0101=Q|0||0|1|1||O\r\n"
                                  "[BonMal]\r\n"
                                  "C=-2\r\n"
                                  "[Maj]\r\n"
                                  "Maj=01 d\xE9" "c. 20:00\r\n"
                                  "[Pseudo]\r\n"
                                  "Pseudo=H\xE9l\xE8ne\r\n"
                                  "[Texte]\r\n"
                                  "Texte=Bienvenue ; saison 2026-2027\r\n";

} // namespace

class TstResultsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void parseRecord_data();
    void parseRecord();
    void smallRules();
    void missingKeyReadsEmptyRecord();
    void loadBonusMalus();

    void saveWritesRows();
    void saveKeepsEverythingElse();
    void saveMajFromLaunchTime_data();
    void saveMajFromLaunchTime();
    void changedSinceReference_data();
    void changedSinceReference();
    void firstSaveHidesSecondShows();
    void separatorTypedInABox_data();
    void separatorTypedInABox();
    void failedSave_data();
    void failedSave();

    void datedCopy();

private:
    QString m_folder;
    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TstResultsStore::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    ::chmod(QFile::encodeName(m_tmp->path()).constData(), 0755);
    m_folder = m_tmp->filePath(QStringLiteral("prog"));
    QVERIFY(QDir().mkpath(m_folder));
}

void TstResultsStore::parseRecord_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QStringList>("fields"); // home, cr1, cj1, r1, r2, cj2, cr2, away
    QTest::addColumn<QString>("written");
    QTest::newRow("empty record") << QStringLiteral("|||||||") << QStringList(8, QString()) << QStringLiteral("|||||||");
    QTest::newRow("no text") << QString() << QStringList(8, QString()) << QStringLiteral("|||||||");
    QTest::newRow("full") << QStringLiteral("R|1|2|3|4|5|6|D") << QStringList({ "R", "1", "2", "3", "4", "5", "6", "D" })
                          << QStringLiteral("R|1|2|3|4|5|6|D");
    QTest::newRow("empty cards") << QStringLiteral("R||3|0|1||0|D") << QStringList({ "R", "", "3", "0", "1", "", "0", "D" })
                                 << QStringLiteral("R||3|0|1||0|D");
    QTest::newRow("short") << QStringLiteral("R|1|2") << QStringList({ "R", "1", "2", "", "", "", "", "" })
                           << QStringLiteral("R|1|2|||||");
    QTest::newRow("too long") << QStringLiteral("A|1|2|3|4|5|6|B|x|y") << QStringList({ "A", "1", "2", "3", "4", "5", "6", "B" })
                              << QStringLiteral("A|1|2|3|4|5|6|B");
}

void TstResultsStore::parseRecord()
{
    QFETCH(QString, record);
    QFETCH(QStringList, fields);
    QFETCH(QString, written);
    const MatchResult r = MatchResult::parse(record);
    // The named fields follow the record's symmetric layout.
    QCOMPARE(QStringList({ r.homeLetter(), r.cr1(), r.cj1(), r.r1(), r.r2(), r.cj2(), r.cr2(), r.awayLetter() }), fields);
    QCOMPARE(QStringList(r.fields.begin(), r.fields.end()), fields);
    QCOMPARE(r.toRecord(), written);
}

void TstResultsStore::smallRules()
{
    QCOMPARE(MatchResult().toRecord(), QStringLiteral("|||||||"));
    for (const char *no : { "", "-" })
        QVERIFY2(!GoalsEntered(QString::fromLatin1(no)), no);
    for (const char *yes : { "0", "3", "12" })
        QVERIFY2(GoalsEntered(QString::fromLatin1(yes)), yes);
    QCOMPARE(FixtureKey(1, 0), QStringLiteral("0100"));
    QCOMPARE(FixtureKey(9, 3), QStringLiteral("0903"));
    QCOMPARE(FixtureKey(34, 8), QStringLiteral("3408"));

    const ResultsStore store(m_folder);
    QCOMPARE(QFileInfo(store.path()).absoluteFilePath(), QDir(m_folder).absoluteFilePath(QStringLiteral("Resultats2027.ini")));
    QCOMPARE(QFileInfo(store.backupPath()).fileName(), QStringLiteral("Resultats2027.BU"));
    // Day, month, two-digit year.
    QCOMPARE(QFileInfo(store.datedCopyPath(QDateTime(QDate(2027, 1, 5), QTime(23, 59)))).fileName(),
        QStringLiteral("Resultats2027-050127.ini"));
}

void TstResultsStore::missingKeyReadsEmptyRecord()
{
    const ResultsStore store(m_folder);
    QCOMPARE(ResultsStore::result(store.snapshot(), QStringLiteral("0100")).toRecord(), EmptyRecord); // no file yet
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const IniSnapshot snap = store.snapshot();
    QCOMPARE(ResultsStore::result(snap, QStringLiteral("0100")).toRecord(), QStringLiteral("R||3|0|1||0|D"));
    QCOMPARE(ResultsStore::result(snap, QStringLiteral("3408")).toRecord(), EmptyRecord);
}

void TstResultsStore::loadBonusMalus()
{
    const ResultsStore store(m_folder);
    SeasonData season;
    season.bonusMalus.fill(7.0f);
    store.loadBonusMalus(season); // no file: everything kept
    QVERIFY(WriteFileBytes(store.path(), "[BonMal]\r\nA=\r\nB=-2.5\r\nc=3\r\nD=1,5\r\nE=abc\r\nF=-\r\nR=-1\r\nS=9\r\n"
                                         "[Autre]\r\nG=5\r\n"));
    store.loadBonusMalus(season);
    std::array<float, 19> expected;
    expected.fill(7.0f); // no key, an empty value, another section or no team ("S"): kept
    expected[1] = -2.5f;
    expected[2] = 3.0f;  // key matched without regard to case
    expected[3] = 1.0f;  // a comma ends the number
    expected[4] = 0.0f;  // not a number: 0
    expected[5] = 0.0f;  // "-" counts 0
    expected[17] = -1.0f;
    for (int i = 0; i < 19; ++i)
        QVERIFY2(season.bonusMalus[i] == expected[i], qPrintable(QStringLiteral("slot %1: %2").arg(i).arg(season.bonusMalus[i])));
}

void TstResultsStore::saveWritesRows()
{
    const ResultsStore store(m_folder);
    QList<EntryRow> rows = entryRows({ "0100|R|1|2|3|4|5|6|D",
        "0101|Q|||||2|||O",  // no home goals: skipped
        "0102|M|||-||||C",   // "-": stored, not played
        "0103|I||1|03|0|||A" }); // as typed, leading zero kept
    rows[33] = entryRows({ "3408|L|||0|0|||G" })[0];
    const SaveOutcome out = store.saveResults(rows, Launch, Launch, EditingPassword);
    QVERIFY(out.written);
    QVERIFY(!out.changedSinceReference); // there was no file before
    QVERIFY(!out.sendButtonVisible);

    QCOMPARE(store.snapshot().keys(Store::Results), QStringList({ "0100", "0102", "0103", "3408" }));
    QCOMPARE(stored(store, QStringLiteral("0100")), QStringLiteral("R|1|2|3|4|5|6|D"));
    QCOMPARE(stored(store, QStringLiteral("0102")), QStringLiteral("M|||-||||C"));
    QCOMPARE(stored(store, QStringLiteral("0103")), QStringLiteral("I||1|03|0|||A"));
    QCOMPARE(stored(store, QStringLiteral("3408")), QStringLiteral("L|||0|0|||G"));
    // On disk: Windows-1252 and CR LF, as the publisher's site has it.
    const QByteArray bytes = ReadFileBytes(store.path());
    QVERIFY(bytes.contains("Maj=06 d\xE9" "c. 07:24\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
}

void TstResultsStore::saveKeepsEverythingElse()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    // A row whose home goals were cleared leaves its stored record alone.
    const QList<EntryRow> rows = entryRows({ "0101|Q|||2|2|||O", "0100|R||||5|||D" });
    QVERIFY(store.saveResults(rows, Launch, Launch, QString()).written);
    QByteArray expected = PublishedStore;
    expected.replace("0101=Q|0||0|1|1||O\r\n", "0101=Q|||2|2|||O\r\n");
    expected.replace("Maj=01 d\xE9" "c. 20:00\r\n", "Maj=06 d\xE9" "c. 07:24\r\n");
    QCOMPARE(ReadFileBytes(store.path()), expected);
}

void TstResultsStore::saveMajFromLaunchTime_data()
{
    QTest::addColumn<QDateTime>("launch");
    QTest::addColumn<QString>("maj");
    QTest::newRow("august") << QDateTime(QDate(2026, 8, 21), QTime(21, 0, 59)) << QStringLiteral("21 août 21:00");
    QTest::newRow("new year's eve") << QDateTime(QDate(2026, 12, 31), QTime(23, 10)) << QStringLiteral("31 déc. 23:10");
}

void TstResultsStore::saveMajFromLaunchTime()
{
    QFETCH(QDateTime, launch);
    QFETCH(QString, maj);
    const ResultsStore store(m_folder);
    // The stamp is the launch time, however late the save comes, and even with no row to write.
    QVERIFY(store.saveResults(entryRows(), launch, launch, QString()).written);
    const QString text = store.snapshot().value(Store::Maj, Store::Maj);
    QCOMPARE(text, maj);
    // It reads back to the minute, in the year it can be, even when read in the following January.
    QCOMPARE(ParseMaj(text, launch.addDays(10)), QDateTime(launch.date(), QTime(launch.time().hour(), launch.time().minute())));
}

void TstResultsStore::changedSinceReference_data()
{
    QTest::addColumn<bool>("fileBefore");
    QTest::addColumn<int>("modifiedOffset"); // seconds after the reference date
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("visible");
    QTest::newRow("no file") << false << 0 << EditingPassword << false << false;
    QTest::newRow("written an hour before") << true << -3600 << EditingPassword << false << false;
    QTest::newRow("written at the reference second") << true << 0 << EditingPassword << false << false;
    QTest::newRow("a second later") << true << 1 << EditingPassword << true << true;
    QTest::newRow("later, wrong case") << true << 1 << QStringLiteral("7NORD") << true << false;
    QTest::newRow("later, trailing blank") << true << 60 << QStringLiteral("7nord ") << true << false;
    QTest::newRow("later, no password") << true << 86400 << QString() << true << false;
}

void TstResultsStore::changedSinceReference()
{
    QFETCH(bool, fileBefore);
    QFETCH(int, modifiedOffset);
    QFETCH(QString, password);
    QFETCH(bool, changed);
    QFETCH(bool, visible);
    const ResultsStore store(m_folder);
    if (fileBefore) {
        QVERIFY(WriteFileBytes(store.path(), PublishedStore));
        QVERIFY(SetModified(store.path(), Launch.addSecs(modifiedOffset)));
    }
    const SaveOutcome out = store.saveResults(entryRows({ "0102|M|||1|0|||C" }), Launch, Launch, password);
    QVERIFY(out.written);
    QCOMPARE(out.changedSinceReference, changed);
    QCOMPARE(out.sendButtonVisible, visible);
}

void TstResultsStore::firstSaveHidesSecondShows()
{
    const ResultsStore store(m_folder);
    // Launched a moment ago, on a store last written an hour before; the reference is the launch.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime launch = now.addSecs(-2).addMSecs(-now.time().msec());
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QVERIFY(SetModified(store.path(), launch.addSecs(-3600)));
    const QList<EntryRow> rows = entryRows({ "0102|M|||1|0|||C" });
    SaveOutcome out = store.saveResults(rows, launch, launch, EditingPassword);
    QVERIFY(out.written && !out.changedSinceReference && !out.sendButtonVisible);

    // The first save wrote the file after the launch: now there is something to send.
    out = store.saveResults(rows, launch, launch, EditingPassword);
    QVERIFY(out.written && out.changedSinceReference && out.sendButtonVisible);

    // The editor's unlock moves the reference 15 days back: older writes count then too.
    QVERIFY(SetModified(store.path(), launch.addDays(-3)));
    out = store.saveResults(rows, launch, launch.addDays(-15), EditingPassword);
    QVERIFY(out.changedSinceReference && out.sendButtonVisible);
}

void TstResultsStore::separatorTypedInABox_data()
{
    QTest::addColumn<int>("box"); // field index of the box holding the '|' (or line break, for 3)
    for (int box = 1; box <= 6; ++box)
        QTest::newRow(qPrintable(QStringLiteral("field %1").arg(box))) << box;
}

void TstResultsStore::separatorTypedInABox()
{
    QFETCH(int, box);
    const ResultsStore store(m_folder);
    const QStringList typed = { "0100", "A", "0", "1", "2", "3", "4", "0", "B" };
    QStringList f = typed;
    f[box + 1] = box == 3 ? QStringLiteral("2\r\n[Maj]\r\nMaj=faux") : QStringLiteral("1|2");
    // Build the row by hand: the text holds the separator itself.
    QList<EntryRow> rows = entryRows();
    rows[0] = { f[0], f[1], f[8], f[4], f[5], f[3], f[6], f[2], f[7] };
    QVERIFY(store.saveResults(rows, Launch, QDateTime(), QString()).written);

    const IniSnapshot snap = store.snapshot();
    QCOMPARE(snap.value(Store::Maj, Store::Maj), QStringLiteral("06 déc. 07:24"));
    QCOMPARE(snap.keys(Store::Results), QStringList(QStringLiteral("0100")));
    const QString record = snap.value(Store::Results, QStringLiteral("0100"));
    QCOMPARE(record.count(u'|'), 7);
    // Every other box is where it belongs.
    const MatchResult r = MatchResult::parse(record);
    for (int i = 0; i < 8; ++i)
        if (i != box)
            QCOMPARE(r.fields[i], typed[i + 1]);
}

void TstResultsStore::failedSave_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("datedCopy"); // the dated copy rather than the save
    QTest::newRow("read-only folder") << int(WriteBlocker::ReadOnlyFolder) << false;
    QTest::newRow("disk full") << int(WriteBlocker::DiskFull) << false;
    QTest::newRow("dated copy, disk full") << int(WriteBlocker::DiskFull) << true;
}

void TstResultsStore::failedSave()
{
    QFETCH(int, kind);
    QFETCH(bool, datedCopy);
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const QByteArray older = "[Maj]\r\nMaj=ancien\r\n";
    QVERIFY(WriteFileBytes(store.datedCopyPath(Launch), older));
    QList<EntryRow> rows = entryRows();
    for (EntryRow &r : rows)
        r.r1 = r.r2 = QStringLiteral("1");
    bool done = true;
    {
        WriteBlocker blocker(WriteBlocker::Kind(kind), m_folder);
        if (!blocker.engage()) {
            blocker.release();
            QSKIP("this machine cannot make that write fail");
        }
        done = datedCopy ? store.datedCopy(Launch) : store.saveResults(rows, Launch, Launch, EditingPassword).written;
    }
    QVERIFY(!done);
    QCOMPARE(ReadFileBytes(store.path()), PublishedStore);
    QCOMPARE(ReadFileBytes(store.datedCopyPath(Launch)), older);
    // Nor is a half-written temporary file left behind.
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList({ "Resultats2027-061226.ini", "Resultats2027.ini" }));
}

void TstResultsStore::datedCopy()
{
    const ResultsStore store(m_folder);
    const QDateTime launch(QDate(2027, 1, 5), QTime(9, 30));
    const QString copy = QDir(m_folder).filePath(QStringLiteral("Resultats2027-050127.ini"));
    QVERIFY(!store.datedCopy(launch)); // no store, no copy
    QVERIFY(!QFile::exists(copy));

    // A copy of that name from earlier the same day is overwritten.
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QVERIFY(WriteFileBytes(copy, "[Maj]\r\nMaj=ancien\r\n"));
    QVERIFY(store.datedCopy(launch));
    QCOMPARE(ReadFileBytes(copy), PublishedStore);
    QCOMPARE(ReadFileBytes(store.path()), PublishedStore);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files, QDir::Name), QStringList({ "Resultats2027-050127.ini", "Resultats2027.ini" }));
}

QTEST_GUILESS_MAIN(TstResultsStore)
#include "tst_resultsstore.moc"

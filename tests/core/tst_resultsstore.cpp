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

#include <csignal>
#include <memory>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrava;
using kestrava::test::WriteBlocker;
using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {




// The 34 rows of the entry grid, all boxes empty.
QList<EntryRow> emptyRows()
{
    QList<EntryRow> rows(34);
    for (int i = 0; i < 34; ++i) {
        rows[i].key = FixtureKey(1 + i / 9, i % 9);
        rows[i].homeLetter = TeamLetter(i % 18);
        rows[i].awayLetter = TeamLetter((i + 5) % 18);
    }
    return rows;
}

EntryRow row(const QString &key, const QString &home, const QString &cr1, const QString &cj1,
    const QString &r1, const QString &r2, const QString &cj2, const QString &cr2, const QString &away)
{
    EntryRow r;
    r.key = key;
    r.homeLetter = home;
    r.cr1 = cr1;
    r.cj1 = cj1;
    r.r1 = r1;
    r.r2 = r2;
    r.cj2 = cj2;
    r.cr2 = cr2;
    r.awayLetter = away;
    return r;
}

const QByteArray PublishedStore = "[Resultats]\r\n"
                                  "0100=R||3|0|1||0|D\r\n"
                                  "0101=Q|0||0|1|1||O\r\n"
                                  "[BonMal]\r\n"
                                  "C=-2\r\n"
                                  "[Maj]\r\n"
                                  "Maj=01 d\xE9"
                                  "c. 20:00\r\n"
                                  "[Pseudo]\r\n"
                                  "Pseudo=H\xE9l\xE8ne\r\n"
                                  "[Texte]\r\n"
                                  "Texte=Bienvenue ; saison 2026-2027\r\n"
                                  "[CV]\r\n"
                                  "CV=1.0\r\n"
                                  "[VersionEQU]\r\n"
                                  "VersionEQU=1\r\n";


} // namespace

class TstResultsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void parseRecord_data();
    void parseRecord();
    void recordRoundTrip();
    void goalsEntered_data();
    void goalsEntered();
    void fixtureKey_data();
    void fixtureKey();
    void paths();
    void missingKeyReadsEmptyRecord();

    void loadBonusMalus();
    void loadBonusMalusWithoutFile();

    void saveWritesRows();
    void saveKeepsRecordOfEmptyHomeGoals();
    void saveKeepsEverythingElse();
    void saveMajFromLaunchTime_data();
    void saveMajFromLaunchTime();
    void changedSinceReference_data();
    void changedSinceReference();
    void firstSaveHidesSecondShows();
    void pipeTypedInABox_data();
    void pipeTypedInABox();
    void lineBreakTypedInABox();
    void failedSave_data();
    void failedSave();

    void datedCopy();
    void datedCopyWithoutStore();
    void failedDatedCopyKeepsOldCopy();

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
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty record") << QStringLiteral("|||||||") << QStringList(8, QString());
    QTest::newRow("no text") << QString() << QStringList(8, QString());
    QTest::newRow("full") << QStringLiteral("R|1|2|3|4|5|6|D")
                          << QStringList({ "R", "1", "2", "3", "4", "5", "6", "D" });
    QTest::newRow("empty cards") << QStringLiteral("R||3|0|1||0|D")
                                 << QStringList({ "R", "", "3", "0", "1", "", "0", "D" });
    QTest::newRow("not played") << QStringLiteral("A|||-|-|||B")
                                << QStringList({ "A", "", "", "-", "-", "", "", "B" });
    QTest::newRow("short") << QStringLiteral("R|1|2") << QStringList({ "R", "1", "2", "", "", "", "", "" });
    QTest::newRow("letter only") << QStringLiteral("R") << QStringList({ "R", "", "", "", "", "", "", "" });
    QTest::newRow("too long") << QStringLiteral("A|1|2|3|4|5|6|B|x|y")
                              << QStringList({ "A", "1", "2", "3", "4", "5", "6", "B" });
}

void TstResultsStore::parseRecord()
{
    QFETCH(QString, record);
    QFETCH(QStringList, fields);
    const MatchResult r = MatchResult::parse(record);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(r.fields[i], fields[i]);
    // The named fields follow the record's symmetric layout.
    QCOMPARE(r.homeLetter(), fields[0]);
    QCOMPARE(r.cr1(), fields[1]);
    QCOMPARE(r.cj1(), fields[2]);
    QCOMPARE(r.r1(), fields[3]);
    QCOMPARE(r.r2(), fields[4]);
    QCOMPARE(r.cj2(), fields[5]);
    QCOMPARE(r.cr2(), fields[6]);
    QCOMPARE(r.awayLetter(), fields[7]);
}

void TstResultsStore::recordRoundTrip()
{
    QCOMPARE(MatchResult::parse(EmptyRecord).toRecord(), QStringLiteral("|||||||"));
    QCOMPARE(MatchResult::parse(QStringLiteral("R||3|0|1||0|D")).toRecord(), QStringLiteral("R||3|0|1||0|D"));
    QCOMPARE(MatchResult::parse(QStringLiteral("R|1|2")).toRecord(), QStringLiteral("R|1|2|||||"));
    QCOMPARE(MatchResult().toRecord(), QStringLiteral("|||||||"));
}

void TstResultsStore::goalsEntered_data()
{
    QTest::addColumn<QString>("goals");
    QTest::addColumn<bool>("entered");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dash") << QStringLiteral("-") << false;
    QTest::newRow("zero") << QStringLiteral("0") << true;
    QTest::newRow("three") << QStringLiteral("3") << true;
    QTest::newRow("two digits") << QStringLiteral("12") << true;
}

void TstResultsStore::goalsEntered()
{
    QFETCH(QString, goals);
    QFETCH(bool, entered);
    QCOMPARE(GoalsEntered(goals), entered);
}

void TstResultsStore::fixtureKey_data()
{
    QTest::addColumn<int>("matchday");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::newRow("first") << 1 << 0 << QStringLiteral("0100");
    QTest::newRow("last") << 34 << 8 << QStringLiteral("3408");
    QTest::newRow("middle") << 9 << 3 << QStringLiteral("0903");
    QTest::newRow("two-digit matchday") << 12 << 0 << QStringLiteral("1200");
}

void TstResultsStore::fixtureKey()
{
    QFETCH(int, matchday);
    QFETCH(int, position);
    QFETCH(QString, key);
    QCOMPARE(FixtureKey(matchday, position), key);
}

void TstResultsStore::paths()
{
    const ResultsStore store(m_folder);
    QCOMPARE(QFileInfo(store.path()).fileName(), QStringLiteral("Resultats2027.ini"));
    QCOMPARE(QFileInfo(store.path()).absolutePath(), QFileInfo(m_folder).absoluteFilePath());
    QCOMPARE(QFileInfo(store.backupPath()).fileName(), QStringLiteral("Resultats2027.BU"));
    QCOMPARE(QFileInfo(store.datedCopyPath(QDateTime(QDate(2027, 1, 5), QTime(23, 59)))).fileName(),
        QStringLiteral("Resultats2027-050127.ini"));
    QCOMPARE(QFileInfo(store.datedCopyPath(QDateTime(QDate(2026, 12, 6), QTime(7, 24)))).fileName(),
        QStringLiteral("Resultats2027-061226.ini"));
}

void TstResultsStore::missingKeyReadsEmptyRecord()
{
    const ResultsStore store(m_folder);
    // No file yet.
    MatchResult r = ResultsStore::result(store.snapshot(), QStringLiteral("0100"));
    QCOMPARE(r.toRecord(), QStringLiteral("|||||||"));
    QVERIFY(!GoalsEntered(r.r1()));

    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const IniSnapshot snap = store.snapshot();
    QCOMPARE(ResultsStore::result(snap, QStringLiteral("0100")).toRecord(), QStringLiteral("R||3|0|1||0|D"));
    r = ResultsStore::result(snap, QStringLiteral("3408"));
    QCOMPARE(r.toRecord(), QStringLiteral("|||||||"));
    QVERIFY(!GoalsEntered(r.r1()) && !GoalsEntered(r.r2()));
}

void TstResultsStore::loadBonusMalus()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(),
        "[BonMal]\r\n"
        "A=\r\n"
        "B=-2.5\r\n"
        "c=3\r\n"
        "D=1,5\r\n"
        "E=abc\r\n"
        "F=-\r\n"
        "R=-1\r\n"
        "S=9\r\n"
        "[Autre]\r\n"
        "G=5\r\n"));
    SeasonData season;
    season.bonusMalus.fill(7.0f);
    store.loadBonusMalus(season);

    QCOMPARE(season.bonusMalus[0], 7.0f); // empty value keeps the slot
    QCOMPARE(season.bonusMalus[1], -2.5f);
    QCOMPARE(season.bonusMalus[2], 3.0f); // key matched without regard to case
    QCOMPARE(season.bonusMalus[3], 1.0f); // a comma ends the number
    QCOMPARE(season.bonusMalus[4], 0.0f); // not a number: 0
    QCOMPARE(season.bonusMalus[5], 0.0f); // "-" counts 0
    QCOMPARE(season.bonusMalus[6], 7.0f); // only the BonMal section counts
    for (int i = 7; i < 17; ++i)
        QCOMPARE(season.bonusMalus[i], 7.0f); // no key: kept
    QCOMPARE(season.bonusMalus[17], -1.0f);
    QCOMPARE(season.bonusMalus[18], 7.0f); // no team behind "S"
}

void TstResultsStore::loadBonusMalusWithoutFile()
{
    SeasonData season;
    season.bonusMalus.fill(1.5f);
    ResultsStore(m_folder).loadBonusMalus(season);
    for (float v : season.bonusMalus)
        QCOMPARE(v, 1.5f);
}

void TstResultsStore::saveWritesRows()
{
    const ResultsStore store(m_folder);
    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0100", "R", "1", "2", "3", "4", "5", "6", "D");
    rows[1] = row("0101", "Q", "", "", "", "2", "", "", "O"); // no home goals: skipped
    rows[2] = row("0102", "M", "", "", "-", "", "", "", "C"); // "-": stored, not played
    rows[3] = row("0103", "I", "", "1", "03", "0", "", "", "A"); // as typed, leading zero kept
    rows[33] = row("3408", "L", "", "", "0", "0", "", "", "G");
    const QDateTime launch(QDate(2026, 12, 6), QTime(7, 24, 37));
    const SaveOutcome out = store.saveResults(rows, launch, launch, EditingPassword);
    QVERIFY(out.written);
    QVERIFY(!out.changedSinceReference); // there was no file before
    QVERIFY(!out.sendButtonVisible);

    const IniSnapshot snap = store.snapshot();
    QCOMPARE(
        snap.value(QStringLiteral("Resultats"), QStringLiteral("0100")), QStringLiteral("R|1|2|3|4|5|6|D"));
    QVERIFY(!snap.contains(QStringLiteral("Resultats"), QStringLiteral("0101")));
    QCOMPARE(snap.value(QStringLiteral("Resultats"), QStringLiteral("0102")), QStringLiteral("M|||-||||C"));
    QCOMPARE(
        snap.value(QStringLiteral("Resultats"), QStringLiteral("0103")), QStringLiteral("I||1|03|0|||A"));
    QCOMPARE(snap.value(QStringLiteral("Resultats"), QStringLiteral("3408")), QStringLiteral("L|||0|0|||G"));
    QCOMPARE(snap.keys(QStringLiteral("Resultats")).size(), 4);
    QVERIFY(!GoalsEntered(ResultsStore::result(snap, QStringLiteral("0102")).r1()));

    const MatchResult r = ResultsStore::result(snap, QStringLiteral("0100"));
    QCOMPARE(r.homeLetter(), QStringLiteral("R"));
    QCOMPARE(r.cr1(), QStringLiteral("1"));
    QCOMPARE(r.cj1(), QStringLiteral("2"));
    QCOMPARE(r.r1(), QStringLiteral("3"));
    QCOMPARE(r.r2(), QStringLiteral("4"));
    QCOMPARE(r.cj2(), QStringLiteral("5"));
    QCOMPARE(r.cr2(), QStringLiteral("6"));
    QCOMPARE(r.awayLetter(), QStringLiteral("D"));

    // On disk: Windows-1252 and CR LF, as the publisher's site has it.
    const QByteArray bytes = ReadFileBytes(store.path());
    QVERIFY(bytes.contains("Maj=06 d\xE9"
                           "c. 07:24\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
}

void TstResultsStore::saveKeepsRecordOfEmptyHomeGoals()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const QDateTime launch(QDate(2026, 12, 6), QTime(7, 24));

    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0100", "R", "", "", "", "5", "", "", "D"); // home goals cleared
    QVERIFY(store.saveResults(rows, launch, launch, QString()).written);
    QCOMPARE(ReadIni(store.path(), QStringLiteral("Resultats"), QStringLiteral("0100")),
        QStringLiteral("R||3|0|1||0|D"));

    // "-" is what marks it not played.
    rows[0] = row("0100", "R", "", "", "-", "-", "", "", "D");
    QVERIFY(store.saveResults(rows, launch, launch, QString()).written);
    const MatchResult r = ResultsStore::result(store.snapshot(), QStringLiteral("0100"));
    QCOMPARE(r.toRecord(), QStringLiteral("R|||-|-|||D"));
    QVERIFY(!GoalsEntered(r.r1()));
}

void TstResultsStore::saveKeepsEverythingElse()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0101", "Q", "", "", "2", "2", "", "", "O");
    const QDateTime launch(QDate(2026, 12, 6), QTime(7, 24));
    QVERIFY(store.saveResults(rows, launch, launch, QString()).written);

    QByteArray expected = PublishedStore;
    expected.replace("0101=Q|0||0|1|1||O\r\n", "0101=Q|||2|2|||O\r\n");
    expected.replace("Maj=01 d\xE9"
                     "c. 20:00\r\n",
        "Maj=06 d\xE9"
        "c. 07:24\r\n");
    QCOMPARE(ReadFileBytes(store.path()), expected);
}

void TstResultsStore::saveMajFromLaunchTime_data()
{
    QTest::addColumn<QDateTime>("launch");
    QTest::addColumn<QString>("maj");
    QTest::newRow("december") << QDateTime(QDate(2026, 12, 6), QTime(7, 24, 59))
                              << QStringLiteral("06 déc. 07:24");
    QTest::newRow("august") << QDateTime(QDate(2026, 8, 21), QTime(21, 0)) << QStringLiteral("21 août 21:00");
    QTest::newRow("new year's eve") << QDateTime(QDate(2026, 12, 31), QTime(23, 10))
                                    << QStringLiteral("31 déc. 23:10");
}

void TstResultsStore::saveMajFromLaunchTime()
{
    QFETCH(QDateTime, launch);
    QFETCH(QString, maj);
    const ResultsStore store(m_folder);
    // The stamp is the launch time, however late the save comes, and even with no row to write.
    QVERIFY(store.saveResults(emptyRows(), launch, launch, QString()).written);
    const QString stored = ReadIni(store.path(), QStringLiteral("Maj"), QStringLiteral("Maj"));
    QCOMPARE(stored, maj);
    // It reads back to the minute, in the year it can be, even when read in the following January.
    const QDateTime later = launch.addDays(10);
    const QDateTime minute(launch.date(), QTime(launch.time().hour(), launch.time().minute()));
    QCOMPARE(ParseMaj(stored, later), minute);
}

void TstResultsStore::changedSinceReference_data()
{
    QTest::addColumn<bool>("fileBefore");
    QTest::addColumn<int>("modifiedOffset"); // seconds after the reference date
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("visible");

    QTest::newRow("no file") << false << 0 << QStringLiteral("7nord") << false << false;
    QTest::newRow("written an hour before") << true << -3600 << QStringLiteral("7nord") << false << false;
    QTest::newRow("written at the reference second")
        << true << 0 << QStringLiteral("7nord") << false << false;
    QTest::newRow("a second later") << true << 1 << QStringLiteral("7nord") << true << true;
    QTest::newRow("a day later") << true << 86400 << QStringLiteral("7nord") << true << true;
    QTest::newRow("later, wrong case") << true << 1 << QStringLiteral("7NORD") << true << false;
    QTest::newRow("later, no password") << true << 1 << QString() << true << false;
    QTest::newRow("later, trailing blank") << true << 1 << QStringLiteral("7nord ") << true << false;
    QTest::newRow("later, other password") << true << 60 << QStringLiteral("nord7") << true << false;
}

void TstResultsStore::changedSinceReference()
{
    QFETCH(bool, fileBefore);
    QFETCH(int, modifiedOffset);
    QFETCH(QString, password);
    QFETCH(bool, changed);
    QFETCH(bool, visible);

    const ResultsStore store(m_folder);
    const QDateTime reference(QDate(2026, 12, 6), QTime(7, 24, 0));
    if (fileBefore) {
        QVERIFY(WriteFileBytes(store.path(), PublishedStore));
        QVERIFY(kestrava::test::SetModified(store.path(), reference.addSecs(modifiedOffset)));
    }
    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0102", "M", "", "", "1", "0", "", "", "C");
    const SaveOutcome out = store.saveResults(rows, reference, reference, password);
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
    QVERIFY(kestrava::test::SetModified(store.path(), launch.addSecs(-3600)));

    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0102", "M", "", "", "1", "0", "", "", "C");
    SaveOutcome out = store.saveResults(rows, launch, launch, EditingPassword);
    QVERIFY(out.written);
    QVERIFY(!out.changedSinceReference);
    QVERIFY(!out.sendButtonVisible);

    // The first save wrote the file after the launch: now there is something to send.
    out = store.saveResults(rows, launch, launch, EditingPassword);
    QVERIFY(out.written);
    QVERIFY(out.changedSinceReference);
    QVERIFY(out.sendButtonVisible);

    // The editor's unlock moves the reference 15 days back: older writes count then too.
    QVERIFY(kestrava::test::SetModified(store.path(), launch.addDays(-3)));
    out = store.saveResults(rows, launch, launch.addDays(-15), EditingPassword);
    QVERIFY(out.changedSinceReference);
    QVERIFY(out.sendButtonVisible);
}

void TstResultsStore::pipeTypedInABox_data()
{
    QTest::addColumn<int>("box"); // field index of the box holding the '|'
    for (int box = 1; box <= 6; ++box)
        QTest::newRow(qPrintable(QStringLiteral("field %1").arg(box))) << box;
}

void TstResultsStore::pipeTypedInABox()
{
    QFETCH(int, box);
    const ResultsStore store(m_folder);
    QStringList f = { "A", "0", "1", "2", "3", "4", "0", "B" };
    f[box] = QStringLiteral("1|2");
    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0100", f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]);
    QVERIFY(
        store.saveResults(rows, QDateTime(QDate(2026, 12, 6), QTime(7, 24)), QDateTime(), QString()).written);

    const QString stored = ReadIni(store.path(), QStringLiteral("Resultats"), QStringLiteral("0100"));
    QCOMPARE(stored.count(u'|'), 7);
    const MatchResult r = MatchResult::parse(stored);
    QCOMPARE(r.homeLetter(), QStringLiteral("A"));
    QCOMPARE(r.awayLetter(), QStringLiteral("B"));
    // Every other box is where it belongs.
    const QStringList typed = { "A", "0", "1", "2", "3", "4", "0", "B" };
    for (int i = 0; i < 8; ++i) {
        if (i != box)
            QCOMPARE(r.fields[i], typed[i]);
    }
}

void TstResultsStore::lineBreakTypedInABox()
{
    const ResultsStore store(m_folder);
    QList<EntryRow> rows = emptyRows();
    rows[0] = row("0100", "A", "", "", "2\r\n[Maj]\r\nMaj=faux", "1", "", "", "B");
    QVERIFY(
        store.saveResults(rows, QDateTime(QDate(2026, 12, 6), QTime(7, 24)), QDateTime(), QString()).written);
    const IniSnapshot snap = store.snapshot();
    QCOMPARE(snap.value(QStringLiteral("Maj"), QStringLiteral("Maj")), QStringLiteral("06 déc. 07:24"));
    QCOMPARE(snap.keys(QStringLiteral("Resultats")), QStringList(QStringLiteral("0100")));
    QCOMPARE(MatchResult::parse(snap.value(QStringLiteral("Resultats"), QStringLiteral("0100"))).awayLetter(),
        QStringLiteral("B"));
}

void TstResultsStore::failedSave_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("read-only folder") << int(WriteBlocker::ReadOnlyFolder);
    QTest::newRow("disk full") << int(WriteBlocker::DiskFull);
}

void TstResultsStore::failedSave()
{
    QFETCH(int, kind);
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QList<EntryRow> rows = emptyRows();
    for (int i = 0; i < 34; ++i)
        rows[i].r1 = rows[i].r2 = QStringLiteral("1");
    const QDateTime launch(QDate(2026, 12, 6), QTime(7, 24));

    SaveOutcome out;
    out.written = true;
    {
        WriteBlocker blocker(WriteBlocker::Kind(kind), m_folder);
        if (!blocker.engage()) {
            blocker.release();
            QSKIP("this machine cannot make that write fail");
        }
        out = store.saveResults(rows, launch, launch, EditingPassword);
    }
    QVERIFY(!out.written);
    QCOMPARE(ReadFileBytes(store.path()), PublishedStore);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden),
        QStringList(QStringLiteral("Resultats2027.ini")));
}

void TstResultsStore::datedCopy()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const QDateTime launch(QDate(2027, 1, 5), QTime(9, 30));
    const QString copy = QDir(m_folder).filePath(QStringLiteral("Resultats2027-050127.ini"));
    QCOMPARE(store.datedCopyPath(launch), copy);

    // A copy of that name from earlier the same day is overwritten.
    QVERIFY(WriteFileBytes(copy, "[Maj]\r\nMaj=ancien\r\n"));
    QVERIFY(store.datedCopy(launch));
    QCOMPARE(ReadFileBytes(copy), PublishedStore);
    QCOMPARE(ReadFileBytes(store.path()), PublishedStore);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files, QDir::Name),
        QStringList({ QStringLiteral("Resultats2027-050127.ini"), QStringLiteral("Resultats2027.ini") }));
}

void TstResultsStore::datedCopyWithoutStore()
{
    const ResultsStore store(m_folder);
    const QDateTime launch(QDate(2027, 1, 5), QTime(9, 30));
    QVERIFY(!store.datedCopy(launch));
    QVERIFY(!QFile::exists(store.datedCopyPath(launch)));
}

void TstResultsStore::failedDatedCopyKeepsOldCopy()
{
    const ResultsStore store(m_folder);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    const QDateTime launch(QDate(2027, 1, 5), QTime(9, 30));
    const QByteArray older = "[Maj]\r\nMaj=ancien\r\n";
    QVERIFY(WriteFileBytes(store.datedCopyPath(launch), older));
    bool copied = true;
    {
        WriteBlocker blocker(WriteBlocker::DiskFull, m_folder);
        QVERIFY(blocker.engage());
        copied = store.datedCopy(launch);
    }
    QVERIFY(!copied);
    QCOMPARE(ReadFileBytes(store.datedCopyPath(launch)), older);
    QCOMPARE(ReadFileBytes(store.path()), PublishedStore);
}

QTEST_GUILESS_MAIN(TstResultsStore)
#include "tst_resultsstore.moc"

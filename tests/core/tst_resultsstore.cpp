// The results store: records, bonus/malus, the editor's save and the dated copy.
#include "TestFiles.h"
#include "WriteBlocker.h"
#include "platform/IniFile.h"
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
// "key|home|cr1|cj1|r1|r2|cj2|cr2|away", the order of the stored record.
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
    void namesAndKeys();
    void loadBonusMalus();
    void saveWritesRows();
    void saveKeepsEverythingElse();
    void changedSinceReference_data();
    void changedSinceReference();
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

void TstResultsStore::namesAndKeys()
{
    // A record is eight fields in a symmetric layout: home, CR1, CJ1, R1, R2, CJ2, CR2, away.
    const MatchResult r = MatchResult::parse(QStringLiteral("R|1|2|3|4|5|6|D|x|y"));
    QCOMPARE(QStringList({ r.homeLetter(), r.cr1(), r.cj1(), r.r1(), r.r2(), r.cj2(), r.cr2(), r.awayLetter() }).join(u'|'),
        r.toRecord());
    QCOMPARE(r.toRecord(), QStringLiteral("R|1|2|3|4|5|6|D"));
    QCOMPARE(MatchResult::parse(QStringLiteral("R|1|2")).toRecord(), QStringLiteral("R|1|2|||||"));
    const ResultsStore store(m_folder);
    QCOMPARE(QFileInfo(store.path()).absoluteFilePath(), QDir(m_folder).absoluteFilePath(QStringLiteral("Resultats2027.ini")));

    // A fixture without a record reads as the empty record, with or without a file.
    QCOMPARE(ResultsStore::result(store.snapshot(), QStringLiteral("0100")).toRecord(), EmptyRecord);
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QCOMPARE(ResultsStore::result(store.snapshot(), QStringLiteral("0100")).toRecord(), QStringLiteral("R||3|0|1||0|D"));
    QCOMPARE(ResultsStore::result(store.snapshot(), QStringLiteral("3408")).toRecord(), EmptyRecord);
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
    // No key, an empty value, another section or no team ("S") keep the slot; keys match without
    // regard to case; a comma ends the number; no number counts 0.
    QStringList got;
    for (float v : season.bonusMalus)
        got << QString::number(v);
    QCOMPARE(got.join(u' '), QStringLiteral("7 -2.5 3 1 0 0 7 7 7 7 7 7 7 7 7 7 7 -1 7"));
}

void TstResultsStore::saveWritesRows()
{
    const ResultsStore store(m_folder);
    QList<EntryRow> rows = entryRows({ "0100|R|1|2|3|4|5|6|D",
        "0101|Q|||||2|||O", // no home goals: skipped
        "0102|M|||-||||C", // "-": stored, not played
        "0103|I||1|03|0|||A" }); // as typed, leading zero kept
    // A '|' typed into a box would shift every later field; a line break would start a line.
    rows[4] = { "0104", "E", "F", "1", "0", "2|3", "1", "0", "4\r\n[Maj]" };
    rows[33] = entryRows({ "3408|L|||0|0|||G" })[0];
    const SaveOutcome out = store.saveResults(rows, Launch, Launch, EditingPassword);
    QVERIFY(out.written);
    QVERIFY(!out.changedSinceReference); // there was no file before
    QVERIFY(!out.sendButtonVisible);
    // Windows-1252 and CR LF, as the publisher's site has it; the stamp is the launch time.
    QCOMPARE(ReadFileBytes(store.path()), QByteArray("[Maj]\r\nMaj=06 d\xE9" "c. 07:24\r\n[Resultats]\r\n"
                                                     "0100=R|1|2|3|4|5|6|D\r\n0102=M|||-||||C\r\n"
                                                     "0103=I||1|03|0|||A\r\n0104=E|0|23|1|0|1|4 [Maj]|F\r\n"
                                                     "3408=L|||0|0|||G\r\n"));
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

// Something to send: the store was written after the reference date, and the password is exact.
void TstResultsStore::changedSinceReference_data()
{
    QTest::addColumn<bool>("fileBefore");
    QTest::addColumn<int>("modifiedOffset"); // seconds after the reference date
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("visible");
    QTest::newRow("no file") << false << 0 << EditingPassword << false << false;
    QTest::newRow("written at the reference second") << true << 0 << EditingPassword << false << false;
    QTest::newRow("a second later") << true << 1 << EditingPassword << true << true;
    QTest::newRow("later, wrong case") << true << 1 << QStringLiteral("7NORD") << true << false;
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

// A save or dated copy that cannot be written says so, and leaves every file as it was (the kinds
// of failed write are the INI writer's tests).
void TstResultsStore::failedSave_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("datedCopy"); // the dated copy rather than the save
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
    // No stray temporary file either; the dated copy is named day, month, two-digit year.
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        QStringList({ "Resultats2027-061226.ini", "Resultats2027.ini" }));
}

void TstResultsStore::datedCopy()
{
    const ResultsStore store(m_folder);
    const QString copy = store.datedCopyPath(Launch);
    QVERIFY(!store.datedCopy(Launch)); // no store, no copy
    QVERIFY(!QFile::exists(copy));
    // A copy of that name from earlier the same day is overwritten.
    QVERIFY(WriteFileBytes(store.path(), PublishedStore));
    QVERIFY(WriteFileBytes(copy, "[Maj]\r\nMaj=ancien\r\n"));
    QVERIFY(store.datedCopy(Launch));
    QCOMPARE(ReadFileBytes(copy), PublishedStore);
}

QTEST_GUILESS_MAIN(TstResultsStore)
#include "tst_resultsstore.moc"

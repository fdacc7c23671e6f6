// Damaged input of every kind the program reads: random bytes and mutations of real files fed to
// the parsers and the table engine. Nothing may crash or hang, and the invariants the views rely
// on must hold. The seeds are fixed, so a failure repeats.
#include "matchdays/FixtureGridModel.h"
#include "matchdays/MatchdayView.h"
#include "online/Online.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "season/SeasonData.h"
#include "standings/Standings.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace kestrava;

namespace {

QByteArray shipped(const char *name)
{
    QFile f(QStringLiteral(KESTRAVA_DATA_DIR "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One time in `randomEvery`, random bytes; otherwise the file with bytes flipped, deleted,
// duplicated and inserted, favouring the characters the formats care about.
QByteArray damaged(QByteArray bytes, QRandomGenerator &rng, int randomEvery)
{
    if (rng.bounded(randomEvery) == 0) {
        bytes.resize(qsizetype(rng.bounded(2000)));
        for (char &c : bytes)
            c = char(rng.bounded(256));
        return bytes;
    }
    static const char special[] = "|=[]\r\n-0123456789ABRSZ\xE9\x80 ";
    for (int e = 1 + int(rng.bounded(12)); e > 0; --e) {
        const qsizetype at = bytes.isEmpty() ? 0 : qsizetype(rng.bounded(quint32(bytes.size())));
        switch (rng.bounded(5)) {
        case 0:
            if (!bytes.isEmpty())
                bytes[at] = char(rng.bounded(256));
            break;
        case 1:
            bytes.remove(at, 1 + qsizetype(rng.bounded(40)));
            break;
        case 2:
            bytes.insert(at, special[rng.bounded(quint32(sizeof(special) - 1))]);
            break;
        case 3:
            bytes.insert(at, bytes.mid(at, qsizetype(rng.bounded(200))));
            break;
        default:
            bytes.insert(at, QByteArray(qsizetype(rng.bounded(3000)), char('0' + rng.bounded(10))));
            break;
        }
    }
    return bytes;
}

} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT
private slots:
    void seasonsAndStores();
    void donorsFiles();
};

// Damaged seasons and stores through the INI reader and writer, the engine, the matchday grid and
// the card report.
void TestRobustness::seasonsAndStores()
{
    QRandomGenerator rng(3);
    const QByteArray season = shipped("2027.txt");
    const QByteArray store = shipped("demo/Resultats2027.ini");
    const QString results = QStringLiteral("Resultats");
    FixtureGridModel grid;
    for (int i = 0; i < 400; ++i) {
        SeasonData s;
        LoadSeasonText(damaged(season, rng, 5), s);
        for (int k = 1; k < 308; ++k) {
            const QString &slot = s.calendar[k];
            // Every filled slot keeps its shape: two digits, "|", two or more digits, "|", the code.
            if (!slot.isEmpty())
                QVERIFY2(slot.size() >= 6 && slot[2] == u'|' && slot.indexOf(u'|', 3) >= 5, qPrintable(slot));
        }
        // A name is found at its own slot or at an earlier one holding the same name.
        for (int t = 0; t < TeamCount; ++t)
            QVERIFY(s.TeamIndexOf(s.teams[t]) <= t || s.teams[t].isEmpty());

        const QByteArray bytes = damaged(store, rng, 4);
        const IniSnapshot snap = IniSnapshot::fromBytes(bytes);
        QVERIFY(snap.value(results, QStringLiteral("0100")).size() <= IniValueLimit);
        // Whatever the file held, a write reads back and changes nothing else it could read.
        IniDocument doc = IniDocument::fromBytes(bytes);
        QVERIFY(doc.set(results, QStringLiteral("3408"), QStringLiteral("R|1|2|3|4|5|6|D\nintrus=1")));
        const IniSnapshot after = IniSnapshot::fromBytes(doc.toBytes());
        QCOMPARE(after.value(results, QStringLiteral("3408")), QStringLiteral("R|1|2|3|4|5|6|D intrus=1"));
        QCOMPARE(after.contains(results, QStringLiteral("intrus")), snap.contains(results, QStringLiteral("intrus")));
        QCOMPARE(after.value(QStringLiteral("Maj"), QStringLiteral("Maj")), snap.value(QStringLiteral("Maj"), QStringLiteral("Maj")));

        ResultsStore::loadBonusMalus(snap, s);
        const StandingsRun run = RunStandings(s, snap, int(rng.bounded(35)));
        // The table is always the 18 teams, each once, with keys that never rise down the table.
        QSet<int> seen;
        for (int r = 0; r < TeamCount; ++r) {
            seen.insert(run.tableOrder[r]);
            QVERIFY(run.rowKeys[r].size() >= 12);
            if (r > 0)
                QVERIFY(run.rows[run.tableOrder[r]].sortKey <= run.rows[run.tableOrder[r - 1]].sortKey);
        }
        QCOMPARE(seen.size(), TeamCount);
        QCOMPARE(RankNumbers(run.rowKeys)[0], 1);
        ShowMatchday(grid, s, snap, 1 + int(rng.bounded(34)), GridContext{QDateTime::currentDateTime(), QString()});
        for (int r = 0; r < GridRowCount; ++r) {
            for (const EntryBox &b : grid.row(r).cards)
                QVERIFY(b.text.trimmed().size() <= 1);
        }
        QVERIFY(!CardReport(snap).isEmpty());
    }
}

void TestRobustness::donorsFiles()
{
    QRandomGenerator rng(4);
    const QByteArray donors = shipped("demo/don.L1");
    for (int i = 0; i < 500; ++i) {
        const QByteArray bytes = damaged(donors, rng, 3);
        for (const QString &e : ParseDonors(DecodeWin1252(bytes)))
            QVERIFY(!e.contains(u'\n'));
        QVERIFY(LooksLikeTextFile(bytes) == !bytes.contains('\0'));
    }
}

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"

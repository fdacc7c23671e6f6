// The season data file and the season model: what start-up reads once and every view relies on.
#include "season/SeasonData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrava;

namespace {

QByteArray joinLines(const QList<QByteArray> &lines, const QByteArray &end = "\r\n")
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + end;
    return out;
}

SeasonData load(const QByteArray &bytes)
{
    SeasonData s;
    LoadSeasonText(bytes, s);
    return s;
}

// Every slot that holds something, one entry each, so that a failed comparison names the slot.
QStringList dump(const SeasonData &s)
{
    QStringList out;
    for (int i = 0; i < 19; ++i)
        if (!s.teams[i].isEmpty())
            out << QStringLiteral("team %1 %2").arg(i).arg(s.teams[i]);
    for (int i = 0; i < 35; ++i)
        if (s.matchdayDates[i].isValid())
            out << QStringLiteral("date %1 %2").arg(i).arg(s.matchdayDates[i].toString(Qt::ISODate));
    for (int i = 0; i < 308; ++i)
        if (!s.calendar[i].isEmpty())
            out << QStringLiteral("cal %1 %2").arg(i).arg(s.calendar[i]);
    for (int i = 0; i < 40; ++i)
        if (!s.matchdayFixtures[i].isEmpty())
            out << QStringLiteral("fix %1 %2").arg(i).arg(s.matchdayFixtures[i].join(u','));
    out << QStringLiteral("version %1").arg(s.dataVersion);
    return out;
}

// A small well-formed season: every record kind, an accented name, two matchdays.
const QList<QByteArray> SmallSeason = {
    "VERSION|3", "EQU|Alpha", "EQU|B\xE9ta", "EQU|Gamma", "EQU|Delta", "JOU|1|14/08/2026",
    "JOU|34|21/05/2027", "CAL|01|AB", "CAL|01|CD", "CAL|02|CA", "CAL|02|DB",
};

const QStringList SmallSeasonDump = { "team 0 Alpha", "team 1 Béta", "team 2 Gamma", "team 3 Delta",
    "date 1 2026-08-14T00:00:00", "date 34 2027-05-21T00:00:00", "cal 1 01|00|AB", "cal 2 01|01|CD",
    "cal 3 02|00|CA", "cal 4 02|01|DB", "fix 1 AB,CD", "fix 2 CA,DB", "version 3" };

} // namespace

class TstSeason : public QObject
{
    Q_OBJECT

private slots:
    void smallSeason_data();
    void smallSeason();
    void malformedLineSkipped_data();
    void malformedLineSkipped();
    void numbersAsWritten();
    void beyondTheSlots();
    void teamLookups();
    void missingOrEmptyFile();
};

void TstSeason::smallSeason_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("CR LF") << joinLines(SmallSeason);
    QTest::newRow("LF") << joinLines(SmallSeason, "\n");
    QTest::newRow("CR LF without the last line end") << joinLines(SmallSeason).chopped(2);
    QTest::newRow("blank lines between") << joinLines(SmallSeason, "\r\n\r\n");
    QTest::newRow("extra fields") << joinLines(SmallSeason, "|extra\r\n");
    // Same lines, kinds interleaved differently: each kind keeps its own order.
    QTest::newRow("kinds interleaved") << joinLines({ "CAL|01|AB", "JOU|34|21/05/2027", "CAL|01|CD", "EQU|Alpha",
        "CAL|02|CA", "EQU|B\xE9ta", "CAL|02|DB", "EQU|Gamma", "VERSION|3", "EQU|Delta", "JOU|1|14/08/2026" });
}

void TstSeason::smallSeason()
{
    QFETCH(QByteArray, text);
    QCOMPARE(dump(load(text)), SmallSeasonDump);
}

void TstSeason::malformedLineSkipped_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::newRow("team without name") << QByteArray("EQU");
    QTest::newRow("matchday not a number") << QByteArray("JOU|x|14/08/2026");
    QTest::newRow("matchday beyond the slots") << QByteArray("JOU|35|14/08/2026");
    QTest::newRow("negative matchday") << QByteArray("JOU|-1|14/08/2026");
    QTest::newRow("date garbage") << QByteArray("JOU|2|garbage");
    QTest::newRow("date missing") << QByteArray("JOU|2");
    QTest::newRow("fixture matchday not a number") << QByteArray("CAL|zz|AB");
    QTest::newRow("fixture matchday beyond the lists") << QByteArray("CAL|40|AB");
    QTest::newRow("fixture without code") << QByteArray("CAL|01");
    QTest::newRow("version not a number") << QByteArray("VERSION|abc");
    QTest::newRow("version too large") << QByteArray("VERSION|99999999");
    QTest::newRow("lower-case kind") << QByteArray("equ|Lower");
    QTest::newRow("indented kind") << QByteArray(" EQU|Indented");
    QTest::newRow("very long line") << QByteArray(100000, 'Z');
}

void TstSeason::malformedLineSkipped()
{
    QFETCH(QByteArray, bad);
    // Wherever the bad line stands, the lines around it load as if it were not there.
    for (int at = 0; at <= SmallSeason.size(); ++at) {
        QList<QByteArray> lines = SmallSeason;
        lines.insert(at, bad);
        QCOMPARE(dump(load(joinLines(lines))), SmallSeasonDump);
    }
}

// 01 and 1 are one matchday for the dates and the lists, and the later line of a kind wins; but the
// slot position compares the number as written: "1" is not "01", so it starts again.
void TstSeason::numbersAsWritten()
{
    const SeasonData s = load(joinLines({ "JOU|01|14/08/2026", "JOU|1|21/08/2026", "CAL|01|AB", "CAL|01|CD",
        "CAL|1|EF", "CAL|01|IJ", "CAL|02|KL", "CAL|2|OP", "VERSION|012", "VERSION|32767" }));
    QCOMPARE(dump(s), QStringList({ "date 1 2026-08-21T00:00:00", "cal 1 01|00|AB", "cal 2 01|01|CD", "cal 3 01|00|EF",
                          "cal 4 01|00|IJ", "cal 5 02|00|KL", "cal 6 02|00|OP", "fix 1 AB,CD,EF,IJ", "fix 2 KL,OP",
                          "version 32767" }));
}

// Slots 1 to 306 hold the calendar and 307 one more; teams past the nineteenth go nowhere.
void TstSeason::beyondTheSlots()
{
    QList<QByteArray> lines;
    for (int i = 0; i < 21; ++i)
        lines.append("EQU|Team" + QByteArray::number(i));
    for (int md = 1; md <= 34; ++md)
        for (int pos = 0; pos < 9; ++pos)
            lines.append("CAL|" + QByteArray::number(md).rightJustified(2, '0') + '|' + char('A' + pos) + char('J' + pos));
    for (const char *code : { "RA", "RB", "RC", "RD" })
        lines.append(QByteArray("CAL|34|") + code);
    const SeasonData s = load(joinLines(lines));
    QCOMPARE(s.teams[18], QStringLiteral("Team18"));
    QVERIFY(s.calendar[0].isEmpty());
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AJ"));
    QCOMPARE(s.calendar[306], QStringLiteral("34|08|IR"));
    QCOMPARE(s.calendar[307], QStringLiteral("34|09|RA"));
    QCOMPARE(s.matchdayFixtures[34].size(), 13);
}

// By name: exact spelling, slots 0 to 17; "S" for no team. By letter: "A" to "R".
void TstSeason::teamLookups()
{
    const SeasonData s = load(joinLines(SmallSeason));
    QCOMPARE(s.TeamLetterOf(QStringLiteral("Béta")), QStringLiteral("B"));
    QCOMPARE(s.TeamNameOf(u"D"), QStringLiteral("Delta"));
    for (const QString &other : { QStringLiteral("beta"), QStringLiteral("Beta"), QStringLiteral("Delta ") })
        QCOMPARE(s.TeamIndexOf(other), NoTeam);
    // With fewer than 18 names loaded, the first empty slot is what an empty name finds.
    QCOMPARE(s.TeamLetterOf(QString()), QStringLiteral("E"));
    QCOMPARE(TeamLetter(17), QStringLiteral("R"));
    QCOMPARE(TeamIndexOfLetter(u"R"), 17);
    for (const char16_t *bad : { u"S", u"", u"a", u"@" })
        QCOMPARE(TeamIndexOfLetter(bad), -1);
    for (int md : { -1, 0, 35 })
        QVERIFY(!s.matchdayDate(md).isValid());
}

void TstSeason::missingOrEmptyFile()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    SeasonData s;
    s.teams[0] = QStringLiteral("Kept");
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    // A folder of that name is no season file either.
    QVERIFY(QDir(tmp.path()).mkdir(SeasonFileName));
    QVERIFY(!FileExists(tmp.filePath(SeasonFileName)));
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    QCOMPARE(s.teams[0], QStringLiteral("Kept"));

    // An empty file is a season with nothing in it, not a missing one.
    const QString empty = tmp.filePath(QStringLiteral("empty.txt"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    SeasonData e;
    QVERIFY(FileExists(empty) && LoadSeasonFile(empty, e));
    QCOMPARE(dump(e), dump(SeasonData()));
}

QTEST_GUILESS_MAIN(TstSeason)
#include "tst_season.moc"

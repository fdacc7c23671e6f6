// The season data file and the season model: what start-up reads once and every view relies on.
#include "season/SeasonData.h"

#include <QDir>
#include <QFile>
#include <QSet>
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
    "JOU|2|21/08/2026", "CAL|01|AB", "CAL|01|CD", "CAL|02|CA", "CAL|02|DB",
};

const QStringList SmallSeasonDump = { "team 0 Alpha", "team 1 Béta", "team 2 Gamma", "team 3 Delta",
    "date 1 2026-08-14T00:00:00", "date 2 2026-08-21T00:00:00", "cal 1 01|00|AB", "cal 2 01|01|CD",
    "cal 3 02|00|CA", "cal 4 02|01|DB", "fix 1 AB,CD", "fix 2 CA,DB", "version 3" };

const QString ShippedSeasonPath = QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt");

} // namespace

class TstSeason : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void smallSeason_data();
    void smallSeason();
    void malformedLineSkipped_data();
    void malformedLineSkipped();
    void matchdayWrittenTwoWays();
    void twentiethTeamIgnored();
    void moreThan306Fixtures();
    void extraFieldsIgnored();
    void versionLine_data();
    void versionLine();
    void matchdayDates();

    void shippedSeason();
    void teamLookups_data();
    void teamLookups();
    void emptyNameWithFewTeams();
    void teamLetters();
    void missingOrEmptyFile();

private:
    SeasonData m_shipped;
};

void TstSeason::initTestCase()
{
    QVERIFY(LoadSeasonFile(ShippedSeasonPath, m_shipped));
}

void TstSeason::smallSeason_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("CR LF") << joinLines(SmallSeason);
    QTest::newRow("LF") << joinLines(SmallSeason, "\n");
    QTest::newRow("CR LF without the last line end") << joinLines(SmallSeason).chopped(2);
    QByteArray mixed;
    for (qsizetype i = 0; i < SmallSeason.size(); ++i)
        mixed += SmallSeason[i] + (i % 2 ? "\n" : "\r\n");
    QTest::newRow("mixed line ends") << mixed;
    QTest::newRow("blank lines between") << joinLines(SmallSeason, "\r\n\r\n");
    // Same lines, kinds interleaved differently: each kind keeps its own order.
    QTest::newRow("kinds interleaved") << joinLines({ "CAL|01|AB", "JOU|2|21/08/2026", "CAL|01|CD",
        "EQU|Alpha", "CAL|02|CA", "EQU|B\xE9ta", "CAL|02|DB", "EQU|Gamma", "VERSION|3", "EQU|Delta",
        "JOU|1|14/08/2026" });
    QList<QByteArray> noisy;
    for (const QByteArray &l : SmallSeason)
        noisy << l << "CAL|zz|QQ" << "JOU|99|01/01/2027" << "EQU" << "garbage";
    QTest::newRow("many bad lines together") << joinLines(noisy);
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
    QTest::newRow("fixture matchday beyond the lists") << QByteArray("CAL|50|AB");
    QTest::newRow("fixture matchday negative") << QByteArray("CAL|-3|AB");
    QTest::newRow("fixture without code") << QByteArray("CAL|01");
    QTest::newRow("version not a number") << QByteArray("VERSION|abc");
    QTest::newRow("version without value") << QByteArray("VERSION");
    QTest::newRow("version too large") << QByteArray("VERSION|99999999");
    QTest::newRow("lower-case kind") << QByteArray("equ|Lower");
    QTest::newRow("indented kind") << QByteArray(" EQU|Indented");
    QTest::newRow("control bytes") << QByteArray("\x01\x02\xFF\x81");
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

void TstSeason::matchdayWrittenTwoWays()
{
    // 01 and 1 are one matchday for the dates and the lists; the later date line wins.
    const SeasonData d = load(joinLines({ "JOU|01|14/08/2026", "JOU|1|21/08/2026", "JOU|09|30/10/2026" }));
    QCOMPARE(d.matchdayDates[1], QDateTime(QDate(2026, 8, 21), QTime(0, 0)));
    QCOMPARE(d.matchdayDates[9], QDateTime(QDate(2026, 10, 30), QTime(0, 0)));
    QVERIFY(!d.matchdayDates[0].isValid() && !d.matchdayDates[10].isValid());

    const SeasonData s = load(joinLines({ "CAL|01|AB", "CAL|01|CD", "CAL|1|EF", "CAL|1|GH", "CAL|01|IJ",
        "CAL|02|KL", "CAL|02|MN", "CAL|2|OP" }));
    // The slot position compares the number as written: "1" is not "01", so it starts again.
    const QStringList written = { "01|00|AB", "01|01|CD", "01|00|EF", "01|01|GH", "01|00|IJ", "02|00|KL",
        "02|01|MN", "02|00|OP" };
    for (int k = 0; k < written.size(); ++k)
        QCOMPARE(s.calendar[k + 1], written[k]);
    QCOMPARE(s.matchdayFixtures[1], QStringList({ "AB", "CD", "EF", "GH", "IJ" }));
    QCOMPARE(s.matchdayFixtures[2], QStringList({ "KL", "MN", "OP" }));
}

void TstSeason::twentiethTeamIgnored()
{
    QList<QByteArray> lines;
    for (int i = 0; i < 21; ++i)
        lines.append("EQU|Team" + QByteArray::number(i));
    lines.append("CAL|01|AB"); // later records are still read
    const SeasonData s = load(joinLines(lines));
    // Slot 18 holds the 19th name; the 20th and 21st go nowhere.
    for (int i = 0; i < 19; ++i)
        QCOMPARE(s.teams[i], QStringLiteral("Team%1").arg(i));
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team17")), 17);
    // Only slots 0 to 17 are teams.
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team18")), NoTeam);
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AB"));
}

void TstSeason::moreThan306Fixtures()
{
    QList<QByteArray> lines;
    for (int md = 1; md <= 34; ++md)
        for (int pos = 0; pos < 9; ++pos)
            lines.append("CAL|" + QByteArray::number(md).rightJustified(2, '0') + '|' + char('A' + pos)
                + char('J' + pos));
    // Four more for the last matchday: positions 09 to 12.
    for (const char *code : { "RA", "RB", "RC", "RD" })
        lines.append(QByteArray("CAL|34|") + code);
    lines.append("EQU|After");
    const SeasonData s = load(joinLines(lines));

    QVERIFY(s.calendar[0].isEmpty());
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AJ"));
    QCOMPARE(s.calendar[306], QStringLiteral("34|08|IR"));
    QCOMPARE(s.calendar[307], QStringLiteral("34|09|RA"));
    QCOMPARE(s.matchdayFixtures[34].size(), 13);
    QCOMPARE(s.matchdayFixtures[34].last(), QStringLiteral("RD"));
    QCOMPARE(s.teams[0], QStringLiteral("After"));
}

void TstSeason::extraFieldsIgnored()
{
    const SeasonData s = load(
        joinLines({ "EQU|Alpha|extra", "JOU|1|14/08/2026|extra", "CAL|01|AB|extra", "VERSION|4|extra" }));
    QCOMPARE(dump(s), QStringList({ "team 0 Alpha", "date 1 2026-08-14T00:00:00", "cal 1 01|00|AB", "fix 1 AB",
                          "version 4" }));
}

void TstSeason::versionLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QByteArray("EQU|A\r\n") << 0;
    QTest::newRow("leading zero") << QByteArray("VERSION|012\r\n") << 12;
    QTest::newRow("last one wins") << QByteArray("VERSION|2\r\nVERSION|5\r\n") << 5;
    QTest::newRow("bad one keeps the good one") << QByteArray("VERSION|2\r\nVERSION|x\r\n") << 2;
    QTest::newRow("largest 16-bit") << QByteArray("VERSION|32767\r\n") << 32767;
}

void TstSeason::versionLine()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(int(load(text).dataVersion), expected);
}

void TstSeason::matchdayDates()
{
    // Day first, and ISO too; matchday 0 is stored but not a matchday.
    const SeasonData s = load(joinLines({ "JOU|0|01/08/2026", "JOU|5|01/02/2027", "JOU|6|2027-02-08",
        "JOU|34|21/05/2027" }));
    QCOMPARE(s.matchdayDate(5), QDateTime(QDate(2027, 2, 1), QTime(0, 0)));
    QCOMPARE(s.matchdayDate(6), QDateTime(QDate(2027, 2, 8), QTime(0, 0)));
    QCOMPARE(s.matchdayDate(34), QDateTime(QDate(2027, 5, 21), QTime(0, 0)));
    for (int md : { -1, 0, 1, 35 })
        QVERIFY2(!s.matchdayDate(md).isValid(), qPrintable(QString::number(md)));
}

void TstSeason::shippedSeason()
{
    const SeasonData &s = m_shipped;
    QSet<QString> names;
    for (int i = 0; i < TeamCount; ++i)
        names.insert(s.teams[i]);
    QCOMPARE(names.size(), 18);
    QVERIFY(!names.contains(QString()) && s.teams[18].isEmpty());
    // Windows-1252 on disk: the É must not come through as Latin-1 mojibake or a replacement sign.
    QCOMPARE(s.teams[17], QStringLiteral("Saint-Étienne"));
    QCOMPARE(s.teams[0], QStringLiteral("Paris SG"));
    QCOMPARE(s.dataVersion, qint16(1));

    QVERIFY(!s.matchdayDates[0].isValid());
    for (int md = 2; md <= MatchdayCount; ++md)
        QVERIFY2(s.matchdayDates[md] > s.matchdayDates[md - 1], qPrintable(QString::number(md)));
    // The file writes 21/08/2026 and 21/05/2027: day first.
    QCOMPARE(s.matchdayDates[1], QDateTime(QDate(2026, 8, 21), QTime(0, 0)));
    QCOMPARE(s.matchdayDates[34], QDateTime(QDate(2027, 5, 21), QTime(0, 0)));

    // Slots 1..306 are every matchday 01..34 at positions 00..08, each matching its matchday's list.
    QVERIFY(s.calendar[0].isEmpty() && s.calendar[307].isEmpty());
    QSet<QString> keys, expected;
    for (int k = 1; k <= 306; ++k) {
        const QStringList parts = s.calendar[k].split(u'|');
        QCOMPARE(parts.size(), 3);
        QCOMPARE(s.matchdayFixtures[parts[0].toInt()].value(parts[1].toInt()), parts[2]);
        keys.insert(parts[0] + parts[1]);
    }
    for (int md = 1; md <= 34; ++md)
        for (int pos = 0; pos <= 8; ++pos)
            expected.insert(QStringLiteral("%1%2").arg(md, 2, 10, QLatin1Char('0')).arg(pos, 2, 10, QLatin1Char('0')));
    QCOMPARE(keys, expected);

    // Every team once per matchday; 306 distinct home-away pairs: each pair meets at both grounds.
    QSet<QString> codes;
    for (int md = 0; md < 40; ++md) {
        QSet<QString> playing;
        for (const QString &code : s.matchdayFixtures[md]) {
            QVERIFY(code.size() == 2 && code[0] != code[1]);
            QVERIFY(TeamIndexOfLetter(code.left(1)) >= 0 && TeamIndexOfLetter(code.mid(1)) >= 0);
            playing << code.left(1) << code.mid(1);
            codes.insert(code);
        }
        QCOMPARE(playing.size(), md >= 1 && md <= 34 ? 18 : 0);
    }
    QCOMPARE(codes.size(), 306);
}

void TstSeason::teamLookups_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("letter");
    QTest::newRow("first") << QStringLiteral("Paris SG") << 0 << QStringLiteral("A");
    QTest::newRow("last, accented") << QStringLiteral("Saint-Étienne") << 17 << QStringLiteral("R");
    QTest::newRow("empty name") << QString() << 18 << QStringLiteral("S");
    QTest::newRow("case matters") << QStringLiteral("paris sg") << 18 << QStringLiteral("S");
    QTest::newRow("accent matters") << QStringLiteral("Saint-Etienne") << 18 << QStringLiteral("S");
    QTest::newRow("blank matters") << QStringLiteral("Paris SG ") << 18 << QStringLiteral("S");
}

void TstSeason::teamLookups()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, letter);
    QCOMPARE(m_shipped.TeamIndexOf(name), index);
    QCOMPARE(m_shipped.TeamLetterOf(name), letter);
    // And back: the letter names the team, "S" nobody.
    QCOMPARE(m_shipped.TeamNameOf(letter), index < TeamCount ? name : QString());
}

void TstSeason::emptyNameWithFewTeams()
{
    // With fewer than 18 names loaded, the first empty slot is what an empty name finds.
    const SeasonData s = load(joinLines(SmallSeason));
    QCOMPARE(s.TeamIndexOf(QString()), 4);
    QCOMPARE(s.TeamLetterOf(QString()), QStringLiteral("E"));
    QCOMPARE(s.TeamLetterOf(QStringLiteral("Béta")), QStringLiteral("B"));
}

void TstSeason::teamLetters()
{
    for (int i = 0; i < 18; ++i) {
        QCOMPARE(TeamLetter(i), QString(QChar(u'A' + i)));
        QCOMPARE(TeamIndexOfLetter(TeamLetter(i)), i);
    }
    for (const char16_t *bad : { u"S", u"", u"a", u"@" })
        QCOMPARE(TeamIndexOfLetter(bad), -1);
    QVERIFY(m_shipped.TeamNameOf(u"a").isEmpty());
}

void TstSeason::missingOrEmptyFile()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    SeasonData s;
    s.teams[0] = QStringLiteral("Kept");
    QVERIFY(!FileExists(tmp.filePath(SeasonFileName)));
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    // A folder of that name is no season file either.
    QVERIFY(QDir(tmp.path()).mkdir(SeasonFileName));
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    QCOMPARE(s.teams[0], QStringLiteral("Kept"));

    // An empty file is a season with nothing in it, not a missing one; so is unreadable text.
    const QString empty = tmp.filePath(QStringLiteral("empty.txt"));
    QFile f(empty);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    SeasonData e;
    QVERIFY(FileExists(empty) && LoadSeasonFile(empty, e));
    QCOMPARE(dump(e), dump(SeasonData()));
    QCOMPARE(dump(load(QByteArray(5000, '\xFF'))), dump(SeasonData()));
}

QTEST_GUILESS_MAIN(TstSeason)
#include "tst_season.moc"

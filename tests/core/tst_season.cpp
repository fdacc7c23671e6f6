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

// Field by field, so that a failure names what differs.
bool sameSeason(const SeasonData &a, const SeasonData &b, QString *why)
{
    for (int i = 0; i < 19; ++i) {
        if (a.teams[i] != b.teams[i]) {
            *why = QStringLiteral("team %1: '%2' vs '%3'").arg(i).arg(a.teams[i], b.teams[i]);
            return false;
        }
    }
    for (int i = 0; i < 35; ++i) {
        if (a.matchdayDates[i] != b.matchdayDates[i]) {
            *why = QStringLiteral("date %1: %2 vs %3")
                       .arg(i)
                       .arg(a.matchdayDates[i].toString(Qt::ISODate),
                           b.matchdayDates[i].toString(Qt::ISODate));
            return false;
        }
    }
    for (int i = 0; i < 308; ++i) {
        if (a.calendar[i] != b.calendar[i]) {
            *why = QStringLiteral("calendar %1: '%2' vs '%3'").arg(i).arg(a.calendar[i], b.calendar[i]);
            return false;
        }
    }
    for (int i = 0; i < 40; ++i) {
        if (a.matchdayFixtures[i] != b.matchdayFixtures[i]) {
            *why = QStringLiteral("fixtures %1: '%2' vs '%3'")
                       .arg(i)
                       .arg(a.matchdayFixtures[i].join(u','), b.matchdayFixtures[i].join(u','));
            return false;
        }
    }
    if (a.dataVersion != b.dataVersion) {
        *why = QStringLiteral("version %1 vs %2").arg(a.dataVersion).arg(b.dataVersion);
        return false;
    }
    return true;
}

#define COMPARE_SEASONS(a, b)                                                                                \
    do {                                                                                                     \
        QString why_;                                                                                        \
        QVERIFY2(sameSeason((a), (b), &why_), qPrintable(why_));                                             \
    } while (false)

// A small well-formed season: every record kind, an accented name, two matchdays.
const QList<QByteArray> SmallSeason = {
    "VERSION|3",
    "EQU|Alpha",
    "EQU|B\xE9ta",
    "EQU|Gamma",
    "EQU|Delta",
    "JOU|1|14/08/2026",
    "JOU|2|21/08/2026",
    "CAL|01|AB",
    "CAL|01|CD",
    "CAL|02|CA",
    "CAL|02|DB",
};

QString shippedSeasonPath()
{
    return QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt");
}

} // namespace

class TstSeason : public QObject
{
    Q_OBJECT

private slots:
    void smallSeason();
    void recordKindsIndependent();
    void matchdayNumberWithOrWithoutZero();
    void calendarPositionFollowsTheWrittenNumber();
    void twentiethTeamIgnored();
    void moreThan306Fixtures();
    void malformedLineSkipped_data();
    void malformedLineSkipped();
    void manyMalformedLinesTogether();
    void extraFieldsIgnored();
    void versionLine_data();
    void versionLine();
    void dateForms_data();
    void dateForms();
    void lineEnds_data();
    void lineEnds();
    void matchdayDateBounds();

    void shippedTeams();
    void shippedDates();
    void shippedCalendar();
    void shippedEveryPairTwice();
    void teamLookups_data();
    void teamLookups();
    void teamNameOf_data();
    void teamNameOf();
    void emptyNameWithFewTeams();
    void teamLetters();

    void missingFile();
    void fileExists();

private:
    SeasonData m_shipped;
    bool m_shippedLoaded = false;
    void loadShipped();
};

void TstSeason::loadShipped()
{
    if (!m_shippedLoaded) {
        QVERIFY(LoadSeasonFile(shippedSeasonPath(), m_shipped));
        m_shippedLoaded = true;
    }
}

void TstSeason::smallSeason()
{
    const SeasonData s = load(joinLines(SmallSeason));
    QCOMPARE(s.dataVersion, qint16(3));
    QCOMPARE(s.teams[0], QStringLiteral("Alpha"));
    QCOMPARE(s.teams[1], QStringLiteral("Béta"));
    QCOMPARE(s.teams[3], QStringLiteral("Delta"));
    QVERIFY(s.teams[4].isEmpty());
    QVERIFY(s.teams[18].isEmpty());
    QCOMPARE(s.matchdayDates[1], QDateTime(QDate(2026, 8, 14), QTime(0, 0)));
    QCOMPARE(s.matchdayDates[2], QDateTime(QDate(2026, 8, 21), QTime(0, 0)));
    QVERIFY(!s.matchdayDates[3].isValid());
    QVERIFY(s.calendar[0].isEmpty());
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AB"));
    QCOMPARE(s.calendar[2], QStringLiteral("01|01|CD"));
    QCOMPARE(s.calendar[3], QStringLiteral("02|00|CA"));
    QCOMPARE(s.calendar[4], QStringLiteral("02|01|DB"));
    QVERIFY(s.calendar[5].isEmpty());
    QCOMPARE(s.matchdayFixtures[1], QStringList({ QStringLiteral("AB"), QStringLiteral("CD") }));
    QCOMPARE(s.matchdayFixtures[2], QStringList({ QStringLiteral("CA"), QStringLiteral("DB") }));
    QVERIFY(s.matchdayFixtures[0].isEmpty());
    QVERIFY(s.matchdayFixtures[3].isEmpty());
}

void TstSeason::recordKindsIndependent()
{
    const SeasonData ordered = load(joinLines(SmallSeason));
    // Same lines, kinds interleaved differently; each kind keeps its own order.
    const QList<QByteArray> shuffled = {
        "CAL|01|AB",
        "JOU|2|21/08/2026",
        "CAL|01|CD",
        "EQU|Alpha",
        "CAL|02|CA",
        "EQU|B\xE9ta",
        "CAL|02|DB",
        "EQU|Gamma",
        "VERSION|3",
        "EQU|Delta",
        "JOU|1|14/08/2026",
    };
    COMPARE_SEASONS(load(joinLines(shuffled)), ordered);
    const QList<QByteArray> teamsLast = {
        "CAL|01|AB",
        "CAL|01|CD",
        "CAL|02|CA",
        "CAL|02|DB",
        "JOU|1|14/08/2026",
        "JOU|2|21/08/2026",
        "VERSION|3",
        "EQU|Alpha",
        "EQU|B\xE9ta",
        "EQU|Gamma",
        "EQU|Delta",
    };
    COMPARE_SEASONS(load(joinLines(teamsLast)), ordered);
}

void TstSeason::matchdayNumberWithOrWithoutZero()
{
    const SeasonData a = load(joinLines({ "JOU|01|14/08/2026", "JOU|1|21/08/2026" }));
    QCOMPARE(a.matchdayDates[1], QDateTime(QDate(2026, 8, 21), QTime(0, 0)));
    QVERIFY(!a.matchdayDates[0].isValid());
    QVERIFY(!a.matchdayDates[10].isValid());

    const SeasonData b = load(joinLines({ "JOU|1|21/08/2026", "JOU|01|14/08/2026", "JOU|09|30/10/2026" }));
    QCOMPARE(b.matchdayDates[1], QDateTime(QDate(2026, 8, 14), QTime(0, 0)));
    QCOMPARE(b.matchdayDates[9], QDateTime(QDate(2026, 10, 30), QTime(0, 0)));

    // The fixture lists too: 01 and 1 are one matchday.
    const SeasonData c = load(joinLines({ "CAL|01|AB", "CAL|1|CD", "CAL|34|EF" }));
    QCOMPARE(c.matchdayFixtures[1], QStringList({ QStringLiteral("AB"), QStringLiteral("CD") }));
    QCOMPARE(c.matchdayFixtures[34], QStringList(QStringLiteral("EF")));
}

void TstSeason::calendarPositionFollowsTheWrittenNumber()
{
    const SeasonData s = load(joinLines({ "CAL|01|AB", "CAL|01|CD", "CAL|1|EF", "CAL|1|GH", "CAL|01|IJ",
        "CAL|02|KL", "CAL|02|MN", "CAL|2|OP" }));
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AB"));
    QCOMPARE(s.calendar[2], QStringLiteral("01|01|CD"));
    // Compared as text: "1" is not "01", so the position starts again.
    QCOMPARE(s.calendar[3], QStringLiteral("01|00|EF"));
    QCOMPARE(s.calendar[4], QStringLiteral("01|01|GH"));
    QCOMPARE(s.calendar[5], QStringLiteral("01|00|IJ"));
    QCOMPARE(s.calendar[6], QStringLiteral("02|00|KL"));
    QCOMPARE(s.calendar[7], QStringLiteral("02|01|MN"));
    QCOMPARE(s.calendar[8], QStringLiteral("02|00|OP"));
    QCOMPARE(s.matchdayFixtures[1].size(), 5);
    QCOMPARE(s.matchdayFixtures[2],
        QStringList({ QStringLiteral("KL"), QStringLiteral("MN"), QStringLiteral("OP") }));

    // A matchday written the same way throughout numbers 00 to 08 without a break.
    QList<QByteArray> nine;
    for (int i = 0; i < 9; ++i)
        nine.append("CAL|07|" + QByteArray(1, char('A' + i)) + QByteArray(1, char('R' - i)));
    const SeasonData t = load(joinLines(nine));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(t.calendar[i + 1].left(6), QStringLiteral("07|%1|").arg(i, 2, 10, QLatin1Char('0')));
}

void TstSeason::twentiethTeamIgnored()
{
    QList<QByteArray> lines;
    for (int i = 0; i < 21; ++i)
        lines.append("EQU|Team" + QByteArray::number(i));
    lines.append("CAL|01|AB"); // later records are still read
    const SeasonData s = load(joinLines(lines));
    for (int i = 0; i < 19; ++i)
        QCOMPARE(s.teams[i], QStringLiteral("Team%1").arg(i));
    // Slot 18 holds the 19th name; the 20th and 21st go nowhere.
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team19")), NoTeam);
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team20")), NoTeam);
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team17")), 17);
    // Only slots 0 to 17 are teams.
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Team18")), NoTeam);
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AB"));
}

void TstSeason::moreThan306Fixtures()
{
    QList<QByteArray> lines;
    for (int md = 1; md <= 34; ++md) {
        for (int pos = 0; pos < 9; ++pos) {
            const QByteArray code = QByteArray(1, char('A' + pos)) + QByteArray(1, char('J' + pos));
            lines.append("CAL|" + QByteArray::number(md).rightJustified(2, '0') + '|' + code);
        }
    }
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
    QCOMPARE(s.matchdayFixtures[33].size(), 9);
    QCOMPARE(s.teams[0], QStringLiteral("After"));
}

void TstSeason::malformedLineSkipped_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::newRow("team without name") << QByteArray("EQU");
    QTest::newRow("matchday not a number") << QByteArray("JOU|x|14/08/2026");
    QTest::newRow("matchday beyond the slots") << QByteArray("JOU|35|14/08/2026");
    QTest::newRow("negative matchday") << QByteArray("JOU|-1|14/08/2026");
    QTest::newRow("date garbage") << QByteArray("JOU|2|garbage");
    QTest::newRow("date that does not exist") << QByteArray("JOU|2|31/02/2027");
    QTest::newRow("date missing") << QByteArray("JOU|2");
    QTest::newRow("empty date") << QByteArray("JOU|2|");
    QTest::newRow("fixture matchday not a number") << QByteArray("CAL|zz|AB");
    QTest::newRow("fixture matchday beyond the lists") << QByteArray("CAL|50|AB");
    QTest::newRow("fixture matchday negative") << QByteArray("CAL|-3|AB");
    QTest::newRow("fixture matchday empty") << QByteArray("CAL||AB");
    QTest::newRow("fixture without code") << QByteArray("CAL|01");
    QTest::newRow("version not a number") << QByteArray("VERSION|abc");
    QTest::newRow("version without value") << QByteArray("VERSION");
    QTest::newRow("version too large") << QByteArray("VERSION|99999999");
    QTest::newRow("lower-case kind") << QByteArray("equ|Lower");
    QTest::newRow("indented kind") << QByteArray(" EQU|Indented");
    QTest::newRow("unknown kind") << QByteArray("XYZ|1|2");
    QTest::newRow("separators only") << QByteArray("|||");
    QTest::newRow("control bytes") << QByteArray("\x01\x02\xFF\x81");
    QTest::newRow("very long line") << QByteArray(100000, 'Z');
    QTest::newRow("empty line") << QByteArray();
}

void TstSeason::malformedLineSkipped()
{
    QFETCH(QByteArray, bad);
    const SeasonData good = load(joinLines(SmallSeason));
    // Wherever the bad line stands, the lines around it load as if it were not there.
    for (int at = 0; at <= SmallSeason.size(); ++at) {
        QList<QByteArray> lines = SmallSeason;
        lines.insert(at, bad);
        const SeasonData s = load(joinLines(lines));
        QString why;
        QVERIFY2(sameSeason(s, good, &why), qPrintable(QStringLiteral("at line %1: %2").arg(at).arg(why)));
    }
}

void TstSeason::manyMalformedLinesTogether()
{
    QList<QByteArray> lines;
    for (const QByteArray &l : SmallSeason) {
        lines.append(l);
        lines.append("CAL|zz|QQ");
        lines.append("JOU|99|01/01/2027");
        lines.append("EQU");
        lines.append("garbage");
    }
    COMPARE_SEASONS(load(joinLines(lines)), load(joinLines(SmallSeason)));
    // Nothing at all readable: an empty model, no crash.
    const SeasonData empty = load(QByteArray(5000, '\xFF'));
    COMPARE_SEASONS(empty, SeasonData());
}

void TstSeason::extraFieldsIgnored()
{
    const SeasonData s = load(
        joinLines({ "EQU|Alpha|extra", "JOU|1|14/08/2026|extra", "CAL|01|AB|extra", "VERSION|4|extra" }));
    QCOMPARE(s.teams[0], QStringLiteral("Alpha"));
    QCOMPARE(s.matchdayDates[1], QDateTime(QDate(2026, 8, 14), QTime(0, 0)));
    QCOMPARE(s.calendar[1], QStringLiteral("01|00|AB"));
    QCOMPARE(s.dataVersion, qint16(4));
}

void TstSeason::versionLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QByteArray("EQU|A\r\n") << 0;
    QTest::newRow("plain") << QByteArray("VERSION|7\r\n") << 7;
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

void TstSeason::dateForms_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("french") << QByteArray("JOU|5|25/09/2026") << QDate(2026, 9, 25);
    QTest::newRow("day first, not month first") << QByteArray("JOU|5|01/02/2027") << QDate(2027, 2, 1);
    QTest::newRow("short fields") << QByteArray("JOU|5|6/9/2026") << QDate(2026, 9, 6);
    QTest::newRow("iso") << QByteArray("JOU|5|2026-09-25") << QDate(2026, 9, 25);
    QTest::newRow("iso in spring") << QByteArray("JOU|5|2027-02-01") << QDate(2027, 2, 1);
}

void TstSeason::dateForms()
{
    QFETCH(QByteArray, line);
    QFETCH(QDate, expected);
    const SeasonData s = load(line + "\r\n");
    QCOMPARE(s.matchdayDates[5], QDateTime(expected, QTime(0, 0)));
    QCOMPARE(s.matchdayDate(5), QDateTime(expected, QTime(0, 0)));
}

void TstSeason::lineEnds_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("LF") << joinLines(SmallSeason, "\n");
    QTest::newRow("CR LF without the last line end") << joinLines(SmallSeason).chopped(2);
    QByteArray mixed;
    for (qsizetype i = 0; i < SmallSeason.size(); ++i)
        mixed += SmallSeason[i] + (i % 2 ? "\n" : "\r\n");
    QTest::newRow("mixed") << mixed;
    QTest::newRow("blank lines between") << joinLines(SmallSeason, "\r\n\r\n");
}

void TstSeason::lineEnds()
{
    QFETCH(QByteArray, text);
    const SeasonData s = load(text);
    COMPARE_SEASONS(s, load(joinLines(SmallSeason)));
    for (const QString &name : s.teams)
        QVERIFY(!name.contains(u'\r'));
    for (const QString &slot : s.calendar)
        QVERIFY(!slot.contains(u'\r'));
}

void TstSeason::matchdayDateBounds()
{
    const SeasonData s = load(joinLines({ "JOU|0|01/08/2026", "JOU|34|21/05/2027" }));
    QVERIFY(!s.matchdayDate(0).isValid());
    QVERIFY(!s.matchdayDate(35).isValid());
    QVERIFY(!s.matchdayDate(-1).isValid());
    QVERIFY(!s.matchdayDate(1).isValid());
    QCOMPARE(s.matchdayDate(34), QDateTime(QDate(2027, 5, 21), QTime(0, 0)));
}

void TstSeason::shippedTeams()
{
    loadShipped();
    QSet<QString> names;
    for (int i = 0; i < TeamCount; ++i) {
        QVERIFY2(!m_shipped.teams[i].isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(!m_shipped.teams[i].contains(u'\r'));
        names.insert(m_shipped.teams[i]);
    }
    QCOMPARE(names.size(), 18);
    QVERIFY(m_shipped.teams[18].isEmpty());
    // Windows-1252 on disk: the É must not come through as Latin-1 mojibake or a replacement sign.
    QCOMPARE(m_shipped.teams[17], QStringLiteral("Saint-Étienne"));
    QCOMPARE(m_shipped.teams[0], QStringLiteral("Paris SG"));
    QCOMPARE(m_shipped.dataVersion, qint16(1));
}

void TstSeason::shippedDates()
{
    loadShipped();
    QVERIFY(!m_shipped.matchdayDates[0].isValid());
    for (int md = 1; md <= MatchdayCount; ++md) {
        const QDateTime d = m_shipped.matchdayDates[md];
        QVERIFY2(d.isValid(), qPrintable(QString::number(md)));
        QCOMPARE(d.time(), QTime(0, 0));
        QVERIFY(d.date() >= QDate(2026, 8, 1) && d.date() <= QDate(2027, 5, 31));
        if (md > 1)
            QVERIFY2(d > m_shipped.matchdayDates[md - 1], qPrintable(QString::number(md)));
    }
    // The file writes 21/08/2026 and 21/05/2027: day first.
    QCOMPARE(m_shipped.matchdayDates[1].date(), QDate(2026, 8, 21));
    QCOMPARE(m_shipped.matchdayDates[34].date(), QDate(2027, 5, 21));
}

void TstSeason::shippedCalendar()
{
    loadShipped();
    QVERIFY(m_shipped.calendar[0].isEmpty());
    QVERIFY(m_shipped.calendar[307].isEmpty());
    QSet<QString> keys;
    for (int k = 1; k <= 306; ++k) {
        const QStringList parts = m_shipped.calendar[k].split(u'|');
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0].size(), 2);
        QCOMPARE(parts[1].size(), 2);
        QCOMPARE(parts[2].size(), 2);
        const int md = parts[0].toInt();
        const int pos = parts[1].toInt();
        // Slot k and the matchday's list tell the same fixture.
        QCOMPARE(m_shipped.matchdayFixtures[md].value(pos), parts[2]);
        keys.insert(parts[0] + parts[1]);
    }
    QSet<QString> expected;
    for (int md = 1; md <= 34; ++md)
        for (int pos = 0; pos <= 8; ++pos)
            expected.insert(
                QStringLiteral("%1%2").arg(md, 2, 10, QLatin1Char('0')).arg(pos, 2, 10, QLatin1Char('0')));
    QCOMPARE(keys.size(), 306);
    QCOMPARE(keys, expected);
    QVERIFY(keys.contains(QStringLiteral("0100")));
    QVERIFY(keys.contains(QStringLiteral("3408")));

    QVERIFY(m_shipped.matchdayFixtures[0].isEmpty());
    for (int md = 1; md <= 34; ++md)
        QCOMPARE(m_shipped.matchdayFixtures[md].size(), 9);
    for (int md = 35; md < 40; ++md)
        QVERIFY(m_shipped.matchdayFixtures[md].isEmpty());
}

void TstSeason::shippedEveryPairTwice()
{
    loadShipped();
    QSet<QString> codes;
    for (int md = 1; md <= 34; ++md) {
        QSet<QChar> playing;
        for (const QString &code : m_shipped.matchdayFixtures[md]) {
            QCOMPARE(code.size(), 2);
            QVERIFY(code[0] >= u'A' && code[0] <= u'R');
            QVERIFY(code[1] >= u'A' && code[1] <= u'R');
            QVERIFY(code[0] != code[1]);
            playing.insert(code[0]);
            playing.insert(code[1]);
            codes.insert(code);
        }
        QCOMPARE(playing.size(), 18); // every team once per matchday
    }
    // 306 distinct home-away pairs over 18 teams: each pair meets at both grounds.
    QCOMPARE(codes.size(), 306);
    for (QChar h = u'A'; h <= u'R'; h = QChar(h.unicode() + 1))
        for (QChar a = u'A'; a <= u'R'; a = QChar(a.unicode() + 1))
            if (h != a)
                QVERIFY(codes.contains(QString(h) + a));
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
    QTest::newRow("unknown") << QStringLiteral("Barcelone") << 18 << QStringLiteral("S");
}

void TstSeason::teamLookups()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, letter);
    loadShipped();
    QCOMPARE(m_shipped.TeamIndexOf(name), index);
    QCOMPARE(m_shipped.TeamLetterOf(name), letter);
}

void TstSeason::teamNameOf_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("name");
    QTest::newRow("A") << QStringLiteral("A") << QStringLiteral("Paris SG");
    QTest::newRow("R") << QStringLiteral("R") << QStringLiteral("Saint-Étienne");
    QTest::newRow("S") << QStringLiteral("S") << QString();
    QTest::newRow("lower case") << QStringLiteral("a") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("before A") << QStringLiteral("@") << QString();
}

void TstSeason::teamNameOf()
{
    QFETCH(QString, letter);
    QFETCH(QString, name);
    loadShipped();
    QCOMPARE(m_shipped.TeamNameOf(letter), name);
}

void TstSeason::emptyNameWithFewTeams()
{
    // With fewer than 18 names loaded, the first empty slot is what an empty name finds.
    const SeasonData s = load(joinLines(SmallSeason));
    QCOMPARE(s.TeamIndexOf(QString()), 4);
    QCOMPARE(s.TeamLetterOf(QString()), QStringLiteral("E"));
    QCOMPARE(s.TeamIndexOf(QStringLiteral("Béta")), 1);
    QCOMPARE(s.TeamLetterOf(QStringLiteral("Béta")), QStringLiteral("B"));
}

void TstSeason::teamLetters()
{
    for (int i = 0; i < 18; ++i) {
        const QString l = TeamLetter(i);
        QCOMPARE(l, QString(QChar(65 + i)));
        QCOMPARE(TeamIndexOfLetter(l), i);
    }
    QCOMPARE(TeamLetter(18), QStringLiteral("S"));
    QCOMPARE(TeamIndexOfLetter(u"S"), -1);
    QCOMPARE(TeamIndexOfLetter(u""), -1);
    QCOMPARE(TeamIndexOfLetter(u"a"), -1);
}

void TstSeason::missingFile()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    SeasonData s;
    s.teams[0] = QStringLiteral("Kept");
    s.dataVersion = 9;
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    QCOMPARE(s.teams[0], QStringLiteral("Kept"));
    QCOMPARE(s.dataVersion, qint16(9));
    // A folder of that name is no season file either.
    QVERIFY(QDir(tmp.path()).mkdir(SeasonFileName));
    QVERIFY(!LoadSeasonFile(tmp.filePath(SeasonFileName), s));
    QCOMPARE(s.teams[0], QStringLiteral("Kept"));
}

void TstSeason::fileExists()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(FileExists(shippedSeasonPath()));
    QVERIFY(!FileExists(tmp.filePath(QStringLiteral("absent.txt"))));
    QFile f(tmp.filePath(QStringLiteral("empty.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(FileExists(f.fileName()));
    // An empty file is a season with nothing in it, not a missing one.
    SeasonData s;
    QVERIFY(LoadSeasonFile(f.fileName(), s));
    COMPARE_SEASONS(s, SeasonData());
}

QTEST_GUILESS_MAIN(TstSeason)
#include "tst_season.moc"

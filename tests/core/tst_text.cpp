// Text helpers and the publisher's addresses: the small rules every view leans on.
#include "platform/SiteAddresses.h"
#include "platform/Text.h"

#include <QUrlQuery>
#include <QtTest>

#include <climits>
#include <cmath>

using namespace kestrava;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi));
}

} // namespace

class TstText : public QObject
{
    Q_OBJECT

private slots:
    void valueOf_data();
    void valueOf();
    void valueOfBeyondADouble();

    void properCase_data();
    void properCase();
    void win1252RoundTrip_data();
    void win1252RoundTrip();

    void formatMaj_data();
    void formatMaj();
    void parseMaj_data();
    void parseMaj();

    void plainNumber_data();
    void plainNumber();
    void compareRowTexts_data();
    void compareRowTexts();
    void sortedRowTexts();
    void parseSeasonDate_data();
    void parseSeasonDate();

    void encodeQueryValue_data();
    void encodeQueryValue();
    void sitePaths();
    void queryValuesReadBackAsTyped();
};

void TstText::valueOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("asInt"); // truncated towards zero, kept inside the int range
    QTest::newRow("empty") << QString() << 0.0 << 0;
    QTest::newRow("dash") << QStringLiteral("-") << 0.0 << 0;
    QTest::newRow("integer") << QStringLiteral("12") << 12.0 << 12;
    QTest::newRow("comma stops") << QStringLiteral("1,5") << 1.0 << 1;
    QTest::newRow("point fraction") << QStringLiteral("3.7") << 3.7 << 3;
    QTest::newRow("negative fraction") << QStringLiteral("-2.5") << -2.5 << -2;
    QTest::newRow("explicit plus") << QStringLiteral("+4") << 4.0 << 4;
    QTest::newRow("leading blank") << QStringLiteral(" 12") << 12.0 << 12;
    QTest::newRow("trailing letters") << QStringLiteral("12abc") << 12.0 << 12;
    QTest::newRow("letter first") << QStringLiteral("a12") << 0.0 << 0;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2 << 1;
    QTest::newRow("bare fraction") << QStringLiteral(".5") << 0.5 << 0;
    QTest::newRow("negative bare fraction") << QStringLiteral("-.5") << -0.5 << 0;
    QTest::newRow("too big for an int") << QStringLiteral("99999999999") << 99999999999.0 << INT_MAX;
    QTest::newRow("twenty digits") << QStringLiteral("-99999999999999999999") << -1e20 << INT_MIN;
}

void TstText::valueOf()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QFETCH(int, asInt);
    QCOMPARE(ValueOf(text), expected);
    QCOMPARE(IntValueOf(text), asInt);
}

void TstText::valueOfBeyondADouble()
{
    // Whatever it gives, it must stay a usable number: 0 or the largest int, never garbage.
    const QString enormous = QString(401, u'9');
    QVERIFY(std::isfinite(ValueOf(enormous)));
    QVERIFY(std::isfinite(ValueOf(u'-' + enormous)));
    QVERIFY(IntValueOf(enormous) == INT_MAX || IntValueOf(enormous) == 0);
    const double longFraction = ValueOf(QString(QStringLiteral("1.") + QString(5000, u'5')));
    QVERIFY(longFraction > 1.5 && longFraction < 1.6);
}

void TstText::properCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("spacedText"); // what the caller's variable holds afterwards
    auto add = [](const char *name, const QString &text, const QString &expected, const QString &spaced) {
        QTest::newRow(name) << text << expected << spaced;
    };
    add("rest lowered", QStringLiteral("DÉCEMBRE 2026"), QStringLiteral("Décembre 2026"), QStringLiteral("DÉCEMBRE 2026"));
    add("accented first letter", QStringLiteral("été indien"), QStringLiteral("Été Indien"), QStringLiteral("été indien"));
    add("slash spaced", QStringLiteral("lundi/mardi"), QStringLiteral("Lundi / Mardi"), QStringLiteral("lundi / mardi"));
    add("spaced slash gets more space", QStringLiteral("a / b"), QStringLiteral("A  /  B"), QStringLiteral("a  /  b"));
    add("double space kept", QStringLiteral("samedi  14 août"), QStringLiteral("Samedi  14 Août"), QStringLiteral("samedi  14 août"));
    add("outer spaces removed", QStringLiteral("  mai 2027 "), QStringLiteral("Mai 2027"), QStringLiteral("  mai 2027 "));
    add("hyphen is not a word break", QStringLiteral("saint-étienne"), QStringLiteral("Saint-étienne"), QStringLiteral("saint-étienne"));
}

void TstText::properCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, spacedText);
    QCOMPARE(ProperCase(text), expected);
    QCOMPARE(text, spacedText);
}

void TstText::win1252RoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("capital E acute") << QStringLiteral("Saint-Étienne") << QByteArray("Saint-\xC9tienne");
    // The three below are where Windows-1252 and Latin-1 part ways.
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("oe ligature") << QStringLiteral("œ") << QByteArray("\x9C");
    QTest::newRow("capital OE ligature") << QStringLiteral("Œ") << QByteArray("\x8C");
    QTest::newRow("ascii") << QStringLiteral("0100=R||3|0|1||0|D") << QByteArray("0100=R||3|0|1||0|D");
}

void TstText::win1252RoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeWin1252(text), bytes);
    QCOMPARE(DecodeWin1252(bytes), text);
}

void TstText::formatMaj_data()
{
    QTest::addColumn<QDateTime>("dt");
    QTest::addColumn<QString>("expected"); // empty: only read back
    QTest::newRow("december") << at(2026, 12, 6, 7, 24) << QStringLiteral("06 déc. 07:24");
    QTest::newRow("seconds dropped") << QDateTime(QDate(2026, 12, 6), QTime(7, 24, 59)) << QStringLiteral("06 déc. 07:24");
    QTest::newRow("august") << at(2026, 8, 21, 21, 5) << QStringLiteral("21 août 21:05");
    QTest::newRow("february") << at(2027, 2, 1, 0, 0) << QStringLiteral("01 févr. 00:00");
    // Every abbreviated month name must read back, dotted or not (mai, juin, août have no dot).
    for (int m = 1; m <= 12; ++m) {
        const QDateTime dt = at(m >= 7 ? 2026 : 2027, m, m == 2 ? 28 : 30 - m, m + 8, (7 * m) % 60);
        QTest::newRow(qPrintable(dt.toString(Qt::ISODate))) << dt << QString();
    }
}

void TstText::formatMaj()
{
    QFETCH(QDateTime, dt);
    QFETCH(QString, expected);
    if (!expected.isEmpty())
        QCOMPARE(FormatMaj(dt), expected);
    const QDateTime minute(dt.date(), QTime(dt.time().hour(), dt.time().minute()));
    QCOMPARE(ParseMaj(FormatMaj(dt), at(2027, 6, 30, 18, 0)), minute);
}

void TstText::parseMaj_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected"); // invalid when unreadable
    const QDateTime dec20 = at(2026, 12, 20, 12, 0);
    QTest::newRow("same year") << QStringLiteral("06 déc. 07:24") << dec20 << at(2026, 12, 6, 7, 24);
    QTest::newRow("31 december read in january") << QStringLiteral("31 déc. 23:10") << at(2027, 1, 5, 9, 0) << at(2026, 12, 31, 23, 10);
    QTest::newRow("earlier today") << QStringLiteral("05 janv. 08:00") << at(2027, 1, 5, 9, 0) << at(2027, 1, 5, 8, 0);
    QTest::newRow("29 february in a leap year") << QStringLiteral("29 févr. 10:00") << at(2028, 3, 10, 12, 0) << at(2028, 2, 29, 10, 0);
    QTest::newRow("29 february in a year without one") << QStringLiteral("29 févr. 10:00") << at(2027, 3, 10, 12, 0) << at(2024, 2, 29, 10, 0);
    QTest::newRow("outer blanks") << QStringLiteral(" 06 déc. 07:24 ") << dec20 << at(2026, 12, 6, 7, 24);
    QTest::newRow("empty") << QString() << dec20 << QDateTime();
    QTest::newRow("garbage") << QStringLiteral("n'importe quoi") << dec20 << QDateTime();
    QTest::newRow("no such month") << QStringLiteral("06 xyz. 07:24") << dec20 << QDateTime();
    QTest::newRow("no such hour") << QStringLiteral("06 déc. 27:24") << dec20 << QDateTime();
    QTest::newRow("31 november") << QStringLiteral("31 nov. 07:24") << dec20 << QDateTime();
}

void TstText::parseMaj()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);
    const QDateTime got = ParseMaj(text, now);
    QVERIFY2(got == expected || (!expected.isValid() && !got.isValid()), qPrintable(got.toString(Qt::ISODate)));
}

void TstText::plainNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fraction") << 7.5 << QStringLiteral("7,5");
    QTest::newRow("whole") << 12.0 << QStringLiteral("12");
    QTest::newRow("negative fraction") << -2.5 << QStringLiteral("-2,5");
    QTest::newRow("no group separator with fraction") << 12345.5 << QStringLiteral("12345,5");
    // A bonus is held in single precision: it shows as typed, not as its binary expansion.
    QTest::newRow("single precision malus") << double(-1.3f) << QStringLiteral("-1,3");
}

void TstText::plainNumber()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(PlainNumber(value), expected);
}

void TstText::compareRowTexts_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");
    QTest::addColumn<bool>("same"); // the two fold to one text
    QTest::newRow("acute and case") << QStringLiteral("Évian") << QStringLiteral("evian") << true;
    QTest::newRow("every french accent") << QStringLiteral("àâäçéèêëîïôöùûüÿ") << QStringLiteral("aaaceeeeiioouuuy") << true;
    QTest::newRow("capitals with accents") << QStringLiteral("ÀÇÉÈÊÎÔÛ") << QStringLiteral("aceeeiou") << true;
    QTest::newRow("ligature") << QStringLiteral("Cœur") << QStringLiteral("coeur") << true;
    // Plain code-unit order would put É after every unaccented letter.
    QTest::newRow("E acute between D and F") << QStringLiteral("Dijon") << QStringLiteral("Évian") << false;
    QTest::newRow("E acute before F") << QStringLiteral("Évian") << QStringLiteral("Frontignan") << false;
    QTest::newRow("case ignored upper first") << QStringLiteral("abc") << QStringLiteral("ABD") << false;
    QTest::newRow("case ignored lower first") << QStringLiteral("ABC") << QStringLiteral("abd") << false;
    QTest::newRow("numeric key first") << QStringLiteral("0012|Lyon") << QStringLiteral("0013|Angers") << false;
    QTest::newRow("accent in key tail") << QStringLiteral("0012|Saint-Étienne") << QStringLiteral("0012|Strasbourg") << false;
}

void TstText::compareRowTexts()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    QFETCH(bool, same);
    if (same) {
        QCOMPARE(FoldForSort(lower), FoldForSort(higher));
        return;
    }
    QVERIFY(CompareRowTexts(lower, higher) < 0);
    QVERIFY(CompareRowTexts(higher, lower) > 0);
    QCOMPARE(CompareRowTexts(lower, lower), 0);
}

void TstText::sortedRowTexts()
{
    QStringList rows = { "lorient", "Évian", "Angers", "Strasbourg", "Saint-Étienne", "eauze", "Auxerre" };
    std::sort(rows.begin(), rows.end(), [](const QString &a, const QString &b) { return CompareRowTexts(a, b) < 0; });
    QCOMPARE(rows, QStringList({ "Angers", "Auxerre", "eauze", "Évian", "lorient", "Saint-Étienne", "Strasbourg" }));
}

void TstText::parseSeasonDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("french") << QStringLiteral("14/08/2026") << QDate(2026, 8, 14);
    QTest::newRow("day before month") << QStringLiteral("01/02/2027") << QDate(2027, 2, 1);
    QTest::newRow("no leading zeros") << QStringLiteral("6/9/2026") << QDate(2026, 9, 6);
    QTest::newRow("iso in spring") << QStringLiteral("2027-02-01") << QDate(2027, 2, 1);
    QTest::newRow("blanks around") << QStringLiteral(" 14/08/2026 ") << QDate(2026, 8, 14);
    QTest::newRow("leap day") << QStringLiteral("29/02/2028") << QDate(2028, 2, 29);
    QTest::newRow("garbage") << QStringLiteral("garbage") << QDate();
    QTest::newRow("no year") << QStringLiteral("14/08") << QDate();
    QTest::newRow("month 13") << QStringLiteral("14/13/2026") << QDate();
    QTest::newRow("29 february of a common year") << QStringLiteral("29/02/2027") << QDate();
    QTest::newRow("letters in a field") << QStringLiteral("14/ao/2026") << QDate();
    QTest::newRow("four fields") << QStringLiteral("14/08/2026/1") << QDate();
    QTest::newRow("bad iso") << QStringLiteral("2026-13-14") << QDate();
}

void TstText::parseSeasonDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const QDate got = ParseSeasonDate(text);
    QVERIFY2(got == expected || (!expected.isValid() && !got.isValid()), qPrintable(got.toString(Qt::ISODate)));
}

void TstText::encodeQueryValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("Editeur_1.2-x~") << QStringLiteral("Editeur_1.2-x~");
    QTest::newRow("delimiters") << QStringLiteral("a b&c=d/é") << QStringLiteral("a%20b%26c%3Dd%2F%C3%A9");
    QTest::newRow("query breakers") << QStringLiteral("?#+%") << QStringLiteral("%3F%23%2B%25");
    QTest::newRow("euro") << QStringLiteral("5€") << QStringLiteral("5%E2%82%AC");
}

void TstText::encodeQueryValue()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EncodeQueryValue(text), expected);
}

void TstText::sitePaths()
{
    for (const char *given : { "http://example.org/ligue", "http://example.org/ligue/", "  http://example.org/ligue " })
        QCOMPARE(SiteAddresses(QString::fromLatin1(given)).base(), QStringLiteral("http://example.org/ligue/"));
    const SiteAddresses site(QStringLiteral("http://example.org/ligue"));
    const QList<QUrl> urls = { site.results(), site.seasonFile(), site.seasonFileL2(), site.donors(),
        site.helpPage(), site.donationPage(), site.uploadPage(QStringLiteral("Jean"), QStringLiteral("7nord")),
        site.uploadPageL2(QStringLiteral("Jean"), QStringLiteral("7nord")), site.homePage(),
        site.contactPage(QStringLiteral("Bonjour")) };
    QStringList got;
    for (const QUrl &u : urls)
        got << (u.isValid() ? u.toString(QUrl::FullyEncoded) : QStringLiteral("invalid"));
    const QString f = QStringLiteral("http://example.org/ligue/Vantor2027/");
    // The contact page hangs directly off the base, not the season folder.
    QCOMPARE(got, QStringList({ f + "Resultats2027.ini", f + "L12027.txt", f + "L22027.txt", f + "don.L1",
                      f + "index.php", f + "donation.php", f + "EXPEL1.php?pseudo=Jean&mdp=7nord",
                      f + "EXPEL2.php?pseudo=Jean&mdp=7nord", "http://example.org/ligue/",
                      "http://example.org/ligue/contacter.php?sub=Bonjour" }));
}

void TstText::queryValuesReadBackAsTyped()
{
    const SiteAddresses site(QStringLiteral("http://example.org/ligue/"));
    const QString nasty = QStringLiteral("a b&c=d/é?#");
    // What the site reads back: exactly the values, each the text as typed, and no fragment.
    for (const QUrl &url : { site.uploadPage(nasty, nasty), site.uploadPageL2(nasty, nasty) }) {
        const QUrlQuery query(url);
        QVERIFY(url.isValid() && url.fragment().isEmpty());
        QCOMPARE(query.queryItems().size(), 2);
        QCOMPARE(query.queryItemValue(QStringLiteral("pseudo"), QUrl::FullyDecoded), nasty);
        QCOMPARE(query.queryItemValue(QStringLiteral("mdp"), QUrl::FullyDecoded), nasty);
    }
    const QUrl contact = site.contactPage(nasty);
    QVERIFY(contact.isValid() && contact.fragment().isEmpty());
    QCOMPARE(QUrlQuery(contact).queryItems().size(), 1);
    QCOMPARE(QUrlQuery(contact).queryItemValue(QStringLiteral("sub"), QUrl::FullyDecoded), nasty);
}

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"

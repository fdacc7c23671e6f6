// Text helpers and the publisher's addresses: the small rules every view leans on.
#include "platform/SiteAddresses.h"
#include "platform/Text.h"

#include <QUrlQuery>
#include <QtTest>

#include <climits>

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
    void properCase_data();
    void properCase();
    void maj_data();
    void maj();
    void parseSeasonDate_data();
    void parseSeasonDate();
    void sitePaths();
    void queryValuesReadBackAsTyped();
};

// The value of a text: its leading decimal number, with a '.' for the fraction; 0 when there is none.
void TstText::valueOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("asInt"); // truncated towards zero, kept inside the int range
    QTest::newRow("empty") << QString() << 0.0 << 0;
    QTest::newRow("dash") << QStringLiteral("-") << 0.0 << 0;
    QTest::newRow("comma stops") << QStringLiteral("1,5") << 1.0 << 1;
    QTest::newRow("negative fraction") << QStringLiteral("-2.5") << -2.5 << -2;
    QTest::newRow("explicit plus, leading blank") << QStringLiteral(" +4") << 4.0 << 4;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2 << 1;
    QTest::newRow("negative bare fraction") << QStringLiteral("-.5") << -0.5 << 0;
    QTest::newRow("too big for an int") << QStringLiteral("99999999999") << 99999999999.0 << INT_MAX;
    QTest::newRow("twenty digits") << QStringLiteral("-99999999999999999999") << -1e20 << INT_MIN;
    // Beyond a double: a usable number, never infinity.
    QTest::newRow("401 digits") << QString(401, u'9') << 0.0 << 0;
    QTest::newRow("5000 decimals") << QStringLiteral("1.") + QString(5000, u'5') << 1.0 + 5.0 / 9 << 1;
}

void TstText::valueOf()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QFETCH(int, asInt);
    QCOMPARE(ValueOf(text), expected);
    QCOMPARE(IntValueOf(text), asInt);
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
    add("double space kept, outer removed", QStringLiteral(" samedi  14 août "), QStringLiteral("Samedi  14 Août"),
        QStringLiteral(" samedi  14 août "));
    add("hyphen is no word break", QStringLiteral("saint-étienne"), QStringLiteral("Saint-étienne"), QStringLiteral("saint-étienne"));
}

void TstText::properCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, spacedText);
    QCOMPARE(ProperCase(text), expected);
    QCOMPARE(text, spacedText);
}

// The store's "Maj" stamp: written in French without a year, read back to the minute in the latest
// year that puts it no more than two days after the reader's clock.
void TstText::maj_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected"); // invalid when unreadable
    const QDateTime dec20 = at(2026, 12, 20, 12, 0);
    QTest::newRow("same year, outer blanks") << QStringLiteral(" 06 déc. 07:24 ") << dec20 << at(2026, 12, 6, 7, 24);
    QTest::newRow("august") << QStringLiteral("21 août 21:05") << dec20 << at(2026, 8, 21, 21, 5);
    QTest::newRow("31 december read in january") << QStringLiteral("31 déc. 23:10") << at(2027, 1, 5, 9, 0) << at(2026, 12, 31, 23, 10);
    QTest::newRow("29 february in a leap year") << QStringLiteral("29 févr. 10:00") << at(2028, 3, 10, 12, 0) << at(2028, 2, 29, 10, 0);
    QTest::newRow("29 february in a year without one") << QStringLiteral("29 févr. 10:00") << at(2027, 3, 10, 12, 0) << at(2024, 2, 29, 10, 0);
    QTest::newRow("empty") << QString() << dec20 << QDateTime();
    QTest::newRow("no such month") << QStringLiteral("06 xyz. 07:24") << dec20 << QDateTime();
    QTest::newRow("31 november") << QStringLiteral("31 nov. 07:24") << dec20 << QDateTime();
    // Every abbreviated month name must read back, dotted or not (mai, juin, août have no dot).
    for (int m = 1; m <= 12; ++m) {
        const QDateTime dt = at(m >= 7 ? 2026 : 2027, m, m == 2 ? 28 : 30 - m, m + 8, (7 * m) % 60);
        QTest::newRow(qPrintable(dt.toString(Qt::ISODate))) << FormatMaj(dt) << at(2027, 6, 30, 18, 0) << dt;
    }
}

void TstText::maj()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);
    const QDateTime got = ParseMaj(text, now);
    QVERIFY2(got == expected || (!expected.isValid() && !got.isValid()), qPrintable(got.toString(Qt::ISODate)));
    if (expected.isValid())
        QCOMPARE(FormatMaj(expected), text.trimmed());
}

// Matchday dates in the season file: day first, or ISO.
void TstText::parseSeasonDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::addColumn<QTime>("time");
    QTest::newRow("day before month") << QStringLiteral("01/02/2027") << QDate(2027, 2, 1) << QTime(0, 0);
    QTest::newRow("no leading zeros, blanks around") << QStringLiteral(" 6/9/2026 ") << QDate(2026, 9, 6) << QTime(0, 0);
    QTest::newRow("iso") << QStringLiteral("2027-02-01") << QDate(2027, 2, 1) << QTime(0, 0);
    QTest::newRow("two-digit year") << QStringLiteral("14/08/26") << QDate(2026, 8, 14) << QTime(0, 0);
    QTest::newRow("leap day") << QStringLiteral("29/02/2028") << QDate(2028, 2, 29) << QTime(0, 0);
    QTest::newRow("month 13") << QStringLiteral("14/13/2026") << QDate() << QTime(0, 0);
    QTest::newRow("29 february of a common year") << QStringLiteral("29/02/2027") << QDate() << QTime(0, 0);
    QTest::newRow("letters in a field") << QStringLiteral("14/ao/2026") << QDate() << QTime(0, 0);
    // The other ways a French user writes a date, and a time after it.
    QTest::newRow("dashes") << QStringLiteral("21-08-2026") << QDate(2026, 8, 21) << QTime(0, 0);
    QTest::newRow("dots") << QStringLiteral("21.08.2026") << QDate(2026, 8, 21) << QTime(0, 0);
    QTest::newRow("month written out") << QStringLiteral("21 août 2026") << QDate(2026, 8, 21) << QTime(0, 0);
    QTest::newRow("short month") << QStringLiteral("3 sept. 26") << QDate(2026, 9, 3) << QTime(0, 0);
    QTest::newRow("with a time") << QStringLiteral("21/08/2026 20:45") << QDate(2026, 8, 21) << QTime(20, 45);
    QTest::newRow("French hour") << QStringLiteral("21/08/2026 20h45") << QDate(2026, 8, 21) << QTime(20, 45);
    QTest::newRow("no year") << QStringLiteral("21/08") << QDate() << QTime(0, 0);
    QTest::newRow("junk after") << QStringLiteral("21/08/2026 le soir") << QDate() << QTime(0, 0);
    QTest::newRow("hour 25") << QStringLiteral("21/08/2026 25:00") << QDate() << QTime(0, 0);
    QTest::newRow("unknown month") << QStringLiteral("21 brumaire 2026") << QDate() << QTime(0, 0);
    QTest::newRow("four fields") << QStringLiteral("14/08/2026/1") << QDate() << QTime(0, 0);
}

void TstText::parseSeasonDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QFETCH(QTime, time);
    const QDateTime got = ParseSeasonDateTime(text);
    QVERIFY2(got == QDateTime(expected, time) || (!expected.isValid() && !got.isValid()),
             qPrintable(got.toString(Qt::ISODate)));
}

void TstText::sitePaths()
{
    QCOMPARE(SiteAddresses(QStringLiteral("  http://example.org/ligue/ ")).base(), QStringLiteral("http://example.org/ligue/"));
    const SiteAddresses site(QStringLiteral("http://example.org/ligue"));
    const QList<QUrl> urls = { site.results(), site.seasonFile(), site.seasonFileL2(), site.donors(),
        site.helpPage(), site.downloadPage(), site.donationPage(), site.uploadPage(QStringLiteral("Jean"), QStringLiteral("7nord")),
        site.uploadPageL2(QStringLiteral("Jean"), QStringLiteral("7nord")), site.homePage(),
        site.contactPage(QStringLiteral("Bonjour")) };
    QStringList got;
    for (const QUrl &u : urls)
        got << (u.isValid() ? u.toString(QUrl::FullyEncoded) : QStringLiteral("invalid"));
    const QString f = QStringLiteral("http://example.org/ligue/Vantor2027/");
    // The contact page hangs directly off the base, not the season folder.
    QCOMPARE(got, QStringList({ f + "Resultats2027.ini", f + "L12027.txt", f + "L22027.txt", f + "don.L1",
                      f + "aide/", f + "index.php", f + "donation.php", f + "EXPEL1.php?pseudo=Jean&mdp=7nord",
                      f + "EXPEL2.php?pseudo=Jean&mdp=7nord", "http://example.org/ligue/",
                      "http://example.org/ligue/contacter.php?sub=Bonjour" }));
}

void TstText::queryValuesReadBackAsTyped()
{
    const SiteAddresses site(QStringLiteral("http://example.org/ligue/"));
    const QString nasty = QStringLiteral("a b&c=d/é?#+%€");
    // What the site reads back: exactly the values, each the text as typed, and no fragment.
    for (const QUrl &url : { site.uploadPage(nasty, nasty), site.uploadPageL2(nasty, nasty), site.contactPage(nasty) }) {
        const QUrlQuery query(url);
        QVERIFY(url.isValid() && url.fragment().isEmpty());
        QCOMPARE(query.queryItems().size(), url.path().endsWith(u"contacter.php") ? 1 : 2);
        for (const auto &item : query.queryItems(QUrl::FullyDecoded))
            QCOMPARE(item.second, nasty);
    }
}

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"

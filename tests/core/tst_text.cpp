// Text helpers and the publisher's addresses: the small rules every view leans on.
#include "platform/SiteAddresses.h"
#include "platform/Text.h"

#include <QUrlQuery>
#include <QtTest>

#include <climits>
#include <cmath>

using namespace kestrava;

class TstText : public QObject
{
    Q_OBJECT

private slots:
    void valueOf_data();
    void valueOf();
    void valueOfHugeNumbers();
    void intValueOf_data();
    void intValueOf();

    void properCase_data();
    void properCase();

    void win1252RoundTrip_data();
    void win1252RoundTrip();

    void formatMaj_data();
    void formatMaj();
    void parseMaj_data();
    void parseMaj();
    void majRoundTripEveryMonth_data();
    void majRoundTripEveryMonth();

    void plainNumber_data();
    void plainNumber();

    void foldForSort_data();
    void foldForSort();
    void compareRowTexts_data();
    void compareRowTexts();
    void sortedRowTexts();

    void parseSeasonDate_data();
    void parseSeasonDate();

    void encodeQueryValue_data();
    void encodeQueryValue();
    void siteBase_data();
    void siteBase();
    void sitePaths_data();
    void sitePaths();
    void uploadPageEncodesItsValues();
    void contactPageEncodesTheSubject();
};

void TstText::valueOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("dash") << QStringLiteral("-") << 0.0;
    QTest::newRow("plus alone") << QStringLiteral("+") << 0.0;
    QTest::newRow("dot alone") << QStringLiteral(".") << 0.0;
    QTest::newRow("integer") << QStringLiteral("12") << 12.0;
    QTest::newRow("zero") << QStringLiteral("0") << 0.0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7.0;
    QTest::newRow("comma stops") << QStringLiteral("1,5") << 1.0;
    QTest::newRow("point fraction") << QStringLiteral("3.7") << 3.7;
    QTest::newRow("negative fraction") << QStringLiteral("-2.5") << -2.5;
    QTest::newRow("explicit plus") << QStringLiteral("+4") << 4.0;
    QTest::newRow("leading blank") << QStringLiteral(" 12") << 12.0;
    QTest::newRow("leading tab") << QStringLiteral("\t8") << 8.0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
    QTest::newRow("trailing letters") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("trailing blank and text") << QStringLiteral("5 buts") << 5.0;
    QTest::newRow("letter first") << QStringLiteral("a12") << 0.0;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("bare fraction") << QStringLiteral(".5") << 0.5;
    QTest::newRow("negative bare fraction") << QStringLiteral("-.5") << -0.5;
    QTest::newRow("dash then letters") << QStringLiteral("-x") << 0.0;
    QTest::newRow("score from a hand-edited store") << QStringLiteral("5000") << 5000.0;
}

void TstText::valueOf()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ValueOf(text), expected);
}

void TstText::valueOfHugeNumbers()
{
    QCOMPARE(ValueOf(u"99999999999999999999"), 1e20);
    QCOMPARE(ValueOf(u"-99999999999999999999"), -1e20);
    // Far beyond a double: whatever it gives, it must stay a usable number.
    const QString enormous = u'9' + QString(400, u'9');
    QVERIFY(std::isfinite(ValueOf(enormous)));
    QVERIFY(std::isfinite(ValueOf(u'-' + enormous)));
    const QString longFraction = QStringLiteral("1.") + QString(5000, u'5');
    QVERIFY(std::isfinite(ValueOf(longFraction)));
    QVERIFY(ValueOf(longFraction) > 1.5 && ValueOf(longFraction) < 1.6);
}

void TstText::intValueOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("fraction truncates") << QStringLiteral("3.7") << 3;
    QTest::newRow("negative fraction truncates") << QStringLiteral("-2.5") << -2;
    QTest::newRow("comma") << QStringLiteral("1,5") << 1;
    QTest::newRow("too big") << QStringLiteral("99999999999") << INT_MAX;
    QTest::newRow("too small") << QStringLiteral("-99999999999") << INT_MIN;
    QTest::newRow("enormous") << QString(400, u'9') << INT_MAX;
}

void TstText::intValueOf()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    if (text.size() > 300) {
        // A number beyond a double may read as 0 or as the largest int, never as garbage.
        const int v = IntValueOf(text);
        QVERIFY2(v == expected || v == 0, qPrintable(QString::number(v)));
        return;
    }
    QCOMPARE(IntValueOf(text), expected);
}

void TstText::properCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("spacedText"); // what the caller's variable holds afterwards

    QTest::newRow("month caption") << QStringLiteral("août 2026") << QStringLiteral("Août 2026")
                                   << QStringLiteral("août 2026");
    QTest::newRow("rest lowered") << QStringLiteral("DÉCEMBRE 2026") << QStringLiteral("Décembre 2026")
                                  << QStringLiteral("DÉCEMBRE 2026");
    QTest::newRow("accented first letter")
        << QStringLiteral("été indien") << QStringLiteral("Été Indien") << QStringLiteral("été indien");
    QTest::newRow("slash spaced") << QStringLiteral("lundi/mardi") << QStringLiteral("Lundi / Mardi")
                                  << QStringLiteral("lundi / mardi");
    QTest::newRow("spaced slash gets more space")
        << QStringLiteral("a / b") << QStringLiteral("A  /  B") << QStringLiteral("a  /  b");
    QTest::newRow("double space kept")
        << QStringLiteral("samedi  14 août") << QStringLiteral("Samedi  14 Août")
        << QStringLiteral("samedi  14 août");
    QTest::newRow("triple space kept")
        << QStringLiteral("a   b") << QStringLiteral("A   B") << QStringLiteral("a   b");
    QTest::newRow("outer spaces removed")
        << QStringLiteral("  mai 2027 ") << QStringLiteral("Mai 2027") << QStringLiteral("  mai 2027 ");
    QTest::newRow("hyphen is not a word break")
        << QStringLiteral("saint-étienne") << QStringLiteral("Saint-étienne")
        << QStringLiteral("saint-étienne");
    QTest::newRow("date caption") << QStringLiteral("dimanche 06 décembre")
                                  << QStringLiteral("Dimanche 06 Décembre")
                                  << QStringLiteral("dimanche 06 décembre");
    QTest::newRow("empty") << QString() << QString() << QString();
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
    QTest::newRow("e acute") << QStringLiteral("é") << QByteArray("\xE9");
    QTest::newRow("capital E acute") << QStringLiteral("Saint-Étienne") << QByteArray("Saint-\xC9tienne");
    // The three below are where Windows-1252 and Latin-1 part ways.
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("oe ligature") << QStringLiteral("œ") << QByteArray("\x9C");
    QTest::newRow("capital OE ligature") << QStringLiteral("Œ") << QByteArray("\x8C");
    QTest::newRow("mixed") << QStringLiteral("Hélène paie 5 € pour un cœur")
                           << QByteArray("H\xE9l\xE8ne paie 5 \x80 pour un c\x9C"
                                         "ur");
    QTest::newRow("ascii") << QStringLiteral("0100=R||3|0|1||0|D") << QByteArray("0100=R||3|0|1||0|D");
}

void TstText::win1252RoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeWin1252(text), bytes);
    QCOMPARE(DecodeWin1252(bytes), text);
    QCOMPARE(DecodeWin1252(EncodeWin1252(text)), text);
}

void TstText::formatMaj_data()
{
    QTest::addColumn<QDateTime>("dt");
    QTest::addColumn<QString>("expected");
    QTest::newRow("december") << QDateTime(QDate(2026, 12, 6), QTime(7, 24))
                              << QStringLiteral("06 déc. 07:24");
    QTest::newRow("seconds dropped") << QDateTime(QDate(2026, 12, 6), QTime(7, 24, 59))
                                     << QStringLiteral("06 déc. 07:24");
    QTest::newRow("august") << QDateTime(QDate(2026, 8, 21), QTime(21, 5)) << QStringLiteral("21 août 21:05");
    QTest::newRow("february") << QDateTime(QDate(2027, 2, 1), QTime(0, 0))
                              << QStringLiteral("01 févr. 00:00");
    QTest::newRow("may") << QDateTime(QDate(2027, 5, 21), QTime(23, 59)) << QStringLiteral("21 mai 23:59");
}

void TstText::formatMaj()
{
    QFETCH(QDateTime, dt);
    QFETCH(QString, expected);
    QCOMPARE(FormatMaj(dt), expected);
}

void TstText::parseMaj_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected"); // invalid when unreadable

    const QDateTime invalid;
    QTest::newRow("same year") << QStringLiteral("06 déc. 07:24")
                               << QDateTime(QDate(2026, 12, 20), QTime(12, 0))
                               << QDateTime(QDate(2026, 12, 6), QTime(7, 24));
    QTest::newRow("31 december read in january")
        << QStringLiteral("31 déc. 23:10") << QDateTime(QDate(2027, 1, 5), QTime(9, 0))
        << QDateTime(QDate(2026, 12, 31), QTime(23, 10));
    QTest::newRow("december read in may")
        << QStringLiteral("06 déc. 07:24") << QDateTime(QDate(2027, 5, 2), QTime(9, 0))
        << QDateTime(QDate(2026, 12, 6), QTime(7, 24));
    QTest::newRow("earlier today") << QStringLiteral("05 janv. 08:00")
                                   << QDateTime(QDate(2027, 1, 5), QTime(9, 0))
                                   << QDateTime(QDate(2027, 1, 5), QTime(8, 0));
    QTest::newRow("29 february in a leap year")
        << QStringLiteral("29 févr. 10:00") << QDateTime(QDate(2028, 3, 10), QTime(12, 0))
        << QDateTime(QDate(2028, 2, 29), QTime(10, 0));
    QTest::newRow("29 february in a year without one")
        << QStringLiteral("29 févr. 10:00") << QDateTime(QDate(2027, 3, 10), QTime(12, 0))
        << QDateTime(QDate(2024, 2, 29), QTime(10, 0));
    QTest::newRow("outer blanks") << QStringLiteral(" 06 déc. 07:24 ")
                                  << QDateTime(QDate(2026, 12, 20), QTime(12, 0))
                                  << QDateTime(QDate(2026, 12, 6), QTime(7, 24));
    QTest::newRow("empty") << QString() << QDateTime(QDate(2026, 12, 20), QTime(12, 0)) << invalid;
    QTest::newRow("garbage") << QStringLiteral("n'importe quoi")
                             << QDateTime(QDate(2026, 12, 20), QTime(12, 0)) << invalid;
    QTest::newRow("no such month") << QStringLiteral("06 xyz. 07:24")
                                   << QDateTime(QDate(2026, 12, 20), QTime(12, 0)) << invalid;
    QTest::newRow("no such hour") << QStringLiteral("06 déc. 27:24")
                                  << QDateTime(QDate(2026, 12, 20), QTime(12, 0)) << invalid;
    QTest::newRow("31 november") << QStringLiteral("31 nov. 07:24")
                                 << QDateTime(QDate(2026, 12, 20), QTime(12, 0)) << invalid;
}

void TstText::parseMaj()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);
    const QDateTime got = ParseMaj(text, now);
    if (!expected.isValid()) {
        QVERIFY2(!got.isValid(), qPrintable(got.toString(Qt::ISODate)));
        return;
    }
    QCOMPARE(got, expected);
}

void TstText::majRoundTripEveryMonth_data()
{
    QTest::addColumn<QDateTime>("dt");
    // Every abbreviated month name must read back, dotted or not (mai, juin, août have no dot).
    for (int m = 1; m <= 12; ++m) {
        const int year = m >= 7 ? 2026 : 2027;
        const QDateTime dt(QDate(year, m, m == 2 ? 28 : 30 - m), QTime(m + 8, (7 * m) % 60));
        QTest::newRow(qPrintable(dt.toString(Qt::ISODate))) << dt;
    }
}

void TstText::majRoundTripEveryMonth()
{
    QFETCH(QDateTime, dt);
    const QDateTime now(QDate(2027, 6, 30), QTime(18, 0));
    QCOMPARE(ParseMaj(FormatMaj(dt), now), dt);
}

void TstText::plainNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fraction") << 7.5 << QStringLiteral("7,5");
    QTest::newRow("whole") << 12.0 << QStringLiteral("12");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("negative whole") << -2.0 << QStringLiteral("-2");
    QTest::newRow("negative fraction") << -2.5 << QStringLiteral("-2,5");
    QTest::newRow("no group separator") << 12345.0 << QStringLiteral("12345");
    QTest::newRow("no group separator with fraction") << 12345.5 << QStringLiteral("12345,5");
    // A bonus is held in single precision: it shows as typed, not as its binary expansion.
    QTest::newRow("single precision tenth") << double(0.1f) << QStringLiteral("0,1");
    QTest::newRow("single precision malus") << double(-1.3f) << QStringLiteral("-1,3");
}

void TstText::plainNumber()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(PlainNumber(value), expected);
}

void TstText::foldForSort_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("acute") << QStringLiteral("Évian") << QStringLiteral("evian");
    QTest::newRow("case") << QStringLiteral("PARIS SG") << QStringLiteral("paris sg");
    QTest::newRow("every french accent")
        << QStringLiteral("àâäçéèêëîïôöùûüÿ") << QStringLiteral("aaaceeeeiioouuuy");
    QTest::newRow("capitals with accents") << QStringLiteral("ÀÇÉÈÊÎÔÛ") << QStringLiteral("aceeeiou");
    QTest::newRow("ligature") << QStringLiteral("Cœur") << QStringLiteral("coeur");
    QTest::newRow("digits untouched")
        << QStringLiteral("0034|Saint-Étienne") << QStringLiteral("0034|saint-etienne");
}

void TstText::foldForSort()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QCOMPARE(FoldForSort(a), FoldForSort(b));
}

void TstText::compareRowTexts_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");
    // Plain code-unit order would put É after every unaccented letter.
    QTest::newRow("E acute between D and F") << QStringLiteral("Dijon") << QStringLiteral("Évian");
    QTest::newRow("E acute before F") << QStringLiteral("Évian") << QStringLiteral("Frontignan");
    QTest::newRow("e acute with e") << QStringLiteral("Eauze") << QStringLiteral("Évian");
    QTest::newRow("case ignored upper first") << QStringLiteral("abc") << QStringLiteral("ABD");
    QTest::newRow("case ignored lower first") << QStringLiteral("ABC") << QStringLiteral("abd");
    QTest::newRow("lower-case before capital Z") << QStringLiteral("zebra") << QStringLiteral("Zorro");
    QTest::newRow("numeric key first") << QStringLiteral("0012|Lyon") << QStringLiteral("0013|Angers");
    QTest::newRow("accent in key tail")
        << QStringLiteral("0012|Saint-Étienne") << QStringLiteral("0012|Strasbourg");
}

void TstText::compareRowTexts()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    QVERIFY(CompareRowTexts(lower, higher) < 0);
    QVERIFY(CompareRowTexts(higher, lower) > 0);
    QCOMPARE(CompareRowTexts(lower, lower), 0);
}

void TstText::sortedRowTexts()
{
    QStringList rows = { QStringLiteral("lorient"), QStringLiteral("Évian"), QStringLiteral("Angers"),
        QStringLiteral("Strasbourg"), QStringLiteral("Saint-Étienne"), QStringLiteral("eauze"),
        QStringLiteral("Auxerre") };
    std::sort(rows.begin(), rows.end(),
        [](const QString &a, const QString &b) { return CompareRowTexts(a, b) < 0; });
    const QStringList expected = { QStringLiteral("Angers"), QStringLiteral("Auxerre"),
        QStringLiteral("eauze"), QStringLiteral("Évian"), QStringLiteral("lorient"),
        QStringLiteral("Saint-Étienne"), QStringLiteral("Strasbourg") };
    QCOMPARE(rows, expected);
}

void TstText::parseSeasonDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("french") << QStringLiteral("14/08/2026") << QDate(2026, 8, 14);
    QTest::newRow("day before month") << QStringLiteral("01/02/2027") << QDate(2027, 2, 1);
    QTest::newRow("day above 12") << QStringLiteral("21/05/2027") << QDate(2027, 5, 21);
    QTest::newRow("no leading zeros") << QStringLiteral("6/9/2026") << QDate(2026, 9, 6);
    QTest::newRow("iso") << QStringLiteral("2026-08-14") << QDate(2026, 8, 14);
    QTest::newRow("iso in spring") << QStringLiteral("2027-02-01") << QDate(2027, 2, 1);
    QTest::newRow("blanks around") << QStringLiteral(" 14/08/2026 ") << QDate(2026, 8, 14);
    QTest::newRow("leap day") << QStringLiteral("29/02/2028") << QDate(2028, 2, 29);
    QTest::newRow("garbage") << QStringLiteral("garbage") << QDate();
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("no year") << QStringLiteral("14/08") << QDate();
    QTest::newRow("day 32") << QStringLiteral("32/01/2027") << QDate();
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
    if (!expected.isValid())
        QVERIFY2(!got.isValid(), qPrintable(got.toString(Qt::ISODate)));
    else
        QCOMPARE(got, expected);
}

void TstText::encodeQueryValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("Editeur_1.2-x~") << QStringLiteral("Editeur_1.2-x~");
    QTest::newRow("delimiters") << QStringLiteral("a b&c=d/é") << QStringLiteral("a%20b%26c%3Dd%2F%C3%A9");
    QTest::newRow("query breakers") << QStringLiteral("?#+%") << QStringLiteral("%3F%23%2B%25");
    QTest::newRow("euro") << QStringLiteral("5€") << QStringLiteral("5%E2%82%AC");
    QTest::newRow("empty") << QString() << QString();
}

void TstText::encodeQueryValue()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EncodeQueryValue(text), expected);
}

void TstText::siteBase_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");
    QTest::newRow("slash added") << QStringLiteral("http://example.org/ligue")
                                 << QStringLiteral("http://example.org/ligue/");
    QTest::newRow("slash kept") << QStringLiteral("http://example.org/ligue/")
                                << QStringLiteral("http://example.org/ligue/");
    QTest::newRow("host alone") << QStringLiteral("https://example.org")
                                << QStringLiteral("https://example.org/");
    QTest::newRow("blanks trimmed") << QStringLiteral("  http://example.org/ligue ")
                                    << QStringLiteral("http://example.org/ligue/");
}

void TstText::siteBase()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    QCOMPARE(SiteAddresses(given).base(), expected);
}

void TstText::sitePaths_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("expected");
    const QString folder = QStringLiteral("http://example.org/ligue/Vantor2027");
    QTest::newRow("results") << QStringLiteral("results") << folder + QStringLiteral("/Resultats2027.ini");
    QTest::newRow("season file") << QStringLiteral("seasonFile") << folder + QStringLiteral("/L12027.txt");
    QTest::newRow("season file L2") << QStringLiteral("seasonFileL2")
                                    << folder + QStringLiteral("/L22027.txt");
    QTest::newRow("donors") << QStringLiteral("donors") << folder + QStringLiteral("/don.L1");
    QTest::newRow("help") << QStringLiteral("helpPage") << folder + QStringLiteral("/index.php");
    QTest::newRow("donation") << QStringLiteral("donationPage") << folder + QStringLiteral("/donation.php");
    QTest::newRow("upload") << QStringLiteral("uploadPage")
                            << folder + QStringLiteral("/EXPEL1.php?pseudo=Jean&mdp=7nord");
    QTest::newRow("upload L2") << QStringLiteral("uploadPageL2")
                               << folder + QStringLiteral("/EXPEL2.php?pseudo=Jean&mdp=7nord");
    QTest::newRow("home") << QStringLiteral("homePage") << QStringLiteral("http://example.org/ligue/");
    // The contact page hangs directly off the base, not the season folder.
    QTest::newRow("contact") << QStringLiteral("contactPage")
                             << QStringLiteral("http://example.org/ligue/contacter.php?sub=Bonjour");
}

void TstText::sitePaths()
{
    QFETCH(QString, which);
    QFETCH(QString, expected);
    const SiteAddresses site(QStringLiteral("http://example.org/ligue"));
    QUrl url;
    if (which == u"results")
        url = site.results();
    else if (which == u"seasonFile")
        url = site.seasonFile();
    else if (which == u"seasonFileL2")
        url = site.seasonFileL2();
    else if (which == u"donors")
        url = site.donors();
    else if (which == u"helpPage")
        url = site.helpPage();
    else if (which == u"donationPage")
        url = site.donationPage();
    else if (which == u"uploadPage")
        url = site.uploadPage(QStringLiteral("Jean"), QStringLiteral("7nord"));
    else if (which == u"uploadPageL2")
        url = site.uploadPageL2(QStringLiteral("Jean"), QStringLiteral("7nord"));
    else if (which == u"homePage")
        url = site.homePage();
    else if (which == u"contactPage")
        url = site.contactPage(QStringLiteral("Bonjour"));
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::FullyEncoded), expected);
}

void TstText::uploadPageEncodesItsValues()
{
    const SiteAddresses site(QStringLiteral("http://example.org/ligue"));
    const QString nasty = QStringLiteral("a b&c=d/é");
    const QUrl url = site.uploadPage(nasty, nasty);
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::FullyEncoded),
        QStringLiteral("http://example.org/ligue/Vantor2027/EXPEL1.php?pseudo=a%20b%26c%3Dd%2F%C3%A9"
                       "&mdp=a%20b%26c%3Dd%2F%C3%A9"));
    // What the site reads back: exactly two values, each the text as typed.
    const QUrlQuery query(url);
    QCOMPARE(query.queryItems().size(), 2);
    QCOMPARE(query.queryItemValue(QStringLiteral("pseudo"), QUrl::FullyDecoded), nasty);
    QCOMPARE(query.queryItemValue(QStringLiteral("mdp"), QUrl::FullyDecoded), nasty);

    const QUrl l2 = site.uploadPageL2(QStringLiteral("x"), QStringLiteral("p&q"));
    QCOMPARE(QUrlQuery(l2).queryItemValue(QStringLiteral("mdp"), QUrl::FullyDecoded), QStringLiteral("p&q"));
    QCOMPARE(l2.path(), QStringLiteral("/ligue/Vantor2027/EXPEL2.php"));
}

void TstText::contactPageEncodesTheSubject()
{
    const SiteAddresses site(QStringLiteral("http://example.org/ligue/"));
    const QString subject = QStringLiteral("Kestrava 1.0 : été & co?#");
    const QUrl url = site.contactPage(subject);
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::FullyEncoded),
        QStringLiteral("http://example.org/ligue/"
                       "contacter.php?sub=Kestrava%201.0%20%3A%20%C3%A9t%C3%A9%20%26%20co%3F%23"));
    QVERIFY(url.fragment().isEmpty());
    const QUrlQuery query(url);
    QCOMPARE(query.queryItems().size(), 1);
    QCOMPARE(query.queryItemValue(QStringLiteral("sub"), QUrl::FullyDecoded), subject);
}

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"

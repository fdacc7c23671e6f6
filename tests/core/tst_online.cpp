// The rules around the publisher's site that need no network: announced versions, colours,
// file checks, the introduction filter, bonus values, the donors file and its refresh days.
#include "online/Online.h"
#include "platform/Text.h"

#include <QFile>
#include <QTest>

using namespace kestrava;

class TestOnline : public QObject
{
    Q_OBJECT
private slots:
    void announcedVersion_data();
    void announcedVersion();
    void lastUpdateColour_data();
    void lastUpdateColour();
    void fileChecks_data();
    void fileChecks();
    void diacritics_data();
    void diacritics();
    void bonusIntegerPart_data();
    void bonusIntegerPart();
    void donors();
    void donorsFreshness_data();
    void donorsFreshness();
    void fridayRefresh_data();
    void fridayRefresh();
};

void TestOnline::announcedVersion_data()
{
    QTest::addColumn<QString>("cv");
    QTest::addColumn<bool>("prompt");
    QTest::newRow("same version") << "1.0" << false;
    QTest::newRow("none") << "-" << false;
    QTest::newRow("minor up") << "1.1" << true;
    QTest::newRow("major up") << "2.0" << true;
    QTest::newRow("four characters") << "1.10" << false;
    QTest::newRow("older") << "0.9" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "abc" << false;
}

void TestOnline::announcedVersion()
{
    QFETCH(QString, cv);
    QTEST(NewerVersionAnnounced(cv), "prompt");
    QCOMPARE(AnnouncedVersion(QStringLiteral("1.1")).value_or(-1) * 10, 11.0);
    QVERIFY(!AnnouncedVersion(QStringLiteral("1.10")));
}

void TestOnline::lastUpdateColour_data()
{
    QTest::addColumn<int>("shift");
    QTest::addColumn<bool>("own");
    QTest::addColumn<Rgb>("colour");
    QTest::newRow("older file") << -60 << false << Rgb{255, 0, 0};
    QTest::newRow("newer file") << 60 << false << Rgb{0, 192, 0};
    QTest::newRow("same") << 0 << false << Rgb{100, 100, 100};
    QTest::newRow("own publication, older") << -60 << true << Rgb{0, 192, 0};
}

void TestOnline::lastUpdateColour()
{
    QFETCH(int, shift);
    QFETCH(bool, own);
    const QDateTime before(QDate(2026, 12, 5), QTime(21, 40));
    QTEST(LastUpdateColour(before, before.addSecs(shift), own), "colour");
}

void TestOnline::fileChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("store");
    QTest::addColumn<bool>("text");
    QTest::newRow("store") << QByteArray("[Resultats]\r\n0100=A||1|2|0|||B\r\n") << true << true;
    QTest::newRow("store after blank lines") << QByteArray("\r\n\r\n[Maj]\r\nMaj=01 déc. 10:00\r\n") << true << true;
    QTest::newRow("empty") << QByteArray() << true << true;
    QTest::newRow("error page") << QByteArray("<html><body>404</body></html>") << false << true;
    QTest::newRow("binary") << QByteArray("[Resultats]\r\n\0\0", 15) << false << false;
}

void TestOnline::fileChecks()
{
    QFETCH(QByteArray, bytes);
    QTEST(LooksLikeResultsStore(bytes), "store");
    QTEST(LooksLikeTextFile(bytes), "text");
}

void TestOnline::diacritics_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("the six letters") << "é è ê ë ç à" << "e e e e c a";
    QTest::newRow("capitals stay") << "Étoile À Ç" << "Étoile À Ç";
    QTest::newRow("other accents stay") << "ô ù î ï" << "ô ù î ï";
    QTest::newRow("sentence") << "Résultats à jour, déçu ?" << "Resultats a jour, decu ?";
}

void TestOnline::diacritics()
{
    QFETCH(QString, typed);
    QTEST(RemoveDiacritics(typed), "kept");
}

void TestOnline::bonusIntegerPart_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("3.7") << "3.7" << "3";
    QTest::newRow("-2.5") << "-2.5" << "-3";
    QTest::newRow("-2") << "-2" << "-2";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("not a number") << "deux" << "deux";
}

void TestOnline::bonusIntegerPart()
{
    QFETCH(QString, typed);
    QTEST(BonusIntegerPart(typed), "kept");
}

void TestOnline::donors()
{
    const QString file = QStringLiteral("<div class=\"titre\">Merci a nos donateurs</div>\r\n"
                                        "<br/> Supporter75/n\r\n"
                                        "<br/> Le Gone/n/n \r\n"
                                        "short\r\n"
                                        "<div class=\"titre\">  Partenaires  </div>\r\n");
    const QStringList entries = ParseDonors(file);
    QCOMPARE(entries, (QStringList{QStringLiteral("Merci a nos donateurs$"), QStringLiteral("Supporter75"),
                                   QStringLiteral("Le Gone"), QString(), QStringLiteral("Partenaires$")}));
    // The shipped sample.
    QFile f(QStringLiteral(KESTRAVA_DATA_DIR "/demo/don.L1"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList sample = ParseDonors(DecodeWin1252(f.readAll()));
    QCOMPARE(sample.size(), 6);
    QCOMPARE(sample[0], QStringLiteral("Merci a nos donateurs$"));
    QCOMPARE(sample[1], QStringLiteral("Supporter75"));
    QCOMPARE(sample[5], QStringLiteral("Club des supporters"));
}

void TestOnline::donorsFreshness_data()
{
    QTest::addColumn<int>("hoursOld");
    QTest::addColumn<bool>("fresh");
    QTest::newRow("11 hours") << 11 << true;
    QTest::newRow("13 hours") << 13 << false;
    QTest::newRow("missing") << -1 << false;
}

void TestOnline::donorsFreshness()
{
    QFETCH(int, hoursOld);
    const QDateTime launch(QDate(2026, 12, 4), QTime(20, 0));
    const auto modified = hoursOld < 0 ? std::nullopt : std::optional<QDateTime>(launch.addSecs(-3600 * hoursOld));
    QTEST(DonorsFileFresh(modified, launch), "fresh");
}

void TestOnline::fridayRefresh_data()
{
    QTest::addColumn<QDateTime>("launch");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("due");
    const QDateTime friday(QDate(2026, 12, 4), QTime(20, 0));
    QTest::newRow("first launch of a Friday") << friday << "-" << true;
    QTest::newRow("again within the day") << friday << FormatStamp(friday.addSecs(-3 * 3600)) << false;
    QTest::newRow("a week later") << friday << FormatStamp(friday.addDays(-7)) << true;
    QTest::newRow("not a Friday") << friday.addDays(1) << "-" << false;
    QTest::newRow("unreadable stamp") << friday << "hier" << true;
}

void TestOnline::fridayRefresh()
{
    QFETCH(QDateTime, launch);
    QFETCH(QString, stored);
    QTEST(WeeklyDonorsRefreshDue(launch, stored), "due");
}

QTEST_GUILESS_MAIN(TestOnline)
#include "tst_online.moc"

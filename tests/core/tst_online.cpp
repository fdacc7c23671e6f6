// The rules around the publisher's site that need no network: announced versions, colours,
// file checks, the introduction filter, bonus values, the donors file and its refresh days.
#include "online/Online.h"
#include "online/RefreshSchedule.h"
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
    void storeCheck_data();
    void storeCheck();
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
    void newResults_data();
    void newResults();
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

void TestOnline::storeCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("key");
    auto row = [](const char *name, const QByteArray &bytes, StoreProblem p, int line = 0,
                   const QString &key = {}) { QTest::newRow(name) << bytes << int(p) << line << key; };
    const QByteArray maj = "[Maj]\r\nMaj=06 d\xE9"
                           "c. 07:24\r\n";
    const QByteArray r = "[Resultats]\r\n0100=A|||||||B\r\n";
    QFile demo(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
    QVERIFY(demo.open(QIODevice::ReadOnly));
    row("demo store", demo.readAll(), StoreProblem::None);
    row("any case, LF only, spaces, comments, other sections",
        "; commentaire\n[ resultats ]\n 0100 = A|||||||B\n\n[Autre]\nx=\n[maj]\nMAJ=29 f\xE9vr. 10:00\n",
        StoreProblem::None);
    row("no result yet: an introduction text only", maj + "[Texte]\r\nTexte=Bienvenue\r\n",
        StoreProblem::None);
    row("exactly the limit", maj + QByteArray(MaxResultsStoreBytes - maj.size(), ' '), StoreProblem::None);
    row("empty", {}, StoreProblem::NoDate);
    row("a date that is not one", "[Maj]\r\nMaj=x\r\n", StoreProblem::NoDate);
    row("only a comment", "; rien", StoreProblem::NoDate);
    row("half a section line", "[", StoreProblem::BadLine, 1);
    row("a web page", "<html><body>Maintenance</body></html>\r\n" + maj, StoreProblem::BadLine, 1);
    row("utf-8 mark", "\xEF\xBB\xBF" + r + maj, StoreProblem::BadLine, 1);
    row("empty key", maj + "=x\r\n", StoreProblem::BadLine, 3);
    row("key 12a4", r + "12a4=A|||||||B\r\n" + maj, StoreProblem::BadKey, 3, QStringLiteral("12a4"));
    row("superscript digits", "[Resultats]\r\n0\xB9\xB2\xB3=A|||||||B\r\n", StoreProblem::BadKey, 2,
        QStringLiteral("0¹²³"));
    row("second results section checked too", r + maj + "[RESULTATS]\r\nabcd=A|||||||B\r\n",
        StoreProblem::BadKey, 6, QStringLiteral("abcd"));
    row("seven fields", maj + "[Resultats]\r\n0100=A||||||B\r\n", StoreProblem::BadRecord, 4,
        QStringLiteral("0100"));
    row("nul byte", r + QByteArray("\0\0", 2), StoreProblem::NulByte, 3);
    row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), StoreProblem::ControlChar, 2);
    row("too large", maj + QByteArray(MaxResultsStoreBytes, ' '), StoreProblem::TooLarge);
}

void TestOnline::storeCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    const StoreCheck c = CheckResultsStore(bytes);
    QCOMPARE(int(c.problem), problem);
    QTEST(c.line, "line");
    QTEST(c.key, "key");
    QVERIFY(!c.frenchReason().isEmpty());
}

void TestOnline::fileChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("season");
    QTest::addColumn<bool>("donors");
    QFile season(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"));
    QVERIFY(season.open(QIODevice::ReadOnly));
    QTest::newRow("season file") << season.readAll() << true << true;
    QTest::newRow("donors") << QByteArray("<div class=\"titre\">Merci</div>\r\n") << false << true;
    QTest::newRow("empty") << QByteArray() << false << false;
    QTest::newRow("blank") << QByteArray(" \r\n\r\n") << false << false;
    QTest::newRow("error page") << QByteArray("<!DOCTYPE html><html><body>404</body></html>") << false
                                << false;
    QTest::newRow("binary") << QByteArray("EQU|\0\0", 6) << false << false;
}

void TestOnline::fileChecks()
{
    QFETCH(QByteArray, bytes);
    QTEST(LooksLikeSeasonFile(bytes), "season");
    QTEST(LooksLikeDonorsFile(bytes), "donors");
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

// What the automatic refresh tells: a score that came or changed, never cards alone nor half a score.
void TestOnline::newResults_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("new result") << "" << "H||1|2|1|2||B" << QStringList{"Lens 2 - 1 Marseille"};
    QTest::newRow("score corrected") << "H||1|2|1|2||B" << "H||1|2|2|2||B" << QStringList{"Lens 2 - 2 Marseille"};
    QTest::newRow("cards only") << "H||1|2|1|2||B" << "H|1|3|2|1|2||B" << QStringList{};
    QTest::newRow("same") << "H||1|2|1|2||B" << "H||1|2|1|2||B" << QStringList{};
    QTest::newRow("half a score") << "" << "H||1|2|||B" << QStringList{};
    QTest::newRow("not played") << "" << "H||1|-|-||B" << QStringList{};
    QTest::newRow("result withdrawn") << "H||1|2|1|2||B" << "H||1|-|-||B" << QStringList{};
}

void TestOnline::newResults()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QStringList, lines);
    SeasonData season;
    QVERIFY(LoadSeasonFile(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), season));
    auto store = [](const QString &record) {
        return IniSnapshot::fromBytes("[Resultats]\r\n0100=R||3|0|1||0|D\r\n"
                                      + (record.isEmpty() ? QByteArray() : "1301=" + record.toLatin1() + "\r\n"));
    };
    QStringList found;
    for (const NewResult &r : NewResults(season, store(before), store(after))) {
        QCOMPARE(r.matchday, 13);
        found << r.line();
    }
    QCOMPARE(found, lines);
}

QTEST_GUILESS_MAIN(TestOnline)
#include "tst_online.moc"

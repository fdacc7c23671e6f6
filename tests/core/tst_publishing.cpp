// The editor's publishing frame, driven through the controller: no transfer happens here (the
// upload itself is the site's business and is tested against the real site).
#include "TestProgram.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "window/MainController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

using namespace kestrava;
using namespace kestrava::test;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);
const QDateTime december6 = QDateTime(QDate(2026, 12, 6), QTime(8, 0));

// The program with a downloader (so that the online buttons exist) that must never be used here.
struct Program : TestProgram
{
    ForbiddenDownloader forbidden;
    Program()
    {
        downloader = &forbidden;
        setSiteBase(QStringLiteral("http://127.0.0.1:9/"));
    }
    QString read(const QString &section, const QString &key) const { return ReadIni(storePath(), section, key); }
};

} // namespace

class TestPublishing : public QObject
{
    Q_OBJECT
private slots:
    void openTheFrame();
    void introFilterAndPreview();
    void versionBoxEditableOnDoubleClick();
    void insertBonus_data();
    void insertBonus();
    void sendNeedsPseudoAndPassword_data();
    void sendNeedsPseudoAndPassword();
    void send();
    void datedCopy();
    void links();
};

void TestPublishing::openTheFrame()
{
    Program p;
    MainController &c = p.start();
    QVERIFY(c.buttons().button(13).built);
    QVERIFY(!c.buttons().isShown(13)); // only the editor sees it
    c.clickButton(13);
    QVERIFY(c.publishing().model().visible);
    QCOMPARE(c.publishing().model().teams.size(), 18);
    QCOMPARE(c.publishing().model().bonusLines, QStringList{QStringLiteral("Paris FC: [-1]")});
    QCOMPARE(c.publishing().model().versionText, QStringLiteral("1.0"));
    QCOMPARE(c.publishing().model().ownVersion, QStringLiteral("1.0"));
    QVERIFY(c.publishing().model().introText.startsWith(QStringLiteral("Bienvenue")));
    QVERIFY(c.download().news().visible);
    QVERIFY(!c.download().news().columnTitles);
    // Reopened, the frame asks for the team again: "Insérer" alone writes for nobody.
    c.publishing().chooseBonusTeam(QStringLiteral("Lens"));
    c.clickButton(Btn::ClosePublishing);
    c.clickButton(Btn::SendFile); // twice: each team once
    QCOMPARE(c.publishing().model().teams.size(), 18);
    QVERIFY(c.publishing().model().chosenTeam.isEmpty());
    c.publishing().editBonusPoints(QStringLiteral("5"));
    c.clickButton(Btn::InsertBonus);
    QVERIFY(p.read(QStringLiteral("BonMal"), QStringLiteral("A")).isEmpty());
    c.clickButton(Btn::ClosePublishing);
    QVERIFY(!c.publishing().model().visible);
    QCOMPARE(p.forbidden.calls, 0);
}

void TestPublishing::introFilterAndPreview()
{
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.publishing().editIntroText(QStringLiteral("Journée décalée à cause de la Coupe. Équipe"));
    QCOMPARE(c.publishing().model().introText, QStringLiteral("Journee decalee a cause de la Coupe. Équipe"));
    QCOMPARE(c.download().news().text, c.publishing().model().introText);
}

void TestPublishing::versionBoxEditableOnDoubleClick()
{
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.publishing().editVersionText(QStringLiteral("1.1"));
    QCOMPARE(c.publishing().model().versionText, QStringLiteral("1.0"));
    c.publishing().doubleClickVersion();
    c.publishing().editVersionText(QStringLiteral("1.1"));
    QCOMPARE(c.publishing().model().versionText, QStringLiteral("1.1"));
}

void TestPublishing::insertBonus_data()
{
    QTest::addColumn<QString>("team");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("3.7 keeps 3") << "Lens" << "3.7" << "3"
                                 << QStringList{QStringLiteral("Lens: [3]"), QStringLiteral("Paris FC: [-1]")};
    QTest::newRow("-2.5 gives -3") << "Lens" << "-2.5" << "-3"
                                   << QStringList{QStringLiteral("Lens: [-3]"), QStringLiteral("Paris FC: [-1]")};
    QTest::newRow("empty removes") << "Paris FC" << "" << "0" << QStringList{};
    QTest::newRow("replaces, not adds") << "Paris FC" << "-4" << "-4" << QStringList{QStringLiteral("Paris FC: [-4]")};
}

void TestPublishing::insertBonus()
{
    QFETCH(QString, team);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.publishing().chooseBonusTeam(team);
    c.publishing().editBonusPoints(typed);
    c.clickButton(30);
    const QString letter = c.season().TeamLetterOf(team);
    QCOMPARE(p.read(QStringLiteral("BonMal"), letter), stored);
    QTEST(c.publishing().model().bonusLines, "lines");
    // The table counts it at once.
    int row = -1;
    for (int r = 0; r < 18; ++r)
        if (c.standings().table().cell(r, TableColumn::Name).text == team)
            row = r;
    QVERIFY(row >= 0);
    const double expected = team == u"Lens" ? 32 + stored.toInt() : 13 + 1 + stored.toInt();
    QCOMPARE(ValueOf(c.standings().table().cell(row, TableColumn::Points).text), expected);
}

void TestPublishing::sendNeedsPseudoAndPassword_data()
{
    QTest::addColumn<QString>("pseudo");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("no pseudo") << "" << "secret" << "Pseudo ??";
    QTest::newRow("no password") << "Editeur" << "" << "Mot De Passe ??";
}

void TestPublishing::sendNeedsPseudoAndPassword()
{
    QFETCH(QString, pseudo);
    QFETCH(QString, password);
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.session().pseudo = pseudo;
    c.session().password = password;
    c.matchdays().editGoals(0, GoalsBox::Home, QStringLiteral("9")); // the rows are saved all the same
    c.clickButton(Btn::Send);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QTEST(p.dialogs.shown[0].text, "message");
    QCOMPARE(p.read(QStringLiteral("Resultats"), c.matchdays().grid().row(0).key).split(u'|').value(3), QStringLiteral("9"));
    QVERIFY(p.shell.opened.isEmpty() && p.clipboard.text.isEmpty());
}

void TestPublishing::send()
{
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.session().pseudo = QStringLiteral("Jean & Co");
    c.session().password = QStringLiteral("p@ss wörd");
    c.publishing().editIntroText(QStringLiteral("Dernière journée à jouer"));
    c.publishing().doubleClickVersion();
    c.publishing().editVersionText(QStringLiteral("1.1"));
    c.clickButton(14);
    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(p.read(QStringLiteral("Pseudo"), QStringLiteral("Pseudo")), QStringLiteral("Jean & Co"));
    QCOMPARE(p.read(QStringLiteral("Texte"), QStringLiteral("Texte")), QStringLiteral("Derniere journee a jouer"));
    QCOMPARE(p.read(QStringLiteral("CV"), QStringLiteral("CV")), QStringLiteral("1.1"));
    QCOMPARE(p.read(QStringLiteral("Maj"), QStringLiteral("Maj")), FormatMaj(december6));
    // The password stays on this computer.
    QVERIFY(p.read(QStringLiteral("MDP"), QStringLiteral("MDP")).isEmpty());
    QFile f(p.storePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.readAll().contains("p@ss"));
    QCOMPARE(p.settings.read(QStringLiteral("MDP"), QStringLiteral("MDP"), QString()), QStringLiteral("p@ss wörd"));
    QCOMPARE(p.clipboard.text, QDir::toNativeSeparators(p.storePath()));
    QCOMPARE(p.shell.opened.size(), 1);
    const QUrl url = p.shell.opened[0];
    QCOMPARE(url.path(), QStringLiteral("/Vantor2027/EXPEL1.php"));
    const QUrlQuery query(url);
    QCOMPARE(query.queryItemValue(QStringLiteral("pseudo"), QUrl::FullyDecoded), QStringLiteral("Jean & Co"));
    QCOMPARE(query.queryItemValue(QStringLiteral("mdp"), QUrl::FullyDecoded), QStringLiteral("p@ss wörd"));
    QVERIFY(!c.publishing().model().visible);
    QVERIFY(!c.buttons().button(13).visible);
}

void TestPublishing::datedCopy()
{
    Program p;
    MainController &c = p.start();
    c.clickButton(13);
    c.clickButton(32);
    const QString copy = QDir(p.dir.path()).filePath(QStringLiteral("Resultats2027-061226.ini"));
    QVERIFY(QFile::exists(copy));
    QFile a(copy), b(p.storePath());
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestPublishing::links()
{
    Program p;
    MainController &c = p.start();
    c.clickButton(7);
    c.donors().clickDonation();
    c.donors().clickHomeLink();
    c.donors().clickContactLink();
    c.publishing().clickStoreLabel();
    QCOMPARE(p.shell.opened.size(), 5);
    QCOMPARE(p.shell.opened[0].toString(), QStringLiteral("http://127.0.0.1:9/Vantor2027/aide/"));
    QCOMPARE(p.shell.opened[1].toString(), QStringLiteral("http://127.0.0.1:9/Vantor2027/donation.php"));
    QCOMPARE(p.shell.opened[2].toString(), QStringLiteral("http://127.0.0.1:9/"));
    const QUrlQuery contact(p.shell.opened[3]);
    QCOMPARE(contact.queryItemValue(QStringLiteral("sub"), QUrl::FullyDecoded),
             QStringLiteral(" Ligue 1 (2026 - 2027) Version 1.0"));
    QCOMPARE(p.shell.opened[4], QUrl::fromLocalFile(p.storePath()));
}

QTEST_GUILESS_MAIN(TestPublishing)
#include "tst_publishing.moc"

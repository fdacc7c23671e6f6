// The online paths of the program against the real site on 127.0.0.1: the editor publishes, a
// supporter downloads, and every failure leaves the local files whole with the program's message.
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "TestProgram.h"
#include "platform/Text.h"
#include "window/MainController.h"

#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

QByteArray DemoStore()
{
    return ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
}

// One copy of the program in its own folder, with the real downloader.
struct Program : TestProgram
{
    NetworkDownloader network{1500};
    Program(const QString &siteBase, Store store)
        : TestProgram(store)
    {
        downloader = &network;
        setSiteBase(siteBase);
    }
    QStringList tableRows()
    {
        QStringList rows;
        for (int r = 0; r < TeamCount; ++r) {
            QStringList cells;
            for (int c = 0; c < ColumnCount; ++c)
                cells << controller->standings().table().cell(r, TableColumn(c)).text;
            rows << cells.join(u'|');
        }
        return rows;
    }
};

QString Base(const QTcpServer &server)
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
}

} // namespace

class TestOnlineFlow : public QObject
{
    Q_OBJECT

    DemoSite m_site;
    QNetworkAccessManager m_nam;

    QString base() const { return m_site.base(); }
    QString published(const QString &name) const { return m_site.published(name); }
    QByteArray publishedStore() const { return ReadFileBytes(published(QStringLiteral("Resultats2027.ini"))); }
    void publish(const QByteArray &store) { QVERIFY(WriteFileBytes(published(QStringLiteral("Resultats2027.ini")), store)); }

private slots:
    void initTestCase()
    {
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        m_nam.setProxy(QNetworkProxy::NoProxy);
        QByteArray log;
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &log), log.constData());
    }

    void cleanupTestCase()
    {
        m_site.stop();
    }

    void init()
    {
        // Every test starts from the demo site.
        QVERIFY(m_site.reset(DataDir));
    }

    void editorPublishesSupporterDownloads()
    {
        Program editor(base(), Program::Demo);
        editor.settings.write(QStringLiteral("Pseudo"), QStringLiteral("Pseudo"), QStringLiteral("Editeur"));
        editor.settings.write(QStringLiteral("MDP"), QStringLiteral("MDP"), QStringLiteral("kestrava"));
        MainController &a = editor.start();
        a.matchdays().showMatchday(14);
        a.matchdays().editGoals(0, GoalsBox::Home, QStringLiteral("5"));
        a.matchdays().editGoals(0, GoalsBox::Away, QStringLiteral("0"));
        a.matchdays().editCard(0, CardBox::AwayRed, QStringLiteral("1"));
        a.clickButton(13);
        a.publishing().editIntroText(QStringLiteral("Journée 14 à jour"));
        a.clickButton(14);
        QVERIFY2(editor.dialogs.shown.isEmpty(), qPrintable(editor.dialogs.shown.value(0).text));
        QCOMPARE(editor.shell.opened.size(), 1);
        QCOMPARE(editor.clipboard.text, QDir::toNativeSeparators(editor.storePath()));

        // The form of the page the browser opens, posted with the file from the clipboard path.
        const QUrl uploadPage = editor.shell.opened[0];
        auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"fichier\"; filename=\"Resultats2027.ini\""));
        part.setBody(ReadFileBytes(editor.clipboard.text));
        multi->append(part);
        QNetworkReply *reply = m_nam.post(QNetworkRequest(uploadPage), multi);
        multi->setParent(reply);
        QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(10000));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        reply->deleteLater();
        QCOMPARE(publishedStore(), ReadFileBytes(editor.storePath()));

        Program supporter(base(), Program::Empty);
        MainController &b = supporter.start();
        b.clickButton(9);
        QVERIFY2(supporter.dialogs.shown.isEmpty(), qPrintable(supporter.dialogs.shown.value(0).text));
        QCOMPARE(supporter.tableRows(), editor.tableRows());
        QCOMPARE(b.standings().table().lastUpdate(), a.standings().table().lastUpdate());
        QCOMPARE(b.standings().table().lastUpdateTooltip(), QStringLiteral("Editeur"));
        QCOMPARE(b.standings().table().lastUpdateColour(), (Rgb{0, 192, 0}));
        QCOMPARE(b.download().news().text, QStringLiteral("Journee 14 a jour"));
        QVERIFY(b.download().news().visible);
        QVERIFY(!QFile::exists(supporter.path(QStringLiteral("Resultats2027.BU"))));

        // One download per run: a second click fetches nothing, even when the site has changed.
        const QByteArray first = supporter.storeBytes();
        QVERIFY(b.download().downloadDone());
        publish(first + "[Texte]\r\nTexte=change\r\n");
        b.clickButton(9);
        QCOMPARE(supporter.storeBytes(), first);
        QVERIFY(supporter.dialogs.shown.isEmpty());
    }

    void failuresKeepTheLocalStore_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("site down") << "down";
        QTest::newRow("file missing: 404") << "404";
        QTest::newRow("an error page instead of a store") << "html";
        QTest::newRow("an empty answer") << "empty";
    }

    void failuresKeepTheLocalStore()
    {
        QFETCH(QString, failure);
        // Servers that answer badly are tst_download's; here, what the user sees.
        QString siteBase = base();
        if (failure == u"down") {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            siteBase = Base(probe);
        } else if (failure == u"404") {
            QFile::remove(published(QStringLiteral("Resultats2027.ini")));
        } else if (failure == u"html" || failure == u"empty") {
            publish(failure == u"html" ? "<html><body>Maintenance</body></html>" : "");
        }
        Program p(siteBase, Program::Demo);
        const QByteArray before = ReadFileBytes(p.storePath());
        MainController &c = p.start();
        const QStringList table = p.tableRows();
        c.clickButton(9);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].text, QStringLiteral("Erreur de connexion !"));
        QCOMPARE(ReadFileBytes(p.storePath()), before);
        QVERIFY(!QFile::exists(p.path(QStringLiteral("Resultats2027.BU"))));
        QCOMPARE(p.tableRows(), table);
    }

    // "Adresse de l'éditeur" in "Configuration": the address is kept only when the site serves a
    // season file there, and then every download goes to it. An installed program without one asks
    // nothing of any site and says where to give it.
    void publisherAddress_data()
    {
        QTest::addColumn<QString>("typed");     // "@" the site's address without its last "/", "#" a port where nothing listens
        QTest::addColumn<bool>("installed");    // no address saved before (else one where nothing listens)
        QTest::addColumn<QString>("published"); // what the site serves as the season file ("": the real one)
        QTest::addColumn<QString>("message");   // how the message starts
        QTest::newRow("the site, \"/\" added") << "@" << false << "" << "L'adresse de l'éditeur est enregistrée : @/";
        QTest::newRow("first address of an installed program")
            << " @/ " << true << "" << "L'adresse de l'éditeur est enregistrée : @/";
        QTest::newRow("nothing listens") << "#" << false << "" << "Rien ne répond à l'adresse #/Vantor2027/L12027.txt";
        QTest::newRow("a page, not a season file")
            << "@" << false << "<html><body>Bienvenue</body></html>" << "La réponse de @/Vantor2027/L12027.txt n'est pas";
        QTest::newRow("a query in it") << "@/?x=1" << false << "" << "« @/?x=1 » n'est pas une adresse";
    }
    void publisherAddress()
    {
        QFETCH(QString, typed);
        QFETCH(bool, installed);
        QFETCH(QString, published);
        QFETCH(QString, message);
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const QString dead = Base(probe);
        probe.close();
        for (QString *text : { &typed, &message })
            text->replace(u'@', base().chopped(1)).replace(u'#', dead.chopped(1));
        QVERIFY(published.isEmpty() || WriteFileBytes(this->published(QStringLiteral("L12027.txt")), published.toUtf8()));
        const bool accepted = message.startsWith(QStringLiteral("L'adresse de l'éditeur est enregistrée"));

        // The address in use before: nothing answers there either, and it differs from any typed.
        const QString old = dead + QStringLiteral("ancien/"), before = installed ? QString() : old;
        Program p(installed ? QString() : old, installed ? Program::None : Program::Empty);
        // An installed program would download at launch.
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QString::number(int(installed)));
        MainController &c = p.make();
        c.session().inUserDataFolder = installed;
        QVERIFY(c.start());
        if (installed) {
            QVERIFY(p.dialogs.shown.isEmpty()); // neither the download at launch nor the offer of one
            QCOMPARE(c.download().news().text, NoSiteAddressAdvice);
            c.clickButton(Btn::Update);
            QCOMPARE(p.dialogs.shown.value(0).text, NoSiteAddressAdvice);
            QVERIFY(!QFile::exists(p.storePath()));
        }
        c.clickButton(Btn::Options);
        c.options().editSiteAddress(typed);
        p.dialogs.shown.clear();
        c.clickButton(Btn::CheckSiteAddress);
        QCOMPARE(p.dialogs.shown.size(), 1);
        const QString said = p.dialogs.shown[0].text, saved = accepted ? base() : before;
        QVERIFY2(said.startsWith(message), qPrintable(said));
        QCOMPARE(p.settings.read(QStringLiteral("Site"), QStringLiteral("Base"), QString()), saved);
        QCOMPARE(c.options().model().siteAddress, saved);
        QVERIFY(c.options().model().visible); // the answer comes in the panel it was typed in
        if (!accepted) {
            const QString kept = installed ? QStringLiteral("Aucune adresse n'est enregistrée.")
                                           : QStringLiteral("L'adresse enregistrée reste ") + old;
            QVERIFY2(said.endsWith(kept), qPrintable(said));
            return;
        }
        // The advice to give an address goes, and the next "Mise à Jour" fetches from the new one.
        QVERIFY(c.download().news().text != NoSiteAddressAdvice);
        c.clickButton(Btn::Update);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.storeBytes(), publishedStore());
    }

    void newerVersion_data()
    {
        QTest::addColumn<QByteArray>("cv");
        QTest::addColumn<bool>("yes");
        QTest::newRow("no: the run goes on") << QByteArray("1.1") << false;
        QTest::newRow("yes: the page opens and the program ends") << QByteArray("1.1") << true;
        QTest::newRow("1.10 is no version: no question") << QByteArray("1.10") << true;
    }

    void newerVersion()
    {
        QFETCH(QByteArray, cv);
        QFETCH(bool, yes);
        publish(DemoStore().replace("CV=1.0", "CV=" + cv));
        Program p(base(), Program::Demo);
        MainController &c = p.start();
        QSignalSpy quit(&c, &MainController::quitRequested);
        p.dialogs.yesNoAnswers.append(yes);
        c.clickButton(9);
        if (cv.size() > 3) {
            QVERIFY(p.dialogs.shown.isEmpty());
            QCOMPARE(quit.count(), 0);
            return;
        }
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Kestrava Version 1.1"));
        QCOMPARE(p.dialogs.shown[0].text,
                 QStringLiteral("Une version plus récente du logiciel est disponible, voulez vous la télécharger ?"));
        QCOMPARE(quit.count(), yes ? 1 : 0);
        QCOMPARE(p.shell.opened.size(), yes ? 1 : 0);
        if (yes)
            QCOMPARE(p.shell.opened[0].path(), QStringLiteral("/Vantor2027/index.php"));
        else
            QCOMPARE(c.standings().table().cell(0, TableColumn::Name).text, QStringLiteral("Lens"));
    }

    // Oui at start-up ends the program there: nothing more is asked, and the window is never shown.
    void newerVersionAtStartUp()
    {
        publish(DemoStore().replace("CV=1.0", "CV=1.1"));
        Program p(base(), Program::Demo);
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QStringLiteral("1"));
        p.dialogs.yesNoAnswers.append(true);
        MainController &c = p.start();
        QVERIFY(c.quitting() && !c.splash().visible);
        QCOMPARE(p.dialogs.shown.size(), 1);
        const int writes = p.settings.writeCount();
        c.close();
        QCOMPARE(p.settings.writeCount(), writes);
    }

    void seasonFile_data()
    {
        QTest::addColumn<QByteArray>("announced");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<int>("messages");
        QTest::newRow("same version: nothing") << QByteArray("1") << false << false << 0;
        QTest::newRow("newer: fetched") << QByteArray("3") << false << true << 0;
        QTest::newRow("newer but missing on the site") << QByteArray("3") << true << false << 1;
    }

    void seasonFile()
    {
        QFETCH(QByteArray, announced);
        QFETCH(bool, missing);
        QFETCH(bool, replaced);
        publish(DemoStore().replace("VersionEQU=1", "VersionEQU=" + announced));
        QByteArray newSeason = ReadFileBytes(DataDir + QStringLiteral("/2027.txt")).replace("VERSION|1", "VERSION|3");
        if (missing)
            QFile::remove(published(QStringLiteral("L12027.txt")));
        else
            QVERIFY(WriteFileBytes(published(QStringLiteral("L12027.txt")), newSeason));
        Program p(base(), Program::Empty);
        const QByteArray before = ReadFileBytes(p.path(QStringLiteral("2027.txt")));
        MainController &c = p.start();
        c.clickButton(9);
        QTEST(int(p.dialogs.shown.size()), "messages");
        if (!p.dialogs.shown.isEmpty())
            QCOMPARE(p.dialogs.shown[0].text, QStringLiteral("Mise a jour incomplete"));
        QCOMPARE(ReadFileBytes(p.path(QStringLiteral("2027.txt"))), replaced ? newSeason : before);
        // The running program keeps the season it loaded; the results came all the same.
        QCOMPARE(c.season().dataVersion, qint16(1));
        QCOMPARE(ReadFileBytes(p.storePath()), publishedStore());
    }

    void automaticUpdateAtStart()
    {
        Program p(base(), Program::Demo);
        // An old local store, which the automatic update refreshes before the staleness check.
        QVERIFY(SetModified(p.storePath(), December6.addDays(-30)));
        publish(DemoStore().replace("Maj=05", "Maj=06"));
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QStringLiteral("1"));
        MainController &c = p.start();
        QVERIFY(c.download().downloadDone());
        QVERIFY(!c.stalenessPromptDue());
        QVERIFY(p.dialogs.shown.isEmpty());
        QCOMPARE(ReadFileBytes(p.storePath()), publishedStore());
    }

    void stalenessQuestion()
    {
        Program p(base(), Program::None); // no store at all counts as old
        p.dialogs.yesNoAnswers.append(true);
        MainController &c = p.start();
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].title, QStringLiteral("Mise à jour"));
        QVERIFY(p.dialogs.shown[0].text.startsWith(
            QStringLiteral("Les données enregistrées sur cet ordinateur sont datées de plus de 10 jours,\r\n")));
        QVERIFY(p.dialogs.shown[0].text.endsWith(QStringLiteral("sur le bouton ''Mise à jour''.")));
        QVERIFY(c.download().downloadDone());
        QCOMPARE(c.standings().table().cell(0, TableColumn::Name).text, QStringLiteral("Lens"));
    }

    void donors()
    {
        Program p(base(), Program::Demo);
        MainController &c = p.start();
        c.clickButton(16);
        QVERIFY(c.donors().model().visible && c.donors().model().running);
        QCOMPARE(c.donors().model().entries.size(), 6);
        QCOMPARE(ReadFileBytes(p.path(QStringLiteral("don.L1"))), ReadFileBytes(published(QStringLiteral("don.L1"))));
        // Opening a team's season closes the panel and stops the ticker.
        c.standings().clickTableRow(3);
        QVERIFY(!c.donors().model().visible && !c.donors().model().running);

        // A fresh local file (11 hours) is used as it is, even when the site has another list.
        QVERIFY(WriteFileBytes(published(QStringLiteral("don.L1")), "<div class=\"titre\">Autre liste</div>\r\n"));
        const QString local = p.path(QStringLiteral("don.L1"));
        QVERIFY(SetModified(local, December6.addSecs(-11 * 3600)));
        c.clickButton(16);
        QCOMPARE(c.donors().model().entries.size(), 6);
        c.clickButton(16);
        // Thirteen hours: fetched again.
        QVERIFY(SetModified(local, December6.addSecs(-13 * 3600)));
        c.clickButton(16);
        QCOMPARE(c.donors().model().entries, QStringList{QStringLiteral("Autre liste$")});

        // The site gone: the list stays, the ticker stays stopped, the local file whole.
        QFile::remove(published(QStringLiteral("don.L1")));
        QVERIFY(SetModified(local, December6.addDays(-2)));
        c.clickButton(17);
        c.clickButton(16);
        QCOMPARE(c.donors().model().entries, QStringList{QStringLiteral("Autre liste$")});
        QVERIFY(!c.donors().model().running);
        QVERIFY(QFile::exists(local));
    }

    void fridayRefresh()
    {
        Program p(base(), Program::Demo);
        const QDateTime friday(QDate(2026, 12, 4), QTime(19, 0));
        p.clock.set(friday);
        MainController &c = p.start();
        QVERIFY(c.donors().model().visible);
        QCOMPARE(c.donors().model().entries.size(), 6);
        QCOMPARE(p.settings.read(QStringLiteral("data"), QStringLiteral("Vset"), QString()), FormatStamp(friday));
        // A second launch the same evening does not refresh again.
        QFile::remove(p.path(QStringLiteral("don.L1")));
        p.clock.set(friday.addSecs(3600));
        MainController &again = p.start();
        QVERIFY(!again.donors().model().visible);
        QVERIFY(!QFile::exists(p.path(QStringLiteral("don.L1"))));
    }

    void commandLineUpdate()
    {
        Program p(base(), Program::Empty);
        QProcess cli;
        auto update = [&] {
            cli.start(QStringLiteral(KESTRAVA_CLI),
                      {QStringLiteral("update"), QStringLiteral("--dir"), p.dir.path(), QStringLiteral("--site"), base()});
            return cli.waitForFinished(20000) ? cli.exitCode() : -1;
        };
        QCOMPARE(update(), 0);
        QVERIFY(QString::fromUtf8(cli.readAllStandardOutput()).contains(QStringLiteral("Mise à jour: 05 déc. 21:40 (Editeur)")));
        QCOMPARE(ReadFileBytes(p.storePath()), publishedStore());

        // Asked again with the validators kept beside the store: a 304, and nothing written.
        const QDateTime written = QFileInfo(p.storePath()).lastModified();
        QTest::qWait(20);
        QCOMPARE(update(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), QStringLiteral("Aucun changement\n"));
        QCOMPARE(QFileInfo(p.storePath()).lastModified(), written);

        QFile::remove(published(QStringLiteral("Resultats2027.ini")));
        const QByteArray before = ReadFileBytes(p.storePath());
        QCOMPARE(update(), 4);
        QVERIFY(QString::fromUtf8(cli.readAllStandardError()).startsWith(QStringLiteral("Erreur de connexion !")));
        QCOMPARE(ReadFileBytes(p.storePath()), before);
    }
};

QTEST_GUILESS_MAIN(TestOnlineFlow)
#include "tst_online_flow.moc"

// nginx (Debian's nginx-light) in front of the real kestrava-site, with the shipped
// site/nginx/kestrava.conf, both on free ports of 127.0.0.1: the files as nginx sends them, the
// program's two download paths and the upload page in a real browser (headless Chromium driven
// by tests/browser/upload.mjs) through it, and the limit on wrong passwords counting each client
// behind it. Exits 77 (skipped) when nginx is not installed.
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "RawHttp.h"
#include "TestProgram.h"
#include "window/MainController.h"

#include <QNetworkProxyFactory>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <unistd.h>

#include <cstdio>

using namespace kestrava;
using namespace kestrava::test;

namespace {

QString NginxProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("nginx"), { QStringLiteral("/usr/sbin") });
}

quint16 FreePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

} // namespace

class TestSiteNginx : public QObject
{
    Q_OBJECT

    DemoSite m_site;
    QTemporaryDir m_nginxDir;
    QProcess m_nginx;
    quint16 m_port = 0; // nginx's
    QByteArray m_siteLog;

    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    QByteArray publishedStore() const
    {
        return ReadFileBytes(m_site.published(QStringLiteral("Resultats2027.ini")));
    }

    // The shipped configuration with this test's three values: nginx's address, the site folder
    // and kestrava-site's port.
    bool writeConfiguration(quint16 sitePort)
    {
        QByteArray conf = ReadFileBytes(QStringLiteral(KESTRAVA_NGINX_CONF));
        const std::pair<QByteArray, QByteArray> values[] = {
            { "listen 80;", "listen 127.0.0.1:" + QByteArray::number(m_port) + ';' },
            { "root /srv/kestrava;", "root " + QFile::encodeName(m_site.root()) + ';' },
            { "server 127.0.0.1:8027;", "server 127.0.0.1:" + QByteArray::number(sitePort) + ';' },
        };
        for (const auto &[from, to] : values) {
            if (conf.count(from) != 1)
                return false;
            conf.replace(from, to);
        }
        // Root's workers would run as "nobody", who may not read a private temporary folder.
        const QString main
            = QStringLiteral(R"(%1daemon off;
worker_processes 1;
pid %2/nginx.pid;
events { worker_connections 256; }
http {
    access_log off;
    client_body_temp_path %2/body;
    proxy_temp_path %2/proxy;
    fastcgi_temp_path %2/fastcgi;
    uwsgi_temp_path %2/uwsgi;
    scgi_temp_path %2/scgi;
    include %2/kestrava.conf;
}
)")
                  .arg(geteuid() == 0 ? QStringLiteral("user root root;\n") : QString(), m_nginxDir.path());
        return WriteFileBytes(m_nginxDir.filePath(QStringLiteral("kestrava.conf")), conf)
            && WriteFileBytes(m_nginxDir.filePath(QStringLiteral("nginx.conf")), main.toUtf8());
    }

    // Waits up to `ms` for kestrava-site's log to satisfy `done`.
    bool siteLogUntil(const std::function<bool()> &done, int ms)
    {
        return QTest::qWaitFor(
            [&] {
                m_siteLog += m_site.readLog();
                return done();
            },
            ms);
    }

private slots:
    void initTestCase()
    {
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &m_siteLog), m_siteLog.constData());
        QVERIFY(m_site.reset(DataDir));
        m_port = FreePort();
        QVERIFY(m_port != 0);
        QVERIFY2(
            writeConfiguration(m_site.port()), "site/nginx/kestrava.conf lacks one of the values set here");
        m_nginx.setProcessChannelMode(QProcess::MergedChannels);
        m_nginx.start(NginxProgram(),
            { QStringLiteral("-p"), m_nginxDir.path(), QStringLiteral("-c"),
                m_nginxDir.filePath(QStringLiteral("nginx.conf")), QStringLiteral("-e"),
                m_nginxDir.filePath(QStringLiteral("error.log")) });
        QVERIFY(m_nginx.waitForStarted(5000));
        const bool up = QTest::qWaitFor(
            [&] {
                return SendRaw(m_port, "GET /Vantor2027/don.L1 HTTP/1.0\r\n\r\n")
                    .answer.startsWith("HTTP/1.1 200");
            },
            5000);
        QVERIFY2(up,
            (m_nginx.readAll() + ReadFileBytes(m_nginxDir.filePath(QStringLiteral("error.log"))))
                .constData());
    }

    void cleanupTestCase()
    {
        m_nginx.terminate();
        if (!m_nginx.waitForFinished(3000))
            m_nginx.kill();
        m_site.stop();
    }

    void filesGoOutWhole_data()
    {
        QTest::addColumn<bool>("front");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("source");
        for (const bool front : { true, false }) {
            const char *via = front ? " through nginx" : " from the site";
            QTest::addRow("results%s", via) << front << QByteArray("/Vantor2027/Resultats2027.ini")
                                            << QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini");
            QTest::addRow("season%s", via) << front << QByteArray("/Vantor2027/L12027.txt")
                                           << QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt");
            QTest::addRow("donors%s", via) << front << QByteArray("/Vantor2027/don.L1")
                                           << QStringLiteral(KESTRAVA_DATA_DIR "/demo/don.L1");
        }
    }

    void filesGoOutWhole()
    {
        QFETCH(bool, front);
        QFETCH(QByteArray, path);
        QFETCH(QString, source);
        const QByteArray expected = ReadFileBytes(source);
        const quint16 port = front ? m_port : m_site.port();
        // HEAD announces the length without the body.
        const Exchange head = SendRaw(port, "HEAD " + path + " HTTP/1.0\r\n\r\n");
        QCOMPARE(head.header("Content-Length"), QByteArray::number(expected.size()));
        QVERIFY(head.body().isEmpty());
        // As a browser would ask: compression and a range are offered, and refused.
        const Exchange e = SendRaw(port,
            "GET " + path
                + " HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip, br\r\nRange: bytes=0-9\r\nConnection: "
                  "close\r\n\r\n");
        QVERIFY2(e.answer.startsWith("HTTP/1.1 200"), e.answer.left(300).constData());
        QCOMPARE(e.body(), expected);
        QCOMPARE(e.header("Content-Length"), QByteArray::number(expected.size()));
        QVERIFY(e.header("Content-Encoding").isEmpty() && e.header("Transfer-Encoding").isEmpty());
        QCOMPARE(e.header("Cache-Control"), QByteArray("no-store"));
        QCOMPARE(e.header("Content-Type"), QByteArray("text/plain; charset=windows-1252"));
    }

    // Through nginx (the site's own answers have their rows in its test): the validators of a 200
    // bring a 304 without a body while the file is unchanged, and the whole file once it has changed.
    void conditionalRequests()
    {
        const quint16 port = m_port;
        const QString local = m_site.published(QStringLiteral("Resultats2027.ini"));
        const QByteArray original = ReadFileBytes(local);
        QVERIFY(SetModified(local, QDateTime::currentDateTime().addSecs(-3600)));
        const QByteArray get = "GET /Vantor2027/Resultats2027.ini HTTP/1.1\r\nHost: x\r\nConnection: close\r\n";
        const Exchange first = SendRaw(port, get + "\r\n");
        const QByteArray validators
            = "If-None-Match: " + first.header("ETag") + "\r\nIf-Modified-Since: " + first.header("Last-Modified") + "\r\n";
        QVERIFY(!first.header("ETag").isEmpty() && !first.header("Last-Modified").isEmpty());
        const Exchange again = SendRaw(port, get + validators + "\r\n");
        QVERIFY2(again.answer.startsWith("HTTP/1.1 304"), again.answer.left(300).constData());
        QVERIFY(again.body().isEmpty());
        QVERIFY(WriteFileBytes(local, ReadFileBytes(local) + "[Texte]\r\nTexte=nouveau\r\n"));
        const Exchange changed = SendRaw(port, get + validators + "\r\n");
        QVERIFY2(changed.answer.startsWith("HTTP/1.1 200"), changed.answer.left(300).constData());
        QCOMPARE(changed.body(), ReadFileBytes(local));
        QVERIFY(WriteFileBytes(local, original));
    }

    void onlyThePublishedFilesAndPages_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("help page") << QByteArray("/Vantor2027/index.php") << 200
                                   << QStringLiteral("Fichiers publiés");
        QTest::newRow("editors") << QByteArray("/editors.conf") << 404 << QString();
        QTest::newRow("kept copy") << QByteArray("/Vantor2027/Resultats2027.ini.1") << 404 << QString();
        QTest::newRow("encoded dots") << QByteArray("/Vantor2027/%2e%2e/editors.conf") << 404 << QString();
    }

    void onlyThePublishedFilesAndPages()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, status);
        QFETCH(QString, phrase);
        QVERIFY(WriteFileBytes(m_site.published(QStringLiteral("Resultats2027.ini.1")), "Editeur=kestrava"));
        const Exchange e
            = SendRaw(m_port, "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        QVERIFY2(
            e.answer.startsWith("HTTP/1.1 " + QByteArray::number(status)), e.answer.left(300).constData());
        QVERIFY(QString::fromUtf8(e.body()).contains(phrase));
        QVERIFY(!e.body().contains("Editeur=kestrava"));
    }

    void bothDownloadPaths()
    {
        TestProgram p(TestProgram::Empty);
        QProcess cli;
        cli.start(QStringLiteral(KESTRAVA_CLI),
            { QStringLiteral("update"), QStringLiteral("--dir"), p.dir.path(), QStringLiteral("--site"),
                base() });
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(p.storeBytes(), publishedStore());

        // "Mise à Jour" in the window's controller, with the real downloader.
        NetworkDownloader network { 3000 };
        TestProgram supporter(TestProgram::Empty);
        supporter.downloader = &network;
        supporter.setSiteBase(base());
        MainController &c = supporter.start();
        c.clickButton(9);
        QVERIFY2(supporter.dialogs.shown.isEmpty(), qPrintable(supporter.dialogs.shown.value(0).text));
        QCOMPARE(supporter.storeBytes(), publishedStore());
        QCOMPARE(c.standings().table().lastUpdateTooltip(), QStringLiteral("Editeur"));
    }

    void browserUpload()
    {
        const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
        const QString browserDir = QStringLiteral(KESTRAVA_BROWSER_DIR);
        if (node.isEmpty() || !QFile::exists(QStringLiteral("/usr/bin/chromium"))
            || !QFile::exists(browserDir + QStringLiteral("/node_modules/playwright-core")))
            QSKIP("Chromium, Node or playwright-core missing (scripts/setup ci --tests)");
        QFile::remove(m_site.published(QStringLiteral("Resultats2027.ini.1")));
        const QByteArray before = publishedStore();
        QByteArray store = before;
        store.replace("Pseudo=Editeur", "Pseudo=Editeur\r\n; par le navigateur, derrière nginx");
        const QString file = m_nginxDir.filePath(QStringLiteral("Resultats2027.ini"));
        QVERIFY(WriteFileBytes(file, store));
        QProcess browser;
        browser.setWorkingDirectory(browserDir);
        browser.start(node,
            { QStringLiteral("upload.mjs"),
                base() + QStringLiteral("Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=kestrava"), file });
        QVERIFY(browser.waitForFinished(60000));
        QCOMPARE(
            QString::fromUtf8(browser.readAllStandardOutput()).trimmed(), QStringLiteral("Fichier reçu"));
        QCOMPARE(publishedStore(), store);
        QCOMPARE(ReadFileBytes(m_site.published(QStringLiteral("Resultats2027.ini.1"))), before);
        // kestrava-site saw the browser's own address, passed on by nginx.
        QVERIFY(siteLogUntil(
            [&] { return m_siteLog.contains(" 127.0.0.1 POST /Vantor2027/EXPEL1.php 200"); }, 3000));
    }

    void guessesCountEachClient()
    {
        // Two clients behind nginx: nginx sees their addresses, kestrava-site sees only nginx.
        const QHostAddress guesser(QStringLiteral("127.0.0.2"));
        const QHostAddress editor(QStringLiteral("127.0.0.3"));
        const QByteArray store = publishedStore();
        // A body above the site's own limit never reaches it, and is refused in French.
        const Exchange tooLarge = SendRaw(m_port, UploadRequest("kestrava", QByteArray(400 * 1024, 'x')));
        QVERIFY2(tooLarge.answer.startsWith("HTTP/1.1 413"), tooLarge.answer.left(300).constData());
        QVERIFY(QString::fromUtf8(tooLarge.body()).contains(QStringLiteral("ne doit pas dépasser 256 Kio")));
        siteLogUntil([] { return false; }, 300);
        const qsizetype logged = m_siteLog.count("POST /Vantor2027/EXPEL1.php ");
        for (int i = 0; i < 5; ++i) {
            const Exchange e = SendRaw(m_port, UploadRequest("faux", store), guesser);
            QVERIFY2(e.answer.startsWith("HTTP/1.1 403"), e.answer.left(300).constData());
        }
        const Exchange locked = SendRaw(m_port, UploadRequest("faux", store), guesser);
        QVERIFY2(locked.answer.startsWith("HTTP/1.1 429"), locked.answer.left(300).constData());
        QCOMPARE(locked.header("Retry-After"), QByteArray("30"));
        QVERIFY(QString::fromUtf8(locked.body()).contains(QStringLiteral("réessayez dans 30 seconde(s)")));
        const Exchange right = SendRaw(m_port, UploadRequest("kestrava", store), editor);
        QVERIFY2(right.answer.startsWith("HTTP/1.1 200"), right.answer.left(300).constData());
        QVERIFY(siteLogUntil(
            [&] { return m_siteLog.contains("127.0.0.2 POST /Vantor2027/EXPEL1.php 429"); }, 3000));
        QVERIFY(m_siteLog.contains("adresse bloquée 30 s"));
        // A line for each of these seven requests, none with a password.
        QVERIFY(siteLogUntil(
            [&] { return m_siteLog.count("POST /Vantor2027/EXPEL1.php ") == logged + 7; }, 3000));
        QVERIFY(!m_siteLog.contains("faux") && !m_siteLog.contains("mdp="));

        // Straight to kestrava-site from another address, the header is the client's own word:
        // naming the locked address neither locks this client nor unlocks the guesser.
        const QByteArray forged
            = UploadRequest("kestrava", store)
                  .replace("Host: 127.0.0.1\r\n", "Host: 127.0.0.1\r\nX-Real-IP: 127.0.0.2\r\n");
        QVERIFY(SendRaw(m_site.port(), forged, editor).answer.startsWith("HTTP/1.1 200"));
        const QByteArray unlock
            = UploadRequest("kestrava", store)
                  .replace("Host: 127.0.0.1\r\n", "Host: 127.0.0.1\r\nX-Real-IP: 127.0.0.9\r\n");
        QVERIFY(SendRaw(m_port, unlock, guesser).answer.startsWith("HTTP/1.1 429"));
    }
};

int main(int argc, char *argv[])
{
    if (NginxProgram().isEmpty()) {
        std::puts("nginx manquant (scripts/setup ci --tests installe nginx-light) : test sauté");
        return 77;
    }
    QCoreApplication app(argc, argv);
    TestSiteNginx test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_site_nginx.moc"

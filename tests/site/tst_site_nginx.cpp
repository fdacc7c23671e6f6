// nginx (Debian's nginx-light) in front of the real kestrava-site, with the shipped
// site/nginx/kestrava.conf, both on free ports of 127.0.0.1: the files as nginx sends them, the
// program's two download paths and the browser's upload through it, and the limit on wrong
// passwords counting each client behind it. Exits 77 (skipped) when nginx is not installed.
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "TestProgram.h"
#include "window/MainController.h"

#include <QElapsedTimer>
#include <QNetworkProxyFactory>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
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

struct Exchange
{
    QByteArray answer;
    QByteArray head; // status line and headers
    QByteArray body;
};

// One request byte for byte from `from`, read until the server closes.
Exchange Send(quint16 port, const QByteArray &request, const QHostAddress &from = QHostAddress::LocalHost)
{
    Exchange e;
    QTcpSocket socket;
    if (!socket.bind(from))
        return e;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000))
        return e;
    socket.write(request);
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 10000) {
        socket.waitForReadyRead(50);
        e.answer += socket.readAll();
    }
    e.answer += socket.readAll();
    const qsizetype end = e.answer.indexOf("\r\n\r\n");
    e.head = e.answer.left(end + 2);
    e.body = end < 0 ? QByteArray() : e.answer.mid(end + 4);
    return e;
}

QByteArray Header(const QByteArray &head, const QByteArray &name)
{
    for (const QByteArray &line : head.split('\n')) {
        if (line.toLower().startsWith(name.toLower() + ':'))
            return line.mid(name.size() + 1).trimmed();
    }
    return {};
}

QByteArray UploadRequest(const QByteArray &password, const QByteArray &store)
{
    const QByteArray body = "--XyZ\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"R.ini\"\r\n\r\n"
        + store + "\r\n--XyZ--\r\n";
    return "POST /Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=" + password
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
          "Content-Type: multipart/form-data; boundary=XyZ\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
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
        const QByteArray dir = QFile::encodeName(m_nginxDir.path());
        // Root's workers would run as "nobody", who may not read a private temporary folder.
        const QByteArray user = geteuid() == 0 ? "user root root;\n" : "";
        const QByteArray main = user + "daemon off;\nworker_processes 1;\npid " + dir + "/nginx.pid;\nerror_log "
            + dir + "/error.log;\nevents { worker_connections 256; }\nhttp {\n    access_log off;\n"
            + "    client_body_temp_path " + dir + "/body;\n    proxy_temp_path " + dir
            + "/proxy;\n    fastcgi_temp_path " + dir + "/fastcgi;\n    uwsgi_temp_path " + dir
            + "/uwsgi;\n    scgi_temp_path " + dir + "/scgi;\n    include " + dir + "/kestrava.conf;\n}\n";
        return WriteFileBytes(m_nginxDir.filePath(QStringLiteral("kestrava.conf")), conf)
            && WriteFileBytes(m_nginxDir.filePath(QStringLiteral("nginx.conf")), main);
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
        QVERIFY2(writeConfiguration(m_site.port()), "site/nginx/kestrava.conf lacks one of the values set here");
        m_nginx.setProcessChannelMode(QProcess::MergedChannels);
        m_nginx.start(NginxProgram(),
            { QStringLiteral("-p"), m_nginxDir.path(), QStringLiteral("-c"),
                m_nginxDir.filePath(QStringLiteral("nginx.conf")), QStringLiteral("-e"),
                m_nginxDir.filePath(QStringLiteral("error.log")) });
        QVERIFY(m_nginx.waitForStarted(5000));
        const bool up = QTest::qWaitFor(
            [&] {
                return Send(m_port, "GET /Vantor2027/don.L1 HTTP/1.0\r\n\r\n").answer.startsWith("HTTP/1.1 200");
            },
            5000);
        QVERIFY2(up,
            (m_nginx.readAll() + ReadFileBytes(m_nginxDir.filePath(QStringLiteral("error.log")))).constData());
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
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("source");
        QTest::newRow("results") << QByteArray("/Vantor2027/Resultats2027.ini")
                                 << QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini");
        QTest::newRow("season") << QByteArray("/Vantor2027/L12027.txt")
                                << QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt");
        QTest::newRow("donors") << QByteArray("/Vantor2027/don.L1")
                                << QStringLiteral(KESTRAVA_DATA_DIR "/demo/don.L1");
    }

    void filesGoOutWhole()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, source);
        const QByteArray expected = ReadFileBytes(source);
        // As a browser would ask: compression and a range are offered, and refused.
        const Exchange e = Send(m_port,
            "GET " + path
                + " HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip, br\r\nRange: bytes=0-9\r\nConnection: "
                  "close\r\n\r\n");
        QVERIFY2(e.head.startsWith("HTTP/1.1 200"), e.head.constData());
        QCOMPARE(e.body, expected);
        QCOMPARE(Header(e.head, "Content-Length"), QByteArray::number(expected.size()));
        QVERIFY(Header(e.head, "Content-Encoding").isEmpty() && Header(e.head, "Transfer-Encoding").isEmpty());
        QCOMPARE(Header(e.head, "Cache-Control"), QByteArray("no-store"));
        QCOMPARE(Header(e.head, "Content-Type"), QByteArray("text/plain; charset=windows-1252"));
    }

    void onlyThePublishedFilesAndPages_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("help page") << QByteArray("/Vantor2027/index.php") << 200 << QStringLiteral("Fichiers publiés");
        QTest::newRow("contact page") << QByteArray("/contacter.php?sub=Kestrava%201.0") << 200
                                      << QStringLiteral("Kestrava 1.0");
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
        const Exchange e = Send(m_port, "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        QVERIFY2(e.head.startsWith("HTTP/1.1 " + QByteArray::number(status)), e.head.constData());
        QVERIFY(QString::fromUtf8(e.body).contains(phrase));
        QVERIFY(!e.body.contains("Editeur=kestrava"));
    }

    void commandLineUpdate()
    {
        TestProgram p(TestProgram::Empty);
        QProcess cli;
        cli.start(QStringLiteral(KESTRAVA_CLI),
            { QStringLiteral("update"), QStringLiteral("--dir"), p.dir.path(), QStringLiteral("--site"), base() });
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(p.storeBytes(), publishedStore());
    }

    void programUpdate()
    {
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
        QByteArray store = publishedStore();
        store.replace("Pseudo=Editeur", "Pseudo=Editeur\r\n; par le navigateur, derrière nginx");
        const QString file = m_nginxDir.filePath(QStringLiteral("Resultats2027.ini"));
        QVERIFY(WriteFileBytes(file, store));
        QProcess browser;
        browser.setWorkingDirectory(browserDir);
        browser.start(node,
            { QStringLiteral("upload.mjs"), base() + QStringLiteral("Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=kestrava"),
                file });
        QVERIFY(browser.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(browser.readAllStandardOutput()).trimmed(), QStringLiteral("Fichier reçu"));
        QCOMPARE(publishedStore(), store);
        // kestrava-site saw the browser's own address, passed on by nginx.
        QVERIFY(siteLogUntil([&] { return m_siteLog.contains(" 127.0.0.1 POST /Vantor2027/EXPEL1.php 200"); }, 3000));
    }

    void tooLargeRefusedInFrench()
    {
        const Exchange e = Send(m_port, UploadRequest("kestrava", QByteArray(400 * 1024, 'x')));
        QVERIFY2(e.head.startsWith("HTTP/1.1 413"), e.head.constData());
        QVERIFY(QString::fromUtf8(e.body).contains(QStringLiteral("ne doit pas dépasser 256 Kio")));
    }

    void guessesCountEachClient()
    {
        // Two clients behind nginx: nginx sees their addresses, kestrava-site sees only nginx.
        const QHostAddress guesser(QStringLiteral("127.0.0.2"));
        const QHostAddress editor(QStringLiteral("127.0.0.3"));
        const QByteArray store = publishedStore();
        for (int i = 0; i < 5; ++i) {
            const Exchange e = Send(m_port, UploadRequest("faux", store), guesser);
            QVERIFY2(e.head.startsWith("HTTP/1.1 403"), e.head.constData());
        }
        const Exchange locked = Send(m_port, UploadRequest("faux", store), guesser);
        QVERIFY2(locked.head.startsWith("HTTP/1.1 429"), locked.head.constData());
        QCOMPARE(Header(locked.head, "Retry-After"), QByteArray("30"));
        QVERIFY(QString::fromUtf8(locked.body).contains(QStringLiteral("réessayez dans 30 seconde(s)")));
        const Exchange right = Send(m_port, UploadRequest("kestrava", store), editor);
        QVERIFY2(right.head.startsWith("HTTP/1.1 200"), right.head.constData());
        QVERIFY(siteLogUntil([&] { return m_siteLog.contains("127.0.0.2 POST /Vantor2027/EXPEL1.php 429"); }, 3000));

        // Straight to kestrava-site from another address, the header is the client's own word:
        // naming the locked address neither locks this client nor unlocks the guesser.
        const QByteArray forged = UploadRequest("kestrava", store)
                                      .replace("Host: 127.0.0.1\r\n", "Host: 127.0.0.1\r\nX-Real-IP: 127.0.0.2\r\n");
        QVERIFY(Send(m_site.port(), forged, editor).head.startsWith("HTTP/1.1 200"));
        const QByteArray unlock = UploadRequest("kestrava", store)
                                      .replace("Host: 127.0.0.1\r\n", "Host: 127.0.0.1\r\nX-Real-IP: 127.0.0.9\r\n");
        QVERIFY(Send(m_port, unlock, guesser).head.startsWith("HTTP/1.1 429"));
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

// The real kestrava-site, started on a free port of 127.0.0.1 over a scratch site folder, driven
// over HTTP: downloads, refused paths, the upload page, uploads accepted and refused, the pages.
#include <QDir>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"

using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {

constexpr int RequestTimeoutMs = 10000;

struct Answer
{
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QByteArray contentType;
    QByteArray cacheControl;
    qint64 contentLength = -1;
};

struct Upload
{
    QByteArray query; // added to the address of the form, e.g. "pseudo=...&mdp=..."
    QByteArray pseudo; // form fields, left out when null
    QByteArray mdp;
    QByteArray file; // the file field, left out when null
    QByteArray fileName = "Resultats2027.ini";
};

// The editors of the scratch site.
const QByteArray EditorsFile = "# éditeurs de test\nEditeur=s3cret\nH\xC3\xA9l\xC3\xA8ne=autre mot\n";

} // namespace

class TestSiteServer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_root;
    QString m_folder;
    QProcess m_server;
    QByteArray m_log;
    quint16 m_port = 0;
    QNetworkAccessManager m_nam;
    QByteArray m_demoStore;

    QString published() const { return m_folder + QStringLiteral("/Resultats2027.ini"); }

    QUrl url(const QByteArray &pathAndQuery) const
    {
        return QUrl::fromEncoded("http://127.0.0.1:" + QByteArray::number(m_port) + pathAndQuery);
    }

    Answer wait(QNetworkReply *reply)
    {
        if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, RequestTimeoutMs))
            reply->abort();
        Answer a;
        a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        a.error = reply->error();
        a.body = reply->readAll();
        a.contentType = reply->rawHeader("Content-Type");
        a.cacheControl = reply->rawHeader("Cache-Control");
        a.contentLength = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        reply->deleteLater();
        return a;
    }

    QNetworkRequest request(const QByteArray &pathAndQuery) const
    {
        QNetworkRequest req(url(pathAndQuery));
        req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        return req;
    }

    Answer get(const QByteArray &pathAndQuery) { return wait(m_nam.get(request(pathAndQuery))); }

    // The form as a browser sends it (QHttpMultiPart builds standard multipart/form-data).
    Answer upload(const Upload &u)
    {
        auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
        auto field = [multi](const QByteArray &disposition, const QByteArray &data, bool isFile) {
            QHttpPart part;
            part.setRawHeader("Content-Disposition", disposition);
            if (isFile)
                part.setRawHeader("Content-Type", "application/octet-stream");
            part.setBody(data);
            multi->append(part);
        };
        if (!u.pseudo.isNull())
            field("form-data; name=\"pseudo\"", u.pseudo, false);
        if (!u.mdp.isNull())
            field("form-data; name=\"mdp\"", u.mdp, false);
        if (!u.file.isNull())
            field("form-data; name=\"fichier\"; filename=\"" + u.fileName + "\"", u.file, true);
        const QByteArray target
            = "/Vantor2027/EXPEL1.php" + (u.query.isEmpty() ? QByteArray() : '?' + u.query);
        QNetworkReply *reply = m_nam.post(request(target), multi);
        multi->setParent(reply);
        return wait(reply);
    }

    // What reaches the server exactly as written, for requests a polite client would never send.
    QByteArray rawExchange(const QByteArray &requestBytes)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (!socket.waitForConnected(RequestTimeoutMs))
            return {};
        socket.write(requestBytes);
        QByteArray answer;
        QElapsedTimer clock;
        clock.start();
        while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < RequestTimeoutMs) {
            if (socket.waitForReadyRead(200))
                answer += socket.readAll();
            // One answer is all we asked for: its length tells when it is complete.
            const qsizetype headEnd = answer.indexOf("\r\n\r\n");
            if (headEnd >= 0) {
                const QRegularExpression lengthRe(QStringLiteral("(?i)content-length:\\s*(\\d+)"));
                const auto m = lengthRe.match(QString::fromLatin1(answer.left(headEnd)));
                if (m.hasMatch() && answer.size() >= headEnd + 4 + m.captured(1).toLongLong())
                    break;
            }
        }
        answer += socket.readAll();
        return answer;
    }

    // Waits up to `ms` for the server's log to satisfy `done`.
    bool logUntil(const std::function<bool()> &done, int ms)
    {
        return QTest::qWaitFor(
            [&] {
                m_log += m_server.readAllStandardOutput();
                return done();
            },
            ms);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.filePath(QStringLiteral("site"));
        m_folder = m_root + QStringLiteral("/Vantor2027");
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(WriteFileBytes(m_root + QStringLiteral("/editors.conf"), EditorsFile));
        // Something secret beside the site folder too, that no address may reach.
        QVERIFY(WriteFileBytes(m_dir.filePath(QStringLiteral("secret.txt")), "s3cret hors du site"));
        m_demoStore = ReadFileBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
        QVERIFY(!m_demoStore.isEmpty());

        // Test traffic stays on this machine, whatever the environment says about proxies.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        m_nam.setProxy(QNetworkProxy::NoProxy);

        m_server.setProgram(QStringLiteral(KESTRAVA_SITE));
        m_server.setArguments({ QStringLiteral("--root"), m_root, QStringLiteral("--port"),
            QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1") });
        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        m_server.start();
        QVERIFY2(m_server.waitForStarted(5000), qPrintable(m_server.errorString()));

        // The server says where it listens on its first line.
        const QRegularExpression listening(QStringLiteral("en écoute sur http://127\\.0\\.0\\.1:(\\d+)/"));
        logUntil([&] { return listening.match(QString::fromUtf8(m_log)).hasMatch(); }, 5000);
        m_port = quint16(listening.match(QString::fromUtf8(m_log)).captured(1).toUInt());
        QVERIFY2(m_port != 0, m_log.constData());
    }

    void cleanupTestCase()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(3000))
            m_server.kill();
    }

    // Every test starts from the demo site.
    void init()
    {
        QDir folder(m_folder);
        for (const QString &name : folder.entryList(QDir::Files))
            QVERIFY(folder.remove(name));
        QVERIFY(WriteFileBytes(published(), m_demoStore));
        QVERIFY(QFile::copy(
            QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), m_folder + QStringLiteral("/L12027.txt")));
        QVERIFY(QFile::copy(
            QStringLiteral(KESTRAVA_DATA_DIR "/demo/don.L1"), m_folder + QStringLiteral("/don.L1")));
    }

    void downloadsAreByteExact_data()
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

    void downloadsAreByteExact()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, source);
        const QByteArray expected = ReadFileBytes(source);
        const Answer a = get(path);
        QCOMPARE(a.error, QNetworkReply::NoError);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.body, expected);
        QCOMPARE(a.contentType, QByteArray("text/plain; charset=windows-1252"));
        QCOMPARE(a.cacheControl, QByteArray("no-store"));

        // HEAD announces the same length without a body.
        const Answer head = wait(m_nam.head(request(path)));
        QCOMPARE(head.status, 200);
        QCOMPARE(head.contentLength, qint64(expected.size()));
        QVERIFY(head.body.isEmpty());
    }

    void refusedPathsAre404_data()
    {
        QTest::addColumn<QByteArray>("path");
        for (const char *path : { "/Vantor2027/L12027.txt", // removed below
                 "/Vantor2027/L22027.txt", "/Vantor2027/EXPEL2.php", "/Resultats2027.ini", "/a/b/c.php",
                 "/Vantor2027/Resultats2027.ini.1", "/Vantor2027/../editors.conf",
                 "/Vantor2027/%2e%2e/editors.conf", "/Vantor2027/%2E%2E%2Feditors.conf",
                 "/Vantor2027/%2e%2e/%2e%2e/secret.txt", "/Vantor2027/%252e%252e/editors.conf",
                 "/Vantor2027/..%5ceditors.conf", "/editors.conf", "/Vantor2027/editors.conf",
                 "/Vantor2027/don.L1%00.txt" })
            QTest::newRow(path) << QByteArray(path);
    }

    void refusedPathsAre404()
    {
        QFETCH(QByteArray, path);
        QVERIFY(QFile::remove(m_folder + QStringLiteral("/L12027.txt")));
        QVERIFY(WriteFileBytes(published() + QStringLiteral(".1"), "backup")); // for the publisher only
        // Through the ordinary client ...
        const Answer a = get(path);
        QCOMPARE(a.status, 404);
        QCOMPARE(a.contentType, QByteArray("text/html; charset=utf-8"));
        QVERIFY(QString::fromUtf8(a.body).contains(QStringLiteral("Page introuvable")));
        QVERIFY(!a.body.contains("s3cret"));
        // ... and byte for byte as written, since a client may tidy the path before sending it.
        const QByteArray raw
            = rawExchange("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QVERIFY2(raw.startsWith("HTTP/1.1 404"), raw.left(80).constData());
        QVERIFY(!raw.contains("s3cret"));
    }

    void goodUploadReplacesAndKeepsBackups()
    {
        QByteArray first = m_demoStore;
        first.replace("Pseudo=Editeur", "Pseudo=Editeur\r\n; premier envoi");
        QVERIFY(first != m_demoStore);

        // As the browser sends the page: credentials in hidden fields.
        Answer a = upload({ {}, "Editeur", "s3cret", first });
        QCOMPARE(a.status, 200);
        QVERIFY2(QString::fromUtf8(a.body).contains(QStringLiteral("Fichier reçu")), a.body.constData());
        QVERIFY(QString::fromUtf8(a.body).contains(QStringLiteral("Resultats2027.ini.1")));
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, first);
        QCOMPARE(ReadFileBytes(m_folder + QStringLiteral("/Resultats2027.ini.1")), m_demoStore);

        // Credentials in the address, a non-ASCII pseudonym, a file under another name.
        const QByteArray second
            = "[RESULTATS]\r\n0100=R|0|1|2|2|0|0|D\r\n[Pseudo]\r\nPseudo=H\xE9l\xE8ne\r\n";
        a = upload({ "pseudo=H%C3%A9l%C3%A8ne&mdp=autre%20mot", {}, {}, second, "Resultats2027-060127.ini" });
        QCOMPARE(a.status, 200);
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, second);
        QCOMPARE(ReadFileBytes(m_folder + QStringLiteral("/Resultats2027.ini.1")), m_demoStore);
        QCOMPARE(ReadFileBytes(m_folder + QStringLiteral("/Resultats2027.ini.2")), first);
    }

    void refusedUploadsLeaveTheFileWhole_data()
    {
        QTest::addColumn<QByteArray>("pseudo");
        QTest::addColumn<QByteArray>("mdp");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        auto row = [](const char *name, const QByteArray &pseudo, const QByteArray &mdp,
                       const QByteArray &file, int status, const QString &reason) {
            QTest::newRow(name) << pseudo << mdp << file << status << reason;
        };
        const QByteArray good = "[Resultats]\r\n0100=R|0|1|2|2|0|0|D\r\n";
        const QString badLogin = QStringLiteral("Pseudo ou mot de passe incorrect");
        row("wrong password", "Editeur", "S3cret", good, 403, badLogin);
        row("unknown pseudo", "Intrus", "s3cret", good, 403, badLogin);
        row("other editor's password", "Editeur", "autre mot", good, 403, badLogin);
        row("empty password", "Editeur", "", good, 403, badLogin);
        row("no file", "Editeur", "s3cret", {}, 400, QStringLiteral("Aucun fichier"));
        row("no results section", "Editeur", "s3cret", "[Maj]\r\nMaj=x\r\n", 400,
            QStringLiteral("section [Resultats]"));
        row("bad key 12a4", "Editeur", "s3cret", good + "12a4=R|0|1|2|2|0|0|D\r\n", 400,
            QStringLiteral("Clé « 12a4 » invalide"));
        row("binary with nul", "Editeur", "s3cret", good + QByteArray("\0\x01\x02\xff", 4), 400,
            QStringLiteral("octets nuls"));
        row("too large", "Editeur", "s3cret", "[Resultats]\r\n" + QByteArray(300 * 1024, ' '), 413,
            QStringLiteral("256 Kio"));
    }

    void refusedUploadsLeaveTheFileWhole()
    {
        QFETCH(QByteArray, pseudo);
        QFETCH(QByteArray, mdp);
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QString, reason);
        const Answer a = upload({ {}, pseudo, mdp, file });
        QCOMPARE(a.status, status);
        const QString page = QString::fromUtf8(a.body);
        QVERIFY2(page.contains(reason), qPrintable(page));
        // A refused password is not written back into the page.
        if (status == 403 && !mdp.isEmpty())
            QVERIFY(!page.contains(QString::fromUtf8(mdp)));

        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, m_demoStore);
        QVERIFY(!QFile::exists(m_folder + QStringLiteral("/Resultats2027.ini.1")));
    }

    void malformedFormIsRefused()
    {
        // A form cut short on the wire, sent with the right credentials in the address.
        const QByteArray body
            = "--XyZ\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"R.ini\"\r\n\r\n"
              "[Resultats]\r\n0100=R|0|1|2|2|0|0|D\r\n";
        const QByteArray raw
            = rawExchange("POST /Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=s3cret HTTP/1.1\r\n"
                          "Host: 127.0.0.1\r\nConnection: close\r\n"
                          "Content-Type: multipart/form-data; boundary=XyZ\r\n"
                          "Content-Length: "
                + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        QVERIFY2(raw.startsWith("HTTP/1.1 400"), raw.left(80).constData());
        QCOMPARE(ReadFileBytes(published()), m_demoStore);
    }

    void hugeUploadIsCutOff()
    {
        // Far past any store: the server stops reading; the client sees a 413 or a closed connection.
        QByteArray huge(3 * 1024 * 1024, 'x');
        const Answer a = upload({ {}, "Editeur", "s3cret", huge });
        QVERIFY2(
            a.status == 413 || a.error != QNetworkReply::NoError, QByteArray::number(a.status).constData());
        QCOMPARE(ReadFileBytes(published()), m_demoStore);
        // And it still serves.
        QCOMPARE(get("/Vantor2027/don.L1").status, 200);
    }

    void pagesAreFrench_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("home") << QByteArray("/") << QStringLiteral("Bienvenue sur le site de Kestrava");
        for (const char *file : { "Resultats2027.ini", "L12027.txt", "don.L1" })
            QTest::newRow(file) << QByteArray("/Vantor2027/index.php")
                                << QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(file));
        // The upload page keeps what the address gives it, escaped, and asks for what it lacks.
        const QByteArray form = "/Vantor2027/EXPEL1.php?pseudo=%3Cscript%3E%26%22&mdp=p%C3%A2ss%22w";
        QTest::newRow("form") << form
                              << QStringLiteral("<input type=\"file\" id=\"fichier\" name=\"fichier\"");
        QTest::newRow("form pseudo") << form
                                     << QStringLiteral("name=\"pseudo\" value=\"&lt;script&gt;&amp;&quot;\"");
        QTest::newRow("form password") << form << QStringLiteral("name=\"mdp\" value=\"pâss&quot;w\"");
        QTest::newRow("form asks") << QByteArray("/Vantor2027/EXPEL1.php")
                                   << QStringLiteral(
                                          "<input type=\"password\" id=\"mdp\" name=\"mdp\" required>");
        QTest::newRow("season folder") << QByteArray("/Vantor2027/") << QStringLiteral("Fichiers publiés");
        QTest::newRow("donation") << QByteArray("/Vantor2027/donation.php")
                                  << QStringLiteral("Soutenir Kestrava");
        QTest::newRow("contact") << QByteArray(
            "/contacter.php?sub=%20Ligue%201%20(2026%20-%202027)%20Version%201.0")
                                 << QStringLiteral(
                                        "Sujet : <strong> Ligue 1 (2026 - 2027) Version 1.0</strong>");
        QTest::newRow("contact escaped") << QByteArray("/contacter.php?sub=%3Cscript%3Ealert(1)%3C/script%3E")
                                         << QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;");
    }

    void pagesAreFrench()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, phrase);
        const Answer a = get(path);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.contentType, QByteArray("text/html; charset=utf-8"));
        QCOMPARE(a.cacheControl, QByteArray("no-store"));
        const QString page = QString::fromUtf8(a.body);
        QVERIFY(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(page.contains(QStringLiteral("<html lang=\"fr\">")));
        QVERIFY2(page.contains(phrase), qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("<script>")));
    }

    void logHasALinePerRequestAndNoPassword()
    {
        logUntil([] { return false; }, 50);
        const qsizetype before = m_log.size();
        get("/Vantor2027/don.L1");
        get("/Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=s3cret");
        upload({ "pseudo=Editeur&mdp=s3cret", {}, {}, "pas un fichier de resultats" });
        upload({ {}, "Editeur", "mauvais-s3cret", "[Resultats]\r\n" });
        logUntil([&] { return m_log.mid(before).count('\n') >= 4; }, 3000);
        const QList<QByteArray> lines = m_log.mid(before).split('\n');
        QCOMPARE(lines.size(), 5); // four lines and what follows the last line end
        QVERIFY(lines.at(0).contains(" 127.0.0.1 GET /Vantor2027/don.L1 200 "));
        QVERIFY(lines.at(1).contains(" GET /Vantor2027/EXPEL1.php 200 "));
        QVERIFY(lines.at(2).contains(" POST /Vantor2027/EXPEL1.php 400 "));
        QVERIFY(lines.at(3).contains(" POST /Vantor2027/EXPEL1.php 403 "));
        QVERIFY(!m_log.contains("s3cret") && !m_log.contains("mdp="));
    }
};

QTEST_GUILESS_MAIN(TestSiteServer)
#include "tst_site_server.moc"

// The real kestrava-site, started on a free port of 127.0.0.1 over a scratch site folder, driven
// over HTTP: downloads, refused paths, the upload page, uploads accepted and refused, the pages.
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int RequestTimeoutMs = 10000;

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

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
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, reply, &QNetworkReply::abort);
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        timer.start(RequestTimeoutMs);
        if (!reply->isFinished())
            loop.exec();
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

    void collectLog()
    {
        m_server.waitForReadyRead(50);
        m_log += m_server.readAllStandardOutput();
    }

    // A store of `bytes` bytes or a little more, well formed.
    static QByteArray StoreOfSize(qsizetype bytes)
    {
        QByteArray s = "[Resultats]\r\n";
        for (int i = 0; s.size() < bytes; ++i)
            s += QByteArray::number(1000 + i % 9000) + "=A|0|1|2|1|0|0|B\r\n";
        return s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.filePath(QStringLiteral("site"));
        m_folder = m_root + QStringLiteral("/Vantor2027");
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(WriteBytes(m_root + QStringLiteral("/editors.conf"), EditorsFile));
        // Something secret beside the site folder too, that no address may reach.
        QVERIFY(WriteBytes(m_dir.filePath(QStringLiteral("secret.txt")), "s3cret hors du site"));
        m_demoStore = ReadBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
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
        QElapsedTimer clock;
        clock.start();
        while (m_port == 0 && clock.elapsed() < 5000) {
            m_server.waitForReadyRead(100);
            m_log += m_server.readAllStandardOutput();
            const auto m = listening.match(QString::fromUtf8(m_log));
            if (m.hasMatch())
                m_port = quint16(m.captured(1).toUInt());
        }
        QVERIFY2(m_port != 0, m_log.constData());
    }

    void cleanupTestCase()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(3000)) {
                m_server.kill();
                m_server.waitForFinished(3000);
            }
        }
    }

    // Every test starts from the demo site.
    void init()
    {
        QDir folder(m_folder);
        for (const QString &name : folder.entryList(QDir::Files))
            QVERIFY(folder.remove(name));
        QVERIFY(WriteBytes(published(), m_demoStore));
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
        const QByteArray expected = ReadBytes(source);
        QVERIFY(expected.contains('\r')); // CR LF and Windows-1252 bytes travel untouched
        const Answer a = get(path);
        QCOMPARE(a.error, QNetworkReply::NoError);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.body, expected);
        QCOMPARE(a.contentLength, qint64(expected.size()));
        QCOMPARE(a.contentType, QByteArray("text/plain; charset=windows-1252"));
        QCOMPARE(a.cacheControl, QByteArray("no-store"));

        // HEAD announces the same length without a body.
        const Answer head = wait(m_nam.head(request(path)));
        QCOMPARE(head.status, 200);
        QCOMPARE(head.contentLength, qint64(expected.size()));
        QVERIFY(head.body.isEmpty());
    }

    void missingFilesAre404_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("removed season file") << QByteArray("/Vantor2027/L12027.txt");
        QTest::newRow("other edition") << QByteArray("/Vantor2027/L22027.txt");
        QTest::newRow("unknown page") << QByteArray("/Vantor2027/EXPEL2.php");
        QTest::newRow("outside the season") << QByteArray("/Resultats2027.ini");
        QTest::newRow("deep") << QByteArray("/a/b/c.php");
    }

    void missingFilesAre404()
    {
        QFETCH(QByteArray, path);
        QVERIFY(QFile::remove(m_folder + QStringLiteral("/L12027.txt")));
        const Answer a = get(path);
        QCOMPARE(a.status, 404);
        QCOMPARE(a.error, QNetworkReply::ContentNotFoundError);
        QCOMPARE(a.contentType, QByteArray("text/html; charset=utf-8"));
        const QString page = QString::fromUtf8(a.body);
        QVERIFY(page.contains(QStringLiteral("lang=\"fr\"")));
        QVERIFY(page.contains(QStringLiteral("Page introuvable")));
    }

    void traversalIsRefused_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("dot dot") << QByteArray("/Vantor2027/../editors.conf");
        QTest::newRow("encoded dot dot") << QByteArray("/Vantor2027/%2e%2e/editors.conf");
        QTest::newRow("encoded upper with slash") << QByteArray("/Vantor2027/%2E%2E%2Feditors.conf");
        QTest::newRow("twice out") << QByteArray("/Vantor2027/%2e%2e/%2e%2e/secret.txt");
        QTest::newRow("double encoded") << QByteArray("/Vantor2027/%252e%252e/editors.conf");
        QTest::newRow("backslash") << QByteArray("/Vantor2027/..%5ceditors.conf");
        QTest::newRow("config at root") << QByteArray("/editors.conf");
        QTest::newRow("config in season") << QByteArray("/Vantor2027/editors.conf");
        QTest::newRow("nul") << QByteArray("/Vantor2027/don.L1%00.txt");
    }

    void traversalIsRefused()
    {
        QFETCH(QByteArray, path);
        // Through the ordinary client ...
        const Answer a = get(path);
        QCOMPARE(a.status, 404);
        QVERIFY(!a.body.contains("s3cret"));
        // ... and byte for byte as written, since a client may tidy the path before sending it.
        const QByteArray raw
            = rawExchange("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QVERIFY2(raw.startsWith("HTTP/1.1 404"), raw.left(80).constData());
        QVERIFY(!raw.contains("s3cret"));
    }

    void uploadPageHasTheForm()
    {
        const Answer a = get("/Vantor2027/EXPEL1.php?pseudo=%3CJo%26%22Bo%3E&mdp=p%C3%A2ss%22w");
        QCOMPARE(a.status, 200);
        QCOMPARE(a.contentType, QByteArray("text/html; charset=utf-8"));
        const QString page = QString::fromUtf8(a.body);
        QVERIFY(page.contains(QStringLiteral("lang=\"fr\"")));
        QVERIFY(page.contains(QStringLiteral("<form method=\"post\" action=\"EXPEL1.php\" "
                                             "enctype=\"multipart/form-data\"")));
        QVERIFY(page.contains(QStringLiteral("<input type=\"file\" id=\"fichier\" name=\"fichier\"")));
        QVERIFY(page.contains(QStringLiteral("name=\"pseudo\" value=\"&lt;Jo&amp;&quot;Bo&gt;\"")));
        QVERIFY(page.contains(QStringLiteral("name=\"mdp\" value=\"pâss&quot;w\"")));
        QVERIFY(!page.contains(QStringLiteral("<Jo")));
        QVERIFY(page.contains(QStringLiteral("Envoyer le fichier")));
        QVERIFY(page.contains(QStringLiteral("Resultats2027.ini")));

        // Opened without credentials, the page asks for them.
        const QString bare = QString::fromUtf8(get("/Vantor2027/EXPEL1.php").body);
        QVERIFY(bare.contains(QStringLiteral("<input type=\"password\" id=\"mdp\" name=\"mdp\" required>")));
        QVERIFY(bare.contains(QStringLiteral("type=\"file\"")));
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
        QCOMPARE(ReadBytes(m_folder + QStringLiteral("/Resultats2027.ini.1")), m_demoStore);

        // Credentials in the address, a non-ASCII pseudonym, a file under another name.
        const QByteArray second
            = "[RESULTATS]\r\n0100=R|0|1|2|2|0|0|D\r\n[Pseudo]\r\nPseudo=H\xE9l\xE8ne\r\n";
        a = upload({ "pseudo=H%C3%A9l%C3%A8ne&mdp=autre%20mot", {}, {}, second, "Resultats2027-060127.ini" });
        QCOMPARE(a.status, 200);
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, second);
        QCOMPARE(ReadBytes(m_folder + QStringLiteral("/Resultats2027.ini.1")), m_demoStore);
        QCOMPARE(ReadBytes(m_folder + QStringLiteral("/Resultats2027.ini.2")), first);
        // Backups are for the publisher, not for downloading.
        QCOMPARE(get("/Vantor2027/Resultats2027.ini.1").status, 404);
    }

    void refusedUploadsLeaveTheFileWhole_data()
    {
        QTest::addColumn<QByteArray>("pseudo");
        QTest::addColumn<QByteArray>("mdp");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        const QByteArray good = "[Resultats]\r\n0100=R|0|1|2|2|0|0|D\r\n";
        const QString badLogin = QStringLiteral("Pseudo ou mot de passe incorrect");
        QTest::newRow("wrong password")
            << QByteArray("Editeur") << QByteArray("S3cret") << good << 403 << badLogin;
        QTest::newRow("unknown pseudo")
            << QByteArray("Intrus") << QByteArray("s3cret") << good << 403 << badLogin;
        QTest::newRow("other editor's password")
            << QByteArray("Editeur") << QByteArray("autre mot") << good << 403 << badLogin;
        QTest::newRow("empty password") << QByteArray("Editeur") << QByteArray("") << good << 403 << badLogin;
        QTest::newRow("no results section") << QByteArray("Editeur") << QByteArray("s3cret")
                                            << QByteArray("[Maj]\r\nMaj=06 d\xE9"
                                                          "c. 07:24\r\n")
                                            << 400 << QStringLiteral("section [Resultats]");
        QTest::newRow("bad key 12a4")
            << QByteArray("Editeur") << QByteArray("s3cret")
            << QByteArray("[Resultats]\r\n0100=R|0|1|2|2|0|0|D\r\n12a4=R|0|1|2|2|0|0|D\r\n") << 400
            << QStringLiteral("Clé « 12a4 » invalide");
        QTest::newRow("binary with nul")
            << QByteArray("Editeur") << QByteArray("s3cret")
            << QByteArray("[Resultats]\r\n0100=R|0|1|2|2|0|0|D\r\n\0\x01\x02\xff", 38) << 400
            << QStringLiteral("octets nuls");
        QTest::newRow("empty file") << QByteArray("Editeur") << QByteArray("s3cret") << QByteArray("") << 400
                                    << QStringLiteral("section [Resultats]");
        QTest::newRow("too large") << QByteArray("Editeur") << QByteArray("s3cret") << StoreOfSize(300 * 1024)
                                   << 413 << QStringLiteral("256 Kio");
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
        QVERIFY(page.contains(QStringLiteral("lang=\"fr\"")));
        QVERIFY(page.contains(QStringLiteral("Envoi refusé")));
        QVERIFY2(page.contains(reason), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("n'a pas été modifié")));
        // A refused password is not written back into the page.
        if (status == 403 && !mdp.isEmpty())
            QVERIFY(!page.contains(QString::fromUtf8(mdp)));

        QCOMPARE(ReadBytes(published()), m_demoStore);
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, m_demoStore);
        QVERIFY(!QFile::exists(m_folder + QStringLiteral("/Resultats2027.ini.1")));
    }

    void uploadWithoutFileIsRefused()
    {
        const Answer a = upload({ {}, "Editeur", "s3cret", {} });
        QCOMPARE(a.status, 400);
        QVERIFY(QString::fromUtf8(a.body).contains(QStringLiteral("Aucun fichier")));
        QCOMPARE(ReadBytes(published()), m_demoStore);
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
        QCOMPARE(ReadBytes(published()), m_demoStore);

        // Not a form at all.
        QNetworkRequest req = request("/Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=s3cret");
        req.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
        const Answer a = wait(m_nam.post(req, QByteArray("fichier=%5BResultats%5D")));
        QCOMPARE(a.status, 400);
        QCOMPARE(ReadBytes(published()), m_demoStore);
    }

    void hugeUploadIsCutOff()
    {
        // Far past any store: the server stops reading; the client sees a 413 or a closed connection.
        QByteArray huge(3 * 1024 * 1024, 'x');
        const Answer a = upload({ {}, "Editeur", "s3cret", huge });
        QVERIFY2(
            a.status == 413 || a.error != QNetworkReply::NoError, QByteArray::number(a.status).constData());
        QCOMPARE(ReadBytes(published()), m_demoStore);
        // And it still serves.
        QCOMPARE(get("/Vantor2027/don.L1").status, 200);
    }

    void pagesAreFrench_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("home") << QByteArray("/") << QStringLiteral("Bienvenue sur le site de Kestrava");
        QTest::newRow("help") << QByteArray("/Vantor2027/index.php")
                              << QStringLiteral("téléchargement et aide");
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
        QVERIFY2(page.contains(phrase, Qt::CaseInsensitive), qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("<script>")));
    }

    void helpPageListsThePublishedFiles()
    {
        const QString page = QString::fromUtf8(get("/Vantor2027/index.php").body);
        QVERIFY(page.contains(QStringLiteral("<a href=\"Resultats2027.ini\">Resultats2027.ini</a>")));
        QVERIFY(page.contains(QStringLiteral("<a href=\"L12027.txt\">L12027.txt</a>")));
        QVERIFY(page.contains(QStringLiteral("<a href=\"don.L1\">don.L1</a>")));
    }

    void logHasALinePerRequestAndNoPassword()
    {
        collectLog();
        const qsizetype before = m_log.size();
        get("/Vantor2027/don.L1");
        get("/Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=s3cret");
        upload({ "pseudo=Editeur&mdp=s3cret", {}, {}, "pas un fichier de resultats" });
        upload({ {}, "Editeur", "mauvais-s3cret", "[Resultats]\r\n" });
        QElapsedTimer clock;
        clock.start();
        while (m_log.mid(before).count('\n') < 4 && clock.elapsed() < 3000)
            collectLog();
        const QList<QByteArray> lines = m_log.mid(before).split('\n');
        QCOMPARE(lines.size(), 5); // four lines and what follows the last line end
        QVERIFY(lines.at(0).contains(" 127.0.0.1 GET /Vantor2027/don.L1 200 "));
        QVERIFY(lines.at(1).contains(" GET /Vantor2027/EXPEL1.php 200 "));
        QVERIFY(lines.at(2).contains(" POST /Vantor2027/EXPEL1.php 400 "));
        QVERIFY(lines.at(3).contains(" POST /Vantor2027/EXPEL1.php 403 "));
        QVERIFY(!m_log.contains("s3cret"));
        QVERIFY(!m_log.contains("mdp="));
    }
};

QTEST_GUILESS_MAIN(TestSiteServer)
#include "tst_site_server.moc"

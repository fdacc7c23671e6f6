// The real kestrava-site, started on a free port of 127.0.0.1 over a scratch site folder, driven
// over HTTP: what only the HTTP layer decides. Paths as they come on the wire, the upload form as
// sent, connections (keep-alive, close, HTTP/1.0, limits, slow clients). Downloads, the limit on
// wrong passwords and the log are tst_site_nginx's, straight and through nginx.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "DemoSite.h"
#include "RawHttp.h"
#include "TestFiles.h"

using kestrava::test::Exchange;
using kestrava::test::ReadFileBytes;
using kestrava::test::SendRaw;
using kestrava::test::WriteFileBytes;

namespace {

constexpr int RequestTimeoutMs = 10000;
// Above the slow clients' test, which holds 300 connections from 127.0.0.1.
constexpr int PerAddressLimit = 310;

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
    kestrava::test::DemoSite m_site;
    QByteArray m_log;
    quint16 m_port = 0;
    QNetworkAccessManager m_nam;
    QByteArray m_demoStore;
    QString m_package; // a package offered by the site

    QString published(const char *suffix = "") const
    {
        return m_site.published(QStringLiteral("Resultats2027.ini") + QLatin1String(suffix));
    }

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

    Exchange exchange(const QByteArray &bytes, int waitMs, const QHostAddress &from = QHostAddress::LocalHost)
    {
        return SendRaw(m_port, bytes, from, waitMs);
    }

    // The editor's form byte for byte, with the right password in the address.
    static QByteArray formRequest(const QByteArray &contentType, const QByteArray &body)
    {
        return "POST /Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=s3cret HTTP/1.1\r\nHost: 127.0.0.1\r\n"
               "Connection: close\r\nContent-Type: "
            + contentType + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    static QByteArray filePart(const QByteArray &boundary, const QByteArray &data)
    {
        return "--" + boundary
            + "\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"Resultats2027.ini\"\r\n"
              "Content-Type: application/octet-stream\r\n\r\n"
            + data + "\r\n";
    }

private slots:
    void initTestCase()
    {
        // Test traffic stays on this machine, whatever the environment says about proxies.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        m_nam.setProxy(QNetworkProxy::NoProxy);
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &m_log,
                     { QStringLiteral("--request-timeout"), QStringLiteral("1.5"),
                         QStringLiteral("--idle-timeout"), QStringLiteral("1.5"),
                         QStringLiteral("--per-address-limit"), QString::number(PerAddressLimit) }),
            m_log.constData());
        m_port = m_site.port();
        // The editors file is read at every upload; something secret lies beside the site folder.
        QVERIFY(WriteFileBytes(m_site.root() + QStringLiteral("/editors.conf"), EditorsFile));
        QVERIFY(WriteFileBytes(m_site.root() + QStringLiteral("/../secret.txt"), "s3cret hors du site"));
        // A package of a hundred kilobytes, under a name that needs escaping.
        QVERIFY(QDir().mkpath(m_site.root() + QStringLiteral("/Vantor2027/paquets")));
        m_package = m_site.root() + QStringLiteral("/Vantor2027/paquets/kestrava_1.0+<b>&x_amd64.deb");
        QByteArray package;
        for (int i = 0; i < 20000; ++i)
            package += QByteArray::number(i);
        QVERIFY(WriteFileBytes(m_package, package));
        m_demoStore = ReadFileBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
        QVERIFY(!m_demoStore.isEmpty());
    }

    // Every test starts from the demo site.
    void init() { QVERIFY(m_site.reset(QStringLiteral(KESTRAVA_DATA_DIR))); }

    void pathsOnTheWire_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("status");
        QTest::newRow("encoded letter") << QByteArray("/Vantor2027/%64on.L1") << 200;
        for (const char *path : { "/Vantor2027/../editors.conf", "/Vantor2027/%2e%2e/editors.conf",
                 "/Vantor2027/%2E%2E%2Feditors.conf", "/Vantor2027/..%2feditors.conf",
                 "/Vantor2027/%2e%2e/%2e%2e/secret.txt", "/Vantor2027/%252e%252e/editors.conf",
                 "/Vantor2027/..%5ceditors.conf", "/Vantor2027/..\\editors.conf", "/./editors.conf",
                 "/Vantor2027/don.L1%00.txt", "/Vantor2027//don.L1", "/Vantor2027/%zzdon.L1",
                 "/Vantor2027/don.L1%2", "/%C3" })
            QTest::newRow(path) << QByteArray(path) << 404;
        QTest::newRow("guide of the sources") << QByteArray("/Vantor2027/aide/images/tableau.png") << 200;
        QTest::newRow("package") << QByteArray("/Vantor2027/paquets/kestrava_1.0%2B%3Cb%3E%26x_amd64.deb") << 200;
        QTest::newRow("out of the packages") << QByteArray("/Vantor2027/paquets/%2e%2e/%2e%2e/editors.conf") << 404;
        QTest::newRow("too long") << "/" + QByteArray(5000, 'a') << 404;
        // Not a path at all: the request itself is refused.
        QTest::newRow("no leading slash") << QByteArray("Vantor2027/don.L1") << 400;
        QTest::newRow("absolute address") << QByteArray("http://127.0.0.1/Vantor2027/don.L1") << 400;
    }

    void pathsOnTheWire()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, status);
        // Byte for byte as written: an ordinary client would tidy the path before sending it.
        const QByteArray raw
            = exchange("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", 3000)
                  .answer;
        QVERIFY2(raw.startsWith("HTTP/1.1 " + QByteArray::number(status)), raw.left(80).constData());
        QVERIFY(!raw.contains("s3cret"));
    }

    // The package whole, from its link on the download page, sent from the disk.
    void packageOnTheWire()
    {
        const QString page = QString::fromUtf8(get("/Vantor2027/index.php").body);
        const QRegularExpression link(QStringLiteral("<a href=\"(paquets/kestrava_[^\"]*)\">([^<]*)</a>"));
        const QRegularExpressionMatch m = link.match(page);
        QVERIFY2(m.hasMatch(), qPrintable(page));
        QCOMPARE(m.captured(2), QStringLiteral("kestrava_1.0+&lt;b&gt;&amp;x_amd64.deb"));
        for (const QByteArray method : { "GET", "HEAD" }) {
            QNetworkRequest req = request("/Vantor2027/" + m.captured(1).toLatin1());
            const Answer a = wait(m_nam.sendCustomRequest(req, method));
            QCOMPARE(a.status, 200);
            QCOMPARE(a.contentType, QByteArray("application/vnd.debian.binary-package"));
            QCOMPARE(a.contentLength, QFileInfo(m_package).size());
            QCOMPARE(a.body, method == "GET" ? ReadFileBytes(m_package) : QByteArray());
        }
    }

    Exchange fetch(const QByteArray &method, const QByteArray &path, const QByteArray &headers)
    {
        return exchange(
            method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                + (headers.isEmpty() ? QByteArray() : headers + "\r\n") + "\r\n",
            3000);
    }

    // The three published files answer a conditional request with 304 and no body; any other
    // request, or a file changed since, gets the file whole with its new validators.
    void conditionalRequests_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("headers"); // {etag} and {date} stand for the first answer's
        QTest::addColumn<int>("status");
        const struct
        {
            const char *name;
            QByteArray method, headers;
            int status;
        } cases[] = {
            {"tag", "GET", "If-None-Match: {etag}", 304},
            {"HEAD with the tag", "HEAD", "If-None-Match: {etag}", 304},
            {"tag among others, weak", "GET", "If-None-Match: \"autre\", W/{etag}", 304},
            {"any tag", "GET", "If-None-Match: *", 304},
            {"another tag", "GET", "If-None-Match: \"autre\"", 200},
            {"another tag beats the date", "GET", "If-None-Match: \"autre\"\r\nIf-Modified-Since: {date}", 200},
            {"same date", "GET", "If-Modified-Since: {date}", 304},
            {"later date", "GET", "If-Modified-Since: Fri, 01 Jan 2100 00:00:00 GMT", 304},
            {"earlier date", "GET", "If-Modified-Since: Mon, 01 Jan 2024 00:00:00 GMT", 200},
            {"unreadable date", "GET", "If-Modified-Since: hier soir", 200},
            {"no validators", "GET", "", 200},
        };
        for (const QByteArray file : {"Resultats2027.ini", "L12027.txt", "don.L1"})
            for (const auto &c : cases)
                QTest::addRow("%s, %s", file.constData(), c.name) << file << c.method << c.headers << c.status;
    }

    void conditionalRequests()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, headers);
        QFETCH(int, status);
        const QString local = m_site.published(QString::fromLatin1(file));
        // Written an hour ago: its date may be sent (a file of this very second has none).
        const QDateTime hourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
        QVERIFY(kestrava::test::SetModified(local, hourAgo));
        const QByteArray path = "/Vantor2027/" + file;
        const Exchange first = fetch("GET", path, {});
        QVERIFY2(first.answer.startsWith("HTTP/1.1 200"), first.answer.left(80).constData());
        const QByteArray etag = first.header("ETag");
        const QByteArray date = first.header("Last-Modified");
        QVERIFY(etag.startsWith('"') && etag.endsWith('"') && etag.size() > 8);
        QCOMPARE(QDateTime::fromString(QString::fromLatin1(date).replace(QStringLiteral("GMT"), QStringLiteral("+0000")),
                                       Qt::RFC2822Date)
                     .toSecsSinceEpoch(),
                 hourAgo.toSecsSinceEpoch());

        const QByteArray sent = QByteArray(headers).replace("{etag}", etag).replace("{date}", date);
        const Exchange answer = fetch(method, path, sent);
        QVERIFY2(answer.answer.startsWith("HTTP/1.1 " + QByteArray::number(status)), answer.answer.left(80).constData());
        QCOMPARE(answer.header("ETag"), etag);
        QCOMPARE(answer.body(), status == 304 || method == "HEAD" ? QByteArray() : ReadFileBytes(local));

        // Published again with other bytes and the old time: the tag alone tells the change.
        QVERIFY(WriteFileBytes(local, ReadFileBytes(local) + "\r\n"));
        QVERIFY(kestrava::test::SetModified(local, hourAgo));
        const Exchange changed = fetch("GET", path, "If-None-Match: " + etag);
        QVERIFY2(changed.answer.startsWith("HTTP/1.1 200"), changed.answer.left(80).constData());
        QVERIFY(changed.header("ETag") != etag);
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
        QCOMPARE(ReadFileBytes(published(".1")), m_demoStore);

        // Credentials in the address, a non-ASCII pseudonym, a file under another name.
        const QByteArray second = "[RESULTATS]\r\n0100=R|0|1|2|2|0|0|D\r\n[Maj]\r\nMaj=07 d\xE9"
                                  "c. 10:00\r\n[Pseudo]\r\nPseudo=H\xE9l\xE8ne\r\n";
        a = upload({ "pseudo=H%C3%A9l%C3%A8ne&mdp=autre%20mot", {}, {}, second, "Resultats2027-060127.ini" });
        QCOMPARE(a.status, 200);
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, second);
        QCOMPARE(ReadFileBytes(published(".1")), m_demoStore);
        QCOMPARE(ReadFileBytes(published(".2")), first);
    }

    void formsOnTheWire_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("phrase");
        const QByteArray store = ReadFileBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
        const QByteArray multipart = "multipart/form-data; boundary=XyZ";
        const QByteArray form = filePart("XyZ", store) + "--XyZ--\r\n";
        const QString notMultipart = QStringLiteral("multipart/form-data attendu");
        const QString unreadable = QStringLiteral("incomplet ou illisible");
        QTest::newRow("quoted boundary, other case")
            << QByteArray("Multipart/Form-Data; boundary=\"a b\"") << filePart("a b", store) + "--a b--\r\n"
            << 200 << QStringLiteral("Fichier reçu");
        QTest::newRow("url-encoded") << QByteArray("application/x-www-form-urlencoded")
                                     << "fichier=" + store.toPercentEncoding() << 400 << notMultipart;
        QTest::newRow("no boundary") << QByteArray("multipart/form-data") << form << 400 << notMultipart;
        QTest::newRow("no closing delimiter") << multipart << filePart("XyZ", store) << 400 << unreadable;
        QByteArray many;
        for (int i = 0; i < 40; ++i)
            many += "--XyZ\r\nContent-Disposition: form-data; name=\"f" + QByteArray::number(i)
                + "\"\r\n\r\nx\r\n";
        QTest::newRow("too many parts") << multipart << many + form << 400 << unreadable;
    }

    void formsOnTheWire()
    {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QString, phrase);
        const Exchange e = exchange(formRequest(contentType, body), 3000);
        QVERIFY2(
            e.answer.startsWith("HTTP/1.1 " + QByteArray::number(status)), e.answer.left(100).constData());
        QVERIFY2(QString::fromUtf8(e.answer).contains(phrase), e.answer.constData());
        QCOMPARE(QFile::exists(published(".1")), status == 200);
    }

    void connectionRules_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("statuses"); // the status of each answer, in order
        QTest::addColumn<bool>("closed");
        const QByteArray get = "GET /Vantor2027/don.L1 HTTP/1.1\r\nHost: x\r\n";
        auto row = [](const char *name, const QByteArray &request, const QByteArray &statuses, bool closed) {
            QTest::newRow(name) << request << statuses << closed;
        };
        row("HTTP/1.0", "GET /Vantor2027/don.L1 HTTP/1.0\r\n\r\n", "200", true);
        row("HTTP/1.0 asking keep-alive", "GET /Vantor2027/don.L1 HTTP/1.0\r\nConnection: keep-alive\r\n\r\n",
            "200", false);
        row("Connection: close", get + "Connection: close\r\n\r\n", "200", true);
        row("keep-alive, two requests at once", get + "\r\n" + get + "\r\n", "200 200", false);
        row("then close", get + "\r\n" + get + "Connection: Keep-Alive, close\r\n\r\n" + get + "\r\n",
            "200 200", true);
        row("two lengths",
            "POST /Vantor2027/EXPEL1.php HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nxx", "400",
            true);
        row("chunked upload",
            "POST /Vantor2027/EXPEL1.php HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "411",
            true);
        row("huge body announced",
            "POST /Vantor2027/EXPEL1.php HTTP/1.1\r\nContent-Length: 999999999\r\n\r\n", "413", true);
        row("head too long", get + "X-Pad: " + QByteArray(20000, 'p') + "\r\n\r\n", "431", true);
    }

    void connectionRules()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, statuses);
        QFETCH(bool, closed);
        const Exchange e = exchange(request, 700);
        QByteArray seen;
        for (qsizetype at = e.answer.indexOf("HTTP/1.1 "); at >= 0;
             at = e.answer.indexOf("HTTP/1.1 ", at + 1))
            seen += (seen.isEmpty() ? "" : " ") + e.answer.mid(at + 9, 3);
        QCOMPARE(seen, statuses);
        QCOMPARE(e.closed, closed);
        if (request.startsWith("GET /Vantor2027/don.L1 HTTP/1.0\r\nConnection: keep-alive"))
            QVERIFY(e.answer.toLower().contains("\r\nconnection: keep-alive\r\n"));
    }

    void keepAliveIsBounded()
    {
        // Idle: closed after the idle time.
        Exchange e = exchange("GET /Vantor2027/don.L1 HTTP/1.1\r\n\r\n", 4000);
        QVERIFY(e.closed);
        QVERIFY2(e.ms >= 1400 && e.ms < 2500, QByteArray::number(e.ms).constData());
        // Busy: closed after a thousand answers, the last one saying so.
        QByteArray many;
        for (int i = 0; i < 1005; ++i)
            many += "HEAD /Vantor2027/don.L1 HTTP/1.1\r\n\r\n";
        e = exchange(many, 3000);
        QVERIFY(e.closed);
        QCOMPARE(e.answer.count("HTTP/1.1 200"), 1000);
        QVERIFY(e.answer.mid(e.answer.lastIndexOf("HTTP/1.1 200")).contains("\r\nConnection: close\r\n"));
    }

    void slowClientsShutNobodyOut()
    {
        // Connections that hold half a request, and some that trickle: they are dropped once the
        // request time is over, and in the meantime everybody else is served at once.
        std::vector<std::unique_ptr<QTcpSocket>> slow;
        for (int i = 0; i < 300; ++i) {
            auto s = std::make_unique<QTcpSocket>();
            s->connectToHost(QHostAddress::LocalHost, m_port);
            QVERIFY(s->waitForConnected(3000));
            s->write(i % 10 ? "GET /Vantor2027/don.L1 HTTP/1.1\r\nHost: x\r\n" : "G");
            s->flush();
            slow.push_back(std::move(s));
        }
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1000) {
            const Exchange e = exchange("GET /Vantor2027/don.L1 HTTP/1.0\r\n\r\n", 1000);
            QVERIFY2(e.answer.startsWith("HTTP/1.1 200") && e.ms < 500,
                (QByteArray::number(e.ms) + e.answer.left(100)).constData());
            for (int i = 0; i < 300; i += 10) {
                slow[size_t(i)]->write("E");
                slow[size_t(i)]->flush();
            }
            QTest::qWait(100);
        }
        int dropped = 0;
        const bool allDropped = QTest::qWaitFor(
            [&] {
                dropped = 0;
                for (auto &s : slow) {
                    s->waitForReadyRead(0);
                    dropped += s->state() != QAbstractSocket::ConnectedState || s->bytesAvailable() > 0;
                }
                return dropped == 300;
            },
            3000);
        QVERIFY2(allDropped, QByteArray::number(dropped).constData());
        QVERIFY(clock.elapsed() < 3500);
        QVERIFY(slow[1]->readAll().startsWith("HTTP/1.1 408"));
    }

    void connectionsPerAddressAreLimited()
    {
        // One address holding all it may hold is refused more, and nobody else is.
        const QHostAddress greedy(QStringLiteral("127.0.0.3"));
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < PerAddressLimit; ++i) {
            auto s = std::make_unique<QTcpSocket>();
            QVERIFY(s->bind(greedy));
            s->connectToHost(QHostAddress::LocalHost, m_port);
            QVERIFY(s->waitForConnected(3000));
            held.push_back(std::move(s));
        }
        const QByteArray get = "GET /Vantor2027/don.L1 HTTP/1.0\r\n\r\n";
        QTest::qWait(100); // the site has taken them all
        const Exchange refused = exchange(get, 1000, greedy);
        QVERIFY(refused.closed && refused.answer.isEmpty());
        QVERIFY(exchange(get, 1000).answer.startsWith("HTTP/1.1 200"));
        held.pop_back();
        QTest::qWait(100);
        QVERIFY(exchange(get, 1000, greedy).answer.startsWith("HTTP/1.1 200"));
    }
};

QTEST_GUILESS_MAIN(TestSiteServer)
#include "tst_site_server.moc"

// The web edition on the real kestrava-site (127.0.0.1): written at start, switched whole after
// every accepted upload while readers keep fetching it, left alone by a refused upload.
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {

const QString DataDir = QStringLiteral(KESTRAVA_DATA_DIR);

// The demo store as publication `n`: its introduction says which, and the first club gets n % 3
// bonus points, so that two publications in a row never show the same figures.
int bonusOf(int n)
{
    return n % 3;
}

QByteArray storeNumber(int n)
{
    QByteArray store = ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
    store.replace("[BonMal]\r\n", "[BonMal]\r\nA=" + QByteArray::number(bonusOf(n)) + "\r\n");
    const qsizetype at = store.indexOf("Texte=");
    return store.left(at) + "Texte=Envoi " + QByteArray::number(n) + store.mid(store.indexOf('\r', at));
}

struct Answer
{
    int status = 0;
    QByteArray body;
    QByteArray cacheControl;
    QByteArray contentType;
};

// Publication number and first club's points of a whole index page; -1 when it is not whole.
std::pair<int, double> readIndex(const QByteArray &page)
{
    if (!page.startsWith("<!DOCTYPE html>") || !page.endsWith("</html>\n"))
        return {-1, 0};
    const auto intro = QRegularExpression(QStringLiteral("Envoi (\\d+)")).match(QString::fromUtf8(page));
    const auto row = QRegularExpression(QStringLiteral("<a href=\"club-paris-sg\\.html\">Paris SG</a>.*?</th><td>([-0-9,]+)</td>"))
                         .match(QString::fromUtf8(page));
    if (!intro.hasMatch() || !row.hasMatch())
        return {-1, 0};
    return {intro.captured(1).toInt(), row.captured(1).replace(u',', u'.').toDouble()};
}

double jsonPoints(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return -1000;
    for (const QJsonValue &row : doc.object().value(QStringLiteral("rows")).toArray()) {
        if (row.toObject().value(QStringLiteral("team")).toString() == u"Paris SG")
            return row.toObject().value(QStringLiteral("points")).toDouble();
    }
    return -1000;
}

} // namespace

class TstSiteWeb : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_site;
    quint16 m_port = 0;
    QNetworkAccessManager m_nam;
    QByteArray m_log; // the end of the site's log, for a failure's message

    QString season(const QString &name) const { return m_dir.filePath(QStringLiteral("Vantor2027/") + name); }

    QNetworkReply *send(const QByteArray &path, QHttpMultiPart *form = nullptr)
    {
        QNetworkRequest req(QUrl::fromEncoded("http://127.0.0.1:" + QByteArray::number(m_port) + path));
        req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QNetworkReply *reply = form ? m_nam.post(req, form) : m_nam.get(req);
        if (form)
            form->setParent(reply);
        return reply;
    }

    static Answer answer(QNetworkReply *reply)
    {
        Answer a;
        a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        a.body = reply->readAll();
        a.cacheControl = reply->rawHeader("Cache-Control");
        a.contentType = reply->rawHeader("Content-Type");
        reply->deleteLater();
        return a;
    }

    Answer get(const QByteArray &path)
    {
        QNetworkReply *reply = send(path);
        if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
            reply->abort();
        return answer(reply);
    }

    Answer upload(const QByteArray &store, const QByteArray &password)
    {
        auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
        QHttpPart file;
        file.setRawHeader("Content-Disposition", "form-data; name=\"fichier\"; filename=\"Resultats2027.ini\"");
        file.setBody(store);
        multi->append(file);
        QNetworkReply *reply = send("/Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=" + password, multi);
        if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
            reply->abort();
        return answer(reply);
    }

    // Waits until the index is publication `n`.
    bool waitForPublication(int n)
    {
        return QTest::qWaitFor([&] { return readIndex(get("/Vantor2027/web/index.html").body).first == n; }, 60000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(season(QString())));
        QVERIFY(QFile::copy(DataDir + QStringLiteral("/2027.txt"), season(QStringLiteral("L12027.txt"))));
        QVERIFY(WriteFileBytes(season(QStringLiteral("Resultats2027.ini")), storeNumber(0)));
        QVERIFY(WriteFileBytes(m_dir.filePath(QStringLiteral("editors.conf")), "Editeur=kestrava\n"));
        m_site.setProgram(QStringLiteral(KESTRAVA_SITE));
        m_site.setArguments({QStringLiteral("--root"), m_dir.path(), QStringLiteral("--port"), QStringLiteral("0")});
        m_site.start();
        QVERIFY(m_site.waitForStarted(5000));
        QByteArray out;
        const QRegularExpression listening(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
        QVERIFY(QTest::qWaitFor([&] {
            m_site.waitForReadyRead(50);
            out += m_site.readAllStandardOutput();
            const auto m = listening.match(QString::fromUtf8(out));
            m_port = m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
            return m_port != 0;
        }, 5000));
        // The site logs every request: its output is drained so that it never waits on a full pipe.
        connect(&m_site, &QProcess::readyReadStandardOutput, this, [this] {
            for (const QByteArray &line : m_site.readAllStandardOutput().split('\n')) {
                if (!line.contains(" GET ") && !line.isEmpty())
                    m_log = (m_log + line + '\n').right(4096);
            }
        });
    }

    void cleanupTestCase()
    {
        m_site.terminate();
        if (!m_site.waitForFinished(10000)) {
            m_site.kill();
            m_site.waitForFinished(3000);
        }
    }

    void writtenAtStart()
    {
        QVERIFY(waitForPublication(0));
        const Answer index = get("/Vantor2027/web/");
        QCOMPARE(index.status, 200);
        QCOMPARE(index.cacheControl, QByteArray("public, max-age=60"));
        QVERIFY(index.contentType.startsWith("text/html"));
        const Answer json = get("/Vantor2027/web/classement.json");
        QCOMPARE(json.cacheControl, QByteArray("public, max-age=60"));
        QCOMPARE(json.contentType, QByteArray("application/json"));
        QVERIFY(get("/Vantor2027/web/club-lens.ics").contentType.startsWith("text/calendar"));
        // Only the edition's own files: not the folders behind the link, nor anything beside it.
        for (const QByteArray &path : {QByteArray("/Vantor2027/web/../editors.conf"), QByteArray("/Vantor2027/web/%2e%2e/Resultats2027.ini.1"),
                                      QByteArray("/Vantor2027/web.editions/"), QByteArray("/Vantor2027/web/index.php")})
            QCOMPARE(get(path).status, 404);
    }

    void readersNeverSeeHalfAnEdition()
    {
        QVERIFY(waitForPublication(0));
        const double base = readIndex(get("/Vantor2027/web/index.html").body).second;

        // Readers fetch the index and the JSON one after the other for as long as the uploads go on.
        int reads = 0, lastSeen = 0;
        QStringList faults;
        bool reading = true;
        std::function<void(bool)> fetch = [&](bool json) {
            QNetworkReply *reply = send(json ? "/Vantor2027/web/classement.json" : "/Vantor2027/web/index.html");
            connect(reply, &QNetworkReply::finished, this, [&, reply, json] {
                const Answer a = answer(reply);
                ++reads;
                int seen = -1;
                if (a.status != 200) {
                    faults << QStringLiteral("statut %1").arg(a.status);
                } else if (json) {
                    const double points = jsonPoints(a.body);
                    if (points - base != 0 && points - base != 1 && points - base != 2)
                        faults << QStringLiteral("JSON incomplet ou mêlé (%1 points)").arg(points);
                } else {
                    const auto [n, points] = readIndex(a.body);
                    seen = n;
                    if (n < 0 || points != base + bonusOf(n))
                        faults << QStringLiteral("index incomplet ou mêlé (envoi %1, %2 points)").arg(n).arg(points);
                }
                // A newer publication is never followed by an older one.
                if (seen >= 0 && seen < lastSeen)
                    faults << QStringLiteral("retour à l'envoi %1 après %2").arg(seen).arg(lastSeen);
                lastSeen = std::max(lastSeen, seen);
                if (reading)
                    fetch(!json);
            });
        };
        fetch(false);
        fetch(true);

        for (int n = 1; n <= 50; ++n) {
            QCOMPARE(upload(storeNumber(n), "kestrava").status, 200);
            if (n == 25) {
                // A refused upload leaves the edition as it was.
                QVERIFY(waitForPublication(25));
                const QString before = QFileInfo(season(QStringLiteral("web"))).symLinkTarget();
                QCOMPARE(upload(storeNumber(99), "mauvais").status, 403);
                QCOMPARE(upload("[Resultats]\r\n0100=ceci n'est pas un résultat\r\n", "kestrava").status, 400);
                QTest::qWait(1500);
                QCOMPARE(QFileInfo(season(QStringLiteral("web"))).symLinkTarget(), before);
            }
        }
        QVERIFY2(waitForPublication(50),
            qPrintable(QStringLiteral("envoi %1 affiché ; %2")
                           .arg(readIndex(get("/Vantor2027/web/index.html").body).first)
                           .arg(QString::fromUtf8(m_log.right(700)))));
        reading = false;
        QTest::qWait(300);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QVERIFY2(reads >= 100, qPrintable(QString::number(reads)));
        QCOMPARE(jsonPoints(get("/Vantor2027/web/classement.json").body), base + bonusOf(50));
    }
};

QTEST_GUILESS_MAIN(TstSiteWeb)
#include "tst_site_web.moc"

// The results download against raw servers that misbehave as real ones do: the local store is
// replaced only by a whole, plausible store, within a deadline, and nothing else is left behind.
#include "NetworkDownloader.h"
#include "TestFiles.h"
#include "online/Online.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kestrava;
using namespace kestrava::test;

namespace {

const QByteArray Published = ReadFileBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
const QByteArray Local = QByteArray(Published).replace("Maj=05", "Maj=01");

QByteArray Chunked(const QByteArray &body, bool finished)
{
    QByteArray out;
    for (qsizetype at = 0; at < body.size(); at += 1000) {
        const QByteArray piece = body.mid(at, 1000);
        out += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    return finished ? out + "0\r\n\r\n" : out;
}

// Answers every request with `answer`, then hangs up; or, with `trickleMs`, sends its head at once
// and its body a byte at a time.
class RawServer : public QTcpServer
{
public:
    RawServer(QByteArray answer, int trickleMs)
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this, answer, trickleMs] {
            while (QTcpSocket *s = nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, s, [s, answer, trickleMs] {
                    s->readAll();
                    if (trickleMs == 0) {
                        s->write(answer);
                        s->disconnectFromHost();
                        return;
                    }
                    auto *timer = new QTimer(s);
                    auto sent = std::make_shared<qsizetype>(answer.indexOf("\r\n\r\n") + 4);
                    s->write(answer.left(*sent));
                    connect(timer, &QTimer::timeout, s, [s, answer, sent] {
                        if (*sent < answer.size())
                            s->write(answer.mid((*sent)++, 1));
                    });
                    timer->start(trickleMs);
                });
            }
        });
    }
    QUrl base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(serverPort())); }
};

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT
private slots:
    void onlyWholePlausibleStores_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("trickleMs");
        QTest::addColumn<bool>("kept");
        const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n";
        auto sized = [&](const QByteArray &body) {
            return ok + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        };
        QTest::newRow("whole, with its length") << sized(Published) << 0 << true;
        // Qt cannot tell a chunked body cut at a chunk's end from a finished one: both refused.
        QTest::newRow("chunked, to the last chunk")
            << ok + "Transfer-Encoding: chunked\r\n\r\n" + Chunked(Published, true) << 0 << false;
        QTest::newRow("cut, no length") << ok + "\r\n" + Published.left(1300) << 0 << false;
        QTest::newRow("whole but ended by the close")
            << "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + Published << 0 << false;
        QTest::newRow("cut before its length")
            << ok + "Content-Length: 5000\r\n\r\n" + Published.left(2000) << 0 << false;
        QTest::newRow("chunked, cut")
            << ok + "Transfer-Encoding: chunked\r\n\r\n" + Chunked(Published, false) << 0 << false;
        QTest::newRow("empty") << sized({}) << 0 << false;
        // An answer other than 2xx is never a store, even one whose body would pass for it: Qt flags
        // a 404 itself, but a 300 without a place to go is ours to refuse.
        for (const char *status : { "404 Not Found", "300 Multiple Choices" })
            QTest::newRow(status) << "HTTP/1.1 " + QByteArray(status) + "\r\nContent-Length: "
                    + QByteArray::number(Published.size()) + "\r\n\r\n" + Published
                                  << 0 << false;
        for (const char *tiny : { "[Maj]\r\nMaj=x\r\n", "[", "; rien" })
            QTest::newRow(tiny) << sized(tiny) << 0 << false;
        // Whole after some 6 s: too late all the same.
        QTest::newRow("a byte now and then") << sized("[Maj]\r\nMaj=05 d\xE9"
                                                      "c. 21:40\r\n")
                                             << 250 << false;
    }

    void onlyWholePlausibleStores()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, trickleMs);
        QFETCH(bool, kept);
        RawServer server(answer, trickleMs);
        QTemporaryDir dir;
        const ResultsStore store(dir.path());
        QVERIFY(WriteFileBytes(store.path(), Local));
        // The trickle never stays silent for the idle limit; only the deadline ends it.
        NetworkDownloader downloader(1000, 1500);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(FetchResultsStore(store, SiteAddresses(server.base().toString()), downloader), kept);
        QVERIFY(clock.elapsed() < 4000);
        QCOMPARE(ReadFileBytes(store.path()), kept ? Published : Local);
        // A store taken leaves only the validators of its answer beside it, for the next refresh.
        const QStringList left = kept ? QStringList { QStringLiteral("Resultats2027.etag"), QStringLiteral("Resultats2027.ini") }
                                      : QStringList { QStringLiteral("Resultats2027.ini") };
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), left);
    }

    void backupLeftByAnEarlierRun()
    {
        RawServer down("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", 0);
        NetworkDownloader downloader(1000, 1500);
        const SiteAddresses site(down.base().toString());
        // Beside a store: an old copy, removed.
        QTemporaryDir dir;
        const ResultsStore store(dir.path());
        QVERIFY(WriteFileBytes(store.path(), Local) && WriteFileBytes(store.backupPath(), Published));
        QVERIFY(!FetchResultsStore(store, site, downloader));
        QCOMPARE(ReadFileBytes(store.path()), Local);
        QVERIFY(!QFile::exists(store.backupPath()));
        // In place of the store: put back.
        QVERIFY(QFile::rename(store.path(), store.backupPath()));
        QVERIFY(!FetchResultsStore(store, site, downloader));
        QCOMPARE(ReadFileBytes(store.path()), Local);
        QVERIFY(!QFile::exists(store.backupPath()));
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"

// The automatic refresh of match days against the real site on 127.0.0.1, with the clock and the
// desktop's notices replaced: what arrives, what is told, and when nothing is asked at all.
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "TestProgram.h"
#include "online/Online.h"

#include <QFileInfo>
#include <QNetworkProxyFactory>
#include <QSignalSpy>
#include <QTest>

using namespace kestrava;
using namespace kestrava::test;

namespace {

// The real downloader, counted: every request the program sends goes through it.
struct CountingDownloader final : Downloader
{
    NetworkDownloader network{3000};
    int requests = 0;
    bool download(const QUrl &url, const QString &target, const Check &accept) override
    {
        ++requests;
        return network.download(url, target, accept);
    }
    Outcome downloadIfChanged(const QUrl &url, const QString &target, HttpValidators &validators,
                              const Check &accept) override
    {
        ++requests;
        return network.downloadIfChanged(url, target, validators, accept);
    }
};

// Matchday 13's Sunday evening: the demo season holds matchdays 1 to 13.
const QDateTime SundayEvening(QDate(2026, 12, 6), QTime(20, 0));

QByteArray DemoStore()
{
    return ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
}

// The demo store without Lens - Marseille (1301): the result still to come.
QByteArray StoreBeforeLensMarseille()
{
    return DemoStore().replace("1301=H||1|4|1|2||B\r\n", "");
}

// Lens - Marseille ends 2 - 1, and two fixtures of matchday 14 are played early.
QByteArray StoreWithNewResults()
{
    return DemoStore()
        .replace("1301=H||1|4|1|2||B", "1301=H||1|2|1|2||B")
        .replace("[BonMal]", "1401=E||0|0|1|1||I\r\n1403=Q||2|3|1|0||J\r\n[BonMal]");
}

struct Program : TestProgram
{
    CountingDownloader counting;
    Program(const QString &siteBase, const QDateTime &now)
        : TestProgram(Demo)
    {
        downloader = &counting;
        setSiteBase(siteBase);
        clock.set(now);
        settings.write(QStringLiteral("Data"), QStringLiteral("C7"), QStringLiteral("1"));
    }
    // The first beat after start-up asks the site at once.
    MainController &startAndDownload()
    {
        MainController &c = start();
        c.clickButton(Btn::Update);
        return c;
    }
    void after(int minutes)
    {
        clock.set(clock.now().addSecs(60 * minutes));
        controller->refresh().tick();
    }
    QDateTime storeModified() const { return QFileInfo(storePath()).lastModified(); }
    int rankOf(const QString &team)
    {
        for (int r = 0; r < TeamCount; ++r)
            if (controller->standings().table().cell(r, TableColumn::Name).text == team)
                return r + 1;
        return 0;
    }
};

} // namespace

class TestAutoRefresh : public QObject
{
    Q_OBJECT

    DemoSite m_site;

    void publish(const QByteArray &store)
    {
        QVERIFY(WriteFileBytes(m_site.published(QStringLiteral("Resultats2027.ini")), store));
    }

private slots:
    void initTestCase()
    {
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QByteArray log;
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &log), log.constData());
    }

    void init()
    {
        QVERIFY(m_site.reset(DataDir));
        publish(StoreBeforeLensMarseille());
    }

    void newResultsReachTheWindowAndAreTold()
    {
        Program p(m_site.base(), SundayEvening);
        p.settings.write(QStringLiteral("Data"), QStringLiteral("EP"), QStringLiteral("Lens"));
        p.settings.write(QStringLiteral("Data"), QStringLiteral("C5"), QStringLiteral("1"));
        MainController &c = p.startAndDownload();
        QCOMPARE(p.counting.requests, 1);
        c.matchdays().showMatchday(10);
        // Nothing new since the download: the first beat gets a 304, and start-up told nothing.
        p.after(1);
        QCOMPARE(p.counting.requests, 2);
        QCOMPARE(int(c.refresh().lastOutcome()), int(Downloader::Outcome::NotModified));
        QVERIFY(p.notifier.shown.isEmpty());

        publish(StoreWithNewResults());
        p.after(4);
        QCOMPARE(p.counting.requests, 2); // within the five minutes, nothing is asked
        p.after(1);
        QCOMPARE(p.counting.requests, 3);
        QCOMPARE(p.storeBytes(), StoreWithNewResults());
        // The table has the new results; the grid still shows what the user was looking at.
        QCOMPARE(c.matchdays().grid().matchday, 10);
        QVERIFY(p.dialogs.shown.isEmpty());

        QCOMPARE(p.notifier.shown.size(), 2);
        QCOMPARE(p.notifier.shown[0].title, QStringLiteral("Lens 2 - 1 Marseille"));
        const int rank = p.rankOf(QStringLiteral("Lens"));
        QVERIFY(rank > 0);
        QCOMPARE(p.notifier.shown[0].body, QStringLiteral("Lens est %1 au classement").arg(rank == 1 ? QStringLiteral("1er") : QString::number(rank) + u'e'));
        QCOMPARE(p.notifier.shown[0].matchday, 13);
        QCOMPARE(p.notifier.shown[1].title, QStringLiteral("2 nouveaux résultats"));
        QCOMPARE(p.notifier.shown[1].body, QStringLiteral("Lille 0 - 1 Brest\nParis FC 3 - 1 Toulouse"));
        QCOMPARE(p.notifier.shown[1].matchday, 14);

        // The second refresh: a 304, the file untouched, nothing redrawn, nothing told.
        const QDateTime modified = p.storeModified();
        QSignalSpy table(&c.standings().table(), &LeagueTableModel::changed);
        QSignalSpy grid(&c.matchdays().grid(), &FixtureGridModel::changed);
        QTest::qWait(20); // a rewrite would show in the modification time
        p.after(5);
        QCOMPARE(p.counting.requests, 4);
        QCOMPARE(int(c.refresh().lastOutcome()), int(Downloader::Outcome::NotModified));
        QCOMPARE(p.storeModified(), modified);
        QCOMPARE(table.size(), 0);
        QCOMPARE(grid.size(), 0);
        QCOMPARE(p.notifier.shown.size(), 2);

        // Clicking the summary brings the window up on its matchday.
        QSignalSpy raised(&c.refresh(), &RefreshController::raiseRequested);
        p.notifier.click(1);
        QCOMPARE(raised.size(), 1);
        QCOMPARE(c.matchdays().grid().matchday, 14);
    }

    // Without a favourite every new result goes into the one summary.
    void noFavouriteOneSummary()
    {
        Program p(m_site.base(), SundayEvening);
        p.startAndDownload();
        publish(StoreWithNewResults());
        p.after(5);
        QCOMPARE(p.notifier.shown.size(), 1);
        QCOMPARE(p.notifier.shown[0].title, QStringLiteral("3 nouveaux résultats"));
        QVERIFY(p.notifier.shown[0].body.startsWith(QStringLiteral("Lens 2 - 1 Marseille\n")));
    }

    void nothingAsked_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("asked");
        const QDate sunday = SundayEvening.date();
        QTest::newRow("noon") << QDateTime(sunday, QTime(12, 0)) << "" << true;
        QTest::newRow("before noon") << QDateTime(sunday, QTime(11, 59)) << "" << false;
        QTest::newRow("just before midnight") << QDateTime(sunday, QTime(23, 59)) << "" << true;
        QTest::newRow("after midnight") << QDateTime(sunday.addDays(1), QTime(0, 30)) << "" << false;
        QTest::newRow("before the season") << QDateTime(QDate(2026, 8, 20), QTime(20, 0)) << "" << false;
        QTest::newRow("matchday 1") << QDateTime(QDate(2026, 8, 21), QTime(20, 0)) << "" << true;
        QTest::newRow("last matchday's week") << QDateTime(QDate(2027, 5, 27), QTime(20, 0)) << "" << true;
        QTest::newRow("after the season") << QDateTime(QDate(2027, 5, 28), QTime(20, 0)) << "" << false;
        QTest::newRow("entries pending") << SundayEvening << "pending" << false;
        QTest::newRow("store saved since") << SundayEvening << "saved" << false;
        QTest::newRow("store edited by hand") << SundayEvening << "edited" << false;
        QTest::newRow("option off") << SundayEvening << "off" << false;
        QTest::newRow("window closed") << SundayEvening << "closed" << false;
    }

    void nothingAsked()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, state);
        QFETCH(bool, asked);
        Program p(m_site.base(), now);
        MainController &c = p.startAndDownload();
        // On a Friday the donors list is fetched at start-up too.
        const int before = p.counting.requests;
        QVERIFY(before >= 1);
        if (state == u"pending") {
            c.matchdays().showMatchday(14);
            c.matchdays().editGoals(0, GoalsBox::Home, QStringLiteral("3"));
        } else if (state == u"saved") {
            c.matchdays().showMatchday(14);
            c.matchdays().editGoals(0, GoalsBox::Home, QStringLiteral("3"));
            c.matchdays().editGoals(0, GoalsBox::Away, QStringLiteral("0"));
            QVERIFY(c.matchdays().saveGrid());
        } else if (state == u"edited") {
            QVERIFY(WriteFileBytes(p.storePath(), StoreWithNewResults()));
        } else if (state == u"off") {
            c.options().setCheck(7, 0);
        } else if (state == u"closed") {
            c.close();
        }
        const QByteArray store = p.storeBytes();
        publish(StoreWithNewResults());
        p.after(0);
        QCOMPARE(p.counting.requests - before, asked ? 1 : 0);
        if (!asked)
            QCOMPARE(p.storeBytes(), store);
        // The option is saved with the others when the window closes.
        c.close();
        QCOMPARE(p.settings.read(QStringLiteral("Data"), QStringLiteral("C7"), QString()),
                 state == u"off" ? QStringLiteral("0") : QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestAutoRefresh)
#include "tst_auto_refresh.moc"

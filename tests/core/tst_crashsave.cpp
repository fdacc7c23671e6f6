// Saves killed at random moments: a child process saves the results store again and again and
// is killed with SIGKILL; the store must then hold the state before or after the save that was
// running, never a mix, and nothing the program reads may be left beside it.
#include "TestFiles.h"
#include "platform/IniFile.h"
#include "season/ResultsStore.h"
#include "season/StoreCheck.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <cstdio>

using namespace kestrava;

namespace {

const QDateTime Launch(QDate(2026, 12, 6), QTime(7, 24));

// State n: the nine results of matchday 1 all read n goals for the home side.
QList<EntryRow> Rows(int n)
{
    QList<EntryRow> rows;
    for (int p = 0; p < FixturesPerMatchday; ++p)
        rows.append({ FixtureKey(1, p), TeamLetter(2 * p), TeamLetter(2 * p + 1), QString::number(n), "1",
            "2", "", "", "" });
    return rows;
}

// The child: saves states from, from + 1, ... and says each one once it is on disk.
int SaveForever(const QString &folder, int from)
{
    const ResultsStore store(folder);
    for (int n = from;; ++n) {
        if (!store.saveResults(Rows(n), Launch, Launch, QString()).written)
            return 1;
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}

// The state a store holds, -1 when its nine results do not agree.
int StateOf(const QString &path)
{
    const IniSnapshot s = IniSnapshot::fromFile(path);
    const int n = ResultsStore::result(s, FixtureKey(1, 0)).r1().toInt();
    for (int p = 1; p < FixturesPerMatchday; ++p) {
        if (ResultsStore::result(s, FixtureKey(1, p)).r1().toInt() != n)
            return -1;
    }
    return n;
}

} // namespace

class TestCrashSave : public QObject
{
    Q_OBJECT
private slots:
    void killedSavesLeaveAWholeStore()
    {
        QTemporaryDir dir;
        const ResultsStore store(dir.path());
        QVERIFY(store.saveResults(Rows(0), Launch, Launch, QString()).written);
        QRandomGenerator rng(2027);
        int state = 0;
        int betweenSaves = 0;
        int strays = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KESTRAVA_SAVE_LOOP"), dir.path());
            env.insert(QStringLiteral("KESTRAVA_SAVE_FROM"), QString::number(state + 1));
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            // Half the kills come before the first save is known to be done.
            if (rng.bounded(2))
                QVERIFY(child.waitForReadyRead(5000));
            QThread::usleep(rng.bounded(3000));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(5000));
            const QList<QByteArray> said = child.readAllStandardOutput().split('\n');
            const int lastSaid = said.size() >= 2 ? said.at(said.size() - 2).toInt() : state;
            const int now = StateOf(store.path());
            QVERIFY2(now == lastSaid || now == lastSaid + 1,
                qPrintable(QStringLiteral("kill %1: state %2 after %3").arg(kill).arg(now).arg(lastSaid)));
            QVERIFY(CheckResultsStore(test::ReadFileBytes(store.path())).ok());
            // A kill between the temporary file's naming and its rename may leave it: never under a
            // name the program reads.
            const QRegularExpression temporary(QStringLiteral("^Resultats2027\\.ini\\.[A-Za-z0-9]{6}$"));
            for (const QString &name :
                QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
                QVERIFY2(name == u"Resultats2027.ini" || temporary.match(name).hasMatch(), qPrintable(name));
                strays += name != u"Resultats2027.ini" && QFile::remove(dir.filePath(name));
            }
            betweenSaves += now > state ? 1 : 0;
            state = now;
        }
        // The kills did land among the saves, not only before the first one.
        QVERIFY(betweenSaves > 50);
        qInfo("%d kills, %d between two saves, %d temporary files left", 200, betweenSaves, strays);
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("KESTRAVA_SAVE_LOOP"))
        return SaveForever(
            qEnvironmentVariable("KESTRAVA_SAVE_LOOP"), qEnvironmentVariableIntValue("KESTRAVA_SAVE_FROM"));
    QCoreApplication app(argc, argv);
    TestCrashSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsave.moc"

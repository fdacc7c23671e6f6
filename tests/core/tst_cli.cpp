// kestrava-cli end to end: the built program run on copies of the shipped data files. The table
// rules are the engine's tests' business; here, the command line's own: options, formats, exit
// codes and the outputs on the demo season, kept as golden files under tests/data/. The CSV table
// (demo-table.csv) was worked out apart from the program; the other outputs agree with it.
#include "RunProgram.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using kestrava::test::Outcome;
using kestrava::test::RunProgram;

const QString Now = QStringLiteral("2026-12-06 08:00");

Outcome runCli(const QStringList &args, const QString &program = QStringLiteral(KESTRAVA_CLI))
{
    return RunProgram(program, args);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray golden(const QString &name)
{
    return readAll(QStringLiteral(KESTRAVA_TEST_DATA_DIR "/") + name);
}

const QString DemoStore = QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini");

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void outputs_data();
    void outputs();
    void refused_data();
    void refused();
    void fullOutput_data();
    void fullOutput();
    void installedLayout();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), path(QStringLiteral("2027.txt"))));
    QVERIFY(QFile::copy(DemoStore, path(QStringLiteral("Resultats2027.ini"))));
}

void TstCli::outputs_data()
{
    QTest::addColumn<QStringList>("args"); // "@" stands for the data folder
    QTest::addColumn<QString>("change"); // what is done to the data folder first
    QTest::addColumn<QString>("golden");
    const QStringList table = { "table", "--dir", "@", "--now", Now };
    QTest::newRow("csv") << table + QStringList { "--format", "csv" } << "" << "demo-table.csv";
    // Without --dir, the data is read beside the program.
    QTest::newRow("program folder") << QStringList { "table", "--format", "csv", "--now", Now } << "program copy"
                                    << "demo-table.csv";
    // On 6 December matchday 13 is the current one: four teams are one match behind.
    QTest::newRow("text") << table << "" << "cli/table.txt";
    QTest::newRow("json") << table + QStringList { "--format", "json" } << "" << "cli/table.json";
    QTest::newRow("matchday 5") << table + QStringList { "--matchday", "5" } << "" << "cli/table-md5.txt";
    QTest::newRow("matchday 34 is the whole season")
        << table + QStringList { "--matchday", "34", "--format", "csv" } << "" << "demo-table.csv";
    // Everybody level (Paris FC's malus lives in the missing store too): one rank, names descending.
    QTest::newRow("no results store") << table + QStringList { "--format", "csv" } << "no store"
                                      << "cli/table-no-store.csv";
    QTest::newRow("names needing quotes") << table + QStringList { "--format", "csv" } << "quoted names"
                                          << "cli/table-quoted.csv";
    QTest::newRow("matchday grid") << QStringList { "matchday", "13", "--dir", "@", "--now", Now } << ""
                                   << "cli/matchday13.txt";
    // Second half of the season: each fixture shows the first leg's score; the matchday is tomorrow.
    QTest::newRow("matchday grid, tomorrow")
        << QStringList { "matchday", "30", "--dir", "@", "--now", "2027-04-22 10:00" } << "" << "cli/matchday30.txt";
    QTest::newRow("card report") << QStringList { "cards", "--dir", "@" } << "" << "cli/cards.txt";
    // Best defence: Strasbourg first, then Lens and Nice sharing second place.
    QTest::newRow("category") << table + QStringList { "--format", "csv", "--category", "BC" } << ""
                              << "cli/table-category-bc.csv";
    QTest::newRow("reachable column") << table + QStringList { "--format", "csv", "--possible" } << ""
                                      << "cli/table-possible.csv";
    // 200 points of bonus: Lens can no longer be caught.
    QTest::newRow("champion") << table + QStringList { "--possible" } << "bonus 200" << "cli/table-champion.txt";
}

void TstCli::outputs()
{
    QFETCH(QStringList, args);
    QFETCH(QString, change);
    QFETCH(QString, golden);
    if (change == u"no store")
        QVERIFY(QFile::remove(path(QStringLiteral("Resultats2027.ini"))));
    if (change == u"bonus 200") {
        QFile f(path(QStringLiteral("Resultats2027.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write("[BonMal]\r\nH=200\r\n") > 0);
    }
    if (change == u"quoted names") {
        QByteArray season = readAll(path(QStringLiteral("2027.txt")));
        season.replace("EQU|Paris SG\r\n", "EQU|Paris, SG\r\n").replace("EQU|Le Havre\r\n", "EQU|Le \"Havre\"\r\n");
        QFile f(path(QStringLiteral("2027.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(season) == season.size());
    }
    const QString program = change == u"program copy" ? path(QStringLiteral("kestrava-cli")) : QStringLiteral(KESTRAVA_CLI);
    if (change == u"program copy") {
        QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_CLI), program));
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner));
    }
    const Outcome o = runCli(args.replaceInStrings(QStringLiteral("@"), m_dir->path()), program);
    QCOMPARE(o.err, QString());
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, ::golden(golden));
    // The store is read, never written.
    if (change.isEmpty() || change == u"program copy")
        QCOMPARE(readAll(path(QStringLiteral("Resultats2027.ini"))), readAll(DemoStore));
}

void TstCli::refused_data()
{
    // "@" stands for the folder holding good data, so that only the option itself is wrong.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    const int usage = 1;
    QTest::newRow("no command") << QStringList {} << usage;
    QTest::newRow("unknown command") << QStringList { "tabel", "--dir", "@" } << usage;
    QTest::newRow("matchday 35") << QStringList { "table", "--dir", "@", "--matchday", "35" } << usage;
    QTest::newRow("matchday -1") << QStringList { "table", "--dir", "@", "--matchday", "-1" } << usage;
    QTest::newRow("matchday not a number") << QStringList { "table", "--dir", "@", "--matchday", "five" } << usage;
    QTest::newRow("format xml") << QStringList { "table", "--dir", "@", "--format", "xml" } << usage;
    QTest::newRow("now garbage") << QStringList { "table", "--dir", "@", "--now", "garbage" } << usage;
    QTest::newRow("missing option value") << QStringList { "table", "--dir", "@", "--matchday" } << usage;
    QTest::newRow("unknown option") << QStringList { "table", "--dir", "@", "--colour", "red" } << usage;
    QTest::newRow("grid of matchday 0") << QStringList { "matchday", "0", "--dir", "@" } << usage;
    QTest::newRow("grid with a format") << QStringList { "matchday", "3", "--dir", "@", "--format", "csv" } << usage;
    QTest::newRow("cards with a matchday") << QStringList { "cards", "--dir", "@", "--matchday", "3" } << usage;
    QTest::newRow("unknown category") << QStringList { "table", "--dir", "@", "--category", "XX" } << usage;
    QTest::newRow("category and reachable")
        << QStringList { "table", "--dir", "@", "--possible", "--category", "BC" } << usage;
    // Exit code 2: the season file is missing, from the folder or with the folder.
    QTest::newRow("no season file") << QStringList { "table", "--dir", "@", "--format", "csv" } << 2;
    QTest::newRow("no such folder") << QStringList { "cards", "--dir", "@/no-such-folder" } << 2;
}

void TstCli::refused()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    if (status == 2)
        QVERIFY(QFile::remove(path(QStringLiteral("2027.txt"))));
    const Outcome o = runCli(args.replaceInStrings(QStringLiteral("@"), m_dir->path()));
    QCOMPARE(o.status, status);
    QVERIFY2(o.err.startsWith(status == 2 ? QStringLiteral("Absence du fichier 2027.txt\n")
                                          : QStringLiteral("usage: kestrava-cli table")),
        qPrintable(o.err));
    QCOMPARE(o.out, QByteArray());
}

void TstCli::fullOutput_data()
{
    // A command of each source file that prints: a full disk must not pass for success.
    QTest::addColumn<QStringList>("args");
    const QStringList dir = { "--dir", "@" };
    QTest::newRow("table json") << QStringList { "table", "--format", "json" } + dir;
    QTest::newRow("cards") << QStringList { "cards" } + dir;
    QTest::newRow("team") << QStringList { "team", "Lens" } + dir;
    QTest::newRow("highlights") << QStringList { "highlights" } + dir;
    QTest::newRow("projections") << QStringList { "projections", "--simulations", "10" } + dir;
}

void TstCli::fullOutput()
{
    QFETCH(QStringList, args);
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(KESTRAVA_CLI), args.replaceInStrings(QStringLiteral("@"), m_dir->path()));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 3);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).startsWith(QStringLiteral("La sortie n'a pas pu")));
}

// Installed under a prefix (the program in bin/, the season file in share/kestrava/), for a user
// whose home is empty: the season folder is the user's data folder, the window's own; without the
// publisher's address "update" says where to give it.
void TstCli::installedLayout()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("usr/bin"))) && QDir().mkpath(path(QStringLiteral("usr/share/kestrava"))));
    const QString program = path(QStringLiteral("usr/bin/kestrava-cli"));
    QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_CLI), program));
    QVERIFY(QFile::rename(path(QStringLiteral("2027.txt")), path(QStringLiteral("usr/share/kestrava/2027.txt"))));
    // The programs this test starts inherit an empty home.
    qputenv("XDG_DATA_HOME", path(QStringLiteral("home/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("home/config")).toUtf8());
    const Outcome table = runCli({ QStringLiteral("table"), QStringLiteral("--format"), QStringLiteral("csv") }, program);
    QVERIFY2(table.status == 0 && table.out.startsWith("rank,"), qPrintable(table.err));
    QCOMPARE(readAll(path(QStringLiteral("home/data/Kestrava/2027.txt"))), readAll(QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt")));

    const Outcome update = runCli({ QStringLiteral("update") }, program);
    QCOMPARE(update.status, 4);
    QVERIFY2(update.err.startsWith(QStringLiteral("Aucune adresse d'éditeur n'est enregistrée")), qPrintable(update.err));
}

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"

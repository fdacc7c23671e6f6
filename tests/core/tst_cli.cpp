// kestrava-cli end to end: the built program run on copies of the shipped data files.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Now = QStringLiteral("2026-12-06 08:00");

struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

Outcome runCli(const QStringList &args, const QString &program = QStringLiteral(KESTRAVA_CLI))
{
    QProcess p;
    p.start(program, args);
    Outcome o;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        o.err = QStringLiteral("timed out");
        return o;
    }
    o.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// One CSV record split as RFC 4180 reads it (no line breaks inside our fields).
QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                cur += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cur += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    fields << cur;
    return fields;
}

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void goldenCsv();
    void defaultFolderIsTheProgramFolder();
    void textTable();
    void matchdayFive();
    void json();
    void noResultsStore();
    void namesNeedingQuotes();
    void missingSeasonFile();
    void category();
    void reachable();
    void matchdayGrid();
    void cardReport();
    void badOptions_data();
    void badOptions();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_golden;
};

void TstCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::copy(
        QStringLiteral(KESTRAVA_DATA_DIR "/2027.txt"), m_dir->filePath(QStringLiteral("2027.txt"))));
    QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"),
        m_dir->filePath(QStringLiteral("Resultats2027.ini"))));
    m_golden = QString::fromUtf8(readAll(QStringLiteral(KESTRAVA_TEST_DATA_DIR "/demo-table.csv")));
    QVERIFY(!m_golden.isEmpty());
}

void TstCli::goldenCsv()
{
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--format", "csv", "--now", Now });
    QCOMPARE(o.err, QString());
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, m_golden);
    const QString header = QStringLiteral("rank,team,points,played,goals_for,goals_against,goal_difference,"
                                          "fair_play,home_goals_for,away_goals_for,home_goals_against,"
                                          "away_goals_against,home_points,away_points,home_wins,away_wins,"
                                          "home_losses,away_losses,draws,form\n");
    QVERIFY(o.out.startsWith(header));
    // The store is read, never written.
    QCOMPARE(readAll(m_dir->filePath(QStringLiteral("Resultats2027.ini"))),
        readAll(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini")));
}

void TstCli::defaultFolderIsTheProgramFolder()
{
    const QString copy = m_dir->filePath(QStringLiteral("kestrava-cli"));
    QVERIFY(QFile::copy(QStringLiteral(KESTRAVA_CLI), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner));
    const Outcome o = runCli({ "table", "--format", "csv", "--now", Now }, copy);
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, m_golden);
}

void TstCli::textTable()
{
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.split(u'\n');
    // No title for the whole season: the heading comes first.
    QVERIFY2(lines.value(0).contains(QStringLiteral("Équipe")), qPrintable(lines.value(0)));
    QVERIFY(lines.value(1).contains(QStringLiteral("Lens")));
    QVERIFY(lines.value(18).contains(QStringLiteral("Lorient")));
    // Matchday 13 is the current one on 6 December: four teams are one match behind.
    QVERIFY(lines.contains(QStringLiteral("2 Matches en retard pour : Nice, Paris SG, Auxerre, Lille.")));
    QVERIFY(lines.contains(QStringLiteral("38% des Matches joués")));
    QVERIFY(lines.contains(QStringLiteral("Nombre de buts au total: 360")));
    QVERIFY(lines.contains(QStringLiteral("Moyenne de buts par match :3,13")));

    // After the season every team is behind matchday 34.
    const Outcome late = runCli({ "table", "--dir", m_dir->path(), "--now", "2027-06-30 12:00" });
    QCOMPARE(late.status, 0);
    QVERIFY(late.out.contains(QStringLiteral("9 Matches en retard pour : Lens, Nice, Marseille,")));
}

void TstCli::matchdayFive()
{
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--matchday", "5", "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.split(u'\n');
    QCOMPARE(lines.value(0), QStringLiteral("Classement à la Journée N°5"));
    // Lens after five matchdays: 13 points, 5 played, 12 for, 6 against.
    QVERIFY2(lines.value(2).simplified().startsWith(QStringLiteral("1 Lens 13 5 12 6 6 11")),
        qPrintable(lines.value(2)));
    QVERIFY(!o.out.contains(QStringLiteral("en retard")));
    QVERIFY(!o.out.contains(QStringLiteral("en avance")));
    QVERIFY(lines.contains(QStringLiteral("15% des Matches joués")));
    QVERIFY(lines.contains(QStringLiteral("Nombre de buts au total: 147")));

    const Outcome j
        = runCli({ "table", "--dir", m_dir->path(), "--matchday", "5", "--format", "json", "--now", Now });
    QCOMPARE(j.status, 0);
    const QJsonObject root = QJsonDocument::fromJson(j.out.toUtf8()).object();
    QCOMPARE(root.value("title").toString(), QStringLiteral("Classement à la Journée N°5"));
    const QJsonArray rows = root.value("rows").toArray();
    QCOMPARE(rows.size(), 18);
    int played = 0;
    for (const QJsonValue &v : rows) {
        QVERIFY(v.toObject().value("played").toInt() <= 5);
        played += v.toObject().value("played").toInt();
    }
    QCOMPARE(played, 90);
    QCOMPARE(rows[1].toObject().value("team").toString(), QStringLiteral("Nantes"));
    QCOMPARE(rows[17].toObject().value("team").toString(), QStringLiteral("Rennes"));
    QCOMPARE(root.value("games_in_hand").toString(), QString());
}

void TstCli::json()
{
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--format", "json", "--now", Now });
    QCOMPARE(o.status, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(o.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = doc.object();
    const QJsonArray rows = root.value("rows").toArray();
    QCOMPARE(rows.size(), 18);

    // Same rows as the golden table, in the same order.
    const QStringList csv = m_golden.trimmed().split(u'\n').mid(1);
    QCOMPARE(csv.size(), 18);
    for (int r = 0; r < 18; ++r) {
        const QStringList f = csvFields(csv[r]);
        const QJsonObject row = rows[r].toObject();
        QCOMPARE(row.value("rank").toInt(), f[0].toInt());
        QCOMPARE(row.value("team").toString(), f[1]);
        QCOMPARE(row.value("points_text").toString(), f[2]);
        QCOMPARE(row.value("played").toInt(), f[3].toInt());
        QCOMPARE(row.value("goal_difference").toInt(), f[6].toInt());
        QCOMPARE(row.value("fair_play").toInt(), f[7].toInt());
        QCOMPARE(row.value("draws").toInt(), f[18].toInt());
        QCOMPARE(row.value("form").toString(), f[19]);
    }
    QCOMPARE(rows[0].toObject().value("points").toDouble(), 32.0);
    QCOMPARE(rows[0].toObject().value("key").toString(), QStringLiteral("042213027971"));
    QCOMPARE(root.value("games_in_hand").toString(),
        QStringLiteral("2 Matches en retard pour : Nice, Paris SG, Auxerre, Lille."));
    QCOMPARE(root.value("progress").toString(), QStringLiteral("38% des Matches joués"));
    QCOMPARE(root.value("leader").toString(), QStringLiteral("Lens"));
    QCOMPARE(root.value("title").toString(), QString());
}

void TstCli::noResultsStore()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Resultats2027.ini"))));
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--format", "csv", "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.trimmed().split(u'\n').mid(1);
    QCOMPARE(lines.size(), 18);
    // All level: descending names, case and accents aside, one shared rank.
    const QStringList expected = { "Toulouse", "Strasbourg", "Saint-Étienne", "Rennes", "Paris SG",
        "Paris FC", "Nice", "Nantes", "Monaco", "Marseille", "Lyon", "Lorient", "Lille", "Lens", "Le Havre",
        "Brest", "Auxerre", "Angers" };
    for (int r = 0; r < 18; ++r) {
        const QStringList f = csvFields(lines[r]);
        QCOMPARE(f.value(0), QStringLiteral("1"));
        QCOMPARE(f.value(1), expected[r]);
        // Paris FC's malus lives in the missing store: nobody has a point.
        QCOMPARE(f.value(2), QStringLiteral("0"));
    }
}

void TstCli::namesNeedingQuotes()
{
    const QString season = m_dir->filePath(QStringLiteral("2027.txt"));
    QByteArray bytes = readAll(season);
    QVERIFY(bytes.contains("EQU|Paris SG\r\n"));
    QVERIFY(bytes.contains("EQU|Le Havre\r\n"));
    bytes.replace("EQU|Paris SG\r\n", "EQU|Paris, SG\r\n");
    bytes.replace("EQU|Le Havre\r\n", "EQU|Le \"Havre\"\r\n");
    QVERIFY(writeAll(season, bytes));

    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--format", "csv", "--now", Now });
    QCOMPARE(o.status, 0);
    QString expected = m_golden;
    expected.replace(QStringLiteral(",Paris SG,"), QStringLiteral(",\"Paris, SG\","));
    expected.replace(QStringLiteral(",Le Havre,"), QStringLiteral(",\"Le \"\"Havre\"\"\","));
    QVERIFY(expected != m_golden);
    QCOMPARE(o.out, expected);
    for (const QString &line : o.out.trimmed().split(u'\n'))
        QCOMPARE(csvFields(line).size(), 20);
    QVERIFY(o.out.contains(QStringLiteral("\n7,\"Paris, SG\",19,12,")));
}

void TstCli::missingSeasonFile()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("2027.txt"))));
    const Outcome o = runCli({ "table", "--dir", m_dir->path(), "--format", "csv" });
    QCOMPARE(o.status, 2);
    QCOMPARE(o.err.trimmed(), QStringLiteral("Absence du fichier 2027.txt"));
    QCOMPARE(o.out, QString());

    const Outcome nowhere = runCli({ "table", "--dir", m_dir->filePath(QStringLiteral("no-such-folder")) });
    QCOMPARE(nowhere.status, 2);
    QCOMPARE(nowhere.err.trimmed(), QStringLiteral("Absence du fichier 2027.txt"));
}

void TstCli::category()
{
    const Outcome o
        = runCli({ "table", "--dir", m_dir->path(), "--format", "csv", "--category", "BC", "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.trimmed().split(u'\n');
    QCOMPARE(lines.value(0), m_golden.section(u'\n', 0, 0));
    // Goals conceded in the golden table: Strasbourg 12, then Lens and Nice 14 (Lens has more points).
    QStringList first;
    for (int r = 1; r <= 4; ++r)
        first << csvFields(lines.value(r)).mid(0, 2).join(u' ');
    QCOMPARE(first, QStringList({ "1 Strasbourg", "2 Lens", "2 Nice", "4 Lille" }));
    // Every other column as the table shows it: Lens's row is the golden one, its rank aside.
    QCOMPARE(lines.value(2).section(u',', 1), m_golden.section(u'\n', 1, 1).section(u',', 1));
}

void TstCli::reachable()
{
    const Outcome o
        = runCli({ "table", "--dir", m_dir->path(), "--format", "csv", "--possible", "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.trimmed().split(u'\n');
    QCOMPARE(lines.value(0), m_golden.section(u'\n', 0, 0) + QStringLiteral(",reachable"));
    QCOMPARE(lines.value(18), m_golden.section(u'\n', 18, 18) + QStringLiteral(",1"));

    // 200 points of bonus: Lens can no longer be caught.
    QVERIFY(writeAll(m_dir->filePath(QStringLiteral("Resultats2027.ini")), "[BonMal]\r\nH=200\r\n"));
    const Outcome text = runCli({ "table", "--dir", m_dir->path(), "--possible", "--now", Now });
    QCOMPARE(text.status, 0);
    QVERIFY(text.out.endsWith(QStringLiteral("\nLens est champion de Ligue 1 2027 !!!\n")));
    const Outcome json
        = runCli({ "table", "--dir", m_dir->path(), "--format", "json", "--possible", "--now", Now });
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(root.value("champion").toString(), QStringLiteral("Lens"));
    QCOMPARE(root.value("rows").toArray()[1].toObject().value("reachable").toInt(), 2);
}

void TstCli::matchdayGrid()
{
    const Outcome o = runCli({ "matchday", "13", "--dir", m_dir->path(), "--now", Now });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 9 + 3);
    QCOMPARE(lines[0], QStringLiteral("Journée N°13: Vendredi 04 Décembre."));
    // 1301=H||1|4|1|2||B in the demo: Lens 4-1 Marseille, no red card on either side.
    const QString lens = lines[2].simplified();
    QVERIFY2(lens.startsWith(QStringLiteral("1301 Lens [CJ 1] 4 - 1 [CJ 2] Marseille Retour le:")), qPrintable(lens));
    QCOMPARE(lines[10], QStringLiteral("Buts dans la journée: 31"));
    QCOMPARE(lines[12], QStringLiteral("Cartons Rouges:1"));

    // A second-half matchday shows the first leg's score from the home side.
    const Outcome later = runCli({ "matchday", "30", "--dir", m_dir->path(), "--now", Now });
    QCOMPARE(later.status, 0);
    QVERIFY(later.out.contains(QStringLiteral(" Dans ")));
    QVERIFY(later.out.contains(QRegularExpression(QStringLiteral("\\(\\d+-\\d+\\)"))));
}

void TstCli::cardReport()
{
    const Outcome o = runCli({ "cards", "--dir", m_dir->path() });
    QCOMPARE(o.status, 0);
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 13 + 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("Jour 01: Cj:")));
    QVERIFY(lines[13].startsWith(QStringLiteral("Cumul CJ ")));
    QVERIFY(lines[14].startsWith(QStringLiteral("Cumul CR ")));
}

void TstCli::badOptions_data()
{
    // "@" stands for the folder holding good data, so that only the option itself is wrong.
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList {};
    QTest::newRow("unknown command") << QStringList { "tabel", "--dir", "@" };
    QTest::newRow("matchday 35") << QStringList { "table", "--dir", "@", "--matchday", "35" };
    QTest::newRow("matchday -1") << QStringList { "table", "--dir", "@", "--matchday", "-1" };
    QTest::newRow("matchday not a number") << QStringList { "table", "--dir", "@", "--matchday", "five" };
    QTest::newRow("format xml") << QStringList { "table", "--dir", "@", "--format", "xml" };
    QTest::newRow("now garbage") << QStringList { "table", "--dir", "@", "--now", "garbage" };
    QTest::newRow("now impossible date")
        << QStringList { "table", "--dir", "@", "--now", "2026-13-40 08:00" };
    QTest::newRow("missing matchday value") << QStringList { "table", "--dir", "@", "--matchday" };
    QTest::newRow("missing now value") << QStringList { "table", "--dir", "@", "--now" };
    QTest::newRow("missing format value") << QStringList { "table", "--dir", "@", "--format" };
    QTest::newRow("missing dir value") << QStringList { "table", "--dir" };
    QTest::newRow("unknown option") << QStringList { "table", "--dir", "@", "--colour", "red" };
    QTest::newRow("matchday 0") << QStringList { "matchday", "0", "--dir", "@" };
    QTest::newRow("matchday without number") << QStringList { "matchday", "--dir", "@" };
    QTest::newRow("matchday with a format") << QStringList { "matchday", "3", "--dir", "@", "--format", "csv" };
    QTest::newRow("cards with a matchday") << QStringList { "cards", "--dir", "@", "--matchday", "3" };
    QTest::newRow("unknown category") << QStringList { "table", "--dir", "@", "--category", "XX" };
    QTest::newRow("category and reachable")
        << QStringList { "table", "--dir", "@", "--possible", "--category", "BC" };
}

void TstCli::badOptions()
{
    QFETCH(QStringList, args);
    args.replaceInStrings(QRegularExpression(QStringLiteral("^@$")), m_dir->path());
    const Outcome o = runCli(args);
    QVERIFY2(o.status > 0, qPrintable(QString::number(o.status)));
    QVERIFY2(o.err.startsWith(QStringLiteral("usage: kestrava-cli table")), qPrintable(o.err));
    QCOMPARE(o.out, QString());
}

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"

// The web edition as kestrava-cli writes it, on copies of the shipped files: the index against the
// table command, the calendars through a real iCalendar parser, hostile store texts, and the
// switch from one edition to the next.
#include "RunProgram.h"
#include "TestFiles.h"
#include "web/WebEdition.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrava;
using kestrava::test::Outcome;
using kestrava::test::ReadFileBytes;
using kestrava::test::RunProgram;
using kestrava::test::WriteFileBytes;

namespace {

const QString Now = QStringLiteral("2026-12-06 08:00");
const QString DataDir = QStringLiteral(KESTRAVA_DATA_DIR);

Outcome cli(const QStringList &args)
{
    return RunProgram(QStringLiteral(KESTRAVA_CLI), args);
}

QString unescape(QString s)
{
    s.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    return s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// The general table of index.html: per row, the club (its link's text) and the figures' cells.
QList<QStringList> indexRows(const QString &html)
{
    const qsizetype start = html.indexOf(QStringLiteral("<table id=\"classement\">"));
    const QString table = html.mid(start, html.indexOf(QStringLiteral("</table>"), start) - start);
    const QRegularExpression rowRe(QStringLiteral("<tr[^>]*>(.*?)</tr>"));
    const QRegularExpression cellRe(QStringLiteral("<(td|th)[^>]*>(.*?)</\\1>"));
    const QRegularExpression linkRe(QStringLiteral("<a href=\"club-[a-z0-9-]+\\.html\">(.*?)</a>"));
    QList<QStringList> rows;
    for (auto m = rowRe.globalMatch(table.mid(table.indexOf(QStringLiteral("<tbody>")))); m.hasNext();) {
        const QString row = m.next().captured(1);
        QStringList cells;
        for (auto c = cellRe.globalMatch(row); c.hasNext();) {
            const QString cell = c.next().captured(2);
            const auto link = linkRe.match(cell);
            cells << (link.hasMatch() ? unescape(link.captured(1)) : unescape(cell));
        }
        rows << cells;
    }
    return rows;
}

} // namespace

class TstWeb : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString edition(const QString &name) const { return path(QStringLiteral("web/") + name); }
    void useStore(const QByteArray &store)
    {
        if (store.isNull())
            QFile::remove(path(QStringLiteral("Resultats2027.ini")));
        else
            QVERIFY(WriteFileBytes(path(QStringLiteral("Resultats2027.ini")), store));
    }
    Outcome write(const QStringList &extra = {})
    {
        return cli(QStringList{QStringLiteral("web"), QStringLiteral("--dir"), m_dir->path(), QStringLiteral("--out"),
                               path(QStringLiteral("web")), QStringLiteral("--now"), Now, QStringLiteral("--simulations"),
                               QStringLiteral("2000")}
                   + extra);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::copy(DataDir + QStringLiteral("/2027.txt"), path(QStringLiteral("2027.txt"))));
        QVERIFY(QFile::copy(DataDir + QStringLiteral("/demo/Resultats2027.ini"), path(QStringLiteral("Resultats2027.ini"))));
    }

    void indexEqualsTableCommand_data()
    {
        QTest::addColumn<QByteArray>("store");
        const QByteArray demo = ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
        QTest::newRow("demo season") << demo;
        QTest::newRow("bonus and malus") << demo + "[BonMal]\r\nA=3\r\nR=-2,5\r\n";
        QTest::newRow("no result yet") << QByteArray("[Texte]\r\nTexte=La saison commence bient\xf4t\r\n");
        QTest::newRow("no store") << QByteArray();
    }
    void indexEqualsTableCommand()
    {
        QFETCH(QByteArray, store);
        useStore(store);
        const Outcome w = write();
        QCOMPARE(w.status, 0);
        const Outcome table = cli({QStringLiteral("table"), QStringLiteral("--dir"), m_dir->path(), QStringLiteral("--now"),
                               Now, QStringLiteral("--format"), QStringLiteral("json")});
        QCOMPARE(table.status, 0);
        QCOMPARE(ReadFileBytes(edition(QStringLiteral("classement.json"))), table.out);

        const QJsonArray expected = QJsonDocument::fromJson(table.out).object().value(QStringLiteral("rows")).toArray();
        const QList<QStringList> rows = indexRows(QString::fromUtf8(ReadFileBytes(edition(QStringLiteral("index.html")))));
        QCOMPARE(rows.size(), 18);
        static const char *const keys[] = {"played", "goals_for", "goals_against", "goal_difference", "fair_play",
            "home_goals_for", "away_goals_for", "home_goals_against", "away_goals_against", "home_points",
            "away_points", "home_wins", "away_wins", "home_losses", "away_losses", "draws"};
        for (int r = 0; r < 18; ++r) {
            const QJsonObject o = expected[r].toObject();
            const QStringList &cells = rows[r];
            QVERIFY2(cells.size() >= 21, qPrintable(cells.join(u'|')));
            QCOMPARE(cells[0].toInt(), o.value(QStringLiteral("rank")).toInt());
            QCOMPARE(cells[1], o.value(QStringLiteral("team")).toString());
            QCOMPARE(cells[2], o.value(QStringLiteral("points_text")).toString());
            for (int k = 0; k < 16; ++k)
                QCOMPARE(cells[3 + k].toInt(), o.value(QLatin1String(keys[k])).toInt());
            QCOMPARE(cells[19], o.value(QStringLiteral("form")).toString());
        }

        // Every page is there and whole, whatever the store holds.
        QStringList names{QStringLiteral("index.html"), QStringLiteral("classements.html"), QStringLiteral("projections.html"),
                          QStringLiteral("records.html"), QStringLiteral("widget.html"), QStringLiteral("calendrier.ics")};
        for (int j = 1; j <= 34; ++j)
            names << QStringLiteral("journee-%1.html").arg(j, 2, 10, QLatin1Char('0'));
        const QDir folder(edition(QString()));
        QCOMPARE(folder.entryList({QStringLiteral("club-*.html")}).size(), 18);
        QCOMPARE(folder.entryList({QStringLiteral("club-*.ics")}).size(), 18);
        QCOMPARE(folder.entryList({QStringLiteral("widget-*.html")}).size(), 18);
        for (const QString &name : folder.entryList({QStringLiteral("*.html")}) + names) {
            const QByteArray page = ReadFileBytes(folder.filePath(name));
            QVERIFY2(!page.isEmpty(), qPrintable(name));
            if (name.endsWith(QStringLiteral(".html"))) {
                QVERIFY2(page.endsWith("</html>\n"), qPrintable(name));
                QVERIFY2(page.contains("<caption") || name == u"records.html" || name.startsWith(u"journees")
                             || name.startsWith(u"clubs"),
                         qPrintable(name));
                QVERIFY2(!page.contains("<script"), qPrintable(name));
            }
        }
        QVERIFY(ReadFileBytes(edition(QStringLiteral("index.html"))).size() < 40 * 1024);
    }

    void calendarsParseAndMatchTheCommand_data()
    {
        QTest::addColumn<QString>("team");
        QTest::addColumn<QString>("file");
        QTest::newRow("season") << QString() << QStringLiteral("calendrier.ics");
        QTest::newRow("a club") << QStringLiteral("Lens") << QStringLiteral("club-lens.ics");
        QTest::newRow("an accented club") << QStringLiteral("Saint-Étienne") << QStringLiteral("club-saint-etienne.ics");
    }
    void calendarsParseAndMatchTheCommand()
    {
        QFETCH(QString, team);
        QFETCH(QString, file);
        if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
            QSKIP("python3 missing");
        QCOMPARE(write().status, 0);
        QStringList args{QStringLiteral("calendar"), QStringLiteral("--dir"), m_dir->path()};
        if (!team.isEmpty())
            args << QStringLiteral("--team") << team;
        const Outcome command = cli(args);
        QCOMPARE(command.status, 0);
        const QString parser = QStringLiteral(KESTRAVA_TEST_DATA_DIR "/ics_events.py");
        const Outcome fromEdition = RunProgram(QStringLiteral("/usr/bin/python3"), {parser}, ReadFileBytes(edition(file)));
        QVERIFY2(fromEdition.status == 0, qPrintable(fromEdition.err));
        const Outcome fromCommand = RunProgram(QStringLiteral("/usr/bin/python3"), {parser}, command.out);
        QCOMPARE(fromCommand.status, 0);
        // Same UIDs, days and titles: a subscribed phone updates its events.
        QCOMPARE(fromEdition.out, fromCommand.out);
        QCOMPARE(fromEdition.out.count('\n'), team.isEmpty() ? 306 : 34);
    }

    void storeTextsStayText_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("introduction") << QByteArray("Texte") << QByteArray("<script>alert('x')</script> & \"co\"");
        QTest::newRow("editor's name") << QByteArray("Pseudo") << QByteArray("<img src=x onerror=alert(1)>");
    }
    void storeTextsStayText()
    {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, value);
        QByteArray store = ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini"));
        const QByteArray line = section + '=';
        const qsizetype at = store.indexOf("\n" + line);
        QVERIFY(at >= 0);
        store = store.left(at + 1) + line + value + store.mid(store.indexOf('\r', at + 1));
        useStore(store);
        QCOMPARE(write().status, 0);
        const QDir folder(edition(QString()));
        for (const QString &name : folder.entryList({QStringLiteral("*.html")})) {
            const QByteArray page = ReadFileBytes(folder.filePath(name));
            QVERIFY2(!page.contains("<script") && !page.contains("<img"), qPrintable(name));
        }
        const QString index = QString::fromUtf8(ReadFileBytes(edition(QStringLiteral("index.html"))));
        QVERIFY(index.contains(QString::fromUtf8(value).toHtmlEscaped().replace(u'\'', QStringLiteral("&#39;"))));
    }

    void switchesWholeEditions()
    {
        const QString link = path(QStringLiteral("web"));
        QCOMPARE(write().status, 0);
        const QString first = QFileInfo(link).symLinkTarget();
        QVERIFY(!first.isEmpty());
        QCOMPARE(write().status, 0);
        const QString second = QFileInfo(link).symLinkTarget();
        QVERIFY(second != first);
        // Made on several threads, one store at one moment gives one edition, file for file.
        const QStringList files = QDir(first).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 98);
        QCOMPARE(QDir(second).entryList(QDir::Files, QDir::Name), files);
        for (const QString &file : files)
            QVERIFY2(ReadFileBytes(first + u'/' + file) == ReadFileBytes(second + u'/' + file), qPrintable(file));
        // The previous edition stays for readers still on it, the one before goes.
        QVERIFY(QFileInfo::exists(first + QStringLiteral("/index.html")));
        QCOMPARE(write().status, 0);
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(second + QStringLiteral("/index.html")));
        QCOMPARE(QDir(path(QStringLiteral("web.editions"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);

        // A folder that is no edition is never replaced.
        const QString other = path(QStringLiteral("notes"));
        QVERIFY(QDir().mkpath(other));
        QVERIFY(WriteFileBytes(other + QStringLiteral("/lisez-moi.txt"), "à garder"));
        const Outcome refused = cli({QStringLiteral("web"), QStringLiteral("--dir"), m_dir->path(), QStringLiteral("--out"), other,
                                 QStringLiteral("--simulations"), QStringLiteral("0")});
        QCOMPARE(refused.status, 3);
        QVERIFY(QFileInfo(other).isDir() && !QFileInfo(other).isSymLink());
        QCOMPARE(ReadFileBytes(other + QStringLiteral("/lisez-moi.txt")), QByteArray("à garder"));
    }

    void clubFileNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("stems");
        QTest::newRow("accents and spaces") << QStringList{QStringLiteral("Saint-Étienne"), QStringLiteral("Paris SG")}
                                            << QStringList{QStringLiteral("saint-etienne"), QStringLiteral("paris-sg")};
        QTest::newRow("same fold") << QStringList{QStringLiteral("Nîmes"), QStringLiteral("Nimes")}
                                   << QStringList{QStringLiteral("nimes"), QStringLiteral("nimes-b")};
        QTest::newRow("nothing ASCII") << QStringList{QStringLiteral("<>"), QStringLiteral("Ωμέγα")}
                                       << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    }
    void clubFileNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, stems);
        SeasonData season;
        for (int t = 0; t < names.size(); ++t)
            season.teams[t] = names[t];
        const auto got = ClubFileStems(season);
        for (int t = 0; t < stems.size(); ++t)
            QCOMPARE(got[t], stems[t]);
    }
};

QTEST_GUILESS_MAIN(TstWeb)
#include "tst_web.moc"

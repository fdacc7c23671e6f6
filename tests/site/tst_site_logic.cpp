// The site's request logic called directly: form parsing, path checks, the results store check,
// the editors file, publishing with backups, and the handler's decisions.
#include "EditorList.h"
#include "MultipartParser.h"
#include "PathSafety.h"
#include "ResultsUpload.h"
#include "SiteHandler.h"
#include "TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrava::site;
using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {

const QByteArray Boundary = "----KestravaTest7MA4YWxkTrZu0gW";

QByteArray Part(const QByteArray &headers, const QByteArray &data)
{
    return "--" + Boundary + "\r\n" + headers + "\r\n\r\n" + data + "\r\n";
}

QByteArray Field(const QByteArray &name, const QByteArray &data)
{
    return Part("Content-Disposition: form-data; name=\"" + name + "\"", data);
}

QByteArray FilePart(const QByteArray &data, const QByteArray &fileName = "Resultats2027.ini")
{
    return Part("Content-Disposition: form-data; name=\"fichier\"; filename=\"" + fileName
            + "\"\r\nContent-Type: application/octet-stream",
        data);
}

QByteArray Closing()
{
    return "--" + Boundary + "--\r\n";
}

// A body as a browser sends it for the upload form.
QByteArray FormBody(const QByteArray &pseudo, const QByteArray &mdp, const QByteArray &fileBytes)
{
    return Field("pseudo", pseudo) + Field("mdp", mdp) + FilePart(fileBytes) + Closing();
}

// A small store in the program's own format: Windows-1252, CR LF.
const QByteArray GoodStore = "[Resultats]\r\n0100=R||3|0|1||0|D\r\n0101=Q|0||0|1|1||O\r\n[BonMal]\r\nQ=-1\r\n"
                             "[Maj]\r\nMaj=06 d\xE9"
                             "c. 07:24\r\n[Pseudo]\r\nPseudo=Editeur\r\n";

} // namespace

class TestSiteLogic : public QObject
{
    Q_OBJECT

private slots:
    void boundaryFromContentType_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("boundary");
        QTest::addColumn<int>("error");
        auto row = [](const char *name, const QByteArray &type, const QByteArray &b, MultipartError e) {
            QTest::newRow(name) << type << b << int(e);
        };
        const QByteArray mf = "multipart/form-data";
        row("browser", mf + "; boundary=----WebKitX3", "----WebKitX3", MultipartError::None);
        row("quoted", mf + "; boundary=\"a b;c\"", "a b;c", MultipartError::None);
        row("case and spaces", "Multipart/Form-Data ;  charset=utf-8;BOUNDARY=xyz", "xyz",
            MultipartError::None);
        row("no boundary", mf, {}, MultipartError::MissingBoundary);
        row("open quote", mf + "; boundary=\"abc", {}, MultipartError::MissingBoundary);
        row("too long", mf + "; boundary=" + QByteArray(71, 'x'), {}, MultipartError::MissingBoundary);
        row("url encoded form", "application/x-www-form-urlencoded", {}, MultipartError::NotMultipart);
    }

    void boundaryFromContentType()
    {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, boundary);
        QFETCH(int, error);
        MultipartError e = MultipartError::TooManyParts;
        QCOMPARE(BoundaryFromContentType(contentType, &e), boundary);
        QCOMPARE(int(e), error);
    }

    void parsesBrowserForm()
    {
        // The file keeps its bytes exactly: CR LF inside, a "--" line, a NUL, high bytes.
        const QByteArray file = QByteArray("[Resultats]\r\n--\r\n0100=A|||||||B\r\n\xE9\x00z", 28);
        const QByteArray pseudo = QStringLiteral("éditeur").toUtf8();
        const MultipartResult r = ParseMultipart(FormBody(pseudo, "p\"w", file), Boundary);
        QVERIFY(r.ok());
        QCOMPARE(r.field(QStringLiteral("pseudo"))->data, pseudo);
        QCOMPARE(r.field(QStringLiteral("mdp"))->data, QByteArray("p\"w"));
        const FormPart *f = r.field(QStringLiteral("fichier"));
        QVERIFY(f && f->hasFileName);
        QCOMPARE(f->fileName, QStringLiteral("Resultats2027.ini"));
        QCOMPARE(f->data, file);
        QVERIFY(!r.field(QStringLiteral("absent")));

        // A preamble before the first delimiter and an empty file part.
        const MultipartResult e = ParseMultipart("preamble\r\n" + FilePart({}, {}) + Closing(), Boundary);
        QVERIFY(e.ok());
        QCOMPARE(e.parts.size(), 1);
        QVERIFY(e.parts.at(0).hasFileName && e.parts.at(0).data.isEmpty());
    }

    void refusesMalformedBodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("boundary");
        QTest::addColumn<int>("error");
        auto row = [](const char *name, const QByteArray &body, MultipartError e,
                       const QByteArray &b = Boundary) { QTest::newRow(name) << body << b << int(e); };
        const QByteArray good = FormBody("Editeur", "pw", GoodStore);
        row("missing boundary", good, MultipartError::MissingBoundary, {});
        row("other boundary", good, MultipartError::NoOpening, "nope");
        row("no closing delimiter", good.left(good.lastIndexOf("--" + Boundary + "--")),
            MultipartError::Truncated);
        row("garbage after delimiter",
            "--" + Boundary + "xx\r\n" + Field("a", "1").mid(Boundary.size() + 4) + Closing(),
            MultipartError::BadDelimiter);
        for (const QByteArray &headers : { QByteArray("Content-Disposition: form-data"),
                 QByteArray("Content-Disposition: attachment; name=\"a\""),
                 QByteArray("Content-Disposition form-data; name=\"a\""),
                 QByteArray("Content-Disposition: form-data; name=\"a") })
            QTest::newRow(headers.constData())
                << Part(headers, "1") + Closing() << Boundary << int(MultipartError::BadHeaders);
        row("headers too long",
            Part("Content-Disposition: form-data; name=\"a\"\r\nX-Pad: " + QByteArray(20000, 'p'), "1")
                + Closing(),
            MultipartError::BadHeaders);
        QByteArray many;
        for (int i = 0; i < 40; ++i)
            many += Field("f" + QByteArray::number(i), "x");
        row("too many parts", many + Closing(), MultipartError::TooManyParts);
    }

    void refusesMalformedBodies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, boundary);
        QFETCH(int, error);
        const MultipartResult r = ParseMultipart(body, boundary);
        QCOMPARE(int(r.error), error);
        QVERIFY(r.parts.isEmpty());
    }

    void damagedBodiesAreRefusedOrWellFramed()
    {
        // A transfer cut anywhere must never pass for a complete form.
        const QByteArray body = FormBody("Editeur", "pw", GoodStore);
        const qsizetype closing = body.lastIndexOf("--" + Boundary + "--") + Boundary.size() + 4;
        for (qsizetype n = 0; n < closing; ++n)
            QVERIFY2(!ParseMultipart(body.left(n), Boundary).ok(), qPrintable(QString::number(n)));
        QVERIFY(ParseMultipart(body.left(closing), Boundary).ok());

        // Mutated and random bodies: any answer will do, as long as it is an answer.
        QRandomGenerator rng(2027);
        int accepted = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray b = body;
            for (int e = 1 + int(rng.bounded(6)); e > 0; --e) {
                const qsizetype at = rng.bounded(int(b.size()));
                const quint32 kind = rng.bounded(3);
                if (kind == 0)
                    b[at] = char(rng.bounded(256));
                else if (kind == 1)
                    b.remove(at, 1 + rng.bounded(8));
                else
                    b.insert(at, QByteArray(1 + rng.bounded(4), "\r\n-\"="[rng.bounded(5)]));
            }
            const MultipartResult r = ParseMultipart(b, Boundary);
            accepted += r.ok() ? 1 : 0;
            QVERIFY(r.ok() || r.parts.isEmpty());
        }
        QVERIFY(accepted < 2000); // most damage is caught
    }

    void cleanRequestPath_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QString>("clean"); // empty: refused
        for (const char *path : { "/", "/Vantor2027/", "/Vantor2027/don.L1" })
            QTest::newRow(path) << QByteArray(path) << QString::fromLatin1(path);
        QTest::newRow("encoded letter")
            << QByteArray("/Vantor2027/%64on.L1") << QStringLiteral("/Vantor2027/don.L1");
        QTest::newRow("utf8") << QByteArray("/%C3%A9t%C3%A9") << QStringLiteral("/été");
        const char *refused[] = { "/Vantor2027/../editors.conf", "/Vantor2027/%2e%2e/editors.conf",
            "/Vantor2027/%2E%2E%2Feditors.conf", "/Vantor2027/..%2feditors.conf",
            "/Vantor2027/%252e%252e/editors.conf", "/./editors.conf", "/Vantor2027/..\\editors.conf",
            "/Vantor2027/don.L1%00.txt", "/Vantor2027//don.L1", "Vantor2027/don.L1", "/Vantor2027/%zzdon.L1",
            "/Vantor2027/don.L1%2", "/%C3", "" };
        for (const char *path : refused)
            QTest::newRow(path) << QByteArray(path) << QString();
        QTest::newRow("too long") << QByteArray("/" + QByteArray(5000, 'a')) << QString();
    }

    void cleanRequestPath()
    {
        QFETCH(QByteArray, encoded);
        QFETCH(QString, clean);
        const std::optional<QString> got = CleanRequestPath(encoded);
        if (clean.isEmpty())
            QVERIFY2(!got, qPrintable(got.value_or(QString())));
        else
            QCOMPARE(got.value_or(QStringLiteral("<refusé>")), clean);
    }

    void fileInsideRootStaysInside()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("site"));
        const QString folder = root + QStringLiteral("/Vantor2027");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub.txt")));
        QVERIFY(WriteFileBytes(folder + QStringLiteral("/don.L1"), "x"));
        QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("secret.txt")), "s"));
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("secret.txt")), folder + QStringLiteral("/L12027.txt")));
        QVERIFY(!FileInsideRoot(root, folder, QStringLiteral("don.L1")).isEmpty());
        // A link leading outside, a folder, nothing, and ways up.
        for (const char *name : { "L12027.txt", "sub.txt", "absent", "..", "../Vantor2027/don.L1" })
            QVERIFY2(FileInsideRoot(root, folder, QString::fromLatin1(name)).isEmpty(), name);
    }

    void checkResultsStore_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        auto row = [](const char *name, const QByteArray &bytes, StoreProblem p, int line = 0,
                       const QString &key = {}) { QTest::newRow(name) << bytes << int(p) << line << key; };
        const QByteArray r = "[Resultats]\r\n0100=A|||||||B\r\n";
        row("program's own", GoodStore, StoreProblem::None);
        row("section any case, LF only, spaces",
            "; commentaire\n[ resultats ]\n 0100 = A|||||||B\n\n[Autre]\nx\n", StoreProblem::None);
        row("demo store", ReadFileBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini")),
            StoreProblem::None);
        QByteArray exact = "[Resultats]\r\n";
        row("exactly the limit", exact + QByteArray(MaxResultsStoreBytes - exact.size(), ' '),
            StoreProblem::None);
        row("empty section", "[Resultats]\r\n[Maj]\r\nMaj=x\r\n", StoreProblem::None);
        row("no section", "[Maj]\r\nMaj=x\r\n", StoreProblem::NoResultsSection);
        // The program reads ANSI: a UTF-8 mark hides the first section from it, so it is refused here too.
        row("utf-8 bom", "\xEF\xBB\xBF" + r, StoreProblem::NoResultsSection);
        row("key 12a4", r + "12a4=A|||||||B\r\n", StoreProblem::BadKey, 3, QStringLiteral("12a4"));
        row("key of five digits", "[Resultats]\r\n01000=A|||||||B\r\n", StoreProblem::BadKey, 2,
            QStringLiteral("01000"));
        row("superscript digits", "[Resultats]\r\n0\xB9\xB2\xB3=A|||||||B\r\n", StoreProblem::BadKey, 2,
            QStringLiteral("0¹²³"));
        row("second results section checked too", r + "[Maj]\r\nx=1\r\n[RESULTATS]\r\nabcd=A|||||||B\r\n",
            StoreProblem::BadKey, 6, QStringLiteral("abcd"));
        row("unclosed section line", r + "[Maj\r\n", StoreProblem::LineWithoutEquals, 3);
        row("line without equals", "[Resultats]\r\n0100 A|||||||B\r\n", StoreProblem::LineWithoutEquals, 2);
        row("seven fields", "[Resultats]\r\n0100=A||||||B\r\n", StoreProblem::BadRecord, 2,
            QStringLiteral("0100"));
        row("nul byte", r + QByteArray("\0\0", 2), StoreProblem::NulByte, 3);
        row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), StoreProblem::ControlChar, 2);
        QByteArray big = "[Resultats]\r\n";
        while (big.size() <= MaxResultsStoreBytes)
            big += "0100=A|||||||B\r\n";
        row("too large", big, StoreProblem::TooLarge);
    }

    void checkResultsStore()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, problem);
        QFETCH(int, line);
        QFETCH(QString, key);
        const StoreCheck c = CheckResultsStore(bytes);
        QCOMPARE(int(c.problem), problem);
        QCOMPARE(c.line, line);
        QCOMPARE(c.key, key);
        QVERIFY(!c.frenchReason().isEmpty());
    }

    void editorList()
    {
        const EditorList list
            = EditorList::fromBytes("# éditeurs du site\r\nEditeur=s3cret\r\n"
                                    "  H\xC3\xA9l\xC3\xA8ne  =  mot de passe \n\n"
                                    "SansMotDePasse=\n=orphelin\nligne sans egal\nEgal=a=b\n");
        QCOMPARE(list.size(), 3);
        using Try = std::tuple<const char *, const char *, bool>; // pseudo, password, accepted
        const Try tries[] = { { "Editeur", "s3cret", true }, { "Hélène", "mot de passe", true },
            { "Egal", "a=b", true }, { "Editeur", "s3cret ", false }, { "Editeur", "S3cret", false },
            { "editeur", "s3cret", false }, { "Hélène", "s3cret", false }, { "Inconnu", "s3cret", false },
            { "SansMotDePasse", "", false }, { "", "orphelin", false }, { "", "", false } };
        for (const auto &[pseudo, password, ok] : tries)
            QVERIFY2(list.accepts(QString::fromUtf8(pseudo), QString::fromUtf8(password)) == ok, pseudo);

        QString error;
        QCOMPARE(EditorList::fromFile(QStringLiteral("/nonexistent/editors.conf"), &error).size(), 0);
        QVERIFY(!error.isEmpty());

        QVERIFY(ConstantTimeEquals("abc", "abc") && ConstantTimeEquals({}, {}));
        QVERIFY(!ConstantTimeEquals("abc", "abd") && !ConstantTimeEquals("abc", "ab"));
        QVERIFY(!ConstantTimeEquals(QByteArray("\x80", 1), QByteArray("\x00", 1)));
    }

    void publishKeepsNumberedBackups()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Vantor2027"));
        const QString target = folder + QStringLiteral("/Resultats2027.ini");
        auto publish = [&](const QByteArray &bytes) {
            return PublishFile(folder, QStringLiteral("Resultats2027.ini"), bytes);
        };
        QVERIFY(publish("v1").ok);
        PublishOutcome o = publish("v2");
        QVERIFY(o.ok);
        QCOMPARE(o.backupName, QStringLiteral("Resultats2027.ini.1"));
        QCOMPARE(ReadFileBytes(target + QStringLiteral(".1")), QByteArray("v1"));

        // Numbers keep rising past gaps and stray names.
        for (const char *suffix : { ".7", ".x9", ".010" })
            QVERIFY(WriteFileBytes(target + QString::fromLatin1(suffix), "old"));
        o = publish("v3");
        QCOMPARE(o.backupName, QStringLiteral("Resultats2027.ini.8"));
        QCOMPARE(ReadFileBytes(target + QStringLiteral(".8")), QByteArray("v2"));
        QCOMPARE(ReadFileBytes(target), QByteArray("v3"));
        QCOMPARE(ReadFileBytes(target + QStringLiteral(".7")), QByteArray("old"));

        // Only the newest backups are kept.
        QTemporaryDir pruned;
        for (int i = 1; i <= 6; ++i)
            QVERIFY(PublishFile(pruned.path(), QStringLiteral("R.ini"), QByteArray::number(i), 3).ok);
        QCOMPARE(QDir(pruned.path()).entryList({ QStringLiteral("R.ini.*") }, QDir::Files, QDir::Name),
            QStringList({ QStringLiteral("R.ini.3"), QStringLiteral("R.ini.4"), QStringLiteral("R.ini.5") }));
        QCOMPARE(ReadFileBytes(pruned.filePath(QStringLiteral("R.ini.5"))), QByteArray("5"));

        // A folder squatting the backup's name makes the copy fail: nothing is replaced.
        QVERIFY(QDir(pruned.path()).mkdir(QStringLiteral("R.ini.6")));
        o = PublishFile(pruned.path(), QStringLiteral("R.ini"), "new", 3);
        QVERIFY(!o.ok && !o.error.isEmpty());
        QCOMPARE(ReadFileBytes(pruned.filePath(QStringLiteral("R.ini"))), QByteArray("6"));
    }

    void handlerDecisions()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString published = root + QStringLiteral("/Vantor2027/Resultats2027.ini");
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Vantor2027")));
        QVERIFY(WriteFileBytes(published, GoodStore));
        QVERIFY(WriteFileBytes(root + QStringLiteral("/Vantor2027/secret.txt"), "no"));
        QVERIFY(WriteFileBytes(root + QStringLiteral("/editors.conf"), "Editeur=s3cret\n"));
        const SiteHandler handler(root, root + QStringLiteral("/editors.conf"));

        const SiteResponse file
            = handler.handle({ "GET", "/Vantor2027/Resultats2027.ini", {}, {}, {}, "127.0.0.1" });
        QCOMPARE(file.body, GoodStore);
        QCOMPARE(file.contentType, QByteArray("text/plain; charset=windows-1252"));
        const SiteResponse head = handler.handle({ "HEAD", "/Vantor2027/Resultats2027.ini", {}, {}, {}, {} });
        QVERIFY(head.headOnly);
        QCOMPARE(head.body, GoodStore); // its length is announced
        using Get = std::tuple<QByteArray, QByteArray, int>; // method, path, status
        const Get gets[] = { { "GET", "/Vantor2027/secret.txt", 404 }, // present, but not a published file
            { "GET", "/editors.conf", 404 }, { "GET", "/Vantor2027/editors.conf", 404 },
            { "GET", "/Vantor2027/don.L1", 404 }, { "GET", "/Vantor2027/sub/don.L1", 404 },
            { "GET", "/Vantor2027", 301 }, { "GET", "/Vantor2027/", 200 },
            { "DELETE", "/Vantor2027/index.php", 405 }, { "POST", "/Vantor2027/Resultats2027.ini", 404 } };
        for (const auto &[method, path, status] : gets)
            QVERIFY2(handler.handle({ method, path, {}, {}, {}, {} }).status == status, path.constData());

        auto post = [&](const QByteArray &query, const QByteArray &body, const QByteArray &type) {
            return handler.handle({ "POST", "/Vantor2027/EXPEL1.php", query, type, body, "127.0.0.1" });
        };
        const QByteArray multipart = "multipart/form-data; boundary=" + Boundary;
        const QByteArray next = QByteArray(GoodStore).replace("0101=", "0102=");
        using Post = std::tuple<QByteArray, QByteArray, QByteArray, int>; // query, body, type, status
        const Post refused[]
            = { { {}, Field("pseudo", "Editeur") + Field("mdp", "s3cret") + Closing(), multipart, 400 },
                  { {}, FormBody("Editeur", "s3cret", next), "application/x-www-form-urlencoded", 400 },
                  { {}, FormBody("Editeur", "s3cret", next), "multipart/form-data", 400 },
                  { {}, FormBody("Editeur", "s3cret", next).chopped(10), multipart, 400 },
                  { {}, FormBody("Editeur", "faux", next), multipart, 403 },
                  { {}, FormBody("Editeur", "", next), multipart, 403 },
                  { "pseudo=Editeur&mdp=faux", FormBody("", "", next), multipart, 403 },
                  { {}, QByteArray(MaxRequestBodyBytes + 1, 'x'), multipart, 413 } };
        for (const auto &[query, body, type, status] : refused)
            QCOMPARE(post(query, body, type).status, status);
        QCOMPARE(ReadFileBytes(published), GoodStore);
        QVERIFY(!QFile::exists(published + QStringLiteral(".1")));

        // The credentials may come with the address of the page instead of the form.
        const SiteResponse r = post("pseudo=Editeur&mdp=s3cret", FilePart(next) + Closing(), multipart);
        QCOMPARE(r.status, 200);
        QVERIFY(QString::fromUtf8(r.body).contains(QStringLiteral("Fichier reçu")));
        QCOMPARE(ReadFileBytes(published), next);
        QCOMPARE(ReadFileBytes(published + QStringLiteral(".1")), GoodStore);

        // The log line names the path, never the query and its password.
        const QByteArray line = SiteHandler::logLine(
            { "POST", "/Vantor2027/EXPEL1.php", "pseudo=Editeur&mdp=s3cret", multipart, {}, "127.0.0.1" }, r);
        QVERIFY(line.contains("POST /Vantor2027/EXPEL1.php 200"));
        QVERIFY(!line.contains("s3cret") && !line.contains('\n'));
    }
};

QTEST_GUILESS_MAIN(TestSiteLogic)
#include "tst_site_logic.moc"

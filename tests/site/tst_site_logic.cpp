// The site's request logic called directly: form parsing, path checks, the results store check,
// the editors file, publishing with backups, and the handler's decisions.
#include "EditorList.h"
#include "MultipartParser.h"
#include "PathSafety.h"
#include "ResultsUpload.h"
#include "SiteHandler.h"
#include "SitePages.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrava::site;

namespace {

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

const QByteArray Boundary = "----KestravaTest7MA4YWxkTrZu0gW";

// A body as a browser sends it for the upload form.
QByteArray FormBody(const QByteArray &pseudo, const QByteArray &mdp, const QByteArray &fileBytes,
    const QByteArray &fileName = "Resultats2027.ini")
{
    QByteArray b;
    b += "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"pseudo\"\r\n\r\n" + pseudo + "\r\n";
    b += "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"mdp\"\r\n\r\n" + mdp + "\r\n";
    b += "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"" + fileName
        + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + fileBytes + "\r\n";
    b += "--" + Boundary + "--\r\n";
    return b;
}

// A small store in the program's own format: Windows-1252, CR LF.
const QByteArray GoodStore = "[Resultats]\r\n"
                             "0100=R||3|0|1||0|D\r\n"
                             "0101=Q|0||0|1|1||O\r\n"
                             "[BonMal]\r\nQ=-1\r\n"
                             "[Maj]\r\nMaj=06 d\xE9"
                             "c. 07:24\r\n"
                             "[Pseudo]\r\nPseudo=Editeur\r\n";

} // namespace

class TestSiteLogic : public QObject
{
    Q_OBJECT

private slots:
    // --- multipart/form-data -------------------------------------------------------------
    void boundaryFromContentType_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("boundary");
        QTest::addColumn<int>("error");
        const int none = int(MultipartError::None);
        const int missing = int(MultipartError::MissingBoundary);
        const int notMultipart = int(MultipartError::NotMultipart);
        QTest::newRow("browser") << QByteArray("multipart/form-data; boundary=----WebKitFormBoundaryX3")
                                 << QByteArray("----WebKitFormBoundaryX3") << none;
        QTest::newRow("quoted") << QByteArray("multipart/form-data; boundary=\"a b;c\"")
                                << QByteArray("a b;c") << none;
        QTest::newRow("case and spaces")
            << QByteArray("Multipart/Form-Data ;  charset=utf-8;BOUNDARY=xyz") << QByteArray("xyz") << none;
        QTest::newRow("no boundary") << QByteArray("multipart/form-data") << QByteArray() << missing;
        QTest::newRow("empty boundary")
            << QByteArray("multipart/form-data; boundary=") << QByteArray() << missing;
        QTest::newRow("open quote") << QByteArray("multipart/form-data; boundary=\"abc") << QByteArray()
                                    << missing;
        QTest::newRow("too long") << QByteArray("multipart/form-data; boundary=" + QByteArray(71, 'x'))
                                  << QByteArray() << missing;
        QTest::newRow("url encoded form")
            << QByteArray("application/x-www-form-urlencoded") << QByteArray() << notMultipart;
        QTest::newRow("nothing") << QByteArray() << QByteArray() << notMultipart;
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
        const MultipartResult r = ParseMultipart(FormBody("\xC3\xA9"
                                                          "diteur",
                                                     "p\"w", file),
            Boundary);
        QVERIFY(r.ok());
        QCOMPARE(r.parts.size(), 3);
        QCOMPARE(r.field(QStringLiteral("pseudo"))->data,
            QByteArray("\xC3\xA9"
                       "diteur"));
        QVERIFY(!r.field(QStringLiteral("pseudo"))->hasFileName);
        QCOMPARE(r.field(QStringLiteral("mdp"))->data, QByteArray("p\"w"));
        const FormPart *f = r.field(QStringLiteral("fichier"));
        QVERIFY(f);
        QVERIFY(f->hasFileName);
        QCOMPARE(f->fileName, QStringLiteral("Resultats2027.ini"));
        QCOMPARE(f->contentType, QByteArray("application/octet-stream"));
        QCOMPARE(f->data, file);
        QVERIFY(!r.field(QStringLiteral("absent")));
    }

    void parsesPreambleAndEmptyFile()
    {
        QByteArray body = "this is a preamble\r\n--" + Boundary
            + "\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"\"\r\n\r\n\r\n--" + Boundary
            + "--";
        const MultipartResult r = ParseMultipart(body, Boundary);
        QVERIFY(r.ok());
        QCOMPARE(r.parts.size(), 1);
        QVERIFY(r.parts.at(0).hasFileName);
        QVERIFY(r.parts.at(0).fileName.isEmpty());
        QVERIFY(r.parts.at(0).data.isEmpty());
    }

    void refusesMalformedBodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("boundary");
        QTest::addColumn<int>("error");
        const QByteArray good = FormBody("Editeur", "pw", GoodStore);
        QTest::newRow("missing boundary") << good << QByteArray() << int(MultipartError::MissingBoundary);
        QTest::newRow("other boundary") << good << QByteArray("nope") << int(MultipartError::NoOpening);
        QTest::newRow("empty body") << QByteArray() << Boundary << int(MultipartError::NoOpening);
        QTest::newRow("no closing delimiter") << good.left(good.lastIndexOf("--" + Boundary + "--"))
                                              << Boundary << int(MultipartError::Truncated);
        QTest::newRow("cut in the file")
            << good.left(good.size() / 2) << Boundary << int(MultipartError::Truncated);
        QTest::newRow("cut after delimiter")
            << QByteArray("--" + Boundary) << Boundary << int(MultipartError::Truncated);
        QTest::newRow("cut in headers")
            << QByteArray("--" + Boundary + "\r\nContent-Disposition: form-data; na") << Boundary
            << int(MultipartError::Truncated);
        QTest::newRow("garbage after delimiter") << QByteArray("--" + Boundary
            + "xx\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--" + Boundary + "--")
                                                 << Boundary << int(MultipartError::BadDelimiter);
        QTest::newRow("part without name") << QByteArray(
            "--" + Boundary + "\r\nContent-Disposition: form-data\r\n\r\n1\r\n--" + Boundary + "--")
                                           << Boundary << int(MultipartError::BadHeaders);
        QTest::newRow("not form-data") << QByteArray("--" + Boundary
            + "\r\nContent-Disposition: attachment; name=\"a\"\r\n\r\n1\r\n--" + Boundary + "--")
                                       << Boundary << int(MultipartError::BadHeaders);
        QTest::newRow("header without colon") << QByteArray("--" + Boundary
            + "\r\nContent-Disposition form-data; name=\"a\"\r\n\r\n1\r\n--" + Boundary + "--")
                                              << Boundary << int(MultipartError::BadHeaders);
        QTest::newRow("unterminated quote") << QByteArray(
            "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"a\r\n\r\n1\r\n--" + Boundary + "--")
                                            << Boundary << int(MultipartError::BadHeaders);
        QByteArray longHeaders = "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"a\"\r\nX-Pad: "
            + QByteArray(20000, 'p') + "\r\n\r\n1\r\n--" + Boundary + "--";
        QTest::newRow("headers too long") << longHeaders << Boundary << int(MultipartError::BadHeaders);
        QByteArray many;
        for (int i = 0; i < 40; ++i)
            many += "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"f" + QByteArray::number(i)
                + "\"\r\n\r\nx\r\n";
        many += "--" + Boundary + "--";
        QTest::newRow("too many parts") << many << Boundary << int(MultipartError::TooManyParts);
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

    void everyTruncationIsRefused()
    {
        // A transfer cut anywhere must never pass for a complete form.
        const QByteArray body = FormBody("Editeur", "pw", GoodStore);
        const qsizetype closing = body.lastIndexOf("--" + Boundary + "--") + Boundary.size() + 4;
        for (qsizetype n = 0; n < closing; ++n)
            QVERIFY2(!ParseMultipart(body.left(n), Boundary).ok(), qPrintable(QString::number(n)));
        QVERIFY(ParseMultipart(body.left(closing), Boundary).ok());
    }

    void randomDamageNeverCrashes()
    {
        // Mutated and random bodies: any answer will do, as long as it is an answer.
        QRandomGenerator rng(2027);
        const QByteArray body = FormBody("Editeur", "pw", GoodStore);
        int accepted = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray b = body;
            const int edits = 1 + int(rng.bounded(6));
            for (int e = 0; e < edits; ++e) {
                const qsizetype at = rng.bounded(int(b.size()));
                switch (rng.bounded(3)) {
                case 0:
                    b[at] = char(rng.bounded(256));
                    break;
                case 1:
                    b.remove(at, 1 + rng.bounded(8));
                    break;
                default:
                    b.insert(at, QByteArray(1 + rng.bounded(4), "\r\n-\"="[rng.bounded(5)]));
                }
            }
            const MultipartResult r = ParseMultipart(b, Boundary);
            if (r.ok())
                ++accepted;
            QVERIFY(r.ok() || r.parts.isEmpty());
        }
        for (int round = 0; round < 500; ++round) {
            QByteArray junk(int(rng.bounded(600)), '\0');
            for (char &c : junk)
                c = char(rng.bounded(256));
            if (rng.bounded(2))
                junk.prepend("--" + Boundary + "\r\n");
            const MultipartResult r = ParseMultipart(junk, Boundary);
            QVERIFY(r.ok() || r.parts.isEmpty());
        }
        // Most damage is caught; what passes is still a well-framed form.
        QVERIFY(accepted < 2000);
    }

    // --- request paths --------------------------------------------------------------------
    void cleanRequestPath_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QString>("clean"); // empty: refused
        QTest::newRow("file") << QByteArray("/Vantor2027/don.L1") << QStringLiteral("/Vantor2027/don.L1");
        QTest::newRow("root") << QByteArray("/") << QStringLiteral("/");
        QTest::newRow("trailing slash") << QByteArray("/Vantor2027/") << QStringLiteral("/Vantor2027/");
        QTest::newRow("encoded letter")
            << QByteArray("/Vantor2027/%64on.L1") << QStringLiteral("/Vantor2027/don.L1");
        QTest::newRow("utf8") << QByteArray("/%C3%A9t%C3%A9") << QStringLiteral("/été");
        QTest::newRow("dot dot") << QByteArray("/Vantor2027/../editors.conf") << QString();
        QTest::newRow("encoded dot dot") << QByteArray("/Vantor2027/%2e%2e/editors.conf") << QString();
        QTest::newRow("encoded upper") << QByteArray("/Vantor2027/%2E%2E%2Feditors.conf") << QString();
        QTest::newRow("encoded slash") << QByteArray("/Vantor2027/..%2feditors.conf") << QString();
        QTest::newRow("double encoded") << QByteArray("/Vantor2027/%252e%252e/editors.conf") << QString();
        QTest::newRow("dot") << QByteArray("/./editors.conf") << QString();
        QTest::newRow("backslash") << QByteArray("/Vantor2027/..\\editors.conf") << QString();
        QTest::newRow("encoded backslash") << QByteArray("/Vantor2027/%5c..%5ceditors.conf") << QString();
        QTest::newRow("nul") << QByteArray("/Vantor2027/don.L1%00.txt") << QString();
        QTest::newRow("empty segment") << QByteArray("/Vantor2027//don.L1") << QString();
        QTest::newRow("relative") << QByteArray("Vantor2027/don.L1") << QString();
        QTest::newRow("absolute file") << QByteArray("//etc/passwd") << QString();
        QTest::newRow("bad escape") << QByteArray("/Vantor2027/%zzdon.L1") << QString();
        QTest::newRow("cut escape") << QByteArray("/Vantor2027/don.L1%2") << QString();
        QTest::newRow("bad utf8") << QByteArray("/%C3") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
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
        QVERIFY(dir.isValid());
        const QString root = dir.filePath(QStringLiteral("site"));
        const QString folder = root + QStringLiteral("/Vantor2027");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteBytes(folder + QStringLiteral("/don.L1"), "x"));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("secret.txt")), "s"));
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("secret.txt")), folder + QStringLiteral("/L12027.txt")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub.txt")));

        QVERIFY(!FileInsideRoot(root, folder, QStringLiteral("don.L1")).isEmpty());
        QVERIFY(FileInsideRoot(root, folder, QStringLiteral("L12027.txt")).isEmpty()); // leads outside
        QVERIFY(FileInsideRoot(root, folder, QStringLiteral("sub.txt")).isEmpty()); // a folder
        QVERIFY(FileInsideRoot(root, folder, QStringLiteral("absent")).isEmpty());
        QVERIFY(FileInsideRoot(root, folder, QStringLiteral("..")).isEmpty());
        QVERIFY(FileInsideRoot(root, folder, QStringLiteral("../Vantor2027/don.L1")).isEmpty());
    }

    // --- the results store ----------------------------------------------------------------
    void checkResultsStore_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        const int ok = int(StoreProblem::None);
        QTest::newRow("program's own") << GoodStore << ok << 0 << QString();
        QTest::newRow("section any case, LF only, spaces")
            << QByteArray("; commentaire\n[ resultats ]\n 0100 = A|||||||B\n\n[Autre]\nx\n") << ok << 0
            << QString();
        QTest::newRow("empty section")
            << QByteArray("[Resultats]\r\n[Maj]\r\nMaj=x\r\n") << ok << 0 << QString();
        QTest::newRow("empty file") << QByteArray() << int(StoreProblem::NoResultsSection) << 0 << QString();
        QTest::newRow("no section") << QByteArray("[Maj]\r\nMaj=06 d\xE9"
                                                  "c. 07:24\r\n")
                                    << int(StoreProblem::NoResultsSection) << 0 << QString();
        // The program reads ANSI: a UTF-8 mark hides the first section from it, so it is refused here too.
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[Resultats]\r\n0100=A|||||||B\r\n")
                                   << int(StoreProblem::NoResultsSection) << 0 << QString();
        QTest::newRow("other section name") << QByteArray("[Resultats2]\r\n0100=A|||||||B\r\n")
                                            << int(StoreProblem::NoResultsSection) << 0 << QString();
        QTest::newRow("key 12a4") << QByteArray("[Resultats]\r\n0100=A|||||||B\r\n12a4=A|||||||B\r\n")
                                  << int(StoreProblem::BadKey) << 3 << QStringLiteral("12a4");
        QTest::newRow("key of five digits") << QByteArray("[Resultats]\r\n01000=A|||||||B\r\n")
                                            << int(StoreProblem::BadKey) << 2 << QStringLiteral("01000");
        QTest::newRow("key of three digits") << QByteArray("[Resultats]\r\n100=A|||||||B\r\n")
                                             << int(StoreProblem::BadKey) << 2 << QStringLiteral("100");
        QTest::newRow("empty key") << QByteArray("[Resultats]\r\n=A|||||||B\r\n") << int(StoreProblem::BadKey)
                                   << 2 << QString();
        QTest::newRow("superscript digits") << QByteArray("[Resultats]\r\n0\xB9\xB2\xB3=A|||||||B\r\n")
                                            << int(StoreProblem::BadKey) << 2 << QStringLiteral("0¹²³");
        QTest::newRow("second results section checked too")
            << QByteArray(
                   "[Resultats]\r\n0100=A|||||||B\r\n[Maj]\r\nx=1\r\n[RESULTATS]\r\nabcd=A|||||||B\r\n")
            << int(StoreProblem::BadKey) << 6 << QStringLiteral("abcd");
        QTest::newRow("unclosed section line") << QByteArray("[Resultats]\r\n0100=A|||||||B\r\n[Maj\r\n")
                                               << int(StoreProblem::LineWithoutEquals) << 3 << QString();
        QTest::newRow("line without equals") << QByteArray("[Resultats]\r\n0100 A|||||||B\r\n")
                                             << int(StoreProblem::LineWithoutEquals) << 2 << QString();
        QTest::newRow("seven fields") << QByteArray("[Resultats]\r\n0100=A||||||B\r\n")
                                      << int(StoreProblem::BadRecord) << 2 << QStringLiteral("0100");
        QTest::newRow("nul byte") << QByteArray("[Resultats]\r\n0100=A|||||||B\r\n\0\0", 31)
                                  << int(StoreProblem::NulByte) << 3 << QString();
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                << int(StoreProblem::ControlChar) << 2 << QString();
        QTest::newRow("escape char") << QByteArray("[Resultats]\r\n0100=A|\x1b[31m||||||B\r\n")
                                     << int(StoreProblem::ControlChar) << 2 << QString();
        QByteArray big = "[Resultats]\r\n";
        while (big.size() <= MaxResultsStoreBytes)
            big += "0100=A|||||||B\r\n";
        QTest::newRow("too large") << big << int(StoreProblem::TooLarge) << 0 << QString();
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

    void demoStoreAndLimitPass()
    {
        const QByteArray demo = ReadBytes(QStringLiteral(KESTRAVA_DATA_DIR "/demo/Resultats2027.ini"));
        QVERIFY(!demo.isEmpty());
        const StoreCheck c = CheckResultsStore(demo);
        QVERIFY2(c.ok(), qPrintable(c.frenchReason()));
        QVERIFY(c.resultCount > 100);

        QByteArray exact = "[Resultats]\r\n";
        exact += QByteArray(MaxResultsStoreBytes - exact.size(), ' ');
        QCOMPARE(exact.size(), MaxResultsStoreBytes);
        QVERIFY(CheckResultsStore(exact).ok());
    }

    // --- editors --------------------------------------------------------------------------
    void editorList()
    {
        const EditorList list = EditorList::fromBytes("# éditeurs du site\r\n"
                                                      "Editeur=s3cret\r\n"
                                                      "  H\xC3\xA9l\xC3\xA8ne  =  mot de passe \n"
                                                      "\n"
                                                      "SansMotDePasse=\n"
                                                      "=orphelin\n"
                                                      "ligne sans egal\n"
                                                      "Egal=a=b\n");
        QCOMPARE(list.size(), 3);
        QVERIFY(list.accepts(QStringLiteral("Editeur"), QStringLiteral("s3cret")));
        QVERIFY(list.accepts(QStringLiteral("Hélène"), QStringLiteral("mot de passe")));
        QVERIFY(list.accepts(QStringLiteral("Egal"), QStringLiteral("a=b")));
        QVERIFY(!list.accepts(QStringLiteral("Editeur"), QStringLiteral("s3cret ")));
        QVERIFY(!list.accepts(QStringLiteral("Editeur"), QStringLiteral("S3cret")));
        QVERIFY(!list.accepts(QStringLiteral("editeur"), QStringLiteral("s3cret")));
        QVERIFY(!list.accepts(QStringLiteral("Hélène"), QStringLiteral("s3cret")));
        QVERIFY(!list.accepts(QStringLiteral("Inconnu"), QStringLiteral("s3cret")));
        QVERIFY(!list.accepts(QStringLiteral("SansMotDePasse"), QString()));
        QVERIFY(!list.accepts(QString(), QStringLiteral("orphelin")));
        QVERIFY(!list.accepts(QString(), QString()));

        QString error;
        QCOMPARE(EditorList::fromFile(QStringLiteral("/nonexistent/editors.conf"), &error).size(), 0);
        QVERIFY(!error.isEmpty());
    }

    void constantTimeEquals()
    {
        QVERIFY(ConstantTimeEquals("abc", "abc"));
        QVERIFY(ConstantTimeEquals(QByteArray(), QByteArray()));
        QVERIFY(!ConstantTimeEquals("abc", "abd"));
        QVERIFY(!ConstantTimeEquals("abc", "ab"));
        QVERIFY(!ConstantTimeEquals(QByteArray("\x80", 1), QByteArray("\x00", 1)));
    }

    // --- publishing -----------------------------------------------------------------------
    void publishKeepsNumberedBackups()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Vantor2027"));
        const QString target = folder + QStringLiteral("/Resultats2027.ini");

        PublishOutcome o = PublishFile(folder, QStringLiteral("Resultats2027.ini"), "v1");
        QVERIFY(o.ok);
        QVERIFY(o.backupName.isEmpty());
        QCOMPARE(ReadBytes(target), QByteArray("v1"));

        o = PublishFile(folder, QStringLiteral("Resultats2027.ini"), "v2");
        QVERIFY(o.ok);
        QCOMPARE(o.backupName, QStringLiteral("Resultats2027.ini.1"));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini.1")), QByteArray("v1"));

        // Numbers keep rising past gaps and stray names.
        QVERIFY(WriteBytes(folder + QStringLiteral("/Resultats2027.ini.7"), "old"));
        QVERIFY(WriteBytes(folder + QStringLiteral("/Resultats2027.ini.x9"), "stray"));
        QVERIFY(WriteBytes(folder + QStringLiteral("/Resultats2027.ini.010"), "stray"));
        o = PublishFile(folder, QStringLiteral("Resultats2027.ini"), "v3");
        QCOMPARE(o.backupName, QStringLiteral("Resultats2027.ini.8"));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini.8")), QByteArray("v2"));
        QCOMPARE(ReadBytes(target), QByteArray("v3"));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini.7")), QByteArray("old"));
    }

    void publishPrunesOldestBackups()
    {
        QTemporaryDir dir;
        const QString folder = dir.path();
        for (int i = 1; i <= 6; ++i)
            QVERIFY(PublishFile(folder, QStringLiteral("R.ini"), QByteArray::number(i), 3).ok);
        QStringList names = QDir(folder).entryList({ QStringLiteral("R.ini.*") }, QDir::Files, QDir::Name);
        QCOMPARE(names,
            QStringList({ QStringLiteral("R.ini.3"), QStringLiteral("R.ini.4"), QStringLiteral("R.ini.5") }));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/R.ini.5")), QByteArray("5"));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/R.ini")), QByteArray("6"));
    }

    void failedBackupReplacesNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.path();
        QVERIFY(WriteBytes(folder + QStringLiteral("/R.ini"), "published"));
        // A folder squatting the backup's name makes the copy fail.
        QVERIFY(QDir(folder).mkdir(QStringLiteral("R.ini.1")));
        const PublishOutcome o = PublishFile(folder, QStringLiteral("R.ini"), "new");
        QVERIFY(!o.ok);
        QVERIFY(!o.error.isEmpty());
        QCOMPARE(ReadBytes(folder + QStringLiteral("/R.ini")), QByteArray("published"));
    }

    // --- the handler ----------------------------------------------------------------------
    void handlerDecisions()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString folder = root + QStringLiteral("/Vantor2027");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteBytes(folder + QStringLiteral("/Resultats2027.ini"), GoodStore));
        QVERIFY(WriteBytes(folder + QStringLiteral("/secret.txt"), "no"));
        QVERIFY(WriteBytes(root + QStringLiteral("/editors.conf"), "Editeur=s3cret\n"));
        const SiteHandler handler(root, root + QStringLiteral("/editors.conf"));

        auto get = [&](const QByteArray &path, const QByteArray &query = {}) {
            return handler.handle({ "GET", path, query, {}, {}, "127.0.0.1" });
        };
        QCOMPARE(get("/Vantor2027/Resultats2027.ini").body, GoodStore);
        QCOMPARE(
            get("/Vantor2027/Resultats2027.ini").contentType, QByteArray("text/plain; charset=windows-1252"));
        QCOMPARE(get("/Vantor2027/secret.txt").status, 404); // present, but not a published file
        QCOMPARE(get("/editors.conf").status, 404);
        QCOMPARE(get("/Vantor2027/editors.conf").status, 404);
        QCOMPARE(get("/Vantor2027/don.L1").status, 404);
        QCOMPARE(get("/Vantor2027/sub/don.L1").status, 404);
        QCOMPARE(get("/Vantor2027").status, 301);
        QCOMPARE(get("/Vantor2027/").status, 200);
        QCOMPARE(handler.handle({ "DELETE", "/Vantor2027/index.php", {}, {}, {}, {} }).status, 405);
        QCOMPARE(handler.handle({ "POST", "/Vantor2027/Resultats2027.ini", {}, {}, {}, {} }).status, 404);
        const SiteResponse head = handler.handle({ "HEAD", "/Vantor2027/Resultats2027.ini", {}, {}, {}, {} });
        QVERIFY(head.headOnly);
        QCOMPARE(head.body, GoodStore); // its length is announced

        auto post = [&](const QByteArray &query, const QByteArray &body, const QByteArray &type) {
            return handler.handle({ "POST", "/Vantor2027/EXPEL1.php", query, type, body, "127.0.0.1" });
        };
        const QByteArray multipart = "multipart/form-data; boundary=" + Boundary;
        const QByteArray next = QByteArray(GoodStore).replace("0101=", "0102=");

        // No file part at all.
        QByteArray noFile = "--" + Boundary
            + "\r\nContent-Disposition: form-data; name=\"pseudo\"\r\n\r\nEditeur\r\n--" + Boundary
            + "\r\nContent-Disposition: form-data; name=\"mdp\"\r\n\r\ns3cret\r\n--" + Boundary + "--\r\n";
        SiteResponse r = post({}, noFile, multipart);
        QCOMPARE(r.status, 400);
        QVERIFY(QString::fromUtf8(r.body).contains(QStringLiteral("Aucun fichier")));

        QCOMPARE(
            post({}, FormBody("Editeur", "s3cret", next), "application/x-www-form-urlencoded").status, 400);
        QCOMPARE(post({}, FormBody("Editeur", "s3cret", next), "multipart/form-data").status, 400);
        QCOMPARE(post({}, FormBody("Editeur", "s3cret", next).chopped(10), multipart).status, 400);
        QCOMPARE(post({}, FormBody("Editeur", "faux", next), multipart).status, 403);
        QCOMPARE(post({}, FormBody("Editeur", "", next), multipart).status, 403);
        QCOMPARE(post("pseudo=Editeur&mdp=faux", FormBody("", "", next), multipart).status, 403);
        QCOMPARE(post({}, QByteArray(MaxRequestBodyBytes + 1, 'x'), multipart).status, 413);
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini")), GoodStore);
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Resultats2027.ini.1")));

        // The credentials may come with the address of the page instead of the form.
        QByteArray fileOnly = "--" + Boundary
            + "\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"Resultats2027.ini\"\r\n\r\n"
            + next + "\r\n--" + Boundary + "--\r\n";
        r = post("pseudo=Editeur&mdp=s3cret", fileOnly, multipart);
        QCOMPARE(r.status, 200);
        QVERIFY(QString::fromUtf8(r.body).contains(QStringLiteral("Fichier reçu")));
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini")), next);
        QCOMPARE(ReadBytes(folder + QStringLiteral("/Resultats2027.ini.1")), GoodStore);

        // The log line names the path, never the query and its password.
        const QByteArray line = SiteHandler::logLine(
            { "POST", "/Vantor2027/EXPEL1.php", "pseudo=Editeur&mdp=s3cret", multipart, {}, "127.0.0.1" }, r);
        QVERIFY(line.contains("POST /Vantor2027/EXPEL1.php 200"));
        QVERIFY(!line.contains("s3cret"));
        QVERIFY(!line.contains('\n'));
    }

    void pagesEscapeWhatTheyShow()
    {
        QCOMPARE(HtmlEscape(QStringLiteral("<a href=\"x\">&'</a>")),
            QStringLiteral("&lt;a href=&quot;x&quot;&gt;&amp;&#39;&lt;/a&gt;"));
        const QString form
            = QString::fromUtf8(UploadFormPage(QStringLiteral("\"><script>"), QStringLiteral("p&\"")));
        QVERIFY(form.contains(QStringLiteral("value=\"&quot;&gt;&lt;script&gt;\"")));
        QVERIFY(form.contains(QStringLiteral("name=\"mdp\" value=\"p&amp;&quot;\"")));
        QVERIFY(!form.contains(QStringLiteral("<script>")));
        const QString contact = QString::fromUtf8(ContactPage(QStringLiteral("<b>Ligue 1</b>")));
        QVERIFY(contact.contains(QStringLiteral("&lt;b&gt;Ligue 1&lt;/b&gt;")));
        QVERIFY(contact.contains(QStringLiteral("lang=\"fr\"")));
    }
};

QTEST_GUILESS_MAIN(TestSiteLogic)
#include "tst_site_logic.moc"

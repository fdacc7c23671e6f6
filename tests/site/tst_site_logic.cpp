// The site's request logic called directly: the editors file, publishing with backups, the limit
// on wrong passwords, and the handler's decisions and pages. What only the HTTP layer can break
// (framing, paths on the wire, the form as sent, connections) is tested on the real server.
#include "AttemptLimiter.h"
#include "EditorList.h"
#include "PackageShelf.h"
#include "PathSafety.h"
#include "ResultsUpload.h"
#include "SiteHandler.h"
#include "TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrava::site;
using kestrava::test::ReadFileBytes;
using kestrava::test::WriteFileBytes;

namespace {

FormPart Field(const char *name, const QByteArray &data)
{
    return { QString::fromLatin1(name), {}, false, data };
}

FormPart FilePart(const QByteArray &data, const QString &fileName = QStringLiteral("Resultats2027.ini"))
{
    return { QStringLiteral("fichier"), fileName, true, data };
}

UploadForm Form(QList<FormPart> parts, UploadForm::Status status = UploadForm::Status::Read)
{
    return { status, std::move(parts) };
}

// The upload form as a browser sends it.
UploadForm FormBody(const QByteArray &pseudo, const QByteArray &mdp, const QByteArray &fileBytes)
{
    return Form({ Field("pseudo", pseudo), Field("mdp", mdp), FilePart(fileBytes) });
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

    void attemptLimiter()
    {
        AttemptLimiter limiter;
        const QByteArray a = "192.0.2.1", b = "192.0.2.2";
        qint64 t = 1000;
        for (int i = 1; i < AttemptLimiter::FreeFailures; ++i)
            QCOMPARE(limiter.recordFailure(a, t += 1000).lockMs, 0);
        QCOMPARE(limiter.waitFor(a, t), 0);
        // The fifth within the minute locks, then every failure after a lock doubles it.
        QCOMPARE(limiter.recordFailure(a, t += 1000).lockMs, AttemptLimiter::FirstLockMs);
        QCOMPARE(limiter.waitFor(a, t + 1000), AttemptLimiter::FirstLockMs - 1000);
        QCOMPARE(limiter.waitFor(b, t), 0); // another address is not slowed
        t += AttemptLimiter::FirstLockMs;
        QCOMPARE(limiter.waitFor(a, t), 0);
        QCOMPARE(limiter.recordFailure(a, t).lockMs, 2 * AttemptLimiter::FirstLockMs);
        for (int i = 0; i < 10; ++i)
            limiter.recordFailure(a, t += AttemptLimiter::MaxLockMs);
        QCOMPARE(limiter.waitFor(a, t), AttemptLimiter::MaxLockMs);
        // Forgotten after an hour without failure; cleared by a right password.
        t += AttemptLimiter::MaxLockMs + AttemptLimiter::ForgetMs + 1;
        QCOMPARE(limiter.recordFailure(a, t).lockMs, 0);
        limiter.recordSuccess(a);
        QCOMPARE(limiter.size(), 0);
        // Failures spread beyond the minute never lock.
        for (int i = 0; i < 20; ++i)
            QCOMPARE(limiter.recordFailure(b, t += AttemptLimiter::WindowMs / 4).lockMs, 0);
        // A flood of addresses stays bounded.
        for (int i = 0; i < AttemptLimiter::MaxAddresses + 100; ++i)
            limiter.recordFailure(QByteArray::number(i), t);
        QVERIFY(limiter.size() <= AttemptLimiter::MaxAddresses);
    }

    void handlerDecisions()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString published = root + QStringLiteral("/Vantor2027/Resultats2027.ini");
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Vantor2027")));
        QVERIFY(WriteFileBytes(published, GoodStore));
        QVERIFY(WriteFileBytes(root + QStringLiteral("/Vantor2027/secret.txt"), "no"));
        QVERIFY(WriteFileBytes(root + QStringLiteral("/editors.conf"), "Editeur=s3cret\nAutre=autre mot\n"));
        SiteHandler handler(root, root + QStringLiteral("/editors.conf"));

        const SiteResponse file
            = handler.handle({ "GET", "/Vantor2027/Resultats2027.ini", {}, {}, "127.0.0.1" }, 0);
        QCOMPARE(file.body, GoodStore);
        QCOMPARE(file.contentType, QByteArray("text/plain; charset=windows-1252"));
        const SiteResponse head = handler.handle({ "HEAD", "/Vantor2027/Resultats2027.ini", {}, {}, {} }, 0);
        QVERIFY(head.headOnly);
        QCOMPARE(head.body, GoodStore); // its length is announced
        using Get = std::tuple<QByteArray, QByteArray, int>; // method, path, status
        const Get gets[] = { { "GET", "/Vantor2027/secret.txt", 404 }, // present, but not a published file
            { "GET", "/editors.conf", 404 }, { "GET", "/Vantor2027/editors.conf", 404 },
            { "GET", "/Vantor2027/don.L1", 404 }, { "GET", "/Vantor2027/sub/don.L1", 404 },
            { "GET", "/Vantor2027/L22027.txt", 404 }, { "GET", "/Vantor2027/EXPEL2.php", 404 },
            { "GET", "/Resultats2027.ini", 404 }, { "GET", "/Vantor2027/Resultats2027.ini.1", 404 },
            { "GET", "/Vantor2027", 301 }, { "GET", "/Vantor2027/", 200 },
            { "DELETE", "/Vantor2027/index.php", 405 }, { "POST", "/Vantor2027/Resultats2027.ini", 404 } };
        for (const auto &[method, path, status] : gets)
            QVERIFY2(handler.handle({ method, path, {}, {}, {} }, 0).status == status, path.constData());

        // Each refusal from its own address: the limit on wrong passwords is another test's.
        int address = 0;
        auto post = [&](const QByteArray &query, const UploadForm &form) {
            return handler.handle(
                { "POST", "/Vantor2027/EXPEL1.php", query, form, "10.0.0." + QByteArray::number(++address) },
                0);
        };
        const QByteArray next = QByteArray(GoodStore).replace("0101=", "0102=");
        using Post = std::tuple<QByteArray, UploadForm, int, QString>; // query, form, status, page
        const QString badLogin = QStringLiteral("Pseudo ou mot de passe incorrect");
        const Post refused[] = {
            { {}, Form({ Field("pseudo", "Editeur"), Field("mdp", "s3cret") }), 400,
                QStringLiteral("Aucun fichier") },
            // The file field left empty by the browser.
            { "pseudo=Editeur&mdp=s3cret", Form({ FilePart({}, {}) }), 400, QStringLiteral("Aucun fichier") },
            // What the HTTP layer could not read is refused whatever it holds.
            { {}, Form(FormBody("Editeur", "s3cret", next).parts, UploadForm::Status::Unreadable), 400,
                QStringLiteral("incomplet ou illisible") },
            { {}, FormBody("Editeur", "S3cret", next), 403, badLogin },
            { {}, FormBody("Intrus", "s3cret", next), 403, badLogin },
            { {}, FormBody("Editeur", "autre mot", next), 403, badLogin },
            { {}, FormBody("Editeur", "", next), 403, badLogin },
            { "pseudo=Editeur&mdp=faux", FormBody("", "", next), 403, badLogin },
            { {}, FormBody("Editeur", "s3cret", QByteArray(GoodStore).replace("0101=", "12a4=")), 400,
                QStringLiteral("Clé « 12a4 » invalide") },
            { {}, FormBody("Editeur", "s3cret", "[Resultats]\r\n"), 400,
                QStringLiteral("date de mise à jour") },
        };
        for (const auto &[query, form, status, reason] : refused) {
            const SiteResponse r = post(query, form);
            QCOMPARE(r.status, status);
            const QString page = QString::fromUtf8(r.body);
            QVERIFY2(page.contains(reason), qPrintable(page));
            QVERIFY(!page.contains(QStringLiteral("S3cret")) && !page.contains(QStringLiteral("faux")));
        }
        QCOMPARE(ReadFileBytes(published), GoodStore);
        QVERIFY(!QFile::exists(published + QStringLiteral(".1")));

        // The credentials may come with the address of the page instead of the form, and a store
        // with no result yet (only the introduction text) is published like any other.
        const QByteArray intro = "[Maj]\r\nMaj=06 d\xE9"
                                 "c. 07:24\r\n[Texte]\r\nTexte=Bienvenue\r\n";
        for (const QByteArray &store : { next, intro }) {
            const SiteResponse r = post("pseudo=Editeur&mdp=s3cret", Form({ FilePart(store) }));
            QCOMPARE(r.status, 200);
            QVERIFY(QString::fromUtf8(r.body).contains(QStringLiteral("Fichier reçu")));
            QCOMPARE(ReadFileBytes(published), store);
        }
        QCOMPARE(ReadFileBytes(published + QStringLiteral(".1")), GoodStore);

        // The log line names the path, never the query and its password.
        const QByteArray line = SiteHandler::logLine(
            { "POST", "/Vantor2027/EXPEL1.php", "pseudo=Editeur&mdp=s3cret", {}, "127.0.0.1" },
            post("pseudo=Editeur&mdp=s3cret", Form({ FilePart(next) })));
        QVERIFY(line.contains("POST /Vantor2027/EXPEL1.php 200"));
        QVERIFY(!line.contains("s3cret") && !line.contains('\n'));
    }

    // The guide is served from its own folder and nothing outside it; the download page lists the
    // packages of the site with what a careful user checks, and follows their changes.
    void guideAndDownloadPage()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("site"));
        const QString guide = dir.filePath(QStringLiteral("guide"));
        const QString shelf = root + QStringLiteral("/Vantor2027/paquets");
        QVERIFY(QDir().mkpath(guide + QStringLiteral("/images")) && QDir().mkpath(shelf));
        QVERIFY(WriteFileBytes(guide + QStringLiteral("/index.html"), "<!DOCTYPE html><title>Guide</title>"));
        QVERIFY(WriteFileBytes(guide + QStringLiteral("/guide.css"), "body{}"));
        QVERIFY(WriteFileBytes(guide + QStringLiteral("/images/tableau.png"), "\x89PNG"));
        QVERIFY(WriteFileBytes(guide + QStringLiteral("/notes.txt"), "brouillon"));
        QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("secret.png")), "s3cret"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("secret.png")), guide + QStringLiteral("/images/fuite.png")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("secret.png")), shelf + QStringLiteral("/lien.deb")));
        QVERIFY(WriteFileBytes(shelf + QStringLiteral("/notes.txt"), "x"));
        QVERIFY(WriteFileBytes(root + QStringLiteral("/editors.conf"), "Editeur=s3cret\n"));
        QVERIFY(QFile::link(root + QStringLiteral("/editors.conf"), shelf + QStringLiteral("/editeurs.deb")));
        SiteHandler handler(root, root + QStringLiteral("/editors.conf"));
        auto get = [&](const QByteArray &path) { return handler.handle({ "GET", path, {}, {}, "127.0.0.1" }, 0); };

        // Without a guide, the help address still helps.
        QVERIFY(QString::fromUtf8(get("/Vantor2027/aide/").body).contains(QStringLiteral("Aide de Kestrava")));
        QCOMPARE(get("/Vantor2027/aide/guide.css").status, 404);
        QVERIFY(QString::fromUtf8(get("/Vantor2027/index.php").body).contains(QStringLiteral("Aucun paquet")));

        handler.setGuideFolder(guide);
        using Row = std::tuple<QByteArray, int, QByteArray, QByteArray>; // path, status, type, body
        const Row rows[] = { { "/Vantor2027/aide/", 200, "text/html; charset=utf-8", "<!DOCTYPE html><title>Guide</title>" },
            { "/Vantor2027/aide/guide.css", 200, "text/css; charset=utf-8", "body{}" },
            { "/Vantor2027/aide/images/tableau.png", 200, "image/png", "\x89PNG" },
            { "/Vantor2027/aide", 301, "text/html; charset=utf-8", {} },
            { "/Vantor2027/aide/images/fuite.png", 404, {}, {} }, { "/Vantor2027/aide/notes.txt", 404, {}, {} },
            { "/Vantor2027/aide/images/images/tableau.png", 404, {}, {} }, { "/Vantor2027/paquets/lien.deb", 404, {}, {} },
            { "/Vantor2027/paquets/editeurs.deb", 404, {}, {} }, { "/Vantor2027/paquets/notes.txt", 404, {}, {} } };
        for (const auto &[path, status, type, body] : rows) {
            const SiteResponse r = get(path);
            QVERIFY2(r.status == status, path.constData());
            if (status == 200)
                QVERIFY2(r.contentType == type && r.body == body, path.constData());
            QVERIFY(!r.body.contains("s3cret"));
        }

        const QString odd = QStringLiteral("kestrava_1.0+<b>&\"x\"_amd64.deb");
        QVERIFY(WriteFileBytes(shelf + QStringLiteral("/kestrava_1.0_amd64.deb"), QByteArray(2560, 'k')));
        QVERIFY(WriteFileBytes(shelf + u'/' + odd, "odd"));
        // Written a while ago: the hashes are kept from one visit to the next.
        const QDateTime hourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
        QVERIFY(kestrava::test::SetModified(shelf + QStringLiteral("/kestrava_1.0_amd64.deb"), hourAgo));
        auto sha = [](const QByteArray &bytes) {
            return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        };
        QString page = QString::fromUtf8(get("/Vantor2027/index.php").body);
        for (const QString &phrase : { QStringLiteral("<a href=\"paquets/kestrava_1.0_amd64.deb\">"),
                 QStringLiteral("2,5 Kio (2\u202F560 octets)"), sha(QByteArray(2560, 'k')),
                 QStringLiteral("<a href=\"paquets/kestrava_1.0%2B%3Cb%3E%26%22x%22_amd64.deb\">"
                                "kestrava_1.0+&lt;b&gt;&amp;&quot;x&quot;_amd64.deb</a>"),
                 QStringLiteral("3 octets"), sha("odd") })
            QVERIFY2(page.contains(phrase), qPrintable(phrase + u'\n' + page));
        QVERIFY(!page.contains(QStringLiteral("lien.deb")) && !page.contains(QStringLiteral("notes.txt"))
            && !page.contains(QStringLiteral("editeurs.deb")) && !page.contains(QStringLiteral("Aucun paquet")));

        // The same size and time, other bytes: the page follows.
        QVERIFY(WriteFileBytes(shelf + QStringLiteral("/kestrava_1.0_amd64.deb"), QByteArray(2560, 'K')));
        QVERIFY(kestrava::test::SetModified(shelf + QStringLiteral("/kestrava_1.0_amd64.deb"), hourAgo));
        page = QString::fromUtf8(get("/Vantor2027/index.php").body);
        QVERIFY(page.contains(sha(QByteArray(2560, 'K'))) && !page.contains(sha(QByteArray(2560, 'k'))));
    }

    void pagesAreFrench_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("home") << QByteArray("/") << QByteArray()
                              << QStringLiteral("Bienvenue sur le site de Kestrava");
        for (const char *file : { "Resultats2027.ini", "L12027.txt", "don.L1" })
            QTest::newRow(file) << QByteArray("/Vantor2027/index.php") << QByteArray()
                                << QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(file));
        // The upload page keeps what the address gives it, escaped, and asks for what it lacks.
        const QByteArray form = "pseudo=%3Cscript%3E%26%22&mdp=p%C3%A2ss%22w";
        const QByteArray upload = "/Vantor2027/EXPEL1.php";
        QTest::newRow("form") << upload << form
                              << QStringLiteral("<input type=\"file\" id=\"fichier\" name=\"fichier\"");
        QTest::newRow("form pseudo") << upload << form
                                     << QStringLiteral("name=\"pseudo\" value=\"&lt;script&gt;&amp;&quot;\"");
        QTest::newRow("form password")
            << upload << form << QStringLiteral("name=\"mdp\" value=\"pâss&quot;w\"");
        QTest::newRow("form asks") << upload << QByteArray()
                                   << QStringLiteral(
                                          "<input type=\"password\" id=\"mdp\" name=\"mdp\" required>");
        QTest::newRow("season folder")
            << QByteArray("/Vantor2027/") << QByteArray() << QStringLiteral("Fichiers publiés");
        QTest::newRow("donation") << QByteArray("/Vantor2027/donation.php") << QByteArray()
                                  << QStringLiteral("Soutenir Kestrava");
        QTest::newRow("contact") << QByteArray("/contacter.php")
                                 << QByteArray("sub=%20Ligue%201%20(2026%20-%202027)%20Version%201.0")
                                 << QStringLiteral(
                                        "Sujet : <strong> Ligue 1 (2026 - 2027) Version 1.0</strong>");
        QTest::newRow("contact escaped")
            << QByteArray("/contacter.php") << QByteArray("sub=%3Cscript%3Ealert(1)%3C/script%3E")
            << QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;");
    }

    void pagesAreFrench()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, query);
        QFETCH(QString, phrase);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Vantor2027"))));
        for (const char *file : { "Resultats2027.ini", "L12027.txt", "don.L1" })
            QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("Vantor2027/") + QLatin1String(file)), "x"));
        SiteHandler handler(dir.path(), dir.filePath(QStringLiteral("editors.conf")));
        const SiteResponse r = handler.handle({ "GET", path, query, {}, "127.0.0.1" }, 0);
        QCOMPARE(r.status, 200);
        QCOMPARE(r.contentType, QByteArray("text/html; charset=utf-8"));
        const QString page = QString::fromUtf8(r.body);
        QVERIFY(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(page.contains(QStringLiteral("<html lang=\"fr\">")));
        QVERIFY2(page.contains(phrase), qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("<script>")));
    }
};

QTEST_GUILESS_MAIN(TestSiteLogic)
#include "tst_site_logic.moc"

// `kestrava-cli publish` against the real site on 127.0.0.1: the store arrives as the upload page's
// form sends it, or the site's refusal comes back with the documented exit status and the published
// file stays as it was.
#include "DemoSite.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrava::test;

namespace {

const QString DataDir = QStringLiteral(KESTRAVA_DATA_DIR);

struct Outcome
{
    int status = -1;
    QString out, err;
};

// The editor's machine: a season folder with the demo store, and a settings file of its own.
struct Editor
{
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("saison")); }
    QString store() const { return folder() + QStringLiteral("/Resultats2027.ini"); }

    explicit Editor(const QByteArray &settings)
    {
        QDir().mkpath(folder());
        QDir().mkpath(dir.filePath(QStringLiteral("config/Kestrava")));
        QFile::copy(DataDir + QStringLiteral("/2027.txt"), folder() + QStringLiteral("/2027.txt"));
        WriteFileBytes(store(), ReadFileBytes(DataDir + QStringLiteral("/demo/Resultats2027.ini")));
        WriteFileBytes(dir.filePath(QStringLiteral("config/Kestrava/Kestrava.ini")), settings);
    }

    Outcome publish(const QStringList &options, const QString &envPassword = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("HOME"), dir.path());
        for (const char *name : { "KESTRAVA_PASSWORD", "http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY" })
            env.remove(QString::fromLatin1(name));
        if (!envPassword.isEmpty())
            env.insert(QStringLiteral("KESTRAVA_PASSWORD"), envPassword);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KESTRAVA_CLI),
            QStringList { QStringLiteral("publish"), QStringLiteral("--dir"), folder() } + options);
        const bool finished = p.waitForFinished(30000);
        if (!finished)
            p.kill();
        return { finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()) };
    }
};

} // namespace

class TestCliPublish : public QObject
{
    Q_OBJECT

    DemoSite m_site;

    QByteArray published() const
    {
        return ReadFileBytes(m_site.published(QStringLiteral("Resultats2027.ini")));
    }

private slots:
    void initTestCase()
    {
        QByteArray log;
        QVERIFY2(m_site.start(QStringLiteral(KESTRAVA_SITE), &log), log.constData());
    }

    void init() { QVERIFY(m_site.reset(DataDir)); }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("envPassword");
        QTest::addColumn<QString>("siteOption"); // "@": the demo site; empty: the settings' address
        QTest::addColumn<QByteArray>("store"); // replaces the demo store when not empty
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the start of stdout (status 0) or of stderr

        const QByteArray editor = "[pseudo]\npseudo=Editeur\n[mdp]\nmdp=kestrava\n";
        QTest::newRow("accepted, address from the settings")
            << editor + "[site]\nbase=@\n"
            << QString() << QString() << QByteArray() << 0
            << "Envoi accepté : Fichier reçu : Resultats2027.ini";
        QTest::newRow("password from the environment first")
            << QByteArray("[pseudo]\npseudo=Editeur\n[mdp]\nmdp=faux\n") << "kestrava"
            << "@" << QByteArray() << 0 << "Envoi accepté";
        QTest::newRow("wrong password")
            << QByteArray("[pseudo]\npseudo=Editeur\n[mdp]\nmdp=faux\n") << QString() << "@" << QByteArray()
            << 7 << "Envoi refusé (HTTP 403) : Pseudo ou mot de passe incorrect";
        QTest::newRow("store the site refuses")
            << editor << QString() << "@" << QByteArray("[Resultats]\r\n0100=R|0|3|2\r\n") << 7
            << "Envoi refusé (HTTP 400)";
        QTest::newRow("no password anywhere") << QByteArray("[pseudo]\npseudo=Editeur\n") << QString() << "@"
                                              << QByteArray() << 2 << "Mot De Passe ??";
        QTest::newRow("site down") << editor << QString() << "down" << QByteArray() << 4
                                   << "Erreur de connexion !";
    }
    void answers()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, envPassword);
        QFETCH(QString, siteOption);
        QFETCH(QByteArray, store);
        QFETCH(int, status);
        QFETCH(QString, said);

        Editor e(settings.replace("@", m_site.base().toUtf8()));
        if (!store.isEmpty())
            QVERIFY(WriteFileBytes(e.store(), store));
        QStringList options;
        if (siteOption == u"@") {
            options = { QStringLiteral("--site"), m_site.base() };
        } else if (siteOption == u"down") {
            // A port that was free a moment ago: nothing answers there.
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            options = { QStringLiteral("--site"),
                QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort()) };
        }
        const QByteArray before = published();
        const Outcome o = e.publish(options, envPassword);
        QVERIFY2(o.status == status, qPrintable(o.out + o.err));
        QVERIFY2((status == 0 ? o.out : o.err).startsWith(said), qPrintable(o.out + o.err));
        if (status == 0) {
            // What the site publishes is the local store, stamped with the editor's name.
            QCOMPARE(published(), ReadFileBytes(e.store()));
            QVERIFY(published().contains("[Pseudo]\r\nPseudo=Editeur\r\n"));
            QVERIFY(o.err.isEmpty());
        } else {
            QCOMPARE(published(), before);
        }
    }

    // Five wrong passwords within a minute from one address: the sixth attempt is answered 429,
    // even with the right password.
    void tooManyWrongPasswords()
    {
        DemoSite site;
        QByteArray log;
        QVERIFY2(site.start(QStringLiteral(KESTRAVA_SITE), &log), log.constData());
        QVERIFY(site.reset(DataDir));
        Editor e("[pseudo]\npseudo=Editeur\n[mdp]\nmdp=faux\n");
        const QStringList options { QStringLiteral("--site"), site.base() };
        for (int i = 0; i < 5; ++i)
            QCOMPARE(e.publish(options).status, 7);
        const Outcome o = e.publish(options, QStringLiteral("kestrava"));
        QCOMPARE(o.status, 7);
        QVERIFY2(o.err.startsWith(QStringLiteral("Envoi refusé (HTTP 429) : Trop de mots de passe erronés")),
            qPrintable(o.err));
    }
};

QTEST_GUILESS_MAIN(TestCliPublish)
#include "tst_cli_publish.moc"

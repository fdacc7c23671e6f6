// kestrava-site: the publisher's web site, served from a folder.
#include "EditorList.h"
#include "SiteServer.h"
#include "season/Session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <arpa/inet.h>
#include <sys/resource.h>

#include <cstdio>

using namespace kestrava::site;

namespace {

void Print(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrava-site"));

    // Qt's own help and error texts are English: ours are written out in French.
    QCommandLineParser parser;
    const QCommandLineOption helpOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Affiche cette aide."));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Affiche la version."));
    const QCommandLineOption portOption(
        QStringLiteral("port"), QString(), QStringLiteral("N"), QStringLiteral("8027"));
    const QCommandLineOption bindOption(
        QStringLiteral("bind"), QString(), QStringLiteral("ADRESSE"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption rootOption(
        QStringLiteral("root"), QString(), QStringLiteral("DOSSIER"), QStringLiteral("."));
    const QCommandLineOption configOption(QStringLiteral("config"), QString(), QStringLiteral("FICHIER"));
    const QCommandLineOption guideOption(QStringLiteral("guide"), QString(), QStringLiteral("DOSSIER"));
    const QCommandLineOption requestTimeoutOption(
        QStringLiteral("request-timeout"), QString(), QStringLiteral("S"), QStringLiteral("10"));
    const QCommandLineOption idleTimeoutOption(
        QStringLiteral("idle-timeout"), QString(), QStringLiteral("S"), QStringLiteral("5"));
    const QCommandLineOption perAddressOption(
        QStringLiteral("per-address-limit"), QString(), QStringLiteral("N"), QStringLiteral("128"));
    parser.addOptions({ helpOption, versionOption, portOption, bindOption, rootOption, configOption, guideOption,
        requestTimeoutOption,
        idleTimeoutOption, perAddressOption });
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QStringList unknown = parser.unknownOptionNames() + parser.positionalArguments();
        Print(stderr,
            QStringLiteral("kestrava-site : ligne de commande invalide%1. Voir kestrava-site --help.")
                .arg(unknown.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(unknown.join(u' '))));
        return 2;
    }
    if (parser.isSet(versionOption)) {
        Print(stdout, QStringLiteral("kestrava-site %1").arg(kestrava::VersionShort()));
        return 0;
    }
    if (parser.isSet(helpOption)) {
        Print(stdout,
            QStringLiteral(
                "Utilisation : kestrava-site [--port N] [--bind ADRESSE] [--root DOSSIER] [--config "
                "FICHIER]\n"
                "                            [--guide GUIDE]\n"
                "\n"
                "Site de l'éditeur de Kestrava : publie les fichiers du dossier DOSSIER/Vantor2027\n"
                "(Resultats2027.ini, L12027.txt, don.L1) et reçoit les envois des éditeurs.\n"
                "Les paquets Debian déposés dans DOSSIER/Vantor2027/paquets/ sont proposés sur la\n"
                "page de téléchargement (Vantor2027/index.php), avec leur taille et leur SHA-256.\n"
                "\n"
                "  --port N           port d'écoute (8027 par défaut ; 0 : un port libre, affiché au "
                "démarrage)\n"
                "  --bind ADRESSE     adresse d'écoute (127.0.0.1 par défaut)\n"
                "  --root DOSSIER     dossier du site (dossier courant par défaut)\n"
                "  --config FICHIER   éditeurs autorisés, une ligne « pseudo=mot de passe »\n"
                "                     (DOSSIER/editors.conf par défaut)\n"
                "  --guide GUIDE      guide de l'utilisateur servi à l'adresse Vantor2027/aide/\n"
                "                     (par défaut ../share/kestrava-site/guide à côté du programme,\n"
                "                     s'il existe ; sinon une aide courte)\n"
                "  --request-timeout S  une requête doit arriver entière en S secondes (10 par défaut)\n"
                "  --idle-timeout S   une connexion inactive est fermée après S secondes (5 par défaut)\n"
                "  --per-address-limit N  connexions simultanées d'une même adresse (128 par défaut ;\n"
                "                     0 : sans limite)\n"
                "  -h, --help         affiche cette aide\n"
                "  --version          affiche la version"));
        return 0;
    }

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        Print(stderr, QStringLiteral("kestrava-site : port invalide « %1 ».").arg(parser.value(portOption)));
        return 2;
    }
    QString bind = parser.value(bindOption);
    if (bind == QStringLiteral("localhost"))
        bind = QStringLiteral("127.0.0.1");
    in6_addr probe;
    const bool ipv6 = inet_pton(AF_INET6, bind.toLatin1().constData(), &probe) == 1;
    if (!ipv6 && inet_pton(AF_INET, bind.toLatin1().constData(), &probe) != 1) {
        Print(stderr, QStringLiteral("kestrava-site : adresse invalide « %1 ».").arg(bind));
        return 2;
    }
    SiteServer::Limits limits;
    for (const auto &[option, target] : { std::pair { &requestTimeoutOption, &limits.requestTimeoutMs },
             std::pair { &idleTimeoutOption, &limits.idleTimeoutMs } }) {
        bool ok = false;
        const double seconds = parser.value(*option).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 3600) {
            Print(
                stderr, QStringLiteral("kestrava-site : délai invalide « %1 ».").arg(parser.value(*option)));
            return 2;
        }
        *target = int(seconds * 1000);
    }

    bool perAddressOk = false;
    limits.maxPerAddress = parser.value(perAddressOption).toInt(&perAddressOk);
    if (!perAddressOk || limits.maxPerAddress < 0) {
        Print(stderr,
            QStringLiteral("kestrava-site : limite par adresse invalide « %1 ».")
                .arg(parser.value(perAddressOption)));
        return 2;
    }

    const QFileInfo rootInfo(parser.value(rootOption));
    if (!rootInfo.isDir()) {
        Print(stderr,
            QStringLiteral("kestrava-site : le dossier du site « %1 » n'existe pas.")
                .arg(parser.value(rootOption)));
        return 2;
    }
    const QString root = rootInfo.absoluteFilePath();
    const QString config = parser.isSet(configOption)
        ? QFileInfo(parser.value(configOption)).absoluteFilePath()
        : QDir(root).filePath(QStringLiteral("editors.conf"));

    QString guide;
    if (parser.isSet(guideOption)) {
        const QFileInfo guideInfo(parser.value(guideOption));
        if (!QFileInfo(guideInfo.filePath() + QStringLiteral("/index.html")).isFile()) {
            Print(stderr,
                QStringLiteral("kestrava-site : le dossier du guide « %1 » ne contient pas index.html.")
                    .arg(parser.value(guideOption)));
            return 2;
        }
        guide = guideInfo.absoluteFilePath();
    } else {
        // Installed, the guide lies beside the program's share folder.
        const QFileInfo shipped(
            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrava-site/guide/index.html"));
        if (shipped.isFile())
            guide = shipped.absolutePath();
    }

    SiteHandler handler(root, config);
    handler.setGuideFolder(guide);
    handler.preparePackages();
    if (!QFileInfo(handler.seasonFolderPath()).isDir()) {
        Print(stderr,
            QStringLiteral("kestrava-site : attention, le dossier %1 n'existe pas encore ; il sera créé au "
                           "premier envoi.")
                .arg(handler.seasonFolderPath()));
    }
    QString configError;
    const qsizetype editors = EditorList::fromFile(config, &configError).size();
    if (editors == 0) {
        Print(stderr,
            QStringLiteral("kestrava-site : attention, aucun éditeur dans %1%2 : tout envoi sera refusé.")
                .arg(config, configError.isEmpty() ? QString() : QStringLiteral(" (") + configError + u')'));
    }

    // Every visitor of a busy evening is a descriptor: take all the system allows.
    rlimit files {};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    if (getrlimit(RLIMIT_NOFILE, &files) == 0)
        limits.maxConnections = int(qBound<rlim_t>(16, files.rlim_cur - 16, limits.maxConnections));

    // The pages of the season, written again after every accepted upload.
    handler.startWebEdition(WebEditionWriter::Mode::Background);
    SiteServer server(std::move(handler), limits);
    const quint16 actualPort = server.listenOn(bind.toLatin1(), quint16(port));
    if (actualPort == 0) {
        Print(stderr, QStringLiteral("kestrava-site : impossible d'écouter sur %1:%2.").arg(bind).arg(port));
        return 1;
    }
    const QString host = ipv6 ? u'[' + bind + u']' : bind;
    Print(stdout,
        QStringLiteral("kestrava-site : en écoute sur http://%1:%2/ (dossier %3, %4 éditeur(s))")
            .arg(host)
            .arg(actualPort)
            .arg(root)
            .arg(editors));
    return server.run() ? 0 : 1;
}

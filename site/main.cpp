// kestrava-site: the publisher's web site, served from a folder.
#include "EditorList.h"
#include "SiteServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>

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
    const QCommandLineOption portOption(
        QStringLiteral("port"), QString(), QStringLiteral("N"), QStringLiteral("8027"));
    const QCommandLineOption bindOption(
        QStringLiteral("bind"), QString(), QStringLiteral("ADRESSE"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption rootOption(
        QStringLiteral("root"), QString(), QStringLiteral("DOSSIER"), QStringLiteral("."));
    const QCommandLineOption configOption(QStringLiteral("config"), QString(), QStringLiteral("FICHIER"));
    parser.addOptions({ helpOption, portOption, bindOption, rootOption, configOption });
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QStringList unknown = parser.unknownOptionNames() + parser.positionalArguments();
        Print(stderr,
            QStringLiteral("kestrava-site : ligne de commande invalide%1. Voir kestrava-site --help.")
                .arg(unknown.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(unknown.join(u' '))));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        Print(stdout,
            QStringLiteral(
                "Utilisation : kestrava-site [--port N] [--bind ADRESSE] [--root DOSSIER] [--config "
                "FICHIER]\n"
                "Site de l'éditeur de Kestrava : publie les fichiers du dossier DOSSIER/Vantor2027\n"
                "(Resultats2027.ini, L12027.txt, don.L1) et reçoit les envois des éditeurs.\n"
                "\n"
                "  --port N           port d'écoute (8027 par défaut ; 0 : un port libre, affiché au "
                "démarrage)\n"
                "  --bind ADRESSE     adresse d'écoute (127.0.0.1 par défaut)\n"
                "  --root DOSSIER     dossier du site (dossier courant par défaut)\n"
                "  --config FICHIER   éditeurs autorisés, une ligne « pseudo=mot de passe »\n"
                "                     (DOSSIER/editors.conf par défaut)\n"
                "  -h, --help         affiche cette aide"));
        return 0;
    }

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        Print(stderr, QStringLiteral("kestrava-site : port invalide « %1 ».").arg(parser.value(portOption)));
        return 2;
    }
    QHostAddress address;
    const QString bind = parser.value(bindOption);
    if (bind == QStringLiteral("localhost"))
        address = QHostAddress(QHostAddress::LocalHost);
    else if (!address.setAddress(bind)) {
        Print(stderr, QStringLiteral("kestrava-site : adresse invalide « %1 ».").arg(bind));
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

    SiteHandler handler(root, config);
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

    SiteServer server(handler);
    const quint16 actualPort = server.listenOn(address, quint16(port));
    if (actualPort == 0) {
        Print(stderr, QStringLiteral("kestrava-site : impossible d'écouter sur %1:%2.").arg(bind).arg(port));
        return 1;
    }
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? u'[' + address.toString() + u']'
        : address.toString();
    Print(stdout,
        QStringLiteral("kestrava-site : en écoute sur http://%1:%2/ (dossier %3, %4 éditeur(s))")
            .arg(host)
            .arg(actualPort)
            .arg(root)
            .arg(editors));
    return app.exec();
}

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace kestrava::site {

// One Debian package offered on the download page.
struct PackageInfo
{
    QString name;
    qint64 size = 0;
    QByteArray sha256; // hex
};

// The packages of the download page: the ".deb" files of one folder with their size and SHA-256.
// A package's hash is computed once, when it appears or changes (a package is megabytes: hashing
// it at every visit would cost each visitor that much reading); each look only reads the folder
// and the files' status.
class PackageShelf
{
public:
    explicit PackageShelf(QString folder);

    // The packages now in the folder, by name. A file written in the last two seconds may still be
    // being copied in: it is hashed again at the next look.
    QList<PackageInfo> packages();

    QString folder() const { return m_folder; }
    // Whether the site lists and serves a file of this name: a ".deb" whose name survives the trip
    // through an address (no '%', no slash or backslash, no control character, no leading dot).
    static bool isPackageName(const QString &name);

private:
    struct Known
    {
        QByteArray identity; // device, inode, size, change time
        PackageInfo info;
    };
    QString m_folder;
    QHash<QString, Known> m_known;
};

} // namespace kestrava::site

#include "PackageShelf.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <ctime>

namespace kestrava::site {

PackageShelf::PackageShelf(QString folder)
    : m_folder(std::move(folder))
{ }

bool PackageShelf::isPackageName(const QString &name)
{
    if (!name.endsWith(QStringLiteral(".deb")) || name.size() <= 4 || name.startsWith(u'.'))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || u == u'/' || u == u'\\' || u == u'%')
            return false;
    }
    return true;
}

QList<PackageInfo> PackageShelf::packages()
{
    QList<PackageInfo> out;
    QHash<QString, Known> seen;
    const QStringList names = QDir(m_folder).entryList(
        { QStringLiteral("*.deb") }, QDir::Files | QDir::Readable | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (!isPackageName(name))
            continue;
        struct stat st;
        // The file itself, not a link: a link could lead anywhere on the machine.
        if (::lstat(QFile::encodeName(QDir(m_folder).filePath(name)).constData(), &st) != 0
            || !S_ISREG(st.st_mode))
            continue;
        const QByteArray identity = QByteArray::number(qulonglong(st.st_dev)) + ':'
            + QByteArray::number(qulonglong(st.st_ino)) + ':' + QByteArray::number(qlonglong(st.st_size)) + ':'
            + QByteArray::number(qlonglong(st.st_ctim.tv_sec)) + '.'
            + QByteArray::number(qlonglong(st.st_ctim.tv_nsec));
        if (const auto it = m_known.constFind(name); it != m_known.cend() && it->identity == identity) {
            seen.insert(name, *it);
            out.append(it->info);
            continue;
        }
        QFile file(QDir(m_folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // The size is what was hashed: both describe the same bytes, even of a file still growing.
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        qint64 size = 0;
        qint64 got = 0;
        while ((got = file.read(chunk.data(), chunk.size())) > 0) {
            hash.addData(QByteArrayView(chunk.constData(), got));
            size += got;
        }
        if (got < 0)
            continue;
        PackageInfo info { name, size, hash.result().toHex() };
        if (std::time(nullptr) - st.st_mtim.tv_sec >= 2)
            seen.insert(name, { identity, info });
        out.append(info);
    }
    // Removed packages are forgotten with them.
    m_known = std::move(seen);
    return out;
}

} // namespace kestrava::site

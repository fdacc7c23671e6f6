#include "SeasonFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kestrava {

namespace {

// The folder's permissions say nothing for root, and nothing about a read-only file system: the
// only sure test is to write a file there.
bool CanWriteIn(const QString &dir)
{
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".kestrava-XXXXXX")));
    return probe.open();
}

} // namespace

QString SharedDataFolder(const QString &programDir)
{
    return QDir::cleanPath(programDir + QStringLiteral("/../share/kestrava"));
}

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString UserFilesFolder(const SeasonFolder &folder)
{
    if (!folder.userData)
        return folder.path;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

SeasonFolder FindSeasonFolder(
    const QString &programDir, const QString &sharedDataDir, const QString &seasonFile)
{
    if (QFileInfo(QDir(programDir).filePath(seasonFile)).isFile() && CanWriteIn(programDir))
        return { programDir, false, {} };

    SeasonFolder user { UserDataFolder(), true, {} };
    const QString target = QDir(user.path).filePath(seasonFile);
    if (!QDir().mkpath(user.path)) {
        user.problem
            = QStringLiteral("Le dossier %1 n'a pas pu être créé.").arg(QDir::toNativeSeparators(user.path));
        return user;
    }
    const QString shipped = QDir(sharedDataDir).filePath(seasonFile);
    if (QFileInfo::exists(target) || !QFileInfo(shipped).isFile())
        return user;
    // Through a temporary name: a copy cut short never passes for the season file.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(shipped, partial) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        user.problem = QStringLiteral("Le fichier %1 n'a pas pu être copié dans le dossier %2.")
                           .arg(seasonFile, QDir::toNativeSeparators(user.path));
        return user;
    }
    // The shipped file is read-only; the user's copy is replaced by newer season data.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return user;
}

} // namespace kestrava

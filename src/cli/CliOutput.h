#pragma once

#include "platform/SeasonFolder.h"
#include "platform/Settings.h"
#include "platform/SiteAddresses.h"
#include "season/SeasonData.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace kestrava::cli {

// A message on stderr in UTF-8, then the status the command ends with.
inline int fail(const QString &message, int status)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message;
    return status;
}

// The bytes on stdout as they are: 0, or 3 with a message when they could not all be written.
// QFile only buffers: a full disk or a closed pipe shows at the flush, so the flush is checked too.
inline int write(const QByteArray &bytes)
{
    QFile out;
    bool written = out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
    out.close();
    written = written && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written)
        return fail(QStringLiteral("La sortie n'a pas pu être écrite en entier (disque plein ou sortie fermée).\n"), 3);
    return 0;
}

// The folder given with --dir, else the season folder the window uses. Empty, after saying why,
// when the user's folder could not be made or filled.
inline QString seasonDir(const QString &given)
{
    if (!given.isEmpty())
        return given;
    const QString programDir = QCoreApplication::applicationDirPath();
    const SeasonFolder folder = FindSeasonFolder(programDir, SharedDataFolder(programDir), SeasonFileName);
    if (!folder.problem.isEmpty()) {
        fail(folder.problem + u'\n', 2);
        return {};
    }
    return folder.path;
}

// The moment given with --now: "YYYY-MM-DD HH:MM", or ISO 8601; invalid when it is neither.
inline QDateTime parseNow(const QString &text)
{
    const QDateTime now = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    return now.isValid() ? now : QDateTime::fromString(text, Qt::ISODate);
}

// The season folder and its season file, as every command opens them: 0, or the exit status after
// saying why.
inline int openSeason(const QString &given, QString &dir, SeasonData &season)
{
    dir = seasonDir(given);
    if (dir.isEmpty())
        return 2;
    if (!LoadSeasonFile(QDir(dir).filePath(SeasonFileName), season))
        return fail(QStringLiteral("Absence du fichier 2027.txt\n"), 2);
    return 0;
}

// --site, else the publisher's address saved in "Configuration"; a run folder falls back on the demo
// site's. Nothing, after saying where to give one, for the user's data folder without an address.
inline std::optional<QString> siteBase(const QString &given, const QString &dir)
{
    if (!given.isEmpty())
        return given;
    const QString saved
        = QtSettingsStore().read(QStringLiteral("Site"), QStringLiteral("Base"), QString()).trimmed();
    if (!saved.isEmpty())
        return saved;
    if (QDir(dir) == QDir(UserDataFolder())) {
        fail(QStringLiteral("Aucune adresse d'éditeur n'est enregistrée : indiquez-la dans « Configuration » "
                            "ou avec --site URL.\n"),
            0);
        return std::nullopt;
    }
    return SiteAddresses::defaultBase();
}

} // namespace kestrava::cli

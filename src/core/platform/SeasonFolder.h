#pragma once

#include <QString>

namespace kestrava {

// Where the season file, the results store and the files downloaded beside them live.
struct SeasonFolder
{
    QString path;
    // The user's data folder: the program's own folder could not be used (an installed program).
    bool userData = false;
    // Why the user's folder could not be made or filled (French); empty when it is ready.
    QString problem;
};

// The read-only data shipped with an installed program: "<prefix>/share/kestrava" beside
// "<prefix>/bin", whatever the prefix.
QString SharedDataFolder(const QString &programDir);

// The user's data folder of the program ("~/.local/share/Kestrava" on Linux). Every command of the
// program names itself "Kestrava" (ProgramApplicationName) so that they all find the same folder.
inline const QString ProgramApplicationName = QStringLiteral("Kestrava");
QString UserDataFolder();

// Where a person's own files go (a printed page without a printer, an exported calendar): the
// season folder when it is the program's own, else the user's documents folder.
QString UserFilesFolder(const SeasonFolder &folder);

// The one rule for the season folder: the program's own folder when it holds `seasonFile` and can
// be written (a run folder, a copied folder); otherwise the user's data folder, created on first
// use with the season file copied from `sharedDataDir`. A user's copy is never replaced: a newer
// season file downloaded into it stays. When `sharedDataDir` holds no season file either, the
// folder is returned without one and the caller says the file is missing.
SeasonFolder FindSeasonFolder(
    const QString &programDir, const QString &sharedDataDir, const QString &seasonFile);

} // namespace kestrava

#pragma once

#include "season/SeasonData.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace kestrava {

// The editor's own other names for the clubs, in the season folder: one "other name=club" line each.
inline const QString OtherNamesFileName = QStringLiteral("AutresNoms2027.txt");

// A club's name reduced to what tells it apart: no case, no accents, no hyphens, dots or spaces,
// and "St"/"Ste" as the words "Saint"/"Sainte". "St-Étienne" and "Saint Etienne" fold alike.
QString FoldClubName(QStringView name);

// Finds the season's club behind a name from elsewhere: the season's own names first, then the
// editor's other names, then those the program knows, all compared folded.
class ClubMatcher
{
public:
    explicit ClubMatcher(const SeasonData &season);

    // Reads "other name=club" lines (';' or '#' starts a comment). What could not be used comes
    // back as French lines, one per line of the text.
    QStringList addOtherNames(const QString &text, const QString &source);
    // The editor's file in `folder`, when there is one.
    QStringList loadOtherNamesFile(const QString &folder);

    // The club's index, or -1 when the name is not known.
    int teamOf(QStringView name) const;
    // The season's names nearest to an unknown one, nearest first.
    QStringList closest(QStringView name, int count = 3) const;

private:
    const SeasonData &m_season;
    QHash<QString, int> m_seasonNames; // folded
    QHash<QString, int> m_otherNames; // folded: the editor's over the program's
};

} // namespace kestrava

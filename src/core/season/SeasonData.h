#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrava {

inline constexpr int TeamCount = 18;
inline constexpr int MatchdayCount = 34;
inline constexpr int FixturesPerMatchday = 9;
inline constexpr int NoTeam = 18; // what TeamIndexOf answers for an unknown name

inline const QString SeasonFileName = QStringLiteral("2027.txt");
inline const QString SeasonTitle = QStringLiteral(" Ligue 1 (2026 - 2027)");

// The season as fixed before a ball is kicked, read once at start-up.
struct SeasonData
{
    std::array<QString, 19> teams;            // 0..17 in file order; 18 stays empty
    std::array<QDateTime, 35> matchdayDates;  // index = matchday 1..34; invalid when no line set it
    std::array<QString, 308> calendar;        // slot k = k-th fixture line: "MM|PP|XY"; 0 and 307 may stay empty
    std::array<QStringList, 40> matchdayFixtures; // per matchday, codes in file order; 0 is a work list
    qint16 dataVersion = 0;
    std::array<float, 19> bonusMalus{};

    int TeamIndexOf(const QString &name) const;
    QString TeamLetterOf(const QString &name) const;
    QString TeamNameOf(QStringView letter) const;
    // The date of a matchday at midnight, invalid outside 1..34 or when the file gave none.
    QDateTime matchdayDate(int matchday) const;
};

// A team's letter from its index: "A" for 0 ... "R" for 17.
QString TeamLetter(int index);
// The index behind a letter, -1 unless it is one of "A".."R".
int TeamIndexOfLetter(QStringView letter);

// True when the file's modification time can be read.
bool FileExists(const QString &path);

// Fills the model from the text of a season file; malformed lines are skipped one by one.
void LoadSeasonText(const QByteArray &bytes, SeasonData &season);
// False, with the model untouched, when the file is missing.
bool LoadSeasonFile(const QString &path, SeasonData &season);

} // namespace kestrava

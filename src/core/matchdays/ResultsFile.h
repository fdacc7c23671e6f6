#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace kestrava {

// Far above a season's file with every column of the open-data sites.
inline constexpr qint64 MaxImportFileBytes = 16 * 1024 * 1024;

// One match of a results file from elsewhere, as the file gives it.
struct ImportedMatch
{
    int line = 0; // the file's line for a CSV, the match's rank for a JSON file (from 1)
    QString home, away;
    QDate date;
    bool played = false; // the file gives a score
    int homeGoals = 0, awayGoals = 0;
    // Cards, when the file has their column and a value there.
    std::optional<int> homeYellow, awayYellow, homeRed, awayRed;
    QString problem; // not empty: the line cannot be read, and why (French)
};

enum class ImportFormat { Unknown, Csv, Json };

struct ImportedFile
{
    ImportFormat format = ImportFormat::Unknown;
    QList<ImportedMatch> matches;
    QString problem; // why the file is neither format (French)
};

// The two open-data layouts, told apart by their content: the analysts' CSV (a header naming
// Date, HomeTeam, AwayTeam, FTHG, FTAG, and HY, AY, HR, AR when it has the cards) and
// openfootball's JSON ("matches", or "rounds" holding them). A line that cannot be read is kept
// with its problem; the others still count.
ImportedFile ReadResultsFile(const QByteArray &bytes);

// Text from elsewhere: UTF-8 with or without its byte-order mark, else Windows-1252.
QString DecodeImportedText(const QByteArray &bytes);

// "dd/mm/yy" (20yy), "dd/mm/yyyy" or "yyyy-mm-dd"; invalid otherwise.
QDate ParseImportDate(QStringView text);

} // namespace kestrava

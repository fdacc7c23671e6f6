#pragma once

#include <QByteArray>
#include <QString>

namespace kestrava {

// Far above a whole season's store (a few KiB), far below what would hurt to hold in memory.
inline constexpr qsizetype MaxResultsStoreBytes = 256 * 1024;

enum class StoreProblem {
    None,
    TooLarge,
    NulByte, // binary data
    ControlChar, // a control character other than tab, CR, LF
    BadLine, // neither a section, a key=value line, a comment nor a blank line
    BadKey, // a key of [Resultats] that is not four digits
    BadRecord, // a result that is not eight fields separated by '|'
    NoDate, // no "Maj" that reads back as a date
};

struct StoreCheck
{
    StoreProblem problem = StoreProblem::None;
    int line = 0; // 1-based line of the problem, when it has one
    QString key; // the offending key, when it has one
    int resultCount = 0;

    bool ok() const { return problem == StoreProblem::None; }
    QString frenchReason() const; // plain text, not HTML
};

// Is this a results store as the program writes it, and so one that may replace ours or be
// published? Windows-1252 text (LF alone is tolerated) made only of section lines, key=value
// lines, ';' comments and blank lines; a [Maj] "Maj" that reads back as a date (every save
// stamps one); in [Resultats] (any case, every such section), four-digit keys and records of
// eight fields. A store without any result yet is a store. The download and the site's upload
// both judge by this one function.
StoreCheck CheckResultsStore(const QByteArray &bytes);

} // namespace kestrava

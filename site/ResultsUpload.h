#pragma once

#include <QByteArray>
#include <QString>

namespace kestrava::site {

inline constexpr qsizetype MaxResultsStoreBytes = 256 * 1024;

enum class StoreProblem {
    None,
    TooLarge,
    NulByte, // binary data
    ControlChar, // a control character other than tab, CR, LF
    NoResultsSection,
    LineWithoutEquals,
    BadKey, // a key of [Resultats] that is not four digits
    BadRecord, // a value that is not eight fields separated by '|'
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

// Is this a results store the program can take as it is? The file is Windows-1252 text with CR LF
// (LF alone is tolerated); it must have a [Resultats] section (any case) whose every key is four
// digits and whose every value is a result record of eight fields. Other sections are free.
StoreCheck CheckResultsStore(const QByteArray &bytes);

struct PublishOutcome
{
    bool ok = false;
    QString backupName; // file name of the copy of the previous version, empty when there was none
    QString error; // French, when !ok
};

// Replaces `folder`/`fileName` by `bytes`. The previous version is first copied to
// `fileName`.N (N one more than the highest existing number) so that no publication is ever lost;
// then the new content goes through a temporary file renamed over the target, so that a download
// running at the same moment sees either the old file or the new one, never half of it.
// Only the `maxBackups` most recent copies are kept.
PublishOutcome PublishFile(
    const QString &folder, const QString &fileName, const QByteArray &bytes, int maxBackups = 100);

} // namespace kestrava::site

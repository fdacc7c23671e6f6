#pragma once

#include <QByteArray>
#include <QString>

#include "season/StoreCheck.h"

namespace kestrava::site {

// The store check itself is the program's own (CheckResultsStore): the site accepts exactly what
// the program would accept as a downloaded store.
using kestrava::CheckResultsStore;
using kestrava::MaxResultsStoreBytes;
using kestrava::StoreCheck;
using kestrava::StoreProblem;

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

#pragma once

#include <QString>
#include <QStringList>

namespace kestrava {

// `kestrava-cli import FILE ...` (results from an open-data file into the store) and
// `kestrava-cli publish ...` (the store sent to the upload page). The exit status of the command;
// -1 when `args` name another command.
int RunImportCommand(const QStringList &args);

QString ImportUsage();

} // namespace kestrava

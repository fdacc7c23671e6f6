#pragma once

#include <QString>
#include <QStringList>

// kestrava-cli web: the web edition written into a folder, for a static host.
QString WebUsage();
// -1 when the command is not "web"; otherwise the exit status.
int RunWebCommand(const QStringList &args);

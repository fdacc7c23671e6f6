#pragma once

#include <QString>
#include <QStringList>

// kestrava-cli projections: the exact ranges and the simulated chances of every club.
QString ProjectionsUsage();
// `args` as the program received them, the command name second. Returns the exit status.
int RunProjectionsCommand(const QStringList &args);

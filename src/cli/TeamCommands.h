#pragma once

#include <QStringList>

namespace kestrava {

// `kestrava-cli team NAME ...` (a club's sheet) and `kestrava-cli calendar ...` (the fixtures as
// an iCalendar file). The exit status of the command; -1 when `args` name another command.
int RunTeamViewsCommand(const QStringList &args);

} // namespace kestrava

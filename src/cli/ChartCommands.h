#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"

#include <QString>
#include <QStringList>

namespace kestrava {

// `kestrava-cli evolution ...` (each club's place after every matchday, as the evolution chart
// shows it) and `kestrava-cli highlights ...` (the season's records). The exit status; -1 when
// `args` name another command.
int RunChartCommand(const QStringList &args);
QString ChartUsage();

// `kestrava-cli table --movement`: the table's CSV (from `table` as shown) with a last column
// "movement", each row's movement icon tool tip at `matchday` ("+2", "-1", "=", or empty).
QString TableCsvWithMovement(
    LeagueTableModel &table, const SeasonData &season, const IniSnapshot &store, int matchday);

} // namespace kestrava

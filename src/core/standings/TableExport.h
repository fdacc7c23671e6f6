#pragma once

#include "standings/LeagueTableModel.h"

#include <QByteArray>
#include <QString>

namespace kestrava {

// The league table as the window shows it, for scripts and people without a window.
QString TableAsCsv(const LeagueTableModel &model, const SeasonData &season);
QString TableAsText(const LeagueTableModel &model, const SeasonData &season);
QByteArray TableAsJson(const LeagueTableModel &model, const SeasonData &season);

// The last five letters of a form sequence, oldest first.
QString LastFive(const QString &formSequence);

// RFC 4180: quoted when it holds a comma, a quote or a line break; quotes doubled.
QString CsvField(const QString &text);

} // namespace kestrava

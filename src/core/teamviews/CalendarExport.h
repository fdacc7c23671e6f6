#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>

namespace kestrava {

// The season's fixtures as an iCalendar file (RFC 5545): one all-day event per fixture on its
// matchday's date, "Domicile - Extérieur" with the score once played. Each fixture keeps its UID
// from one export to the next, so that a calendar application updates its events on a second
// import instead of adding them again. `team` empty: every fixture; otherwise that club's.
// `stamp` is the moment of the export.
QByteArray SeasonAsICalendar(
    const SeasonData &season, const IniSnapshot &store, const QString &team, const QDateTime &stamp);

// The season's file and every club's (by team index) in one pass over the fixtures: the same
// files as SeasonAsICalendar gives one at a time.
struct SeasonCalendars
{
    QByteArray season;
    std::array<QByteArray, TeamCount> clubs;
};
SeasonCalendars SeasonAsICalendars(const SeasonData &season, const IniSnapshot &store, const QDateTime &stamp);

// The file name offered when the sheet saves a club's calendar.
QString CalendarFileName(const QString &team);

} // namespace kestrava

#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace kestrava {

// The value of a text: its leading decimal number (optional sign, digits, optional '.' and digits),
// 0 when it has none. "" and "-" count 0, "1,5" is 1, "3.7" is 3.7. Leading blanks are skipped.
double ValueOf(QStringView text);

// ValueOf, truncated towards zero and kept inside the int range.
int IntValueOf(QStringView text);

// Rounds half away from zero, as the date and number formats of the data files do.
double RoundHalfAway(double v);

// Capitalises every word, spacing each "/" as " / ". The spaced form is written back into `text`.
QString ProperCase(QString &text);

// Disk texts (season file, results store, donors file) are Windows-1252.
QString DecodeWin1252(const QByteArray &bytes);
QByteArray EncodeWin1252(const QString &text);

// French whatever the system locale.
const QLocale &FrenchLocale();

// A number in its plain text form: no group separator, a French comma only when it has a fraction.
QString PlainNumber(double v);

// "DD mmm hh:mm": 06 déc. 07:24 (no year).
QString FormatMaj(const QDateTime &dt);
// Reads "DD mmm hh:mm" back. The year is the latest one, up to now's, in which that day exists and
// the moment is not more than two days after `now` (a save cannot come from the future, but another
// user's clock may run a little ahead); invalid when unreadable.
QDateTime ParseMaj(const QString &text, const QDateTime &now);

// "dd MM yy", as the grids and the sheet write a matchday's date; empty for an invalid date.
QString ShortDate(const QDate &d);

// The date-time text kept in tags and settings, to the second.
QString FormatStamp(const QDateTime &dt);
QDateTime ParseStamp(const QString &text);

// A date as a French user writes it: day, month and year separated by "/", "-", "." or blanks
// (14/08/2026, 14-08-26, 14.08.2026, 14 août 2026), or ISO 2026-08-14; a time may follow
// (14/08/2026 20:45, 20h45). Nothing for anything that is not a real date.
QDateTime ParseSeasonDateTime(QStringView text);
QDate ParseSeasonDate(QStringView text);

// Sort order of row texts: without regard to case, accented letters as their base letter.
QString FoldForSort(QStringView text);

} // namespace kestrava

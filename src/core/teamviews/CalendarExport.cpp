#include "CalendarExport.h"

#include "season/ResultsStore.h"
#include "teamviews/CalendarRecord.h"

#include <QSet>

namespace kestrava {

namespace {

// TEXT values escape backslashes, semicolons, commas and line breaks.
QString escaped(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u';', QStringLiteral("\\;"));
    text.replace(u',', QStringLiteral("\\,"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.remove(u'\r');
    return text;
}

// A content line, folded after 75 octets without cutting a UTF-8 sequence, ended by CR LF.
void appendLine(QByteArray &out, const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    if (bytes.size() <= 75) {
        out += bytes;
        out += "\r\n";
        return;
    }
    qsizetype start = 0;
    qsizetype limit = 75;
    while (bytes.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (quint8(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        out += bytes.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74; // the leading space counts
    }
    out += bytes.mid(start) + "\r\n";
}

} // namespace

QString CalendarFileName(const QString &team)
{
    QString name = QStringLiteral("Ligue1-2026-2027");
    if (!team.isEmpty())
        name += u'-' + team;
    // Keep to what every file system takes.
    for (QChar &c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<'
            || c == u'>' || c == u'|' || c == u' ')
            c = u'-';
    }
    return name + QStringLiteral(".ics");
}

namespace {

void appendHeader(QByteArray &out, const QString &team)
{
    appendLine(out, QStringLiteral("BEGIN:VCALENDAR"));
    appendLine(out, QStringLiteral("VERSION:2.0"));
    appendLine(out, QStringLiteral("PRODID:-//Kestrava//Ligue 1 2026-2027//FR"));
    appendLine(out, QStringLiteral("CALSCALE:GREGORIAN"));
    appendLine(out, QStringLiteral("METHOD:PUBLISH"));
    const QString calendarName
        = SeasonTitle.trimmed() + (team.isEmpty() ? QString() : QStringLiteral(" - ") + team);
    appendLine(out, QStringLiteral("X-WR-CALNAME:") + escaped(calendarName));
}

// "yyyyMMdd" into `out`: a whole season's events write some 600 dates.
void appendDate(QByteArray &out, const QDate &d)
{
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (year < 1000 || year > 9999) {
        out += d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        return;
    }
    const int number = year * 10000 + month * 100 + day;
    char digits[8];
    for (int i = 7, n = number; i >= 0; --i, n /= 10)
        digits[i] = char('0' + n % 10);
    out.append(digits, 8);
}

bool needsEscape(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\\' || c == u';' || c == u',' || c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

// Field `n` of a stored record "X|cr1|cj1|r1|r2|cj2|cr2|Y", read in place.
QStringView recordField(QStringView record, int n)
{
    qsizetype start = 0;
    for (int f = 0; f < n; ++f) {
        const qsizetype bar = record.indexOf(u'|', start);
        if (bar < 0)
            return {};
        start = bar + 1;
    }
    const qsizetype end = record.indexOf(u'|', start);
    return end < 0 ? record.sliced(start) : record.sliced(start, end - start);
}

bool goalsEntered(QStringView goals)
{
    return !goals.isEmpty() && goals != u"-";
}

// Every fixture's event in calendar order, handed to `take` with its fixture code (a view into the
// season's calendar).
template<typename Take>
void forEachEvent(const SeasonData &season, const IniSnapshot &store, const QDateTime &stamp, Take take)
{
    const QByteArray stampLine
        = "DTSTAMP:" + stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1() + "\r\n";
    const auto *results = store.section(Store::Results);
    // Each pair of clubs meets once at each ground in a season: the pair names the fixture wherever
    // the publisher moves it. A pair met again (a season file edited by hand) adds the slot.
    QSet<quint32> pairs;
    QByteArray event;
    for (const QString &text : season.calendar) {
        CalendarRecord record;
        if (!record.read(text) || record.code.size() != 2)
            continue;
        const int matchday = record.matchday.toInt();
        const QDateTime date = season.matchdayDate(matchday);
        const QString home = season.TeamNameOf(record.code.first(1));
        const QString away = season.TeamNameOf(record.code.last(1));
        if (!date.isValid() || home.isEmpty() || away.isEmpty())
            continue;

        const QString key = record.key();
        QString uid = QStringLiteral("UID:L1-2026-2027-") + record.code;
        const quint32 pair = quint32(record.code[0].unicode()) << 16 | record.code[1].unicode();
        if (pairs.contains(pair))
            uid += u'-' + key;
        pairs.insert(pair);

        QString summary = home + QStringLiteral(" - ") + away;
        const QString stored = results ? results->value(key) : QString();
        const QStringView r1 = recordField(stored, 3), r2 = recordField(stored, 4);
        if (goalsEntered(r1) && goalsEntered(r2))
            summary += QStringLiteral(" (") + r1.trimmed() + u'-' + r2.trimmed() + u')';

        event.resize(0); // its room stays for the next event
        event += "BEGIN:VEVENT\r\n";
        appendLine(event, uid + QStringLiteral("@kestrava"));
        event += stampLine;
        event += "DTSTART;VALUE=DATE:";
        appendDate(event, date.date());
        event += "\r\nDTEND;VALUE=DATE:";
        appendDate(event, date.date().addDays(1));
        event += "\r\n";
        appendLine(event, QStringLiteral("SUMMARY:") + (needsEscape(summary) ? escaped(summary) : summary));
        // "Ligue 1, journée N", escaped.
        event += "DESCRIPTION:Ligue 1\\, journ\xc3\xa9" "e ";
        event += QByteArray::number(matchday);
        event += "\r\nTRANSP:TRANSPARENT\r\nEND:VEVENT\r\n";
        take(record.code, event);
    }
}

} // namespace

QByteArray SeasonAsICalendar(
    const SeasonData &season, const IniSnapshot &store, const QString &team, const QDateTime &stamp)
{
    QByteArray out;
    appendHeader(out, team);
    const QString letter = team.isEmpty() ? QString() : season.TeamLetterOf(team);
    forEachEvent(season, store, stamp, [&](QStringView code, const QByteArray &event) {
        if (team.isEmpty() || code.contains(letter))
            out += event;
    });
    appendLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

SeasonCalendars SeasonAsICalendars(const SeasonData &season, const IniSnapshot &store, const QDateTime &stamp)
{
    SeasonCalendars out;
    // An event takes some 230 bytes: each file grows once at most.
    const qsizetype events = season.calendar.size();
    out.season.reserve(events * 256 + 512);
    appendHeader(out.season, QString());
    for (int t = 0; t < TeamCount; ++t) {
        out.clubs[t].reserve(events * 256 / (TeamCount / 2) + 512);
        appendHeader(out.clubs[t], season.teams[t]);
    }
    forEachEvent(season, store, stamp, [&](QStringView code, const QByteArray &event) {
        out.season += event;
        const int home = code[0].unicode() - u'A';
        const int away = code[1].unicode() - u'A';
        if (home >= 0 && home < TeamCount)
            out.clubs[home] += event;
        if (away >= 0 && away < TeamCount && away != home)
            out.clubs[away] += event;
    });
    appendLine(out.season, QStringLiteral("END:VCALENDAR"));
    for (QByteArray &club : out.clubs)
        appendLine(club, QStringLiteral("END:VCALENDAR"));
    return out;
}

} // namespace kestrava

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

// The same line added to text that is turned into UTF-8 once, at the end of an event: a line that
// surely needs no folding goes as it is.
void appendLine(QString &out, const QString &line)
{
    qsizetype bytes = 0;
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (c.isSurrogate()) {
            bytes = 76; // counted by the encoder itself
            break;
        }
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
    }
    if (bytes <= 75) {
        out += line;
        out += QLatin1StringView("\r\n");
        return;
    }
    QByteArray folded;
    appendLine(folded, line);
    out += QString::fromUtf8(folded);
}

QString dateValue(const QDate &d)
{
    // Written by hand for the years of four digits: a whole season's events format some 600 dates.
    if (d.year() < 1000 || d.year() > 9999)
        return d.toString(QStringLiteral("yyyyMMdd"));
    const int number = d.year() * 10000 + d.month() * 100 + d.day();
    return QString::number(number);
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

// Every fixture's event in calendar order, handed to `take` with its fixture code.
template<typename Take>
void forEachEvent(const SeasonData &season, const IniSnapshot &store, const QDateTime &stamp, Take take)
{
    const QString stampText = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const auto *results = store.section(Store::Results);
    QSet<QString> uids;
    for (const QString &text : season.calendar) {
        CalendarRecord record;
        if (!record.read(text) || record.code.size() != 2)
            continue;
        const QString code = record.code.toString();
        const QString key = record.key();
        const int matchday = record.matchday.toInt();
        const QDateTime date = season.matchdayDate(matchday);
        const QString home = season.TeamNameOf(code.left(1));
        const QString away = season.TeamNameOf(code.right(1));
        if (!date.isValid() || home.isEmpty() || away.isEmpty())
            continue;

        // Each pair of clubs meets once at each ground in a season: the pair names the fixture
        // wherever the publisher moves it.
        QString uid = QStringLiteral("L1-2026-2027-") + code;
        if (uids.contains(uid))
            uid += u'-' + key;
        uids.insert(uid);

        QString summary = home + QStringLiteral(" - ") + away;
        const MatchResult m = MatchResult::parse(results ? results->value(key) : QString());
        if (GoalsEntered(m.r1()) && GoalsEntered(m.r2()))
            summary += QStringLiteral(" (") + m.r1().trimmed() + u'-' + m.r2().trimmed() + u')';

        QString event;
        event.reserve(320);
        event += QLatin1StringView("BEGIN:VEVENT\r\n");
        appendLine(event, QStringLiteral("UID:") + uid + QStringLiteral("@kestrava"));
        appendLine(event, QStringLiteral("DTSTAMP:") + stampText);
        appendLine(event, QStringLiteral("DTSTART;VALUE=DATE:") + dateValue(date.date()));
        appendLine(event, QStringLiteral("DTEND;VALUE=DATE:") + dateValue(date.date().addDays(1)));
        appendLine(event, QStringLiteral("SUMMARY:") + escaped(summary));
        // "Ligue 1, journée N", escaped.
        event += QStringLiteral("DESCRIPTION:Ligue 1\\, journée ") + QString::number(matchday) + QLatin1StringView("\r\n");
        event += QLatin1StringView("TRANSP:TRANSPARENT\r\nEND:VEVENT\r\n");
        take(code, event.toUtf8());
    }
}

} // namespace

QByteArray SeasonAsICalendar(
    const SeasonData &season, const IniSnapshot &store, const QString &team, const QDateTime &stamp)
{
    QByteArray out;
    appendHeader(out, team);
    const QString letter = team.isEmpty() ? QString() : season.TeamLetterOf(team);
    forEachEvent(season, store, stamp, [&](const QString &code, const QByteArray &event) {
        if (team.isEmpty() || code.contains(letter))
            out += event;
    });
    appendLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

SeasonCalendars SeasonAsICalendars(const SeasonData &season, const IniSnapshot &store, const QDateTime &stamp)
{
    SeasonCalendars out;
    appendHeader(out.season, QString());
    for (int t = 0; t < TeamCount; ++t)
        appendHeader(out.clubs[t], season.teams[t]);
    forEachEvent(season, store, stamp, [&](const QString &code, const QByteArray &event) {
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

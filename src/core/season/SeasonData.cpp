#include "SeasonData.h"

#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace kestrava {

int SeasonData::TeamIndexOf(const QString &name) const
{
    for (int i = 0; i < TeamCount; ++i) {
        if (teams[i] == name)
            return i;
    }
    return NoTeam;
}

QString SeasonData::TeamLetterOf(const QString &name) const
{
    return TeamLetter(TeamIndexOf(name));
}

QString SeasonData::TeamNameOf(QStringView letter) const
{
    const int i = TeamIndexOfLetter(letter);
    return i < 0 ? QString() : teams[i];
}

QDateTime SeasonData::matchdayDate(int matchday) const
{
    if (matchday < 1 || matchday > MatchdayCount)
        return {};
    return matchdayDates[matchday];
}

QString TeamLetter(int index)
{
    return QString(QChar(u'A' + index));
}

int TeamIndexOfLetter(QStringView letter)
{
    if (letter.isEmpty())
        return -1;
    const int i = letter.front().unicode() - u'A';
    return i >= 0 && i < TeamCount ? i : -1;
}

bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.lastModified().isValid();
}

namespace {

// A whole number written in a field: "01", "1", " 7 "; banker's rounding of a fraction, as the
// publisher's tools convert. Nothing when the field is not a number.
std::optional<int> wholeNumber(QStringView field)
{
    bool ok = false;
    const double v = field.trimmed().toString().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 32767)
        return std::nullopt;
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

void LoadSeasonText(const QByteArray &bytes, SeasonData &season)
{
    const QString text = DecodeWin1252(bytes);
    int teamCounter = 0;
    int fixtureCounter = 0;
    int position = 0;
    QString previousMatchday;
    bool havePrevious = false;

    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const auto fields = line.split(u'|');
        // The four kinds are tested independently, as the file format says.
        if (line.startsWith(u"EQU") && fields.size() > 1) {
            if (teamCounter < 19)
                season.teams[teamCounter] = fields[1].toString();
            ++teamCounter;
        }
        if (line.startsWith(u"JOU") && fields.size() > 2) {
            const auto n = wholeNumber(fields[1]);
            const QDateTime d = ParseSeasonDateTime(fields[2]);
            if (n && *n >= 0 && *n < 35 && d.isValid())
                season.matchdayDates[*n] = d;
        }
        if (line.startsWith(u"CAL") && fields.size() > 2) {
            const auto md = wholeNumber(fields[1]);
            if (md && *md >= 0 && *md < 40) {
                const QString code = fields[2].toString();
                season.matchdayFixtures[*md].append(code);
                ++fixtureCounter;
                if (havePrevious && fields[1] == previousMatchday)
                    ++position;
                else
                    position = 0;
                if (fixtureCounter < 308) {
                    season.calendar[fixtureCounter] = QStringLiteral("%1|%2|%3")
                                                          .arg(*md, 2, 10, QLatin1Char('0'))
                                                          .arg(position, 2, 10, QLatin1Char('0'))
                                                          .arg(code);
                }
                previousMatchday = fields[1].toString();
                havePrevious = true;
            }
        }
        if (line.startsWith(u"VERSION") && fields.size() > 1) {
            if (const auto v = wholeNumber(fields[1]))
                season.dataVersion = static_cast<qint16>(*v);
        }
    }
}

bool LoadSeasonFile(const QString &path, SeasonData &season)
{
    if (!FileExists(path))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    LoadSeasonText(f.readAll(), season);
    return true;
}

} // namespace kestrava

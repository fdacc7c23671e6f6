#include "ResultsFile.h"

#include "platform/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

namespace kestrava {

namespace {

// Far above any goal or card count of a match: a bigger number is a column mix-up.
constexpr int MaxCount = 99;

// A count as the files write it: digits only. Nothing when it is not one.
std::optional<int> Count(QStringView text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int v = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// One line of the CSV cut into fields. Quoted fields may hold the separator and doubled quotes;
// a quote left open at the end of the line spoils that line only, never the lines after it.
bool SplitCsvLine(QStringView line, QChar separator, QStringList &fields)
{
    fields.clear();
    QString field;
    bool quoted = false;
    bool atFieldStart = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == separator) {
            fields.append(field);
            field.clear();
            atFieldStart = true;
            continue;
        } else if (c == u'"' && atFieldStart && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else {
            field += c;
        }
        atFieldStart = false;
    }
    fields.append(field);
    return !quoted;
}

struct CsvColumns
{
    qsizetype date = -1, home = -1, away = -1, homeGoals = -1, awayGoals = -1;
    qsizetype homeYellow = -1, awayYellow = -1, homeRed = -1, awayRed = -1;
    bool complete() const { return date >= 0 && home >= 0 && away >= 0 && homeGoals >= 0 && awayGoals >= 0; }
};

CsvColumns ColumnsOf(const QStringList &header)
{
    CsvColumns c;
    const std::pair<const char16_t *, qsizetype CsvColumns::*> names[] = {
        { u"Date", &CsvColumns::date },
        { u"HomeTeam", &CsvColumns::home },
        { u"AwayTeam", &CsvColumns::away },
        { u"FTHG", &CsvColumns::homeGoals },
        { u"FTAG", &CsvColumns::awayGoals },
        { u"HY", &CsvColumns::homeYellow },
        { u"AY", &CsvColumns::awayYellow },
        { u"HR", &CsvColumns::homeRed },
        { u"AR", &CsvColumns::awayRed },
    };
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        for (const auto &[wanted, member] : names) {
            if (c.*member < 0 && name.compare(QStringView(wanted), Qt::CaseInsensitive) == 0)
                c.*member = i;
        }
    }
    return c;
}

// Reads one data line into `m`; a problem is left in `m.problem`.
void ReadCsvMatch(const QStringList &f, const CsvColumns &c, ImportedMatch &m)
{
    auto cell = [&](qsizetype i) { return i >= 0 && i < f.size() ? f[i].trimmed() : QString(); };
    const qsizetype needed = std::max({ c.date, c.home, c.away, c.homeGoals, c.awayGoals });
    m.home = cell(c.home);
    m.away = cell(c.away);
    if (f.size() <= needed) {
        m.problem = QStringLiteral("colonnes manquantes");
        return;
    }
    if (m.home.isEmpty() || m.away.isEmpty()) {
        m.problem = QStringLiteral("club manquant");
        return;
    }
    m.date = ParseImportDate(cell(c.date));
    if (!m.date.isValid()) {
        m.problem = QStringLiteral("date illisible « %1 »").arg(cell(c.date));
        return;
    }
    const QString hg = cell(c.homeGoals);
    const QString ag = cell(c.awayGoals);
    auto noScore = [](const QString &s) { return s.isEmpty() || s == u"-"; };
    if (noScore(hg) && noScore(ag))
        return;
    const std::optional<int> h = Count(hg), a = Count(ag);
    if (!h || !a) {
        m.problem = QStringLiteral("score illisible « %1-%2 »").arg(hg, ag);
        return;
    }
    m.played = true;
    m.homeGoals = *h;
    m.awayGoals = *a;
    const std::pair<qsizetype, std::optional<int> ImportedMatch::*> cards[] = {
        { c.homeYellow, &ImportedMatch::homeYellow },
        { c.awayYellow, &ImportedMatch::awayYellow },
        { c.homeRed, &ImportedMatch::homeRed },
        { c.awayRed, &ImportedMatch::awayRed },
    };
    for (const auto &[column, member] : cards) {
        const QString v = cell(column);
        if (v.isEmpty())
            continue;
        m.*member = Count(v);
        if (!(m.*member)) {
            m.played = false;
            m.problem = QStringLiteral("cartons illisibles « %1 »").arg(v);
            return;
        }
    }
}

ImportedFile ReadCsv(const QString &text)
{
    ImportedFile file;
    const QStringList lines = text.split(u'\n');
    CsvColumns columns;
    QChar separator = u',';
    bool header = false;
    QStringList fields;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line(lines[n]);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (!header) {
            // Some spreadsheets write ';' between the columns.
            if (line.count(u';') > line.count(u','))
                separator = u';';
            SplitCsvLine(line, separator, fields);
            columns = ColumnsOf(fields);
            if (!columns.complete())
                break;
            header = true;
            continue;
        }
        ImportedMatch m;
        m.line = int(n + 1);
        const bool closed = SplitCsvLine(line, separator, fields);
        // A spreadsheet's empty rows (only separators) are no matches.
        if (std::all_of(
                fields.cbegin(), fields.cend(), [](const QString &s) { return s.trimmed().isEmpty(); }))
            continue;
        if (!closed)
            m.problem = QStringLiteral("guillemet non fermé");
        else
            ReadCsvMatch(fields, columns, m);
        file.matches.append(m);
    }
    if (!header) {
        file.problem = QStringLiteral("ni un fichier CSV (en-tête avec Date, HomeTeam, AwayTeam, FTHG, FTAG) "
                                      "ni un fichier JSON openfootball (« matches »)");
        return file;
    }
    file.format = ImportFormat::Csv;
    return file;
}

QString TeamName(const QJsonValue &v)
{
    if (v.isObject())
        return v.toObject().value(u"name").toString().trimmed();
    return v.toString().trimmed();
}

std::optional<int> JsonCount(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (d < 0 || d > MaxCount || d != double(int(d)))
        return std::nullopt;
    return int(d);
}

void ReadJsonMatch(const QJsonValue &value, ImportedMatch &m)
{
    if (!value.isObject()) {
        m.problem = QStringLiteral("match illisible");
        return;
    }
    const QJsonObject o = value.toObject();
    m.home = TeamName(o.value(u"team1"));
    m.away = TeamName(o.value(u"team2"));
    if (m.home.isEmpty() || m.away.isEmpty()) {
        m.problem = QStringLiteral("club manquant");
        return;
    }
    const QString date = o.value(u"date").toString();
    m.date = ParseImportDate(date);
    if (!m.date.isValid()) {
        m.problem = QStringLiteral("date illisible « %1 »").arg(date);
        return;
    }
    // The score at full time: "score": {"ft": [2, 1]}; older files give "score1" and "score2".
    QJsonValue home, away;
    if (const QJsonValue score = o.value(u"score"); score.isObject()) {
        const QJsonValue ft = score.toObject().value(u"ft");
        if (ft.isArray() && !ft.toArray().isEmpty()) {
            if (ft.toArray().size() != 2) {
                m.problem = QStringLiteral("score illisible");
                return;
            }
            home = ft.toArray().at(0);
            away = ft.toArray().at(1);
        } else if (!ft.isUndefined() && !ft.isNull() && !ft.isArray()) {
            m.problem = QStringLiteral("score illisible");
            return;
        }
    } else if (o.contains(u"score1") || o.contains(u"score2")) {
        home = o.value(u"score1");
        away = o.value(u"score2");
    }
    auto absent = [](const QJsonValue &v) { return v.isUndefined() || v.isNull(); };
    if (absent(home) && absent(away))
        return;
    const std::optional<int> h = JsonCount(home), a = JsonCount(away);
    if (!h || !a) {
        m.problem = QStringLiteral("score illisible");
        return;
    }
    m.played = true;
    m.homeGoals = *h;
    m.awayGoals = *a;
}

ImportedFile ReadJson(const QString &text)
{
    ImportedFile file;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        file.problem = QStringLiteral("JSON illisible (%1)").arg(error.errorString());
        return file;
    }
    const QJsonObject root = doc.object();
    QList<QJsonValue> matches;
    if (root.value(u"matches").isArray()) {
        for (const QJsonValue &v : root.value(u"matches").toArray())
            matches.append(v);
    } else if (root.value(u"rounds").isArray()) {
        for (const QJsonValue &round : root.value(u"rounds").toArray()) {
            for (const QJsonValue &v : round.toObject().value(u"matches").toArray())
                matches.append(v);
        }
    } else {
        file.problem = QStringLiteral("fichier JSON sans liste « matches »");
        return file;
    }
    file.format = ImportFormat::Json;
    for (qsizetype i = 0; i < matches.size(); ++i) {
        ImportedMatch m;
        m.line = int(i + 1);
        ReadJsonMatch(matches[i], m);
        file.matches.append(m);
    }
    return file;
}

} // namespace

QString DecodeImportedText(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(view);
    if (!utf8.hasError())
        return text;
    return DecodeWin1252(view.toByteArray());
}

QDate ParseImportDate(QStringView text)
{
    text = text.trimmed();
    QDate d;
    if (text.size() == 10 && text[4] == u'-')
        d = QDate::fromString(text.toString(), QStringLiteral("yyyy-MM-dd"));
    else if (text.size() == 10 && text[2] == u'/')
        d = QDate::fromString(text.toString(), QStringLiteral("dd/MM/yyyy"));
    else if (text.size() == 8 && text[2] == u'/')
        d = QDate::fromString(text.toString(), QStringLiteral("dd/MM/yy")).addYears(100);
    return d;
}

ImportedFile ReadResultsFile(const QByteArray &bytes)
{
    const QString text = DecodeImportedText(bytes);
    const QStringView start = QStringView(text).trimmed();
    if (start.startsWith(u'{'))
        return ReadJson(text);
    return ReadCsv(text);
}

} // namespace kestrava

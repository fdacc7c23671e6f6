#include "ResultsFile.h"

#include "platform/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <deque>

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

// One line of the CSV cut into fields: views into the line, or into `quoted` for a field between
// quotes. Quoted fields may hold the separator and doubled quotes; a quote left open at the end of
// the line spoils that line only, never the lines after it.
struct CsvLine
{
    QList<QStringView> fields;
    std::deque<QString> quoted; // a deque never moves what it holds: the views stay good
};

bool SplitCsvLine(QStringView line, QChar separator, CsvLine &out)
{
    out.fields.clear();
    out.quoted.clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    for (;;) {
        qsizetype j = i;
        while (j < n && (line[j] == u' ' || line[j] == u'\t'))
            ++j;
        if (j < n && line[j] == u'"') {
            QString &field = out.quoted.emplace_back();
            ++j;
            bool closed = false;
            while (j < n) {
                const qsizetype q = line.indexOf(u'"', j);
                if (q < 0)
                    break;
                field += line.sliced(j, q - j);
                if (q + 1 < n && line[q + 1] == u'"') {
                    field += u'"';
                    j = q + 2;
                } else {
                    j = q + 1;
                    closed = true;
                    break;
                }
            }
            if (!closed)
                return false;
            // Anything between the closing quote and the separator belongs to the field.
            qsizetype s = line.indexOf(separator, j);
            if (s < 0)
                s = n;
            field += line.sliced(j, s - j);
            out.fields.append(field);
            if (s >= n)
                return true;
            i = s + 1;
        } else {
            qsizetype s = line.indexOf(separator, i);
            if (s < 0)
                s = n;
            out.fields.append(line.sliced(i, s - i));
            if (s >= n)
                return true;
            i = s + 1;
        }
    }
}

struct CsvColumns
{
    qsizetype date = -1, home = -1, away = -1, homeGoals = -1, awayGoals = -1;
    qsizetype homeYellow = -1, awayYellow = -1, homeRed = -1, awayRed = -1;
    bool complete() const { return date >= 0 && home >= 0 && away >= 0 && homeGoals >= 0 && awayGoals >= 0; }
};

CsvColumns ColumnsOf(const QList<QStringView> &header)
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
        const QStringView name = header[i].trimmed();
        for (const auto &[wanted, member] : names) {
            if (c.*member < 0 && name.compare(QStringView(wanted), Qt::CaseInsensitive) == 0)
                c.*member = i;
        }
    }
    return c;
}

// A file names the same clubs on every line: one string for each spelling.
QString Intern(QSet<QString> &names, QStringView name)
{
    const auto it = names.constFind(QString::fromRawData(name.data(), name.size()));
    return it != names.cend() ? *it : *names.insert(name.toString());
}

// Reads one data line into `m`; a problem is left in `m.problem`.
void ReadCsvMatch(const QList<QStringView> &f, const CsvColumns &c, QSet<QString> &names, ImportedMatch &m)
{
    auto cell = [&](qsizetype i) { return i >= 0 && i < f.size() ? f[i].trimmed() : QStringView(); };
    const qsizetype needed = std::max({ c.date, c.home, c.away, c.homeGoals, c.awayGoals });
    m.home = Intern(names, cell(c.home));
    m.away = Intern(names, cell(c.away));
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
        m.problem = QStringLiteral("date illisible « %1 »").arg(cell(c.date).toString());
        return;
    }
    const QStringView hg = cell(c.homeGoals);
    const QStringView ag = cell(c.awayGoals);
    auto noScore = [](QStringView s) { return s.isEmpty() || s == u"-"; };
    if (noScore(hg) && noScore(ag))
        return;
    const std::optional<int> h = Count(hg), a = Count(ag);
    if (!h || !a) {
        m.problem = QStringLiteral("score illisible « %1-%2 »").arg(hg.toString(), ag.toString());
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
        const QStringView v = cell(column);
        if (v.isEmpty())
            continue;
        m.*member = Count(v);
        if (!(m.*member)) {
            m.played = false;
            m.problem = QStringLiteral("cartons illisibles « %1 »").arg(v.toString());
            return;
        }
    }
}

ImportedFile ReadCsv(const QString &text)
{
    ImportedFile file;
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    CsvColumns columns;
    QChar separator = u',';
    bool header = false;
    CsvLine fields;
    QSet<QString> names;
    file.matches.reserve(lines.size());
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (!header) {
            // Some spreadsheets write ';' between the columns.
            if (line.count(u';') > line.count(u','))
                separator = u';';
            SplitCsvLine(line, separator, fields);
            columns = ColumnsOf(fields.fields);
            if (!columns.complete())
                break;
            header = true;
            continue;
        }
        ImportedMatch m;
        m.line = int(n + 1);
        const bool closed = SplitCsvLine(line, separator, fields);
        // A spreadsheet's empty rows (only separators) are no matches.
        if (closed && std::all_of(fields.fields.cbegin(), fields.fields.cend(), [](QStringView s) {
                return s.trimmed().isEmpty();
            }))
            continue;
        if (!closed)
            m.problem = QStringLiteral("guillemet non fermé");
        else
            ReadCsvMatch(fields.fields, columns, names, m);
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
    // Read by hand: Qt's date parser costs more than the rest of a line.
    text = text.trimmed();
    auto number = [&](qsizetype from, qsizetype length) {
        int v = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const QChar c = text[i];
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c.unicode() - u'0');
        }
        return v;
    };
    int year = -1, month = -1, day = -1;
    if (text.size() == 10 && text[4] == u'-' && text[7] == u'-') {
        year = number(0, 4), month = number(5, 2), day = number(8, 2);
    } else if (text.size() == 10 && text[2] == u'/' && text[5] == u'/') {
        year = number(6, 4), month = number(3, 2), day = number(0, 2);
    } else if (text.size() == 8 && text[2] == u'/' && text[5] == u'/') {
        year = number(6, 2), month = number(3, 2), day = number(0, 2);
        if (year >= 0)
            year += 2000;
    }
    if (year > 0 && month > 0 && day > 0)
        return QDate(year, month, day);
    return QDate();
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

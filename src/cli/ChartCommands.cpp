#include "ChartCommands.h"
#include "CliOutput.h"

#include "season/ResultsStore.h"
#include "standings/TableExport.h"
#include "teamviews/EvolutionChart.h"
#include "teamviews/RankMovements.h"
#include "teamviews/SeasonHighlights.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace kestrava {

namespace {

using cli::fail;
using cli::write;

const char usage[] = "       kestrava-cli evolution [--dir DIR] [--now \"YYYY-MM-DD HH:MM\"] [--simulated] "
                     "[--format csv|json]\n"
                     "       kestrava-cli highlights [--dir DIR] [--format text|json]\n";

const char *const highlightKeys[HighlightCount]
    = { "most_goals", "largest_difference", "most_cards", "most_goals_matchday", "unbeaten", "winless" };

struct Options
{
    QString dir;
    QDateTime now = QDateTime::currentDateTime();
    bool simulated = false;
    QString format;
};

bool parse(const QStringList &args, bool evolution, Options &o)
{
    o.format = evolution ? QStringLiteral("csv") : QStringLiteral("text");
    for (int i = 2; i < args.size(); ++i) {
        const QString &a = args[i];
        if (evolution && a == u"--simulated") {
            o.simulated = true;
            continue;
        }
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        if (a == u"--dir") {
            o.dir = v;
        } else if (evolution && a == u"--now") {
            o.now = cli::parseNow(v);
            if (!o.now.isValid())
                return false;
        } else if (a == u"--format") {
            o.format = v;
            if (o.format != u"json" && o.format != (evolution ? u"csv" : u"text"))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// The chart's preparation without a window: the table after every matchday up to the limit.
QByteArray evolution(const SeasonData &season, const IniSnapshot &store, const Options &o)
{
    const QDateTime limit = ChartLimit(o.now, o.simulated);
    std::array<QString, MatchdayCount + 1> rankOrder;
    for (int j = 1; j <= MatchdayCount; ++j) {
        if (ChartCounts(season, j, limit))
            rankOrder[j] = RankOrderEntry(RunStandings(season, store, j));
    }
    QString csv = QStringLiteral("team");
    for (int j = 1; j <= MatchdayCount; ++j)
        csv += u',' + QString::number(j);
    csv += u'\n';
    QJsonArray teams;
    for (int i = 0; i < TeamCount; ++i) {
        const auto positions = ChartPositions(rankOrder, season.teams[i]);
        QJsonArray places;
        csv += CsvField(season.teams[i]);
        for (int j = 1; j <= MatchdayCount; ++j) {
            csv += u',' + (positions[j] ? QString::number(positions[j]) : QString());
            places.append(positions[j] ? QJsonValue(positions[j]) : QJsonValue(QJsonValue::Null));
        }
        csv += u'\n';
        teams.append(QJsonObject { { "team", season.teams[i] }, { "positions", places } });
    }
    if (o.format == u"csv")
        return csv.toUtf8();
    const QJsonObject root { { "limit", limit.toString(Qt::ISODate) }, { "simulated", o.simulated },
        { "teams", teams } };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray highlights(const SeasonData &season, const IniSnapshot &store, const Options &o)
{
    const HighlightTexts texts = ComputeHighlights(season, store);
    QJsonObject root;
    QString text;
    for (int i = 0; i < HighlightCount; ++i) {
        QString record = texts[i];
        record.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        root.insert(QLatin1String(highlightKeys[i]), record);
        text += (i ? QStringLiteral("\n") : QString()) + HighlightHeading(i) + u'\n' + record + u'\n';
    }
    return o.format == u"json" ? QJsonDocument(root).toJson(QJsonDocument::Indented) : text.toUtf8();
}

} // namespace

QString ChartUsage()
{
    return QString::fromLatin1(usage);
}

QString TableCsvWithMovement(
    LeagueTableModel &table, const SeasonData &season, const IniSnapshot &store, int matchday)
{
    // The CSV of the table as shown; the silent runs behind the icons leave its cells alone.
    const QStringList lines = TableAsCsv(table, season).split(u'\n', Qt::SkipEmptyParts);
    SetRankMovements(season, store, matchday, table);
    QString out;
    for (int l = 0; l < lines.size(); ++l)
        out += lines[l] + u',' + (l == 0 ? QStringLiteral("movement") : table.movement(l - 1).text) + u'\n';
    return out;
}

int RunChartCommand(const QStringList &args)
{
    const QString command = args.value(1);
    const bool chart = command == u"evolution";
    if (!chart && command != u"highlights")
        return -1;
    Options o;
    if (!parse(args, chart, o))
        return fail(QStringLiteral("usage:") + ChartUsage().mid(6), 1);
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;
    const IniSnapshot store = ResultsStore(dir).snapshot();
    if (!chart)
        return write(highlights(season, store, o));
    ResultsStore::loadBonusMalus(store, season);
    return write(evolution(season, store, o));
}

} // namespace kestrava

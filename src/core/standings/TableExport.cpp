#include "TableExport.h"

#include "platform/Text.h"
#include "standings/PossibleRanking.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestrava {

namespace {

constexpr TableColumn csvColumns[] = {
    TableColumn::Points,           TableColumn::Played,           TableColumn::GoalsFor,
    TableColumn::GoalsAgainst,     TableColumn::GoalDifference,   TableColumn::FairPlay,
    TableColumn::HomeGoalsFor,     TableColumn::AwayGoalsFor,     TableColumn::HomeGoalsAgainst,
    TableColumn::AwayGoalsAgainst, TableColumn::HomePoints,       TableColumn::AwayPoints,
    TableColumn::HomeWins,         TableColumn::AwayWins,         TableColumn::HomeLosses,
    TableColumn::AwayLosses,       TableColumn::Draws,
};

const char *const csvNames[] = {
    "points",           "played",           "goals_for",   "goals_against", "goal_difference", "fair_play",
    "home_goals_for",   "away_goals_for",   "home_goals_against",           "away_goals_against",
    "home_points",      "away_points",      "home_wins",   "away_wins",     "home_losses",     "away_losses",
    "draws",
};

// Short French headings for the text table, in the order of csvColumns.
const char *const textHeadings[] = {"Pts", "J", "BP", "BC", "Diff", "FP", "BPD", "BPE", "BCD",
                                    "BCE", "PtsD", "PtsE", "GD", "GE", "PD", "PE", "N"};

QString oneLine(QString t)
{
    return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QString LastFive(const QString &formSequence)
{
    return formSequence.right(5);
}

QString CsvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString q = text;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString TableAsCsv(const LeagueTableModel &model, const SeasonData &season)
{
    QString out = QStringLiteral("rank,team");
    for (const char *n : csvNames)
        out += u',' + QLatin1String(n);
    const bool reachable = model.possibleRankingVisible();
    out += reachable ? QStringLiteral(",form,reachable\n") : QStringLiteral(",form\n");
    for (int r = 0; r < TeamCount; ++r) {
        const QString name = model.cell(r, TableColumn::Name).text;
        out += CsvField(model.rankText(r)) + u',' + CsvField(name);
        for (TableColumn c : csvColumns)
            out += u',' + CsvField(model.cell(r, c).text);
        out += u',' + CsvField(LastFive(model.formSequenceOf(name, season)));
        if (reachable)
            out += u',' + CsvField(model.reachableCell(r).text);
        out += u'\n';
    }
    return out;
}

QString TableAsText(const LeagueTableModel &model, const SeasonData &season)
{
    int nameWidth = 6;
    for (int r = 0; r < TeamCount; ++r)
        nameWidth = std::max<int>(nameWidth, model.cell(r, TableColumn::Name).text.size());
    QString out;
    if (!model.title().isEmpty())
        out += model.title() + u'\n';
    out += QStringLiteral("%1 %2").arg(QStringLiteral("Rg"), 3).arg(QStringLiteral("Équipe"), -nameWidth);
    for (const char *h : textHeadings)
        out += QStringLiteral(" %1").arg(QString::fromUtf8(h), 5);
    const bool reachable = model.possibleRankingVisible();
    out += reachable ? QStringLiteral("  Forme  Poss\n") : QStringLiteral("  Forme\n");
    for (int r = 0; r < TeamCount; ++r) {
        const QString name = model.cell(r, TableColumn::Name).text;
        out += QStringLiteral("%1 %2").arg(model.rankText(r), 3).arg(name, -nameWidth);
        for (TableColumn c : csvColumns)
            out += QStringLiteral(" %1").arg(model.cell(r, c).text, 5);
        const QString form = LastFive(model.formSequenceOf(name, season));
        if (reachable)
            out += QStringLiteral("  %1 %2").arg(form, -5).arg(model.reachableCell(r).text, 5) + u'\n';
        else
            out += QStringLiteral("  ") + form + u'\n';
    }
    out += u'\n';
    if (model.gamesInHandVisible())
        out += model.gamesInHand().trimmed() + u'\n';
    out += model.progressText() + u'\n';
    if (!model.leaderName().isEmpty())
        out += oneLine(model.leaderText()).replace(u'\n', u' ') + u'\n';
    out += oneLine(model.goalsSummary()) + u'\n';
    if (!model.lastUpdate().isEmpty())
        out += QStringLiteral("Mise à jour: ") + model.lastUpdate()
            + (model.lastUpdateTooltip().isEmpty() ? QString() : QStringLiteral(" (") + model.lastUpdateTooltip() + u')')
            + u'\n';
    if (reachable && !ChampionOf(model).isEmpty())
        out += ChampionMessage(ChampionOf(model)) + u'\n';
    return out;
}

QByteArray TableAsJson(const LeagueTableModel &model, const SeasonData &season)
{
    QJsonArray rows;
    for (int r = 0; r < TeamCount; ++r) {
        const QString name = model.cell(r, TableColumn::Name).text;
        QJsonObject o;
        o.insert(QStringLiteral("rank"), int(ValueOf(model.rankText(r))));
        o.insert(QStringLiteral("team"), name);
        int i = 0;
        for (TableColumn c : csvColumns) {
            const QString text = model.cell(r, c).text;
            if (c == TableColumn::Points) {
                QString dotted = text;
                o.insert(QStringLiteral("points"), dotted.replace(u',', u'.').toDouble());
                o.insert(QStringLiteral("points_text"), text);
            } else {
                o.insert(QLatin1String(csvNames[i]), text.toInt());
            }
            ++i;
        }
        o.insert(QStringLiteral("form"), LastFive(model.formSequenceOf(name, season)));
        o.insert(QStringLiteral("key"), model.rowKey(r));
        if (model.possibleRankingVisible())
            o.insert(QStringLiteral("reachable"), model.reachableCell(r).text.toInt());
        rows.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("title"), model.title());
    root.insert(QStringLiteral("rows"), rows);
    root.insert(QStringLiteral("games_in_hand"), model.gamesInHandVisible() ? model.gamesInHand() : QString());
    root.insert(QStringLiteral("progress"), model.progressText());
    root.insert(QStringLiteral("progress_fraction"), model.progressFraction());
    root.insert(QStringLiteral("leader"), model.leaderName());
    root.insert(QStringLiteral("goals_summary"), oneLine(model.goalsSummary()));
    root.insert(QStringLiteral("last_update"), model.lastUpdate());
    root.insert(QStringLiteral("last_update_by"), model.lastUpdateTooltip());
    if (model.possibleRankingVisible()) {
        const QString champion = ChampionOf(model);
        root.insert(QStringLiteral("champion"), champion.isEmpty() ? QJsonValue() : QJsonValue(champion));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace kestrava

#include "LeagueTableModel.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"

namespace kestrava {

LeagueTableModel::LeagueTableModel(QObject *parent)
    : QObject(parent)
{
    for (int r = 0; r < TeamCount; ++r)
        m_rank[r] = QString::number(r + 1);
}

void LeagueTableModel::setText(int row, TableColumn c, const QString &text)
{
    TableCell &cell = m_cells[row][int(c)];
    if (cell.text == text)
        return;
    cell.text = text;
    if (c == TableColumn::Points)
        cell.foreground = text.contains(u'-') ? Colours::Red : Colours::Black;
}

QString LeagueTableModel::formSequenceOf(const QString &teamName, const SeasonData &season) const
{
    const int i = season.TeamIndexOf(teamName);
    return i < TeamCount ? m_formSequences[i] : QString();
}

void LeagueTableModel::clearGamesInHand()
{
    m_gamesInHand.clear();
    m_gamesInHandVisible = false;
}

void LeagueTableModel::colourZones(const QString &favouriteTeam)
{
    struct Zone
    {
        int row;
        Rgb colour;
        const char *tooltip;
    };
    static const Zone zones[] = {
        {0, Zones::Champions, "Qualifié phase de groupe Champions league"},
        {1, Zones::Champions, "Qualifié phase de groupe Champions league"},
        {2, Zones::Champions, "Qualifié phase de groupe Champions league"},
        {3, Zones::ThirdRound, "Qualifié 3eme tour pour non champions Champions league"},
        {4, Zones::LeaguePhase, "Qualifié phase de ligue"},
        {5, Zones::Playoff, "Qualifié tour de barrage"},
        {15, Zones::RelegationPlayoff, "Barrage de relégation"},
        {16, Zones::Relegated, "Relégué en Ligue 2"},
        {17, Zones::Relegated, "Relégué en Ligue 2"},
    };
    cell(0, TableColumn::Name).bold = true;
    for (const Zone &z : zones) {
        TableCell &c = cell(z.row, TableColumn::Name);
        c.background = z.colour;
        c.tooltip = QString::fromUtf8(z.tooltip);
    }
    for (int r = 0; r < TeamCount; ++r) {
        if (cell(r, TableColumn::Name).text == favouriteTeam)
            cell(r, TableColumn::Name).background = Colours::Favourite;
    }
}

void LeagueTableModel::startRun(const StandingsRun &run, const QString &majText, const QString &pseudo)
{
    m_lastUpdate = majText;
    m_lastUpdateTooltip = pseudo;
    m_possibleRanking = false;
    for (int r = 0; r < TeamCount; ++r) {
        cell(r, TableColumn::GoalsAgainst).background = Colours::LightOrange;
        cell(r, TableColumn::GoalsFor).background = Colours::LightGreen;
        cell(r, TableColumn::FairPlay).background = Colours::White;
        cell(r, TableColumn::GoalDifference).background = Colours::White;
        cell(r, TableColumn::Draws).background = Colours::LightGrey;
        cell(r, TableColumn::AwayWins).background = Colours::LightGreen;
        cell(r, TableColumn::HomeWins).background = Colours::LightGreen;
        cell(r, TableColumn::AwayLosses).background = Colours::LightOrange;
        cell(r, TableColumn::HomeLosses).background = Colours::LightOrange;
    }
    for (int i = 0; i < TeamCount; ++i)
        m_formSequences[i] = run.rows[i].formSequence;
    m_lastRun = run;
}

void LeagueTableModel::keepSilentRun(const StandingsRun &run)
{
    // A silent run serves the movement icons and the chart: what the window shows (the forms, the
    // work list, the last update) stays that of the table on screen.
    for (int r = 0; r < TeamCount; ++r)
        m_silentOrder[r] = run.atRank(r).name;
}

void LeagueTableModel::showRun(const StandingsRun &run, const StandingsContext &ctx, const QString &majText,
                               const QString &pseudo)
{
    startRun(run, majText, pseudo);
    m_sortColumns = {TableColumn::Points};
    clearMovements();

    QStringList ahead;
    QStringList behind;
    for (int r = 0; r < TeamCount; ++r) {
        const StandingRow &s = run.atRank(r);
        m_rowKeys[r] = run.rowKeys[r];
        setText(r, TableColumn::Name, s.name);
        setText(r, TableColumn::Points, s.pointsText());
        setText(r, TableColumn::GoalDifference, QString::number(s.goalDifference));
        setText(r, TableColumn::GoalsFor, QString::number(s.goalsFor));
        setText(r, TableColumn::GoalsAgainst, QString::number(s.goalsAgainst));
        setText(r, TableColumn::FairPlay, QString::number(s.fairPlay));
        setText(r, TableColumn::Played, QString::number(s.played));
        setText(r, TableColumn::HomeGoalsFor, QString::number(s.homeGoalsFor));
        setText(r, TableColumn::AwayGoalsFor, QString::number(s.awayGoalsFor));
        setText(r, TableColumn::HomeGoalsAgainst, QString::number(s.homeGoalsAgainst));
        setText(r, TableColumn::AwayGoalsAgainst, QString::number(s.awayGoalsAgainst));
        setText(r, TableColumn::HomePoints, QString::number(s.homePoints));
        setText(r, TableColumn::AwayPoints, QString::number(s.awayPoints));
        setText(r, TableColumn::HomeWins, QString::number(s.homeWins));
        setText(r, TableColumn::AwayWins, QString::number(s.awayWins));
        setText(r, TableColumn::HomeLosses, QString::number(s.homeLosses));
        setText(r, TableColumn::AwayLosses, QString::number(s.awayLosses));
        setText(r, TableColumn::Draws, QString::number(s.draws));

        if (run.lastMatchday == MatchdayCount) {
            if (ctx.currentMatchday < s.played)
                ahead.append(s.name);
            else if (ctx.currentMatchday > s.played)
                behind.append(s.name);
        }
        // Fewer matches than the league average.
        cell(r, TableColumn::Played).background
            = qint64(s.played) * TeamCount < run.appearanceCount ? Colours::LightGreen : Colours::White;
    }

    // Games in hand: half the number of names, since every such match involves two teams. The text
    // starts afresh at every run, so that a run that only has late teams never repeats an old message.
    clearGamesInHand();
    auto part = [](const QStringList &names, const char *what, const char *end) {
        const double count = names.size() / 2.0;
        const QString suffix = count > 1 ? QStringLiteral("es") : QString();
        return PlainNumber(count) + QStringLiteral(" Match") + suffix + QString::fromUtf8(what)
            + names.join(QStringLiteral(", ")) + QString::fromUtf8(end);
    };
    if (!ahead.isEmpty() && ahead.size() / 2.0 < 10) {
        m_gamesInHand = part(ahead, " en avance pour: ", ". ");
        m_gamesInHandVisible = true;
    }
    if (!behind.isEmpty() && behind.size() / 2.0 < 10) {
        m_gamesInHand += part(behind, " en retard pour : ", ".");
        m_gamesInHandVisible = true;
    }

    // Progress: a full season is 612 team appearances (306 fixtures, two teams each).
    if (ctx.chartBuilding) {
        if (m_progressBase > 0) {
            const double f = double(run.appearanceCount) / m_progressBase;
            m_progressFraction = f;
            m_progressText = QString::number(qint64(RoundHalfAway(f * 100))) + u'%';
        }
    } else {
        const double f = run.appearanceCount / 612.0;
        m_progressFraction = f;
        m_progressText = QString::number(qint64(RoundHalfAway(f * 100))) + QStringLiteral("% des Matches joués");
        m_progressBase = run.appearanceCount;
    }

    if (ValueOf(cell(0, TableColumn::Points).text) > 0) {
        m_leaderName = cell(0, TableColumn::Name).text;
        m_leaderText = QStringLiteral("Premier:\r\n") + m_leaderName;
        for (int r = 1; r < TeamCount; ++r)
            cell(r, TableColumn::Name).background = Colours::White;
    }
    if (run.appearanceCount > 0)
        colourZones(ctx.favouriteTeam);

    m_goalsSummary = QStringLiteral("Nombre de buts au total: ") + PlainNumber(run.goalCount);
    if (run.appearanceCount > 0) {
        const double average = run.goalCount / (run.appearanceCount / 2.0);
        m_goalsSummary += QStringLiteral("\r\nMoyenne de buts par match :")
            + FrenchLocale().toString(RoundHalfAway(average * 100) / 100, 'f', 2);
    }

    for (int r = 0; r < TeamCount; ++r)
        m_rank[r] = QString::number(run.ranks[r]);
    emit changed();
}

double PointsValue(const QString &pointsText)
{
    QString text = pointsText;
    return ValueOf(text.replace(u',', u'.'));
}

StandingsRun ComputeStandings(const SeasonData &season, const IniSnapshot &store, int &lastMatchday, bool silent,
                              const StandingsContext &ctx, LeagueTableModel &model)
{
    if (lastMatchday == 0) {
        lastMatchday = MatchdayCount;
        model.setTitle(QString());
    }
    const StandingsRun run = RunStandings(season, store, lastMatchday);
    const QString maj = store.value(Store::Maj, Store::Maj);
    const QString pseudo = store.value(Store::Pseudo, Store::Pseudo);
    if (silent)
        model.keepSilentRun(run);
    else
        model.showRun(run, ctx, maj, pseudo);
    return run;
}

} // namespace kestrava

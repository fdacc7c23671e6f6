#include "TeamCommands.h"
#include "CliOutput.h"

#include "matchdays/CalendarRules.h"
#include "season/ResultsStore.h"
#include "standings/LeagueTableModel.h"
#include "standings/TableExport.h"
#include "teamviews/CalendarExport.h"
#include "teamviews/TeamSheet.h"

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

const char usage[] = "usage: kestrava-cli team NAME [--dir DIR] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--format text|csv|json]\n"
                     "       kestrava-cli calendar [--team NAME] [--dir DIR]\n";

struct Options
{
    QString team;
    QString dir;
    QDateTime now = QDateTime::currentDateTime();
    QString format = QStringLiteral("text");
};

bool parse(const QStringList &args, bool sheet, Options &o)
{
    int i = 2;
    if (sheet) {
        o.team = args.value(2);
        if (o.team.isEmpty() || o.team.startsWith(QStringLiteral("--")))
            return false;
        i = 3;
    }
    for (; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size())
            return false;
        const QString v = args[++i];
        if (a == u"--dir") {
            o.dir = v;
        } else if (sheet && a == u"--now") {
            o.now = cli::parseNow(v);
            if (!o.now.isValid())
                return false;
        } else if (sheet && a == u"--format") {
            o.format = v;
            if (o.format != u"text" && o.format != u"csv" && o.format != u"json")
                return false;
        } else if (!sheet && a == u"--team") {
            o.team = v;
        } else {
            return false;
        }
    }
    return true;
}

QString resultName(SheetResult r)
{
    switch (r) {
    case SheetResult::Win:
        return QStringLiteral("win");
    case SheetResult::Draw:
        return QStringLiteral("draw");
    case SheetResult::Loss:
        return QStringLiteral("loss");
    case SheetResult::Partial:
        return QStringLiteral("partial");
    case SheetResult::None:
        break;
    }
    return QStringLiteral("none");
}

const QString &card(const SheetRow &row, SheetCardBox box)
{
    return row.cards[int(box)].text;
}

QString sheetAsCsv(const TeamSheetModel &sheet)
{
    QString out = QStringLiteral("row,key,matchday,date,home,away,home_goals,away_goals,home_yellow,home_red,"
                                 "away_yellow,away_red,result\n");
    for (int r = 0; r < SheetRowCount; ++r) {
        const SheetRow &row = sheet.rows[r];
        if (!row.visible)
            continue;
        const QStringList fields = { QString::number(r), row.key, QString::number(row.matchday), row.date,
            row.home.text, row.away.text, row.r1, row.r2, card(row, SheetCardBox::HomeYellow),
            card(row, SheetCardBox::HomeRed), card(row, SheetCardBox::AwayYellow),
            card(row, SheetCardBox::AwayRed), resultName(row.result) };
        QStringList quoted;
        for (const QString &f : fields)
            quoted << CsvField(f);
        out += quoted.join(u',') + u'\n';
    }
    return out;
}

QJsonValue perMatch(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QByteArray sheetAsJson(const TeamSheetModel &sheet)
{
    const SheetTotals &t = sheet.totals;
    QJsonArray rows;
    for (int r = 0; r < SheetRowCount; ++r) {
        const SheetRow &row = sheet.rows[r];
        if (!row.visible)
            continue;
        rows.append(QJsonObject { { "row", r }, { "key", row.key }, { "matchday", row.matchday },
            { "date", row.date }, { "home", row.home.text }, { "away", row.away.text },
            { "home_goals", row.r1 }, { "away_goals", row.r2 },
            { "home_yellow", card(row, SheetCardBox::HomeYellow) },
            { "home_red", card(row, SheetCardBox::HomeRed) },
            { "away_yellow", card(row, SheetCardBox::AwayYellow) },
            { "away_red", card(row, SheetCardBox::AwayRed) }, { "result", resultName(row.result) } });
    }
    // In the order of the bars: Aller home, Aller away, Retour home, Retour away.
    static const SheetCaption titles[4]
        = { AllerHomeTitle, AllerAwayTitle, RetourHomeTitle, RetourAwayTitle };
    QJsonArray sections;
    for (int s = AllerHome; s <= RetourAway; ++s) {
        const SheetBar &b = sheet.bars[s];
        sections.append(QJsonObject { { "name", sheet.captions[titles[s]] }, { "wins", b.wins },
            { "draws", b.draws }, { "losses", b.losses }, { "unplayed", b.unplayed } });
    }
    const SheetBar &whole = sheet.bars[SeasonBar];
    const QJsonObject root {
        { "team", sheet.team },
        { "rank", t.rank.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(t.rank.toInt()) },
        { "points", t.points },
        { "goals_for", t.goalsFor },
        { "goals_against", t.goalsAgainst },
        { "yellow", t.yellow },
        { "red", t.red },
        { "sections", sections },
        { "season",
            QJsonObject { { "wins", whole.wins }, { "draws", whole.draws }, { "losses", whole.losses } } },
        { "goals_for_per_match", perMatch(t.goalsForPerMatch) },
        { "goals_against_per_match", perMatch(t.goalsAgainstPerMatch) },
        { "rows", rows },
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString sheetAsText(const TeamSheetModel &sheet)
{
    const auto &c = sheet.captions;
    const SheetTotals &t = sheet.totals;
    QString out = c[TeamTitle] + QStringLiteral(" -") + SeasonTitle + u'\n';
    out += c[RankLine] + QStringLiteral("   ") + c[PointsLine] + QStringLiteral("   ") + c[YellowCards]
        + QStringLiteral("   ") + c[RedCards] + u'\n';
    out += c[GoalsForLine] + (t.played > 0 ? QStringLiteral(" (") + c[GoalsForPerMatch] + u')' : QString())
        + QStringLiteral("   ") + c[GoalsAgainstLine]
        + (t.played > 0 ? QStringLiteral(" (") + c[GoalsAgainstPerMatch] + u')' : QString()) + u'\n';
    const SheetBar &whole = sheet.bars[SeasonBar];
    out += QStringLiteral("Victoires: %1   Nuls: %2   Défaites: %3   À jouer: %4\n")
               .arg(whole.wins)
               .arg(whole.draws)
               .arg(whole.losses)
               .arg(whole.unplayed);

    int nameWidth = 6;
    for (const SheetRow &row : sheet.rows)
        nameWidth = std::max<int>({ nameWidth, int(row.home.text.size()), int(row.away.text.size()) });
    const auto cards = [](const QString &yellow, const QString &red) {
        QStringList parts;
        if (!yellow.isEmpty())
            parts << QStringLiteral("CJ ") + yellow;
        if (!red.isEmpty())
            parts << QStringLiteral("CR ") + red;
        return parts.isEmpty() ? QString() : u'[' + parts.join(u' ') + u']';
    };
    // The sheet's reading order: the home column, then the away column, each Aller then Retour.
    static const SheetCaption titles[4]
        = { AllerHomeTitle, RetourHomeTitle, AllerAwayTitle, RetourAwayTitle };
    static const int bars[4] = { AllerHome, RetourHome, AllerAway, RetourAway };
    for (int s = 0; s < 4; ++s) {
        const SheetBar &b = sheet.bars[bars[s]];
        out += QStringLiteral("\n%1   G %2  N %3  P %4  à jouer %5\n")
                   .arg(c[titles[s]])
                   .arg(b.wins)
                   .arg(b.draws)
                   .arg(b.losses)
                   .arg(b.unplayed);
        const bool away = bars[s] == AllerAway || bars[s] == RetourAway;
        const bool retour = bars[s] == RetourHome || bars[s] == RetourAway;
        for (int r = away ? SheetColumnRows : 0; r < (away ? SheetRowCount : SheetColumnRows); ++r) {
            const SheetRow &row = sheet.rows[r];
            if (!row.visible || row.retour != retour)
                continue;
            static const char marks[] = { ' ', '?', 'G', 'N', 'P' };
            const QString line
                = QStringLiteral("  J%1  %2  %3 %4 %5 - %6 %7 %8  %9")
                      .arg(row.matchday, 2, 10, QLatin1Char('0'))
                      .arg(row.date, 8)
                      .arg(row.home.text, nameWidth)
                      .arg(cards(card(row, SheetCardBox::HomeYellow), card(row, SheetCardBox::HomeRed)), 11)
                      .arg(row.r1, 2)
                      .arg(row.r2, -2)
                      .arg(cards(card(row, SheetCardBox::AwayYellow), card(row, SheetCardBox::AwayRed)), -11)
                      .arg(row.away.text, -nameWidth)
                      .arg(QLatin1Char(marks[int(row.result)]));
            out += line.trimmed().prepend(QStringLiteral("  ")) + u'\n';
        }
    }
    return out;
}

} // namespace

int RunTeamViewsCommand(const QStringList &args)
{
    const QString command = args.value(1);
    const bool sheet = command == u"team";
    if (!sheet && command != u"calendar")
        return -1;
    Options o;
    if (!parse(args, sheet, o))
        return fail(QString::fromLatin1(usage), 1);
    QString dir;
    SeasonData season;
    if (const int status = cli::openSeason(o.dir, dir, season))
        return status;
    if (!o.team.isEmpty() && season.TeamIndexOf(o.team) >= TeamCount)
        return fail(QStringLiteral("Equipe inconnue: ") + o.team + u'\n', 2);
    const IniSnapshot snapshot = ResultsStore(dir).snapshot();
    if (!sheet)
        return write(SeasonAsICalendar(season, snapshot, o.team, QDateTime::currentDateTime()));

    // The rank is the one the table shows.
    ResultsStore::loadBonusMalus(snapshot, season);
    LeagueTableModel table;
    StandingsContext ctx;
    ctx.currentMatchday = CurrentMatchday(season, o.now, MatchdayCount);
    int last = 0;
    ComputeStandings(season, snapshot, last, false, ctx, table);
    SheetContext sheetCtx;
    for (int r = 0; r < TeamCount; ++r) {
        if (!sheetCtx.rank && table.cell(r, TableColumn::Name).text == o.team)
            sheetCtx.rank = table.rankText(r);
    }
    TeamSheetModel model;
    FillTeamSheet(model, season, snapshot, o.team, sheetCtx);
    if (o.format == u"csv")
        return write(sheetAsCsv(model).toUtf8());
    if (o.format == u"json")
        return write(sheetAsJson(model));
    return write(sheetAsText(model).toUtf8());
}

} // namespace kestrava

#include "TeamSheet.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "teamviews/CalendarRecord.h"

namespace kestrava {

namespace {

const std::array<QString, SheetCaptionCount> designCaptions = {
    QStringLiteral("Equipe..."),
    QStringLiteral("Matches Aller - Domicile"),
    QStringLiteral("Matches Retour - Domicile"),
    QStringLiteral("Matches Aller - Extérieur"),
    QStringLiteral("Matches Retour - Extérieur"),
    QStringLiteral("Cartons Rouges: "),
    QStringLiteral("Cartons Jaunes:"),
    QStringLiteral("Points:"),
    QStringLiteral("Classement:"),
    QStringLiteral("Buts marqués: "),
    QStringLiteral("Buts encaissés: "),
    QStringLiteral("% par match"),
    QStringLiteral("% par match"),
};

// The team's fixtures: home ones in calendar order, then away ones in calendar order.
QList<CalendarRecord> fixturesOf(const SeasonData &season, QChar letter)
{
    QList<CalendarRecord> home, away;
    for (const QString &text : season.calendar) {
        CalendarRecord record;
        if (!record.read(text))
            continue;
        if (record.code.front() == letter)
            home.append(record);
        if (record.code.back() == letter)
            away.append(record);
    }
    return home + away;
}

void placeCards(SheetRow &row)
{
    for (SheetCard &card : row.cards)
        card.visible = !card.text.isEmpty();
    // The yellow box steps aside for a red one.
    row.cards[int(SheetCardBox::HomeYellow)].inset
        = row.cards[int(SheetCardBox::HomeRed)].text.isEmpty() ? 0 : SheetCardTwips::BesideRed;
    row.cards[int(SheetCardBox::AwayYellow)].inset
        = row.cards[int(SheetCardBox::AwayRed)].text.isEmpty() ? 0 : SheetCardTwips::BesideRed;
}

// The marker's rules run in order, each later one overriding an earlier one.
void judge(SheetRow &row, bool atHome)
{
    row.result = SheetResult::None;
    row.marker = SheetColours::NoResult;
    row.markerVisible = false;
    if (row.r1.trimmed().isEmpty())
        return;
    const double home = ValueOf(row.r1);
    const double away = ValueOf(row.r2);
    row.result = SheetResult::Loss;
    if ((atHome && home > away) || (!atHome && away > home))
        row.result = SheetResult::Win;
    if (row.r1.isEmpty() || row.r2.isEmpty())
        row.result = SheetResult::Partial;
    if (home == away)
        row.result = SheetResult::Draw;
    switch (row.result) {
    case SheetResult::Win:
        row.marker = SheetColours::Win;
        break;
    case SheetResult::Draw:
        row.marker = SheetColours::Draw;
        break;
    case SheetResult::Loss:
        row.marker = SheetColours::Loss;
        break;
    default:
        row.marker = SheetColours::Partial;
        break;
    }
    row.markerVisible = true;
}

void fillBar(SheetBar &bar, const char *const names[3], int total)
{
    const int counts[3] = { bar.wins, bar.draws, bar.losses };
    for (int p = 0; p < 3; ++p) {
        bar.captions[p] = QStringLiteral("\r\n") + QString::fromUtf8(names[p]) + QString::number(counts[p]);
        bar.shares[p] = double(counts[p]) / total;
    }
}

} // namespace

TeamSheetModel::TeamSheetModel(QObject *parent)
    : QObject(parent)
    , captions(designCaptions)
{ }

bool TeamSheetModel::markName(const QString &name)
{
    bool changed = false;
    for (SheetRow &row : rows) {
        for (SheetName *box : { &row.home, &row.away }) {
            const Rgb colour = box->text == name ? SheetColours::Marked : SheetColours::Name;
            changed = changed || !(box->background == colour);
            box->background = colour;
        }
    }
    return changed;
}

QString PerMatch(double goals, int played)
{
    if (played <= 0)
        return {};
    QString text = QString::number(RoundHalfAway(double(goals) / played * 100) / 100, 'f', 2);
    if (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

void FillTeamSheet(TeamSheetModel &sheet, const SeasonData &season, const IniSnapshot &store,
    const QString &team, const SheetContext &ctx)
{
    const int index = season.TeamIndexOf(team);
    const QChar letter = QChar(u'A' + index);
    sheet.team = team;
    sheet.selected = index < TeamCount ? index : -1;
    sheet.captions = designCaptions;
    sheet.captions[TeamTitle] = team;
    sheet.captions[RankLine] = QStringLiteral("Classement: ") + ctx.rank.value_or(QString());
    sheet.bars = {};
    sheet.totals = SheetTotals {};
    SheetTotals &totals = sheet.totals;
    totals.rank = ctx.rank.value_or(QString());

    const QList<CalendarRecord> fixtures = fixturesOf(season, letter);
    const auto *results = store.section(Store::Results);
    for (int r = 0; r < SheetRowCount; ++r) {
        SheetRow &row = sheet.rows[r];
        row = SheetRow {};
        // A season file with fewer fixtures for this club leaves no other club's rows behind.
        if (r >= fixtures.size())
            continue;
        const CalendarRecord &fixture = fixtures[r];
        row.visible = true;
        row.key = fixture.key();
        row.home.tag = fixture.code.front();
        row.away.tag = fixture.code.back();
        row.home.text = season.TeamNameOf(row.home.tag);
        row.away.text = season.TeamNameOf(row.away.tag);

        const QString stored = results ? results->value(row.key) : QString();
        if (!stored.isEmpty()) {
            const MatchResult m = MatchResult::parse(stored);
            row.cards[int(SheetCardBox::HomeRed)].text = m.cr1();
            row.cards[int(SheetCardBox::HomeYellow)].text = m.cj1();
            row.r1 = m.r1() == u"-" ? QString() : m.r1();
            row.r2 = m.r2() == u"-" ? QString() : m.r2();
            row.cards[int(SheetCardBox::AwayYellow)].text = m.cj2();
            row.cards[int(SheetCardBox::AwayRed)].text = m.cr2();
        }
        placeCards(row);

        for (SheetName *box : { &row.home, &row.away }) {
            box->bold = box->text == team;
            if (!ctx.favouriteTeam.isEmpty() && box->text == ctx.favouriteTeam && ctx.favouriteTeam != team)
                box->background = SheetColours::Marked;
        }

        row.matchday = IntValueOf(QStringView(row.key).left(2));
        const QDateTime date = season.matchdayDate(row.matchday);
        row.date = date.isValid() ? ShortDate(date.date()) : QString();
        row.retour = row.matchday >= FirstReturnMatchday;

        const bool atHome = row.home.tag == letter;
        judge(row, atHome);

        const double home = ValueOf(row.r1), away = ValueOf(row.r2);
        totals.goalsFor += atHome ? home : away;
        totals.goalsAgainst += atHome ? away : home;
        const SheetCardBox red = atHome ? SheetCardBox::HomeRed : SheetCardBox::AwayRed;
        const SheetCardBox yellow = atHome ? SheetCardBox::HomeYellow : SheetCardBox::AwayYellow;
        totals.red += ValueOf(row.cards[int(red)].text);
        totals.yellow += ValueOf(row.cards[int(yellow)].text);

        SheetBar &bar = sheet.bars[(row.retour ? 2 : 0) + (r < SheetColumnRows ? 0 : 1)];
        switch (row.result) {
        case SheetResult::None:
            ++bar.unplayed;
            break;
        case SheetResult::Win:
            ++bar.wins;
            break;
        case SheetResult::Draw:
            ++bar.draws;
            break;
        case SheetResult::Loss:
            ++bar.losses;
            break;
        case SheetResult::Partial: // a half-entered score counts nowhere
            break;
        }
    }

    sheet.captions[RedCards] = QStringLiteral("Cartons Rouges: ") + PlainNumber(totals.red);
    sheet.captions[YellowCards] = QStringLiteral("Cartons Jaunes: ") + PlainNumber(totals.yellow);

    // A section's parts show their counts alone; the season's bar names them.
    static const char *const bareCounts[3] = { "", "", "" };
    SheetBar &whole = sheet.bars[SeasonBar];
    for (int s = AllerHome; s <= RetourAway; ++s) {
        SheetBar &bar = sheet.bars[s];
        const int n = bar.wins + bar.draws + bar.losses + bar.unplayed;
        if (n > 0)
            fillBar(bar, bareCounts, n);
        whole.wins += bar.wins;
        whole.draws += bar.draws;
        whole.losses += bar.losses;
        whole.unplayed += bar.unplayed;
    }
    totals.played = whole.wins + whole.draws + whole.losses;
    if (totals.played > 0) {
        static const char *const seasonNames[3] = { "Victoires: ", "Nuls: ", "Défaites: " };
        fillBar(whole, seasonNames, totals.played);
    }

    // The sheet's points never include the table's bonus or malus.
    totals.points = whole.draws + 3 * whole.wins;
    sheet.captions[PointsLine] = QStringLiteral("Points: ") + QString::number(totals.points);
    sheet.captions[GoalsForLine] = QStringLiteral("Buts Marqués: ") + PlainNumber(totals.goalsFor);
    sheet.captions[GoalsAgainstLine]
        = QStringLiteral("Buts Encaissés: ") + PlainNumber(totals.goalsAgainst);
    // With no match played there is nothing to divide: the lines stay empty rather than keep the
    // previous club's figures.
    totals.goalsForPerMatch = PerMatch(totals.goalsFor, totals.played);
    totals.goalsAgainstPerMatch = PerMatch(totals.goalsAgainst, totals.played);
    const QString suffix = QStringLiteral(" par match.");
    sheet.captions[GoalsForPerMatch] = totals.played > 0 ? totals.goalsForPerMatch + suffix : QString();
    sheet.captions[GoalsAgainstPerMatch]
        = totals.played > 0 ? totals.goalsAgainstPerMatch + suffix : QString();
}

} // namespace kestrava

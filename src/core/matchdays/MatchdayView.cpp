#include "MatchdayView.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <array>
#include <bitset>
#include <cmath>

namespace kestrava {

namespace {

// A stored record's first eight fields, read in place (the record must outlive them); missing
// ones are empty.
using RecordFields = std::array<QStringView, 8>;
RecordFields splitRecord(QStringView record)
{
    RecordFields f;
    qsizetype start = 0;
    for (QStringView &field : f) {
        qsizetype end = start;
        while (end < record.size() && record[end] != u'|')
            ++end;
        field = record.sliced(start, end - start);
        if (end >= record.size())
            break;
        start = end + 1;
    }
    return f;
}

// Writes a stored record into a row's six boxes in the record's order, so that the change rules run
// as they would for typing; a stored "-" shows as an empty goals box.
void writeRecord(FixtureGridModel &grid, int i, const RecordFields &f, bool trimmed)
{
    auto field = [&](int n) { return (trimmed ? f[n].trimmed() : f[n]).toString(); };
    grid.setCard(i, CardBox::HomeRed, field(1));
    grid.setCard(i, CardBox::HomeYellow, field(2));
    grid.setGoals(i, GoalsBox::Home, field(3));
    grid.setGoals(i, GoalsBox::Away, field(4));
    grid.setCard(i, CardBox::AwayYellow, field(5));
    grid.setCard(i, CardBox::AwayRed, field(6));
    if (grid.row(i).r1.text == u"-")
        grid.setGoals(i, GoalsBox::Home, QString());
    if (grid.row(i).r2.text == u"-")
        grid.setGoals(i, GoalsBox::Away, QString());
}

QString dayMonthYear(const QDateTime &d)
{
    return d.isValid() ? ShortDate(d.date()) : QString();
}

} // namespace

MatchdayHeader HeaderFor(const SeasonData &season, int matchday, const QDateTime &launchTime)
{
    MatchdayHeader h;
    h.colour = Colours::Black;
    const QDateTime d = season.matchdayDate(matchday);
    QString suffix;
    QString dateText;
    if (d.isValid()) {
        // Days and hours as the wall clock shows them: a night when the clocks change is one day.
        const double diff = double(launchTime.date().daysTo(d.date()))
            + (launchTime.time().msecsTo(d.time())) / 86400000.0;
        if (diff > 0) {
            // Halfway goes to the even neighbour.
            const long long n = std::llround(std::nearbyint(diff));
            suffix = QStringLiteral(" Dans ") + QString::number(n) + QStringLiteral(" jour")
                + (n > 1 ? QStringLiteral("s") : QString());
            h.colour = GridColours::Future;
        } else if (diff < 0) {
            h.colour = GridColours::Past;
        }
        if (std::floor(-diff) == 0) {
            suffix = QStringLiteral(" Aujourd'hui !");
            h.colour = GridColours::Today;
        }
        QString formatted = FrenchLocale().toString(d.date(), QStringLiteral("dddd dd MMMM"));
        dateText = ProperCase(formatted);
    }
    h.text = QStringLiteral("Journée N°") + QString::number(matchday) + QStringLiteral(": ") + dateText
        + QStringLiteral(". ") + suffix;
    return h;
}

void ShowMatchday(FixtureGridModel &grid, const SeasonData &season, const IniSnapshot &store, int matchday,
                  const GridContext &ctx)
{
    if (matchday < 1 || matchday > MatchdayCount)
        return;

    for (int r = 0; r < GridRowCount; ++r) {
        grid.setGoals(r, GoalsBox::Home, QString());
        grid.setGoals(r, GoalsBox::Away, QString());
        GridRow &row = grid.row(r);
        row.r1.visible = row.r2.visible = false;
        row.home.visible = row.away.visible = false;
        grid.hideCards(r);
        row.infoVisible = false;
        row.home.background = row.away.background = Colours::White;
        row.home.foreground = row.away.foreground = Colours::Black;
    }

    const QStringList &codes = season.matchdayFixtures[matchday];
    for (int i = 0; i < codes.size() && i < GridRowCount; ++i) {
        const QString &code = codes[i];
        const int home = code.size() > 0 ? code[0].unicode() - u'A' : -1;
        const int away = code.size() > 1 ? code[1].unicode() - u'A' : -1;
        GridRow &row = grid.row(i);
        // The tags are the record's own letters, a team's or not: a save writes this fixture's
        // letters, never those of whatever the row showed before. No team has a name for a stray one.
        row.home.tag = code.left(1);
        row.away.tag = code.mid(1, 1);
        row.home.text = home >= 0 && home < TeamCount ? season.teams[home] : QString();
        row.away.text = away >= 0 && away < TeamCount ? season.teams[away] : QString();
        row.home.background = row.home.text == ctx.favouriteTeam ? Colours::Favourite : Colours::White;
        row.away.background = row.away.text == ctx.favouriteTeam ? Colours::Favourite : Colours::White;
    }

    const MatchdayHeader header = HeaderFor(season, matchday, ctx.launchTime);
    grid.header = header.text;
    grid.headerColour = header.colour;
    grid.matchday = matchday;

    // The other meeting of each pair of teams: the last calendar slot holding the reversed letters,
    // found for the nine rows in one pass over the calendar.
    std::array<quint64, 9> reversedPairs;
    reversedPairs.fill(~quint64(0)); // no pair of UTF-16 units gives this
    std::array<int, 9> otherMeeting;
    otherMeeting.fill(-1);
    std::bitset<65536> firstUnits; // the pairs' first units, so that most positions are passed at once
    for (int i = 0; i <= 8; ++i) {
        const QString reversed = grid.row(i).away.tag + grid.row(i).home.tag;
        if (reversed.size() == 2) {
            reversedPairs[i] = quint64(reversed[0].unicode()) << 16 | reversed[1].unicode();
            firstUnits.set(reversed[0].unicode());
        }
    }
    for (int k = 0; k < int(season.calendar.size()); ++k) {
        const QString &slot = season.calendar[k];
        const char16_t *units = reinterpret_cast<const char16_t *>(slot.constData());
        for (qsizetype c = 0; c + 1 < slot.size(); ++c) {
            if (!firstUnits[units[c]])
                continue;
            const quint64 pair = quint64(units[c]) << 16 | units[c + 1];
            for (int i = 0; i <= 8; ++i) {
                if (reversedPairs[i] == pair)
                    otherMeeting[i] = k;
            }
        }
    }

    const auto *results = store.section(Store::Results);
    for (int i = 0; i <= 8; ++i) {
        GridRow &row = grid.row(i);
        row.r1.visible = row.r2.visible = row.home.visible = row.away.visible = true;
        const QString key = FixtureKey(matchday, i);
        const QString record = results ? results->value(key, EmptyRecord) : EmptyRecord;
        writeRecord(grid, i, splitRecord(record), true);
        row.key = key;

        grid.hideCards(i);
        grid.resetCardPositions(i);
        grid.applyCollapse(i);
        // A fixture without a score shows no cards.
        if (!row.r1.text.isEmpty() && !row.r2.text.isEmpty())
            grid.showCardsWithText(i);
        row.infoVisible = true;

        // The other meeting of the two teams: its date in the first half, its score in the second.
        const QString entry = otherMeeting[i] >= 0 ? season.calendar[otherMeeting[i]] : QString();
        row.info.clear();
        if (!entry.isEmpty()) {
            if (matchday < 18) {
                row.info = QStringLiteral("Retour le: ") + dayMonthYear(season.matchdayDate(int(ValueOf(entry.left(2)))));
            } else {
                const QString key2 = entry.left(2) + entry.mid(3, 2);
                const QString other = results ? results->value(key2, EmptyRecord) : EmptyRecord;
                const RecordFields f2 = splitRecord(other);
                row.info = u'(' + f2[4].toString() + u'-' + f2[3].toString() + u')';
                if (row.info == u"(-)" || row.info == u"(---)")
                    row.info.clear();
            }
        }
        row.infoColour = Colours::Black;
        row.infoBold = false;
    }

    grid.totals = DayTotals(store, matchday);
    grid.setPending(false);
    grid.notify();
}

QString DayTotals(const IniSnapshot &store, int matchday)
{
    const auto *results = store.section(Store::Results);
    double goals = 0, yellow = 0, red = 0;
    for (int i = 0; i <= 8; ++i) {
        const QString record = results ? results->value(FixtureKey(matchday, i), EmptyRecord) : EmptyRecord;
        const RecordFields f = splitRecord(record);
        goals += ValueOf(f[3]) + ValueOf(f[4]);
        // A card box keeps one character.
        const auto card = [&](int n) { return ValueOf(f[n].trimmed().left(1)); };
        yellow += card(2) + card(5);
        red += card(1) + card(6);
    }
    return QStringLiteral("Buts dans la journée: ") + PlainNumber(goals) + QStringLiteral("\r\nCartons Jaunes: ")
        + PlainNumber(yellow) + QStringLiteral("\r\nCartons Rouges:") + PlainNumber(red);
}

void ShowTeamSeason(FixtureGridModel &grid, const SeasonData &season, const IniSnapshot &store,
                    const QString &teamName, const GridContext &ctx)
{
    grid.totals.clear();
    grid.matchday = 0;
    const QString letter = season.TeamLetterOf(teamName);
    QStringList entries;
    for (const QString &slot : season.calendar) {
        if (!slot.isEmpty() && slot.contains(letter))
            entries.append(slot);
    }

    const auto *results = store.section(Store::Results);
    const int used = std::min<int>(entries.size(), GridRowCount);
    for (int i = 0; i < used; ++i) {
        GridRow &row = grid.row(i);
        row.home.visible = row.away.visible = row.r1.visible = row.r2.visible = row.infoVisible = true;
        const QStringList parts = entries[i].split(u'|');
        const QString key = parts.value(0) + parts.value(1);
        const QString code = parts.value(2);

        for (CardBox b : {CardBox::HomeRed, CardBox::HomeYellow, CardBox::AwayYellow, CardBox::AwayRed})
            grid.setCard(i, b, QString());
        row.home.foreground = row.away.foreground = Colours::Black;
        row.home.tag = code.left(1);
        row.home.text = season.TeamNameOf(row.home.tag);
        row.away.tag = code.right(1);
        grid.setGoals(i, GoalsBox::Home, QString());
        grid.setGoals(i, GoalsBox::Away, QString());
        row.away.text = season.TeamNameOf(row.away.tag);
        row.key = key;

        const QString record = results ? results->value(key) : QString();
        if (!record.isEmpty()) {
            writeRecord(grid, i, splitRecord(record), false);
        }
        grid.resetCardPositions(i);
        grid.applyCollapse(i);
        grid.showCardsWithText(i);

        row.home.background = row.home.text == teamName ? GridColours::ChosenTeam : Colours::White;
        row.away.background = row.away.text == teamName ? GridColours::ChosenTeam : Colours::White;

        const QDateTime date = season.matchdayDate(int(ValueOf(key.left(2))));
        row.info = dayMonthYear(date);
        const bool overdue = date.isValid() && ctx.launchTime.addDays(-5) > date;
        const bool unplayed = row.r1.text.isEmpty() && row.r2.text.isEmpty();
        row.infoColour = unplayed && overdue ? GridColours::Overdue : Colours::Black;
        row.infoBold = unplayed && overdue;

        if (teamName != ctx.favouriteTeam) {
            if (row.home.text == ctx.favouriteTeam)
                row.home.background = Colours::Favourite;
            if (row.away.text == ctx.favouriteTeam)
                row.away.background = Colours::Favourite;
        }
    }
    // Rows past the team's fixtures would otherwise keep another view's fixtures, and a save
    // would write them again: they are emptied and hidden.
    for (int i = used; i < GridRowCount; ++i) {
        GridRow &row = grid.row(i);
        row = GridRow{};
        grid.resetCardPositions(i);
    }
    grid.setPending(false);
    grid.notify();
}

QString CardReport(const IniSnapshot &store)
{
    QString out;
    double totalYellow = 0, totalRed = 0;
    const auto *results = store.section(Store::Results);
    for (int d = 1; d <= 38; ++d) {
        double dayYellow = 0, dayRed = 0;
        for (int p = 0; p <= 10; ++p) {
            const QString record = results ? results->value(FixtureKey(d, p)) : QString();
            if (record.isEmpty())
                continue;
            const RecordFields f = splitRecord(record);
            dayYellow += ValueOf(f[5]) + ValueOf(f[2]);
            dayRed += ValueOf(f[6]) + ValueOf(f[1]);
        }
        if (dayYellow + dayRed > 0) {
            out += QStringLiteral("Jour %1: Cj:").arg(d, 2, 10, QLatin1Char('0')) + PlainNumber(dayYellow)
                + QStringLiteral(". CR:") + PlainNumber(dayRed) + QStringLiteral("\r\n");
        }
        totalYellow += dayYellow;
        totalRed += dayRed;
    }
    out += QStringLiteral("Cumul CJ ") + PlainNumber(totalYellow) + QStringLiteral("\r\nCumul CR ") + PlainNumber(totalRed);
    return out;
}

} // namespace kestrava

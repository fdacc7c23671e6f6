#include "SeasonHighlights.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <cmath>

namespace kestrava {

namespace {

// Keys are read up to matchday 38 and position 9, beyond the season's 34 x 9: a hand-edited store
// may hold such records, and they count like the others.
constexpr int LastKeyMatchday = 38;
constexpr int KeyPositions = 10;
// One run counter per letter "A" to "U"; the records name the 18 clubs "A" to "R".
constexpr int RunSlots = 21;
using Runs = std::array<int, RunSlots>;

const char *const headings[HighlightCount] = {
    "Le plus de buts marqués:",
    "La plus grande différence de buts:",
    "Le plus de cartons pris:",
    "Le plus de buts en une journée:",
    "Le plus de matches sans défaite:",
    "Le plus de matches sans victoire:",
};

// A letter's counter, -1 for anything else (the record still counts for the other side).
int slotOf(QStringView letter)
{
    if (letter.isEmpty())
        return -1;
    const int slot = letter.at(0).unicode() - u'A';
    return slot >= 0 && slot < RunSlots ? slot : -1;
}

// The eight fields of a record, viewed in place: the computation reads hundreds of them.
std::array<QStringView, 8> fieldsOf(const QString &record)
{
    std::array<QStringView, 8> f;
    const QStringView all(record);
    qsizetype start = 0;
    for (int i = 0; i < 8 && start <= all.size(); ++i) {
        const qsizetype bar = all.indexOf(u'|', start);
        f[i] = bar < 0 ? all.mid(start) : all.mid(start, bar - start);
        start = bar < 0 ? all.size() + 1 : bar + 1;
    }
    return f;
}

const QString &keyOf(int matchday, int position)
{
    static const std::array<QString, (LastKeyMatchday + 1) *KeyPositions> keys = [] {
        std::array<QString, (LastKeyMatchday + 1) * KeyPositions> k;
        for (int i = 0; i <= LastKeyMatchday; ++i)
            for (int m = 0; m < KeyPositions; ++m)
                k[i * KeyPositions + m] = FixtureKey(i, m);
        return k;
    }();
    return keys[matchday * KeyPositions + position];
}

void extend(Runs &runs, int slot)
{
    if (slot >= 0)
        ++runs[slot];
}

void end(Runs &runs, int slot)
{
    if (slot >= 0)
        runs[slot] = 0;
}

QString dateOf(const SeasonData &season, int matchday)
{
    const QDateTime date = season.matchdayDate(matchday);
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// The clubs, in season order, whose run is the longest: "Lens Nice: 4 matches."
QString longestRun(const SeasonData &season, const Runs &runs)
{
    int longest = 0;
    for (int i = 0; i < TeamCount; ++i)
        longest = std::max(longest, runs[i]);
    QStringList clubs;
    for (int i = 0; i < TeamCount; ++i) {
        if (runs[i] == longest)
            clubs.append(season.teams[i]);
    }
    return clubs.join(u' ') + QStringLiteral(": ") + QString::number(longest) + QStringLiteral(" matches.");
}

} // namespace

QString HighlightHeading(int highlight)
{
    return highlight >= 0 && highlight < HighlightCount ? QString::fromUtf8(headings[highlight]) : QString();
}

HighlightTexts ComputeHighlights(const SeasonData &season, const IniSnapshot &store)
{
    HighlightTexts texts;
    Runs unbeaten {}, winless {};
    double mostGoals = 0, largestDifference = 0, mostCards = 0, mostInMatchday = 0;
    const QHash<QString, QString> *results = store.section(Store::Results);
    for (int i = 1; i <= LastKeyMatchday; ++i) {
        double matchdayGoals = 0;
        for (int m = 0; m < KeyPositions && results; ++m) {
            const QString record = results->value(keyOf(i, m), EmptyRecord);
            if (record == EmptyRecord)
                continue;
            const std::array<QStringView, 8> f = fieldsOf(record);
            const double h = ValueOf(f[3]), a = ValueOf(f[4]);
            const int home = slotOf(f[0]), away = slotOf(f[7]);
            if (h > a) {
                extend(unbeaten, home);
                end(unbeaten, away);
                extend(winless, away);
                end(winless, home);
            } else if (a > h) {
                extend(unbeaten, away);
                end(unbeaten, home);
                extend(winless, home);
                end(winless, away);
            } else if (f[3] == f[4] && !f[3].isEmpty() && f[3] != u"-") {
                for (const int side : { home, away }) {
                    extend(unbeaten, side);
                    extend(winless, side);
                }
            }
            matchdayGoals += h + a;

            // The texts are written only for a new record.
            const auto match = [&] {
                return season.TeamNameOf(f[0]) + u'-' + season.TeamNameOf(f[7]) + QStringLiteral(" le ")
                    + dateOf(season, i) + QStringLiteral(": ");
            };
            if (h + a > mostGoals) {
                mostGoals = h + a;
                texts[MostGoals] = match() + PlainNumber(h + a) + QStringLiteral(" (") + PlainNumber(h)
                    + QStringLiteral(" à ") + PlainNumber(a) + u')';
            }
            const double reds = ValueOf(f[1]) + ValueOf(f[6]);
            const double yellows = ValueOf(f[2]) + ValueOf(f[5]);
            if (3 * reds + yellows > mostCards) {
                mostCards = 3 * reds + yellows;
                texts[MostCards] = match() + QStringLiteral("\r\n") + PlainNumber(reds)
                    + QStringLiteral(" Carton(s) Rouge(s) et ") + PlainNumber(yellows)
                    + QStringLiteral(" Carton(s) jaune(s).");
            }
            if (std::abs(a - h) > largestDifference) {
                largestDifference = std::abs(a - h);
                texts[LargestDifference] = match() + PlainNumber(h) + QStringLiteral(" à ") + PlainNumber(a);
            }
        }
        if (matchdayGoals > mostInMatchday) {
            mostInMatchday = matchdayGoals;
            texts[MostGoalsMatchday] = QStringLiteral("Le ") + dateOf(season, i) + QStringLiteral(": ")
                + PlainNumber(matchdayGoals) + QStringLiteral(" buts marqués");
        }
    }
    texts[Unbeaten] = longestRun(season, unbeaten);
    texts[Winless] = longestRun(season, winless);
    return texts;
}

} // namespace kestrava

#include "Standings.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"

#include <algorithm>
#include <cmath>

namespace kestrava {

namespace {

// Keeps a key piece inside its width, so that an absurd figure from a hand-edited store cannot
// spill into the piece before it and reorder the other teams.
double piece(double v, double max)
{
    return std::clamp(v, 0.0, max);
}

double primaryKey(const StandingRow &r)
{
    const double points = piece(RoundHalfAway(double(r.points) + 10), 9999);
    return points * 1e6 + piece(r.goalDifference + 200.0, 999) * 1e3 + piece(r.goalsFor, 999);
}

// Ascending order of the row texts without regard to case: the twelve-digit key first, then the
// rest of the text. The key is compared as a number, which is the same order for twelve digits
// and stays right if an absurd store ever makes it longer.
// Team names never change during a run of the program: fold each one once, in each thread that
// ranks (the web edition ranks on several at once).
QString foldedName(const QString &name)
{
    static thread_local QHash<QString, QString> cache;
    auto it = cache.constFind(name);
    if (it == cache.cend()) {
        if (cache.size() > 4096)
            cache.clear();
        it = cache.insert(name, FoldForSort(name));
    }
    return *it;
}

// Ascending order of the keys, then of the row texts without regard to case. Names are folded once;
// the rest of a row text is only needed when two names fold alike.
using Key = std::array<qint64, 4>;
void arrange(std::array<int, TeamCount> &order, const std::array<StandingRow, TeamCount> &rows,
             const std::array<Key, TeamCount> &keys, const std::array<QString, TeamCount> &foldedNames)
{
    for (int i = 0; i < TeamCount; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        const int c = foldedNames[a].compare(foldedNames[b]);
        if (c != 0)
            return c < 0;
        const QString ta = rows[a].rowText(), tb = rows[b].rowText();
        const QString ra = ta.mid(ta.indexOf(u'|')), rb = tb.mid(tb.indexOf(u'|'));
        const int d = FoldForSort(ra).compare(FoldForSort(rb));
        return d != 0 ? d < 0 : ra < rb;
    });
}

// A stored record split without copying its fields: the run reads hundreds of them.
struct RecordView
{
    QString text;
    std::array<QStringView, 8> f;

    explicit RecordView(QString record)
        : text(std::move(record))
    {
        const QStringView all(text);
        qsizetype start = 0;
        for (int i = 0; i < 8; ++i) {
            const qsizetype bar = all.indexOf(u'|', start);
            if (bar < 0) {
                if (start <= all.size())
                    f[i] = all.mid(start);
                break;
            }
            f[i] = all.mid(start, bar - start);
            start = bar + 1;
        }
    }
};

bool entered(QStringView goals)
{
    return !goals.isEmpty() && goals != u"-";
}

const QString &fixtureKey(int matchday, int position)
{
    // Built once: the run asks for the same 340 keys every time.
    static const std::array<QString, 100 * 10> keys = [] {
        std::array<QString, 100 * 10> k;
        for (int md = 0; md < 100; ++md)
            for (int p = 0; p < 10; ++p)
                k[md * 10 + p] = FixtureKey(md, p);
        return k;
    }();
    return keys[matchday * 10 + position];
}

// A number of a stored record. A hand-edited figure beyond five digits is no score or card count;
// holding it there keeps every run total (at most 340 records, 3 per red card) far from overflowing,
// and the key pieces clamp it further anyway.
int figure(QStringView text)
{
    return std::clamp(IntValueOf(text), -99999, 99999);
}

void addResult(StandingsRun &run, const RecordView &m)
{
    const int home = TeamIndexOfLetter(m.f[0]);
    const int away = TeamIndexOfLetter(m.f[7]);
    const int hg = figure(m.f[3]);
    const int ag = figure(m.f[4]);
    const bool homeEntered = entered(m.f[3]);
    const bool awayEntered = entered(m.f[4]);
    const bool draw = hg == ag && homeEntered && awayEntered;

    // A side whose letter is not a team adds nothing to any team; the run totals still count it.
    StandingRow *h = home >= 0 ? &run.rows[home] : nullptr;
    StandingRow *a = away >= 0 ? &run.rows[away] : nullptr;

    if (hg > ag) {
        if (h) h->formSequence += u'G';
        if (a) a->formSequence += u'P';
    } else if (ag > hg) {
        if (h) h->formSequence += u'P';
        if (a) a->formSequence += u'G';
    } else if (draw) {
        if (h) h->formSequence += u'N';
        if (a) a->formSequence += u'N';
    }

    if (h) {
        h->fairPlay += 3 * figure(m.f[1]) + figure(m.f[2]);
        h->goalDifference += hg - ag;
        h->goalsFor += hg;
        h->goalsAgainst += ag;
        h->homeGoalsFor += hg;
        h->homeGoalsAgainst += ag;
    }
    if (a) {
        a->fairPlay += 3 * figure(m.f[6]) + figure(m.f[5]);
        a->goalDifference += ag - hg;
        a->goalsFor += ag;
        a->goalsAgainst += hg;
        a->awayGoalsFor += ag;
        a->awayGoalsAgainst += hg;
    }
    if (homeEntered) {
        if (h) h->played += 1;
        run.appearanceCount += 1;
    }
    if (awayEntered) {
        if (a) a->played += 1;
        run.appearanceCount += 1;
    }
    run.goalCount += double(hg) + double(ag);

    if (hg > ag) {
        if (h) { h->points += 3; h->homePoints += 3; h->homeWins += 1; }
        if (a) a->awayLosses += 1;
    } else if (ag > hg) {
        if (a) { a->points += 3; a->awayPoints += 3; a->awayWins += 1; }
        if (h) h->homeLosses += 1;
    } else if (draw) {
        if (h) { h->points += 1; h->homePoints += 1; h->draws += 1; }
        if (a) { a->points += 1; a->awayPoints += 1; a->draws += 1; }
    }
}

// Looks results up in one parsed snapshot of the store.
struct SnapshotRecords
{
    const QHash<QString, QString> *results;
    RecordView operator()(const QString &key) const
    {
        return RecordView(results ? results->value(key, EmptyRecord) : EmptyRecord);
    }
};

// Reads the whole file again for every key: the plain way, kept as a reference for measurements.
struct FileRecords
{
    QString path;
    RecordView operator()(const QString &key) const
    {
        return RecordView(ReadIni(path, Store::Results, key, EmptyRecord));
    }
};

// Goals of the two teams in every stored meeting between them, whatever the matchday limit.
template<class Records>
int headToHead(const SeasonData &season, const Records &records, const QString &prev, const QString &cur)
{
    int prevGoals = 0;
    int curGoals = 0;
    const QString prevAtHome = prev + cur;
    const QString curAtHome = cur + prev;
    // Two letters: the slots are scanned for the pairs by hand, a search call per slot costing
    // more than the slot's few characters.
    const bool letters = prev.size() == 1 && cur.size() == 1;
    const char16_t p = letters ? prev[0].unicode() : 0, c = letters ? cur[0].unicode() : 0;
    for (int k = 0; k <= 306; ++k) {
        const QString &slot = season.calendar[k];
        if (slot.size() < 5)
            continue;
        if (letters) {
            bool either = false;
            const QChar *s = slot.constData();
            for (qsizetype i = 0; i + 1 < slot.size() && !either; ++i)
                either = (s[i] == p && s[i + 1] == c) || (s[i] == c && s[i + 1] == p);
            if (!either)
                continue;
        }
        // The key is written only for a meeting of the two: most slots are not.
        const auto key = [&slot] { return slot.left(2) + slot.mid(3, 2); };
        if (slot.contains(prevAtHome)) {
            const RecordView m = records(key());
            prevGoals += figure(m.f[3]);
            curGoals += figure(m.f[4]);
        }
        if (slot.contains(curAtHome)) {
            const RecordView m = records(key());
            curGoals += figure(m.f[3]);
            prevGoals += figure(m.f[4]);
        }
    }
    return curGoals - prevGoals;
}

} // namespace

QString StandingRow::pointsText() const
{
    return PlainNumber(double(points));
}

std::array<qint64, 4> StandingRow::orderKey() const
{
    // Rounded as the key text rounds them, ten points up.
    return {qint64(RoundHalfAway(double(points) + 10)), goalDifference, qint64(goalsFor) + headToHead, -qint64(fairPlay)};
}

QString StandingRow::rowText() const
{
    QStringList f;
    f.reserve(19);
    f << KeyText(sortKey) << name << pointsText() << QString::number(goalDifference)
      << QString::number(goalsFor) << QString::number(goalsAgainst) << QString::number(fairPlay)
      << QString::number(played) << QString::number(homeGoalsFor) << QString::number(awayGoalsFor)
      << QString::number(homeGoalsAgainst) << QString::number(awayGoalsAgainst) << QString::number(homePoints)
      << QString::number(awayPoints) << QString::number(homeWins) << QString::number(awayWins)
      << QString::number(homeLosses) << QString::number(awayLosses) << QString::number(draws);
    return f.join(u'|');
}

QString KeyText(double sortKey)
{
    // Twelve digits at least, zero-padded; written by hand, as every run writes 54 of them.
    qint64 v = static_cast<qint64>(std::max(0.0, sortKey));
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v > 0 && n < 20);
    while (n < 12)
        digits[n++] = u'0';
    QString out(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        out[i] = QChar(digits[n - 1 - i]);
    return out;
}

namespace {

// A run before any result: the clubs' names, and their folded forms for the order.
StandingsRun emptyRun(const SeasonData &season, std::array<QString, TeamCount> &foldedNames)
{
    StandingsRun run;
    for (int i = 0; i < TeamCount; ++i) {
        run.rows[i].teamIndex = i;
        run.rows[i].name = season.teams[i];
        // With its separator, as in the row text: "Paris FC|" sorts before "Paris|".
        foldedNames[i] = foldedName(season.teams[i]) + u'|';
    }
    return run;
}

// Ten positions per matchday: the ninth fixture is position 8, a tenth is read if present.
template<class Records>
void addMatchday(StandingsRun &run, const Records &records, int md)
{
    for (int p = 0; p <= 9; ++p) {
        const RecordView m = records(fixtureKey(md, p));
        if (m.f[0].isEmpty())
            continue;
        addResult(run, m);
    }
}

// The bonus and malus, then the order with every tie-break, on the totals of a run.
template<class Records>
void arrangeRun(StandingsRun &run, const SeasonData &season, const Records &records,
                const std::array<QString, TeamCount> &foldedNames)
{
    // First arrangement: points, goal difference, goals scored.
    std::array<Key, TeamCount> keys{};
    for (int i = 0; i < TeamCount; ++i) {
        StandingRow &r = run.rows[i];
        r.points += season.bonusMalus[i];
        r.sortKey = primaryKey(r);
        keys[i] = r.orderKey();
        keys[i][3] = 0;
    }
    std::array<int, TeamCount> order{};
    arrange(order, run.rows, keys, foldedNames);

    // Head to head: each entry is compared with the one just before it in the first arrangement,
    // and only the later team of a level pair is adjusted.
    for (int e = 1; e < TeamCount; ++e) {
        const int prevTeam = order[e - 1];
        const int curTeam = order[e];
        if (keys[curTeam] != keys[prevTeam])
            continue;
        run.rows[curTeam].headToHead = headToHead(season, records, season.TeamLetterOf(run.rows[prevTeam].name),
                                                  season.TeamLetterOf(run.rows[curTeam].name));
    }

    // Final order: fair play last. The key text keeps its twelve digits.
    for (int i = 0; i < TeamCount; ++i) {
        StandingRow &r = run.rows[i];
        r.sortKey = std::max(0.0, r.sortKey + r.headToHead) * 1000 + (999 - piece(r.fairPlay, 999));
        keys[i] = r.orderKey();
    }
    arrange(order, run.rows, keys, foldedNames);
    for (int r = 0; r < TeamCount; ++r) {
        run.tableOrder[r] = order[TeamCount - 1 - r];
        run.rowKeys[r] = KeyText(run.rows[run.tableOrder[r]].sortKey);
        const int team = run.tableOrder[r];
        run.ranks[r] = r > 0 && keys[team] == keys[run.tableOrder[r - 1]] ? run.ranks[r - 1] : r + 1;
    }
}

} // namespace

template<class Records>
StandingsRun runStandings(const SeasonData &season, const Records &records, int lastMatchday)
{
    std::array<QString, TeamCount> foldedNames;
    StandingsRun run = emptyRun(season, foldedNames);
    if (lastMatchday == 0)
        lastMatchday = MatchdayCount;
    run.lastMatchday = lastMatchday;
    const int last = std::min(lastMatchday, 99);
    for (int md = 1; md <= last; ++md)
        addMatchday(run, records, md);
    arrangeRun(run, season, records, foldedNames);
    return run;
}

QStringList StandingsRun::arrangement() const
{
    QStringList texts;
    texts.reserve(TeamCount);
    for (int r = TeamCount - 1; r >= 0; --r)
        texts.append(rows[tableOrder[r]].rowText());
    return texts;
}

StandingsRun RunStandings(const SeasonData &season, const IniSnapshot &store, int lastMatchday)
{
    return runStandings(season, SnapshotRecords{store.section(Store::Results)}, lastMatchday);
}

void RunStandingsAfterEachMatchday(const SeasonData &season, const IniSnapshot &store,
                                   const std::array<bool, MatchdayCount + 1> &wanted,
                                   const std::function<void(const StandingsRun &)> &take)
{
    const SnapshotRecords records{store.section(Store::Results)};
    std::array<QString, TeamCount> foldedNames;
    StandingsRun totals = emptyRun(season, foldedNames);
    int last = MatchdayCount;
    while (last > 0 && !wanted[last])
        --last;
    for (int md = 1; md <= last; ++md) {
        addMatchday(totals, records, md);
        if (!wanted[md])
            continue;
        StandingsRun run = totals;
        run.lastMatchday = md;
        arrangeRun(run, season, records, foldedNames);
        take(run);
    }
}

StandingsRun RunStandingsReadingEachKey(const SeasonData &season, const QString &storePath, int lastMatchday)
{
    return runStandings(season, FileRecords{storePath}, lastMatchday);
}

std::array<int, TeamCount> RankNumbers(const std::array<QString, TeamCount> &rowKeys)
{
    std::array<int, TeamCount> ranks{};
    for (int r = 0; r < TeamCount; ++r)
        ranks[r] = (r > 0 && rowKeys[r] == rowKeys[r - 1]) ? ranks[r - 1] : r + 1;
    return ranks;
}

} // namespace kestrava

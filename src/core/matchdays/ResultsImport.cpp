#include "ResultsImport.h"

#include "platform/Text.h"

#include <QHash>
#include <QSet>

#include <array>

namespace kestrava {

namespace {

struct Fixture
{
    int matchday = 0, position = 0;
    int count = 0; // how many times the calendar holds the pair
};

// By home club then away club.
using FixtureTable = std::array<Fixture, TeamCount * TeamCount>;

FixtureTable FixturesByPair(const SeasonData &season)
{
    FixtureTable fixtures {};
    for (int md = 1; md <= MatchdayCount; ++md) {
        const QStringList &codes = season.matchdayFixtures[size_t(md)];
        for (qsizetype p = 0; p < codes.size(); ++p) {
            const int home = TeamIndexOfLetter(QStringView(codes[p]).left(1));
            const int away = TeamIndexOfLetter(QStringView(codes[p]).mid(1, 1));
            if (home < 0 || away < 0)
                continue;
            Fixture &f = fixtures[size_t(home * TeamCount + away)];
            if (f.count++ == 0) {
                f.matchday = md;
                f.position = int(p);
            }
        }
    }
    return fixtures;
}

// The file's result as it gives it: cards only when it has some, "?" for one it does not give.
QString ResultText(const ImportedMatch &m)
{
    QString text = QStringLiteral("%1-%2").arg(m.homeGoals).arg(m.awayGoals);
    if (m.homeYellow || m.awayYellow || m.homeRed || m.awayRed) {
        auto n = [](const std::optional<int> &v) { return v ? QString::number(*v) : QStringLiteral("?"); };
        text += QStringLiteral(" (jaunes %1-%2, rouges %3-%4)")
                    .arg(n(m.homeYellow), n(m.awayYellow), n(m.homeRed), n(m.awayRed));
    }
    return text;
}

QString ResultText(const MatchResult &r)
{
    QString text = r.r1().trimmed() + u'-' + r.r2().trimmed();
    const bool cards = !(r.cj1().trimmed().isEmpty() && r.cj2().trimmed().isEmpty()
        && r.cr1().trimmed().isEmpty() && r.cr2().trimmed().isEmpty());
    if (cards) {
        auto n = [](const QString &s) { return QString::number(IntValueOf(s)); };
        text += QStringLiteral(" (jaunes %1-%2, rouges %3-%4)")
                    .arg(n(r.cj1()), n(r.cj2()), n(r.cr1()), n(r.cr2()));
    }
    return text;
}

// A stored score counts once both goals boxes were filled.
bool ScoreStored(const MatchResult &r)
{
    return GoalsEntered(r.r1().trimmed()) && GoalsEntered(r.r2().trimmed());
}

EntryRow RowOf(const QString &key, const MatchResult &r)
{
    EntryRow row;
    row.key = key;
    row.homeLetter = r.homeLetter();
    row.awayLetter = r.awayLetter();
    row.cr1 = r.cr1();
    row.cj1 = r.cj1();
    row.r1 = r.r1();
    row.r2 = r.r2();
    row.cj2 = r.cj2();
    row.cr2 = r.cr2();
    return row;
}

} // namespace

ImportPlan PlanImport(const ImportedFile &file, const SeasonData &season, const IniSnapshot &store,
    const ClubMatcher &clubs, bool replace)
{
    ImportPlan plan;
    plan.format = file.format;
    plan.problem = file.problem;
    plan.replace = replace;
    if (!plan.readable())
        return plan;

    const FixtureTable fixtures = FixturesByPair(season);
    plan.rows.reserve(file.matches.size());
    // Fixture keys are digits: they need no folding to be looked up.
    const QHash<QString, QString> *stored = store.section(Store::Results);
    // What each fixture holds as the lines go: the store, then the lines already taken.
    QHash<QString, qsizetype> rowOfKey;
    QSet<QString> unknownSeen;
    // A file names the same eighteen clubs again and again: each spelling is looked up once.
    QHash<QString, int> teamOfName;
    auto teamOf = [&](const QString &name) {
        auto it = teamOfName.constFind(name);
        if (it == teamOfName.cend())
            it = teamOfName.insert(name, clubs.teamOf(name));
        return *it;
    };
    const QString unit = file.format == ImportFormat::Csv ? QStringLiteral("ligne") : QStringLiteral("match");

    for (const ImportedMatch &m : file.matches) {
        ++plan.linesRead;
        const QString where = unit + u' ' + QString::number(m.line);
        const QString names = m.home + QStringLiteral(" - ") + m.away;
        if (!m.problem.isEmpty()) {
            plan.unplaced.append(where
                + (m.home.isEmpty() && m.away.isEmpty() ? QString() : QStringLiteral(", ") + names)
                + QStringLiteral(" : ") + m.problem);
            continue;
        }
        const int home = teamOf(m.home);
        const int away = teamOf(m.away);
        if (home < 0 || away < 0) {
            QStringList unknown;
            for (const auto &[index, name] : { std::pair { home, m.home }, std::pair { away, m.away } }) {
                if (index >= 0)
                    continue;
                unknown.append(QStringLiteral("« ") + name + QStringLiteral(" »"));
                if (!unknownSeen.contains(FoldClubName(name))) {
                    unknownSeen.insert(FoldClubName(name));
                    plan.unknownClubs.append({ name, clubs.closest(name) });
                }
            }
            plan.unplaced.append(where + QStringLiteral(", ") + names
                + QStringLiteral(" : club non reconnu (") + unknown.join(QStringLiteral(", ")) + u')');
            continue;
        }
        const QString seasonNames
            = season.teams[size_t(home)] + QStringLiteral(" - ") + season.teams[size_t(away)];
        const Fixture &fixture = fixtures[size_t(home * TeamCount + away)];
        if (fixture.count != 1) {
            plan.unplaced.append(where + QStringLiteral(", ") + seasonNames
                + (fixture.count == 0 ? QStringLiteral(" : aucun match de ce calendrier")
                                      : QStringLiteral(" : le calendrier tient ce match plusieurs fois")));
            continue;
        }
        if (!m.played) {
            ++plan.withoutScore;
            continue;
        }
        const QString key = FixtureKey(fixture.matchday, fixture.position);

        const qsizetype pending = rowOfKey.value(key, -1);
        MatchResult now;
        if (pending >= 0) {
            const EntryRow &r = plan.rows[pending];
            now.fields = { r.homeLetter, r.cr1, r.cj1, r.r1, r.r2, r.cj2, r.cr2, r.awayLetter };
        } else if (stored) {
            // A fixture not stored reads as the empty record: nothing to split.
            if (const auto it = stored->constFind(key); it != stored->cend())
                now = MatchResult::parse(*it);
        }

        MatchResult next = now;
        next.fields[0] = TeamLetter(home);
        next.fields[7] = TeamLetter(away);
        next.fields[3] = QString::number(m.homeGoals);
        next.fields[4] = QString::number(m.awayGoals);
        bool cardsDiffer = false;
        bool cardsAdded = false;
        const std::pair<const std::optional<int> &, int> cards[]
            = { { m.homeRed, 1 }, { m.homeYellow, 2 }, { m.awayYellow, 5 }, { m.awayRed, 6 } };
        for (const auto &[count, field] : cards) {
            if (!count)
                continue;
            const QString stored = now.fields[size_t(field)].trimmed();
            if (stored.isEmpty())
                cardsAdded = true;
            else if (IntValueOf(stored) != *count)
                cardsDiffer = true;
            next.fields[size_t(field)] = QString::number(*count);
        }

        bool write = true;
        if (ScoreStored(now)) {
            const bool sameScore = IntValueOf(now.r1()) == m.homeGoals && IntValueOf(now.r2()) == m.awayGoals;
            if (!sameScore || cardsDiffer) {
                plan.conflicts.append({ where, seasonNames, ResultText(m), ResultText(now) });
                write = replace;
            } else if (!cardsAdded) {
                ++plan.unchanged;
                write = false;
            }
        }
        if (!write)
            continue;
        ++plan.written;
        if (pending >= 0) {
            plan.rows[pending] = RowOf(key, next);
        } else {
            rowOfKey.insert(key, plan.rows.size());
            plan.rows.append(RowOf(key, next));
        }
    }
    return plan;
}

QString ImportReport(const ImportPlan &plan)
{
    QStringList lines;
    if (!plan.readable()) {
        lines << QStringLiteral("Fichier illisible : ") + plan.problem;
        return lines.join(u'\n');
    }
    if (plan.format == ImportFormat::Csv)
        lines << QStringLiteral("Format : CSV") << QStringLiteral("Lignes lues : %1").arg(plan.linesRead);
    else
        lines << QStringLiteral("Format : JSON openfootball")
              << QStringLiteral("Matches lus : %1").arg(plan.linesRead);
    lines << QStringLiteral("Résultats écrits : %1").arg(plan.written);
    lines << QStringLiteral("Résultats inchangés : %1").arg(plan.unchanged);
    lines << QStringLiteral("Matches sans score : %1").arg(plan.withoutScore);
    lines << (plan.replace ? QStringLiteral("Conflits (résultat du fichier écrit) : %1")
                           : QStringLiteral("Conflits (résultat enregistré gardé) : %1"))
                 .arg(plan.conflicts.size());
    for (const ImportConflict &c : plan.conflicts)
        lines << QStringLiteral("  %1, %2 : fichier %3, enregistré %4")
                     .arg(c.where, c.match, c.fileResult, c.storedResult);
    lines << QStringLiteral("Lignes non placées : %1").arg(plan.unplaced.size());
    for (const QString &u : plan.unplaced)
        lines << QStringLiteral("  ") + u;
    lines << QStringLiteral("Clubs non reconnus : %1").arg(plan.unknownClubs.size());
    for (const UnknownClub &c : plan.unknownClubs) {
        lines << QStringLiteral("  « %1 »").arg(c.name)
                + (c.closest.isEmpty()
                        ? QString()
                        : QStringLiteral(" : les plus proches sont ") + c.closest.join(QStringLiteral(", ")));
    }
    for (const QString &note : plan.notes)
        lines << note;
    return lines.join(u'\n');
}

bool SaveImport(const ImportPlan &plan, const ResultsStore &store, const QDateTime &launchTime)
{
    if (plan.rows.isEmpty())
        return true;
    return store.saveResults(plan.rows, launchTime, QDateTime(), QString()).written;
}

} // namespace kestrava

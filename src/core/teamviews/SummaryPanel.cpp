#include "SummaryPanel.h"

#include "platform/Text.h"
#include "season/ResultsStore.h"
#include "teamviews/CalendarRecord.h"

namespace kestrava {

TeamRecord CountTeamRecord(const SeasonData &season, const IniSnapshot &store, const QString &team)
{
    TeamRecord t;
    const int index = season.TeamIndexOf(team);
    if (index >= TeamCount)
        return t;
    const QString letter = TeamLetter(index);
    const auto *results = store.section(Store::Results);
    if (!results)
        return t;
    for (const QString &text : season.calendar) {
        CalendarRecord record;
        if (!record.read(text) || !record.code.contains(letter))
            continue;
        const QString stored = results->value(record.key());
        if (stored.isEmpty())
            continue;
        const MatchResult m = MatchResult::parse(stored);
        const double home = ValueOf(m.r1()), away = ValueOf(m.r2());
        const bool atHome = m.homeLetter() == letter, isAway = m.awayLetter() == letter;
        if (home > away) {
            t.homeWins += atHome ? 1 : 0;
            t.awayLosses += isAway ? 1 : 0;
        } else if (away > home) {
            t.homeLosses += atHome ? 1 : 0;
            t.awayWins += isAway ? 1 : 0;
        } else if (GoalsEntered(m.r1())) {
            ++t.draws;
        }
    }
    return t;
}

SummaryPanelModel::SummaryPanelModel(QObject *parent)
    : QObject(parent)
    , m_lines { QStringLiteral("Equipe:"), QStringLiteral("Classement: "), QStringLiteral("Matches Gagnés:"),
        QStringLiteral("Matches Perdus:"), QStringLiteral("Matches Nuls:"), QString(),
        QStringLiteral("Matches Joués:"), QString() }
{ }

void SummaryPanelModel::refresh(const QString &team, const TeamRecord &record,
    const std::optional<QString> &rank, const RankMovement &movement)
{
    // A team missing from the table gets no rank rather than the previous team's.
    m_movement = rank ? movement : RankMovement {};
    m_lines[Movement] = m_movement.text.isEmpty() ? QString() : QStringLiteral(" (") + m_movement.text + u')';
    m_lines[Rank] = QStringLiteral("Classement: ") + rank.value_or(QString());
    m_team = team;
    m_lines[Name] = team;
    const auto split = [](const char *what, int total, int home, int away) {
        return QString::fromUtf8(what) + QString::number(total) + QStringLiteral(" (Dom:")
            + QString::number(home) + QStringLiteral(") (Ext:") + QString::number(away) + u')';
    };
    m_lines[Won] = split("Matches Gagnés: ", record.wins(), record.homeWins, record.awayWins);
    m_lines[Lost] = split("Matches Perdus: ", record.losses(), record.homeLosses, record.awayLosses);
    m_lines[Drawn] = QStringLiteral("Matches Nuls: ") + QString::number(record.draws);
    m_lines[Played] = QStringLiteral("Matches Joués: ") + QString::number(record.played());
    m_filled = true;
}

} // namespace kestrava

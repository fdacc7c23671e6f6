#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"
#include "standings/LeagueTableModel.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace kestrava {

// One team's wins, losses and draws from the stored results, as the summary counts them.
struct TeamRecord
{
    int homeWins = 0, awayWins = 0, homeLosses = 0, awayLosses = 0, draws = 0;
    int wins() const { return homeWins + awayWins; }
    int losses() const { return homeLosses + awayLosses; }
    int played() const { return wins() + losses() + draws; }
};
TeamRecord CountTeamRecord(const SeasonData &season, const IniSnapshot &store, const QString &team);

// The summary panel: one team at a time, its crest, name, rank and movement and its counts.
class SummaryPanelModel : public QObject
{
    Q_OBJECT
public:
    enum Line : int { Title, Rank, Won, Lost, Drawn, Name, Played, Movement, LineCount };

    explicit SummaryPanelModel(QObject *parent = nullptr);

    // The panel's memory of the team it shows; empty before the first refresh.
    QString team() const { return m_team; }
    bool filled() const { return m_filled; } // the rank and count lines are shown
    const QString &line(int i) const { return m_lines[i]; }
    const RankMovement &movement() const { return m_movement; }

    // Refreshes the panel for `team`; `rank` is none when the team is missing from the table.
    void refresh(const QString &team, const TeamRecord &record, const std::optional<QString> &rank,
        const RankMovement &movement);

    void notify() { emit changed(); }

signals:
    void changed();

private:
    std::array<QString, LineCount> m_lines;
    QString m_team;
    bool m_filled = false;
    RankMovement m_movement;
};

} // namespace kestrava

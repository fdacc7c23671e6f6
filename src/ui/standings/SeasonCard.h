#pragma once

#include <QWidget>

#include <functional>

class QFrame;
class QLabel;

namespace kestrava {

class ClickableLabel;
class LeagueTableModel;
class ProgressStrip;

// The season at a glance, beside the table: the leader (a click on it asks for its summary), the
// share of matches played, the goals (a click on them asks for the card report), and under it the
// matches in hand.
//
// Object names: "seasonCard", "leaderCrest", "leaderText", "progressText", "progressBar",
// "goalsSummary", "gamesInHandFrame", "gamesInHand".
class SeasonCard : public QWidget
{
    Q_OBJECT
public:
    SeasonCard(LeagueTableModel &table, std::function<void()> clickGoals, std::function<void()> clickLeader,
               QWidget *parent = nullptr);

    // Where the goals line sits: the card report opens beside it.
    QWidget *goalsSummary() const;
    void refresh();

private:
    LeagueTableModel &m_table;
    QFrame *m_card = nullptr;
    ClickableLabel *m_leaderCrest = nullptr;
    ClickableLabel *m_leaderText = nullptr;
    ProgressStrip *m_progress = nullptr;
    QLabel *m_progressText = nullptr;
    ClickableLabel *m_goalsSummary = nullptr;
    QFrame *m_gamesInHandFrame = nullptr;
    QLabel *m_gamesInHand = nullptr;
};

} // namespace kestrava

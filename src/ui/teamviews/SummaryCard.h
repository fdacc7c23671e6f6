#pragma once

#include <QFrame>

#include <array>

class QLabel;

namespace kestrava {

class ClickableLabel;
class CrestBannerStrip;
class TeamViewsController;

// The summary panel beside the table: one team's crest, name, rank and movement and its counts,
// under the crest banner while it runs. A click on the panel refreshes it.
//
// Object names: "summaryCard", "crestBanner", "summaryCrest", "movementIcon", and one per line:
// "summaryTitle", "summaryName", "summaryRank", "summaryMovement", "summaryWon", "summaryLost",
// "summaryDrawn", "summaryPlayed".
class SummaryCard : public QFrame
{
    Q_OBJECT
public:
    explicit SummaryCard(TeamViewsController &controller, QWidget *parent = nullptr);

    void refresh();
    void refreshBanner();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TeamViewsController &m_controller;
    CrestBannerStrip *m_banner = nullptr;
    ClickableLabel *m_crest = nullptr;
    QLabel *m_movementIcon = nullptr;
    std::array<ClickableLabel *, 8> m_lines {};
    QString m_crestTeam;
};

} // namespace kestrava

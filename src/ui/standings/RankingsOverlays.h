#pragma once

#include <QList>
#include <QObject>

#include <array>

class QFrame;
class QGridLayout;
class QLabel;
class QWidget;

namespace kestrava {

class BarButton;
class ButtonBarModel;
class HoverFrame;
class MatchdayNumber;
class StandingsController;

// The cards that float over the table's right-hand columns: the rankings menu, the matchday
// number list, the bonus/malus list; and the work list of the last run. The window places them.
//
// Object names: "rankingsMenu", "matchdayList", "matchday<n>", "bonusList", "bonusLines",
// "workList", "workListLines".
class RankingsOverlays : public QObject
{
    Q_OBJECT
public:
    RankingsOverlays(StandingsController &controller, ButtonBarModel &buttons, QWidget *parent);

    QFrame *rankingsMenu() const { return m_rankingsMenu; }
    QFrame *matchdayList() const;
    QFrame *bonusList() const;
    QFrame *workList() const;

    void refresh();
    void refreshMatchdayList();

signals:
    // A card came, went or changed its size.
    void layoutChanged();

private:
    void placeRankingsButtons();

    StandingsController &m_controller;
    ButtonBarModel &m_buttons;
    QFrame *m_rankingsMenu = nullptr;
    QGridLayout *m_rankingsGrid = nullptr;
    QList<BarButton *> m_rankingsButtons;
    QList<BarButton *> m_placedRankingsButtons;
    HoverFrame *m_matchdayFrame = nullptr;
    std::array<MatchdayNumber *, 35> m_matchdayNumbers {};
    HoverFrame *m_bonusFrame = nullptr;
    QLabel *m_bonusLines = nullptr;
    HoverFrame *m_workList = nullptr;
    QLabel *m_workListLines = nullptr;
};

} // namespace kestrava

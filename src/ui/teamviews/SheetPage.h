#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace kestrava {

class ResultBar;
class SheetColumn;
class TeamViewsController;

// The team sheet as a page a supporter would pin on a wall: the club's crest and name with its rank
// and points, the home fixtures on the left and the away fixtures on the right, each half-season
// under its caption and win/draw/loss bar, then the season's bar and the club's totals.
//
// Object names: "sheetPage", "sheetCrest", "sheetCaption<n>" (n as the captions of the model),
// "sheetRow<r>" (its accessible name reads the row), "sheetBar<s>".
class SheetPage : public QWidget
{
    Q_OBJECT
public:
    explicit SheetPage(TeamViewsController &controller, QWidget *parent = nullptr);

    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TeamViewsController &m_controller;
    QLabel *m_crest = nullptr;
    std::array<QLabel *, 13> m_captions {};
    std::array<SheetColumn *, 2> m_columns {};
    ResultBar *m_seasonBar = nullptr;
    QString m_crestTeam;
};

} // namespace kestrava

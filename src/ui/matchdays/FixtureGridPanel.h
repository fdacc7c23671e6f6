#pragma once

#include <QFrame>

#include <array>
#include <functional>

class QLabel;
class QScrollArea;

namespace kestrava {

class GridRowWidget;
class MatchdaysController;

// The fixture grid: a header, up to 34 rows of entry boxes (the two names, the two scores, the four
// card boxes laid over the outer ends of the names, the information line) and the day's totals.
// It draws the grid model and passes typing, clicks and focus to the controller.
//
// Object names, for tests and accessibility: "gridHeader", "gridTotals", "gridRow<r>", and in each
// row "home", "away", "r1", "r2", "cr1", "cj1", "cj2", "cr2", "info".
class FixtureGridPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 27;
    static constexpr int RowSpacing = 2;
    static constexpr int MatchdayRows = 9;

    explicit FixtureGridPanel(MatchdaysController &controller, QWidget *parent = nullptr);

    // The pointer over a row's name (`nameBox`) or score, on the home or away side.
    using TeamHover = std::function<void(int row, bool away, bool nameBox)>;
    void setTeamHover(TeamHover hover) { m_teamHover = std::move(hover); }

    void refresh();
    QWidget *row(int r) const;
    // Room for the nine rows of a matchday without scrolling.
    int matchdayRowsHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHeader();

    MatchdaysController &m_controller;
    TeamHover m_teamHover;
    QLabel *m_header = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_totals = nullptr;
    std::array<GridRowWidget *, 34> m_rows {};
    int m_shownMatchday = -1;
    QString m_shownHeader;
};

} // namespace kestrava

#pragma once

#include <QTableView>

#include <functional>

namespace kestrava {

class LeagueTableItemModel;

// The league table on screen: fixed row heights and column widths, no scrolling, no editing and no
// selection, so that the colours of the core's cells are what the user sees. The header marks the
// column(s) the rows are ordered by; the tracking rules are drawn over the cells.
class LeagueTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 24;
    static constexpr int HeaderHeight = 36;

    explicit LeagueTableView(LeagueTableItemModel *model, QWidget *parent = nullptr);

    void setFormGuideVisible(bool visible);
    // The reachable positions take the form guide's place, so the table keeps its width.
    void setReachableVisible(bool visible);
    // The row rules frame `row` (-1: none); the column rules frame the view column `column` (-1: none).
    void setRules(int row, int column);
    int ruledRow() const { return m_ruledRow; }
    int ruledColumn() const { return m_ruledColumn; }

    // A click on a team's name opens its season in the fixture grid; on its rank, its sheet.
    std::function<void(int row)> onNameClicked;
    std::function<void(int row)> onRankClicked;
    // The pointer entered a cell (view row and column).
    std::function<void(int row, int column)> onCellHovered;
    // Whether a click on a rank number leads anywhere (the pointer then says so).
    bool rankClickable = false;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    // From the keyboard: arrows choose a club as the pointer does, Enter opens its season, Ctrl+Enter
    // its sheet.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void updateColumns();

    bool m_formGuide = true;
    bool m_reachable = false;
    int m_ruledRow = -1;
    int m_ruledColumn = -1;
    QPoint m_hoveredCell{-1, -1};
    int m_keyRow = -1; // the club chosen from the keyboard
};

} // namespace kestrava

#pragma once

#include <QTableView>

#include <functional>

namespace kestrava {

class LeagueTableItemModel;

// The league table on screen: fixed row heights and column widths, no scrolling, no editing and no
// selection, so that the colours of the core's cells are what the user sees.
class LeagueTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 24;
    static constexpr int HeaderHeight = 36;

    explicit LeagueTableView(LeagueTableItemModel *model, QWidget *parent = nullptr);

    void setFormGuideVisible(bool visible);
    // A click on a team's name opens its season in the fixture grid.
    std::function<void(int row)> onNameClicked;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace kestrava

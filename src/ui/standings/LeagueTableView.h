#pragma once

#include <QTableView>

namespace kestrava {

class LeagueTableItemModel;

// The league table on screen: fixed row heights and column widths, no scrolling, no editing and no
// selection, so that the colours of the core's cells are what the user sees.
class LeagueTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 26;
    static constexpr int HeaderHeight = 40;

    explicit LeagueTableView(LeagueTableItemModel *model, QWidget *parent = nullptr);

    void setFormGuideVisible(bool visible);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace kestrava

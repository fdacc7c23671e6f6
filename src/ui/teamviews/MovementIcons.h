#pragma once

#include "platform/ClickableWidgets.h"
#include "standings/LeagueTableModel.h"

#include <array>

namespace kestrava {

class ChartController;
class MovementIcon;

// The rank movement icons, one beside each row of the league table: up, down or level since the
// previous matchday, with the tool tip "+n", "-n" or "=". A press opens the row's club sheet; the
// pointer over an icon (or Tab reaching it) is the pointer over its row.
//
// Object names: "movementIcons", and "movementIcon0" to "movementIcon17".
class MovementIcons : public QWidget
{
    Q_OBJECT
public:
    // `top`: the height of the table's header, so that icon r stands beside row r of `rowHeight`.
    MovementIcons(ChartController &controller, const LeagueTableModel &table, int top, int rowHeight,
        QWidget *parent = nullptr);

    static constexpr int IconWidth = 14;

    MovementIcon *icon(int row) const { return m_icons[row]; }
    void refresh();

private:
    const LeagueTableModel &m_table;
    std::array<MovementIcon *, TeamCount> m_icons {};
};

class MovementIcon : public ModelTile
{
    Q_OBJECT
public:
    MovementIcon(ChartController &controller, int row, QWidget *parent);

    void show(const QString &team, const RankMovement &movement);

protected:
    void paintEvent(QPaintEvent *event) override;
    void hovered() override;
    void clicked() override;

private:
    ChartController &m_controller;
    int m_row;
    RankMovement::Kind m_kind = RankMovement::Kind::None;
};

} // namespace kestrava

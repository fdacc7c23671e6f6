#pragma once

#include <QWidget>

class QCheckBox;
#include <functional>

class QHBoxLayout;
class QLabel;

namespace kestrava {

class ClickableLabel;
class FormLegend;
class LeagueTableItemModel;
class LeagueTableView;
class SeasonData;
class StandingsController;

// The table's column: its title (and what the window puts beside it), the second-club lock, the
// league table with its tracking rules, the form legend and the last update of the results.
//
// Object names: "tableTitle", "secondClubLock", "formLegend", "lastUpdate".
class LeagueTablePanel : public QWidget
{
    Q_OBJECT
public:
    LeagueTablePanel(StandingsController &controller, const SeasonData &season, QWidget *parent = nullptr);

    LeagueTableItemModel *tableModel() const { return m_tableModel; }
    LeagueTableView *tableView() const { return m_tableView; }
    // The strip over the table holds the title, then this widget (the publisher's news).
    void addBesideTitle(QWidget *widget);
    // A column beside the table, left of its rank numbers (the movement icons).
    void addBesideTable(QWidget *widget);
    // What a click on the last update's date does.
    void setLastUpdateClick(std::function<void()> click);

private:
    void refreshTable();
    void refreshPanels();
    void refreshRules();
    void cellHovered(int row, int column);

    StandingsController &m_controller;
    LeagueTableItemModel *m_tableModel = nullptr;
    LeagueTableView *m_tableView = nullptr;
    QWidget *m_strip = nullptr;
    QHBoxLayout *m_tableRow = nullptr;
    QLabel *m_title = nullptr;
    QCheckBox *m_lock = nullptr;
    FormLegend *m_formLegend = nullptr;
    ClickableLabel *m_lastUpdate = nullptr;
};

} // namespace kestrava

#pragma once

#include "platform/ClickableWidgets.h"

class QCheckBox;
class QListWidget;

namespace kestrava {

class ChartBars;
class ChartController;

// The rank evolution chart: the chosen club's crest and title, the option of the simulated
// matches, the list of clubs, the bars, and "Equipe", "Imprimer" and "Fermer". It lies over the
// table's column; the side column with the progress bar stays in view while the chart is prepared.
//
// Object names: "chartPanel", "chartCrest", "chartTitle", "chartSimulated", "chartClubs", and
// "chartBars" (see ChartBars).
class ChartPanel : public OverlayPanel
{
    Q_OBJECT
public:
    ChartPanel(ChartController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    ChartBars *bars() const { return m_bars; }
    void refresh();

private:
    ChartController &m_controller;
    QLabel *m_crest = nullptr;
    QLabel *m_title = nullptr;
    QCheckBox *m_simulated = nullptr;
    QListWidget *m_clubs = nullptr;
    ChartBars *m_bars = nullptr;
    QString m_crestTeam;
};

} // namespace kestrava

#pragma once

#include "platform/ClickableWidgets.h"

class QLabel;
class QProgressBar;
class QTableView;

namespace kestrava {

class ProjectionsController;
class ProjectionsItemModel;

// "Projections": the positions each club can still reach and the chance of each, as a table and a
// heat map of the final positions under the zone colours. The computation runs in the background:
// the panel shows its progress and stays usable.
//
// Object names: "projectionsPanel", "projectionsStatus", "projectionsProgress", "projectionsTable".
class ProjectionsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    ProjectionsPanel(ProjectionsController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    void refresh();
    ProjectionsItemModel *itemModel() const { return m_model; }

private:
    ProjectionsController &m_controller;
    ProjectionsItemModel *m_model = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QTableView *m_table = nullptr;
    const void *m_shownReport = nullptr;
};

} // namespace kestrava

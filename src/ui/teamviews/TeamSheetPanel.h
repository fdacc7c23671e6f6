#pragma once

#include "platform/ClickableWidgets.h"

class QListWidget;

namespace kestrava {

class SheetPage;
class TeamViewsController;

// The planning frame: the list of clubs, the chosen club's sheet, "Exporter le calendrier",
// "Imprimer" and "Fermer". It lies over the window under the button bar, like a page laid on it.
//
// Object names: "sheetPanel", "clubList", "exportCalendar", and the page's (see SheetPage).
class TeamSheetPanel : public OverlayPanel
{
    Q_OBJECT
public:
    TeamSheetPanel(TeamViewsController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    void refresh();

private:
    TeamViewsController &m_controller;
    QListWidget *m_clubs = nullptr;
    SheetPage *m_page = nullptr;
};

} // namespace kestrava

#pragma once

#include "window/ClickableWidgets.h"

namespace kestrava {

class MainController;

// "Partenaires et Donateurs": the ticker that shows one name at a time, the thanks, the way to
// the donation page and "Fermer". The ticker pauses under the pointer and starts again when the
// pointer moves on over the panel.
//
// Object names: "donorsPanel", "donorsTicker", "donationLink".
class DonorsPanel : public HoverFrame
{
    Q_OBJECT
public:
    DonorsPanel(MainController &controller, QWidget *parent = nullptr);

    void refresh();
    QList<BarButton *> buttons() const { return m_buttons; }

private:
    MainController &m_controller;
    ClickableLabel *m_ticker = nullptr;
    QList<BarButton *> m_buttons;
};

} // namespace kestrava

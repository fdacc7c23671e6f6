#pragma once

#include "platform/ClickableWidgets.h"

namespace kestrava {

class DonorsController;

// "Partenaires et Donateurs": the ticker that shows one name at a time, the thanks, the way to
// the donation page and "Fermer". The ticker pauses under the pointer and starts again when the
// pointer moves on over the panel.
//
// Object names: "donorsPanel", "donorsTicker", "donationLink".
class DonorsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    DonorsPanel(DonorsController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    void refresh();

private:
    DonorsController &m_controller;
    ClickableLabel *m_ticker = nullptr;
};

} // namespace kestrava

#pragma once

#include "window/ClickableWidgets.h"

namespace kestrava {

class MainController;

// "Partenaires et Donateurs": the ticker that shows one name at a time, the thanks, the way to
// the donation page and "Fermer". The ticker pauses under the pointer and starts again when the
// pointer moves on over the panel.
//
// Object names: "donorsPanel", "donorsTicker", "donationLink".
class DonorsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    DonorsPanel(MainController &controller, QWidget *parent = nullptr);

    void refresh();

private:
    ClickableLabel *m_ticker = nullptr;
};

} // namespace kestrava

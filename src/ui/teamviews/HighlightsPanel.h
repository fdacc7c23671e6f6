#pragma once

#include "platform/ClickableWidgets.h"

#include <array>

namespace kestrava {

class ChartController;

// "Le plus de....": the six records of the season so far under their headings, and "Fermer". It
// lies over the side column, where the fixture grid is.
//
// Object names: "highlightsPanel", and "highlight0" to "highlight5" for the records.
class HighlightsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    HighlightsPanel(ChartController &controller, ButtonBarModel &buttons, QWidget *parent = nullptr);

    void refresh();

private:
    ChartController &m_controller;
    std::array<QLabel *, 6> m_records {};
};

} // namespace kestrava

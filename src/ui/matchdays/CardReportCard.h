#pragma once

#include "platform/ClickableWidgets.h"

class QLabel;

namespace kestrava {

class MatchdaysController;

// The cards of the season, day by day, floating beside the goals it details; a click closes it.
//
// Object names: "cardReport", "cardReportText".
class CardReportCard : public HoverFrame
{
    Q_OBJECT
public:
    CardReportCard(MatchdaysController &controller, QWidget *parent = nullptr);

    void refresh();

private:
    MatchdaysController &m_controller;
    QLabel *m_text = nullptr;
};

} // namespace kestrava

#pragma once

#include <QFrame>

#include <array>

class QCheckBox;

namespace kestrava {

class CalendarDay;
class CalendarMonth;
class MatchdaysController;

// The month calendar as a ribbon: the season's ten months in one row, the matchdays of the month on
// show in a second row with the "Verrouillé" lock. Moving over a month shows it, a click keeps it;
// a click on a matchday opens it in the fixture grid.
//
// Object names: "month<m>" (0 to 9), "calendarDay<k>" (0 to 5), "calendarLock".
class CalendarRibbon : public QFrame
{
    Q_OBJECT
public:
    explicit CalendarRibbon(MatchdaysController &controller, QWidget *parent = nullptr);

    void refresh();

private:
    MatchdaysController &m_controller;
    std::array<CalendarMonth *, 10> m_months {};
    std::array<CalendarDay *, 6> m_days {};
    QCheckBox *m_lock = nullptr;
};

} // namespace kestrava

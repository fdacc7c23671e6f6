#pragma once

#include "platform/Rgb.h"
#include "season/SeasonData.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>

namespace kestrava {

namespace CalendarColours {
inline constexpr Rgb PastMonth{0, 192, 0};
inline constexpr Rgb OtherMonth{255, 255, 0};
inline constexpr Rgb Future{0, 0, 192};
inline constexpr Rgb Past{0, 128, 0};
inline constexpr Rgb Today{192, 0, 0};
inline constexpr Rgb Shown{0, 128, 128};
inline constexpr Rgb Rest{9, 27, 49};
} // namespace CalendarColours

// The month calendar: ten month labels covering the season and up to six matchdays of the month
// on show.
class CalendarModel : public QObject
{
    Q_OBJECT
public:
    explicit CalendarModel(QObject *parent = nullptr);

    struct Month
    {
        QDate date; // a date of the month: matchday 1's date plus 30 days per label
        QString caption;
        Rgb foreground;
        Rgb background = CalendarColours::Rest;
    };
    struct Day
    {
        bool visible = false;
        QString caption;
        Rgb foreground;
        int matchday = 0;
    };
    static constexpr int MonthCount = 10;
    static constexpr int DayCount = 6;

    std::array<Month, MonthCount> months;
    std::array<Day, DayCount> days;
    int shownMonth = 11; // no month before the first display
    bool locked = false; // "Verrouillé": the shown month no longer follows the pointer

    // Builds the month labels for the season (start-up).
    void build(const SeasonData &season, const QDateTime &launchTime);
    // Shows the matchdays of month m, unless locked; does nothing for the month already shown.
    void showMonth(int m, const SeasonData &season, const QDateTime &launchTime);

    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

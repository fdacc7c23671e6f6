#include "CalendarModel.h"

#include "platform/Text.h"

namespace kestrava {

CalendarModel::CalendarModel(QObject *parent)
    : QObject(parent)
{
}

void CalendarModel::build(const SeasonData &season, const QDateTime &launchTime)
{
    const QDateTime first = season.matchdayDate(1);
    const QDate base = first.isValid() ? first.date().addDays(-30) : launchTime.date().addDays(-30);
    const QString launchMonth = FrenchLocale().toString(launchTime.date(), QStringLiteral("MMMM yyyy"));
    for (int i = 0; i < MonthCount; ++i) {
        Month &m = months[i];
        m.date = base.addDays(30 * (i + 1));
        QString caption = FrenchLocale().toString(m.date, QStringLiteral("MMMM yyyy"));
        const bool past = caption != launchMonth && QDateTime(m.date, QTime(0, 0)) < launchTime;
        m.caption = ProperCase(caption);
        m.foreground = past ? CalendarColours::PastMonth : CalendarColours::OtherMonth;
        m.background = CalendarColours::Rest;
    }
    emit changed();
}

void CalendarModel::showMonth(int m, const SeasonData &season, const QDateTime &launchTime)
{
    if (locked || m < 0 || m >= MonthCount)
        return;
    if (m != shownMonth) {
        for (Day &d : days)
            d = Day{};
        int k = 0;
        const QDate month = months[m].date;
        const QString today = FrenchLocale().toString(launchTime.date(), QStringLiteral("dd MMM yy"));
        for (int md = 1; md <= MatchdayCount; ++md) {
            const QDateTime date = season.matchdayDate(md);
            if (!date.isValid() || date.date().month() != month.month() || date.date().year() != month.year())
                continue;
            // Six labels: a month holding more matchdays lists its first six.
            if (k >= DayCount)
                break;
            Day &d = days[k];
            d.visible = true;
            d.matchday = md;
            d.caption = QStringLiteral("Journée ") + QString::number(md) + QStringLiteral(" : ")
                + FrenchLocale().toString(date.date(), QStringLiteral("dd MMM"));
            d.foreground = date > launchTime ? CalendarColours::Future : CalendarColours::Past;
            if (FrenchLocale().toString(date.date(), QStringLiteral("dd MMM yy")) == today)
                d.foreground = CalendarColours::Today;
            ++k;
            shownMonth = m;
        }
    }
    for (int i = 0; i < MonthCount; ++i)
        months[i].background = i == m ? CalendarColours::Shown : CalendarColours::Rest;
    emit changed();
}

} // namespace kestrava

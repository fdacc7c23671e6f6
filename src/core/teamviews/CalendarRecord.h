#pragma once

#include <QStringView>

namespace kestrava {

// A calendar record "MM|PP|XY" read in place: the team views run through the 306 records at every
// fill, and splitting each into a list of strings would cost more than the rest of the fill.
struct CalendarRecord
{
    QStringView matchday, position, code;

    // False when the record has fewer than three fields or an empty code.
    bool read(QStringView record)
    {
        const qsizetype first = record.indexOf(u'|');
        const qsizetype second = first < 0 ? -1 : record.indexOf(u'|', first + 1);
        if (second < 0)
            return false;
        const qsizetype third = record.indexOf(u'|', second + 1);
        matchday = record.first(first);
        position = record.sliced(first + 1, second - first - 1);
        code = third < 0 ? record.sliced(second + 1) : record.sliced(second + 1, third - second - 1);
        return !code.isEmpty();
    }
    QString key() const { return matchday.toString() + position.toString(); }
};

} // namespace kestrava

#pragma once

#include <QString>
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
        // One pass for the three bars: the records are a few characters long.
        qsizetype bars[3] = {-1, -1, -1};
        int found = 0;
        for (qsizetype i = 0; i < record.size() && found < 3; ++i) {
            if (record[i] == u'|')
                bars[found++] = i;
        }
        if (found < 2)
            return false;
        matchday = record.first(bars[0]);
        position = record.sliced(bars[0] + 1, bars[1] - bars[0] - 1);
        code = found < 3 ? record.sliced(bars[1] + 1) : record.sliced(bars[1] + 1, bars[2] - bars[1] - 1);
        return !code.isEmpty();
    }
    QString key() const
    {
        QString k;
        k.reserve(matchday.size() + position.size());
        k += matchday;
        k += position;
        return k;
    }
};

} // namespace kestrava

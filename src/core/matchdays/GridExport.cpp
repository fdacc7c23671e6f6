#include "GridExport.h"

namespace kestrava {

namespace {

QString cards(const GridRow &row, CardBox yellow, CardBox red)
{
    QStringList parts;
    const EntryBox &y = row.cards[int(yellow)];
    const EntryBox &r = row.cards[int(red)];
    if (y.visible)
        parts << QStringLiteral("CJ ") + y.text;
    if (r.visible)
        parts << QStringLiteral("CR ") + r.text;
    return parts.isEmpty() ? QString() : u'[' + parts.join(u' ') + u']';
}

} // namespace

QString GridAsText(const FixtureGridModel &grid)
{
    QString out = grid.header.trimmed() + u'\n';
    int nameWidth = 6;
    for (int r = 0; r < GridRowCount; ++r) {
        if (grid.row(r).home.visible)
            nameWidth = std::max<int>({nameWidth, int(grid.row(r).home.text.size()), int(grid.row(r).away.text.size())});
    }
    for (int r = 0; r < GridRowCount; ++r) {
        const GridRow &row = grid.row(r);
        if (!row.home.visible)
            continue;
        QString line = QStringLiteral("%1 %2 %3 %4 - %5 %6 %7")
                           .arg(row.key, 4)
                           .arg(row.home.text, nameWidth)
                           .arg(cards(row, CardBox::HomeYellow, CardBox::HomeRed), 11)
                           .arg(row.r1.text, 2)
                           .arg(row.r2.text, -2)
                           .arg(cards(row, CardBox::AwayYellow, CardBox::AwayRed), -11)
                           .arg(row.away.text, -nameWidth);
        if (row.infoVisible && !row.info.isEmpty())
            line += QStringLiteral("  ") + row.info;
        out += line.trimmed() + u'\n';
    }
    if (!grid.totals.isEmpty())
        out += QString(grid.totals).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
    return out;
}

} // namespace kestrava

#include "FixtureGridModel.h"

#include "platform/Text.h"

namespace kestrava {

FixtureGridModel::FixtureGridModel(QObject *parent)
    : QObject(parent)
{
    for (int r = 0; r < GridRowCount; ++r)
        resetCardPositions(r);
}

void FixtureGridModel::setPending(bool on)
{
    if (m_pending == on)
        return;
    m_pending = on;
    emit pendingChanged(on);
}

void FixtureGridModel::resetCardPositions(int r)
{
    auto &c = m_rows[r].cards;
    c[int(CardBox::HomeRed)].left = CardPos::HomeRed;
    c[int(CardBox::HomeYellow)].left = CardPos::HomeYellow;
    c[int(CardBox::AwayYellow)].left = CardPos::AwayYellow;
    c[int(CardBox::AwayRed)].left = CardPos::AwayRed;
}

void FixtureGridModel::applyCollapse(int r)
{
    // With no red card, the yellow box takes the red box's place at the end of the name.
    auto &c = m_rows[r].cards;
    if (c[int(CardBox::HomeRed)].text.isEmpty())
        c[int(CardBox::HomeYellow)].left = CardPos::HomeRed;
    if (c[int(CardBox::AwayRed)].text.isEmpty())
        c[int(CardBox::AwayYellow)].left = CardPos::AwayRed;
}

void FixtureGridModel::showCardsWithText(int r)
{
    for (EntryBox &b : m_rows[r].cards)
        b.visible = !b.text.isEmpty();
}

void FixtureGridModel::hideCards(int r)
{
    for (EntryBox &b : m_rows[r].cards)
        b.visible = false;
}

void FixtureGridModel::setGoals(int r, GoalsBox box, const QString &text)
{
    EntryBox &b = box == GoalsBox::Home ? m_rows[r].r1 : m_rows[r].r2;
    if (b.text == text)
        return;
    b.text = text;
    scoreChanged(r, box);
}

void FixtureGridModel::scoreChanged(int r, GoalsBox box)
{
    GridRow &row = m_rows[r];
    resetCardPositions(r);
    setPending(true);
    row.home.foreground = GridColours::DarkBlue;
    row.away.foreground = GridColours::DarkBlue;
    // An empty box counts 0: a single home score above 0 already reads as a home win.
    const double h = ValueOf(row.r1.text);
    const double a = ValueOf(row.r2.text);
    if (h > a) {
        row.home.foreground = GridColours::Winner;
        row.away.foreground = GridColours::Loser;
    } else if (a > h) {
        row.away.foreground = GridColours::Winner;
        row.home.foreground = GridColours::Loser;
    } else if (!row.r2.text.isEmpty()) {
        row.home.foreground = GridColours::Draw;
        row.away.foreground = GridColours::Draw;
    }
    if (box == GoalsBox::Home)
        row.home.bold = !row.r1.text.isEmpty();
    else
        row.away.bold = !row.r2.text.isEmpty();
}

void FixtureGridModel::setCard(int r, CardBox box, const QString &text)
{
    EntryBox &b = m_rows[r].cards[int(box)];
    if (b.text == text)
        return;
    b.text = text;
    setPending(true);
    // A card count is a single character.
    if (text.trimmed().size() > 1)
        b.text = text.left(1);
}

void FixtureGridModel::clickGoals(int r)
{
    resetCardPositions(r);
    for (EntryBox &b : m_rows[r].cards)
        b.visible = true;
}

void FixtureGridModel::focusCard(int r, CardBox box)
{
    GridRow &row = m_rows[r];
    if (box == CardBox::HomeYellow && row.cards[int(CardBox::AwayRed)].visible)
        return;
    for (EntryBox &b : row.cards)
        b.visible = true;
}

QList<EntryRow> FixtureGridModel::entryRows() const
{
    QList<EntryRow> rows;
    rows.reserve(GridRowCount);
    for (const GridRow &g : m_rows) {
        EntryRow e;
        e.key = g.key;
        e.homeLetter = g.home.tag;
        e.awayLetter = g.away.tag;
        e.r1 = g.r1.text;
        e.r2 = g.r2.text;
        e.cr1 = g.cards[int(CardBox::HomeRed)].text;
        e.cj1 = g.cards[int(CardBox::HomeYellow)].text;
        e.cj2 = g.cards[int(CardBox::AwayYellow)].text;
        e.cr2 = g.cards[int(CardBox::AwayRed)].text;
        rows.append(e);
    }
    return rows;
}

} // namespace kestrava

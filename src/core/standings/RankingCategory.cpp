#include "RankingCategory.h"

#include "platform/ButtonBarModel.h"
#include "platform/Text.h"

#include <QHash>

#include <algorithm>

namespace kestrava {

namespace {

using C = TableColumn;

constexpr Rgb ChosenColumn { 255, 255, 0 };

// The cells of a row in the order of a category row text, after its key.
constexpr C textOrder[] = { C::Name, C::Points, C::GoalDifference, C::GoalsFor, C::GoalsAgainst, C::FairPlay,
    C::Played, C::HomeGoalsFor, C::AwayGoalsFor, C::HomeGoalsAgainst, C::AwayGoalsAgainst, C::HomePoints,
    C::AwayPoints, C::HomeWins, C::AwayWins, C::HomeLosses, C::AwayLosses, C::Draws };
constexpr int FieldCount = int(std::size(textOrder));

// The colour a highlightable column has when it is not the category's.
struct Highlightable
{
    C column;
    Rgb normal;
};
constexpr Highlightable highlightable[] = {
    { C::GoalsAgainst, Colours::LightOrange },
    { C::GoalsFor, Colours::LightGreen },
    { C::FairPlay, Colours::White },
    { C::GoalDifference, Colours::White },
    { C::AwayWins, Colours::LightGreen },
    { C::HomeWins, Colours::LightGreen },
    { C::AwayLosses, Colours::LightOrange },
    { C::HomeLosses, Colours::LightOrange },
    { C::Draws, Colours::LightGrey },
};

// Zero-padded to `width` digits. A key piece stays inside its width, so that a figure from a
// store edited by hand cannot spill into the piece before it and reorder the other rows.
QString padded(double v, int width, double max)
{
    const qint64 n = qint64(std::clamp(RoundHalfAway(v), 0.0, max));
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

struct CategoryRow
{
    QString key;
    QString foldedName; // with its separator, as in the row text: "Paris FC|" before "Paris|"
    std::array<QString, FieldCount> fields;

    // The row text after the name, folded; only two rows whose names fold alike need it.
    QString foldedRest() const
    {
        QString rest;
        for (int f = 1; f < FieldCount; ++f)
            rest += fields[f] + u'|';
        return FoldForSort(rest);
    }
};

// Team names never change during a run of the program: each is folded once in each thread.
const QString &foldedName(const QString &name)
{
    static thread_local QHash<QString, QString> cache;
    auto it = cache.constFind(name);
    if (it == cache.cend()) {
        if (cache.size() > 4096)
            cache.clear();
        it = cache.insert(name, FoldForSort(name + u'|'));
    }
    return *it;
}

} // namespace

const QList<RankingCategory> &RankingCategories()
{
    static const QList<RankingCategory> categories = {
        { "BC", Btn::BestDefence, { C::GoalsAgainst }, true, 1000, "Minimum de buts encaissés" },
        { "BP", Btn::BestAttack, { C::GoalsFor }, false, 0, "Maximum de buts marqués" },
        { "FP", Btn::FairPlay, { C::FairPlay }, true, 4000, "Minimum de cartons reçus" },
        { "GA", Btn::GoalAverage, { C::GoalDifference }, false, 500, "Meilleur Goal Average" },
        { "MG", Btn::MatchesWon, { C::AwayWins, C::HomeWins }, false, 0, "Maximum de matches Gagnés" },
        { "MP", Btn::MatchesLost, { C::AwayLosses, C::HomeLosses }, true, 1000, "Minimum de matches Perdus" },
        { "MN", Btn::MatchesDrawn, { C::Draws }, false, 0, "Maximum de matches Nuls" },
    };
    return categories;
}

const RankingCategory *CategoryOf(QStringView code)
{
    for (const RankingCategory &c : RankingCategories()) {
        if (code == QLatin1String(c.code))
            return &c;
    }
    return nullptr;
}

double CategoryValue(const LeagueTableModel &table, int row, const RankingCategory &category)
{
    double v = 0;
    for (const C column : category.columns)
        v += ValueOf(table.cell(row, column).text);
    return v;
}

void ShowRankingCategory(
    LeagueTableModel &table, const RankingCategory &category, const QString &favouriteTeam)
{
    std::array<CategoryRow, TeamCount> rows;
    for (int r = 0; r < TeamCount; ++r) {
        CategoryRow &row = rows[r];
        const double v = CategoryValue(table, r, category);
        const double primary = category.lowerIsBetter ? category.keyBase - v : v + category.keyBase;
        row.key = padded(primary, 5, 99999) + padded(PointsValue(table.cell(r, C::Points).text) + 5, 3, 999);
        for (int f = 0; f < FieldCount; ++f)
            row.fields[f] = table.cell(r, textOrder[f]).text;
        row.foldedName = foldedName(row.fields[0]);
    }
    // Ascending order of the row texts (key, then the cells) without regard to case, read from its
    // end: the best key first and, among equal keys, the name that sorts later.
    std::array<int, TeamCount> order;
    for (int i = 0; i < TeamCount; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const CategoryRow &ra = rows[a], &rb = rows[b];
        if (ra.key != rb.key)
            return ra.key < rb.key;
        if (const int c = ra.foldedName.compare(rb.foldedName))
            return c < 0;
        return ra.foldedRest() < rb.foldedRest();
    });

    // The rows change teams: a movement icon (its tool tip too) would speak of another club.
    table.clearMovements();
    for (int r = 0; r < TeamCount; ++r) {
        const CategoryRow &row = rows[order[TeamCount - 1 - r]];
        for (int f = 0; f < FieldCount; ++f)
            table.setText(r, textOrder[f], row.fields[f]);
        table.setRowKey(r, row.key);

        table.cell(r, C::Played).background = Colours::White;
        for (const Highlightable &h : highlightable)
            table.cell(r, h.column).background
                = category.columns.contains(h.column) ? ChosenColumn : h.normal;
        // No zones in a category view: neither their colours nor the tooltips naming them.
        TableCell &name = table.cell(r, C::Name);
        name.background = name.text == favouriteTeam ? Colours::Favourite : Colours::White;
        name.tooltip.clear();
    }

    const QString leader = table.cell(0, C::Name).text;
    table.setLeader(leader, leader);
    table.setTitle(QString::fromUtf8(category.title));
    table.setSortColumns(category.columns);

    // Shared ranks for an equal statistic, whatever the points that ordered the rows: 1, 2, 2, 4.
    int rank = 1;
    int equal = 0;
    table.setRankText(0, QStringLiteral("1"));
    for (int r = 1; r < TeamCount; ++r) {
        if (CategoryValue(table, r, category) != CategoryValue(table, r - 1, category)) {
            rank += 1 + equal;
            equal = 0;
        } else {
            ++equal;
        }
        table.setRankText(r, QString::number(rank));
    }
    emit table.changed();
}

} // namespace kestrava

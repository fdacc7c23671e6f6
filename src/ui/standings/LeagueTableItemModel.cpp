#include "LeagueTableItemModel.h"

#include "season/CrestPixmap.h"
#include "standings/FormGuide.h"
#include "standings/TableExport.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace kestrava {

namespace {

QFont boldFont()
{
    QFont font;
    font.setBold(true);
    return font;
}

} // namespace

namespace {

struct Heading
{
    const char *text; // two lines at most: the header is two lines high
    const char *tooltip; // the heading spelt out
};

// Headings by view column: rank, the core's columns in their order, the form guide.
const Heading headings[LeagueTableItemModel::ColumnTotal] = {
    { "Rg", "Rang au classement" },
    { "Équipe", "Équipe" },
    { "Pts", "Points" },
    { "J", "Matches joués" },
    { "BP", "Buts pour" },
    { "BC", "Buts contre" },
    { "Diff", "Différence de buts" },
    { "FP", "Fair-play : cartons jaunes + 3 × cartons rouges (le plus petit est le meilleur)" },
    { "BP\ndom.", "Buts pour à domicile" },
    { "BP\next.", "Buts pour à l'extérieur" },
    { "BC\ndom.", "Buts contre à domicile" },
    { "BC\next.", "Buts contre à l'extérieur" },
    { "Pts\ndom.", "Points pris à domicile" },
    { "Pts\next.", "Points pris à l'extérieur" },
    { "G\ndom.", "Matches gagnés à domicile" },
    { "G\next.", "Matches gagnés à l'extérieur" },
    { "P\ndom.", "Matches perdus à domicile" },
    { "P\next.", "Matches perdus à l'extérieur" },
    { "N", "Matches nuls, à domicile et à l'extérieur" },
    { "Forme", "Les cinq derniers résultats, du plus ancien (à gauche) au plus récent" },
    { "Classement  encore accessible",
      "La meilleure place que l'équipe peut encore atteindre en gagnant tous ses matches restants" },
};

QBrush brushOf(const Rgb &c)
{
    return QBrush(QColor(c.r, c.g, c.b));
}

} // namespace

LeagueTableItemModel::LeagueTableItemModel(LeagueTableModel &table, const SeasonData &season, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_season(season)
{
    // The core redraws the whole table at every run: every cell may have changed, and the column
    // that orders the rows with them.
    connect(&m_table, &LeagueTableModel::changed, this, [this] {
        emit dataChanged(index(0, 0), index(TeamCount - 1, ColumnTotal - 1));
        emit headerDataChanged(Qt::Horizontal, 0, ColumnTotal - 1);
    });
}

int LeagueTableItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TeamCount;
}

int LeagueTableItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnTotal;
}

Qt::ItemFlags LeagueTableItemModel::flags(const QModelIndex &index) const
{
    // Shown, never selected nor edited: selecting would paint over the zone colours.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

QVariant LeagueTableItemModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int column = index.column();
    if (column == RankColumn)
        return rankData(row, role);
    if (column == FormColumn)
        return formData(row, role);
    if (column == ReachableColumn)
        return reachableData(row, role);
    return cellData(row, TableColumn(column - FirstCellColumn), role);
}

QVariant LeagueTableItemModel::rankData(int row, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return m_table.rankText(row);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        return boldFont();
    default:
        return {};
    }
}

QVariant LeagueTableItemModel::formData(int row, int role) const
{
    const QString name = m_table.cell(row, TableColumn::Name).text;
    const QString lastFive = LastFive(m_table.formSequenceOf(name, m_season));
    switch (role) {
    case Qt::DisplayRole:
        return lastFive;
    case Qt::ToolTipRole: {
        if (lastFive.isEmpty())
            return QString();
        QStringList words;
        for (const QChar letter : lastFive)
            words.append(FormWord(letter));
        return QStringLiteral("Derniers résultats de ") + name
            + QStringLiteral(", du plus ancien au plus récent : ") + words.join(QStringLiteral(", "));
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant LeagueTableItemModel::reachableData(int row, int role) const
{
    const TableCell &cell = m_table.reachableCell(row);
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::BackgroundRole:
        return brushOf(cell.background);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        return boldFont();
    default:
        return {};
    }
}

QVariant LeagueTableItemModel::cellData(int row, TableColumn column, int role) const
{
    const TableCell &cell = m_table.cell(row, column);
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::BackgroundRole:
        return brushOf(cell.background);
    case Qt::ForegroundRole:
        return brushOf(cell.foreground);
    case Qt::FontRole: {
        QFont font;
        font.setBold(cell.bold);
        return font;
    }
    case Qt::ToolTipRole:
        return cell.tooltip.isEmpty() ? QVariant() : QVariant(cell.tooltip);
    case Qt::DecorationRole:
        if (column == TableColumn::Name && !cell.text.isEmpty())
            return CrestPixmap(cell.text, CrestSize);
        return {};
    case Qt::TextAlignmentRole:
        return column == TableColumn::Name ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant LeagueTableItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < TeamCount)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= ColumnTotal)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(headings[section].text);
    case Qt::ToolTipRole:
        return QString::fromUtf8(headings[section].tooltip);
    case Qt::TextAlignmentRole:
        if (section == ReachableColumn)
            return int(Qt::AlignCenter | Qt::TextWordWrap);
        return section == columnOf(TableColumn::Name) ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                      : int(Qt::AlignCenter);
    case SortedRole:
        return section >= FirstCellColumn && section < FormColumn
            && m_table.sortColumns().contains(TableColumn(section - FirstCellColumn));
    default:
        return {};
    }
}

} // namespace kestrava

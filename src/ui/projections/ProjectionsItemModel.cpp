#include "ProjectionsItemModel.h"

#include "platform/Style.h"
#include "platform/Text.h"
#include "projections/Projections.h"
#include "season/CrestPixmap.h"
#include "standings/LeagueTableModel.h"

#include <QBrush>
#include <QFont>

namespace kestrava {

namespace {

// The outcomes of the columns Title to Relegated, as the command line names them.
const char *const outcomeIds[] = {"title", "champions_league", "europe", "relegation_playoff", "relegated"};
const char *const outcomeHeadings[] = {"Titre", "Ligue des\nchampions", "Europe", "Barrage", "Relégation"};

const QColor Assured(192, 255, 192);
const QColor ImpossibleText(150, 158, 168);
const QColor HeatFull(9, 27, 49);

QString percent(double p)
{
    // Possible, yet never seen in the simulated seasons.
    if (p <= 0)
        return QStringLiteral("≈ 0 %");
    if (p < 0.005)
        return QStringLiteral("< 1 %");
    if (p > 0.995 && p < 1)
        return QStringLiteral("> 99 %");
    return QStringLiteral("%1 %").arg(qRound(p * 100));
}

QString exactPercent(double p)
{
    return FrenchLocale().toString(p * 100, 'f', 1) + QStringLiteral(" %");
}

// The zone of a final position, as the table colours its rows; none for the middle of the table.
const ProjectionZone *zoneOf(int position)
{
    for (const char *id : {"champions_league_group_stage", "champions_league_third_round", "league_phase",
                           "playoff_round", "relegation_playoff", "relegated"}) {
        const ProjectionZone &zone = ProjectionZoneById(id);
        if (position >= zone.first && position <= zone.last)
            return &zone;
    }
    return nullptr;
}

} // namespace

ProjectionsItemModel::ProjectionsItemModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ProjectionsItemModel::setReport(std::shared_ptr<const ProjectionReport> report)
{
    beginResetModel();
    m_report = std::move(report);
    endResetModel();
}

int ProjectionsItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_report ? 0 : TeamCount;
}

int ProjectionsItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnTotal;
}

QVariant ProjectionsItemModel::data(const QModelIndex &index, int role) const
{
    if (!m_report || !index.isValid())
        return {};
    const ProjectionReport &r = *m_report;
    const int team = r.input.tableOrder[index.row()];
    const int column = index.column();
    if (column >= FirstPosition)
        return position(team, column - FirstPosition + 1, role);
    if (column >= Title && column <= Relegated)
        return outcome(team, column, role);
    if (role == Qt::TextAlignmentRole)
        return int(column == Club ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    switch (column) {
    case Club:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return r.input.names[team];
        if (role == Qt::DecorationRole)
            return CrestPixmap(r.input.names[team], 16);
        if (role == Qt::FontRole) {
            QFont bold = UiFont(8.5, true);
            return bold;
        }
        break;
    case Points:
        if (role == Qt::DisplayRole)
            return PlainNumber(r.input.points[team]);
        break;
    case Range:
        if (role == Qt::DisplayRole) {
            const ReachableRange &range = r.ranges[team];
            return range.best == range.worst ? QStringLiteral("%1e").arg(range.best)
                                             : QStringLiteral("%1e à %2e").arg(range.best).arg(range.worst);
        }
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Places encore possibles pour %1, quels que soient les résultats à venir")
                .arg(r.input.names[team]);
        break;
    case Expected:
        if (role == Qt::DisplayRole)
            return FrenchLocale().toString(r.expectedPoints(team), 'f', 1);
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Points attendus en fin de saison");
        break;
    default:
        break;
    }
    return {};
}

QVariant ProjectionsItemModel::outcome(int team, int column, int role) const
{
    const ProjectionReport &r = *m_report;
    const ProjectionZone &zone = ProjectionZoneById(outcomeIds[column - Title]);
    const Verdict verdict = r.verdict(team, zone);
    const double p = r.probability(team, zone);
    switch (role) {
    case Qt::DisplayRole:
        return verdict == Verdict::Possible ? percent(p) : VerdictText(verdict);
    case Qt::ToolTipRole:
        return QStringLiteral("%1, %2 : %3 (chance simulée %4)")
            .arg(r.input.names[team], zone.label, VerdictText(verdict), exactPercent(p));
    case Qt::BackgroundRole:
        return verdict == Verdict::Assured ? QBrush(Assured) : QVariant();
    case Qt::ForegroundRole:
        return verdict == Verdict::Impossible ? QBrush(ImpossibleText) : QVariant();
    case Qt::FontRole:
        return UiFont(8.5, verdict == Verdict::Assured);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ProjectionsItemModel::position(int team, int position, int role) const
{
    const ProjectionReport &r = *m_report;
    const ReachableRange &range = r.ranges[team];
    const bool reachable = position >= range.best && position <= range.worst;
    const double p = r.positionProbability(team, position);
    switch (role) {
    case Qt::DisplayRole:
        if (!reachable)
            return QString();
        return p >= 0.005 ? QString::number(qRound(p * 100)) : QStringLiteral("·");
    case Qt::ToolTipRole:
        return reachable ? QStringLiteral("%1 : %2 de finir %3e").arg(r.input.names[team], exactPercent(p)).arg(position)
                         : QStringLiteral("%1 ne peut plus finir %2e").arg(r.input.names[team]).arg(position);
    case Qt::AccessibleTextRole:
        return reachable ? exactPercent(p) : QStringLiteral("impossible");
    case Qt::BackgroundRole: {
        if (!reachable)
            return QBrush(QColor(238, 241, 245));
        // The darker the likelier; the square root keeps small chances visible.
        const double t = std::sqrt(std::clamp(p, 0.0, 1.0));
        const auto mix = [t](int from, int to) { return int(from + (to - from) * t); };
        return QBrush(QColor(mix(255, HeatFull.red()), mix(255, HeatFull.green()), mix(255, HeatFull.blue())));
    }
    case Qt::ForegroundRole:
        return QBrush(std::sqrt(p) > 0.5 ? QColor(Qt::white) : Palette::Text);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ProjectionsItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (section >= FirstPosition) {
        const int position = section - FirstPosition + 1;
        switch (role) {
        case Qt::DisplayRole:
            return QString::number(position);
        case Qt::ToolTipRole: {
            const ProjectionZone *zone = zoneOf(position);
            return zone ? QStringLiteral("Chance de finir %1e : %2").arg(position).arg(zone->label)
                        : QStringLiteral("Chance de finir %1e").arg(position);
        }
        case Qt::BackgroundRole: {
            const ProjectionZone *zone = zoneOf(position);
            return zone ? QBrush(ToColour(zone->colour)) : QVariant();
        }
        default:
            return {};
        }
    }
    if (role == Qt::DisplayRole) {
        switch (section) {
        case Club:
            return QStringLiteral("Équipe");
        case Points:
            return QStringLiteral("Pts");
        case Range:
            return QStringLiteral("Places\npossibles");
        case Expected:
            return QStringLiteral("Pts\nattendus");
        default:
            return QString::fromUtf8(outcomeHeadings[section - Title]);
        }
    }
    if (role == Qt::ToolTipRole && section >= Title && section <= Relegated)
        return ProjectionZoneById(outcomeIds[section - Title]).label;
    return {};
}

} // namespace kestrava

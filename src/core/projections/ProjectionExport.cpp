#include "ProjectionExport.h"

#include "standings/TableExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestrava {

namespace {

// The zones of the export columns, in their order.
const char *const columnZones[]
    = { "title", "champions_league", "europe", "relegation_playoff", "relegated" };
// Their short French headings in the text tables.
const char *const textHeadings[] = { "Titre", "1-4", "5-6", "Barrage", "Relégué" };

QString number(double v)
{
    return v == std::trunc(v) ? QString::number(qint64(v)) : QString::number(v, 'g', 7);
}

QString fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

QString percent(double p)
{
    return fixed(100 * p, 1).replace(u'.', u',') + QStringLiteral(" %");
}

int nameWidth(const ProjectionReport &report)
{
    int w = 6;
    for (const QString &n : report.input.names)
        w = std::max<int>(w, n.size());
    return w;
}

QString heading(const ProjectionReport &report, quint64 seed)
{
    const QString after = report.input.lastMatchday == MatchdayCount
        ? QStringLiteral("Projections sur les résultats enregistrés")
        : QStringLiteral("Projections après la Journée N°") + QString::number(report.input.lastMatchday);
    return after + QStringLiteral(" : ") + QString::number(report.input.unplayed.size())
        + QStringLiteral(" matches restent, ") + QString::number(report.simulation.simulations)
        + QStringLiteral(" saisons simulées (graine ") + QString::number(seed) + QStringLiteral(")\n");
}

} // namespace

QString ProjectionsAsCsv(const ProjectionReport &report)
{
    QString out = QStringLiteral("team,points,best,worst");
    for (const char *z : columnZones)
        out += u',' + QLatin1String(z);
    out += QStringLiteral(",expected_points");
    for (int p = 1; p <= TeamCount; ++p)
        out += QStringLiteral(",p") + QString::number(p);
    out += u'\n';
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report.input.tableOrder[row];
        out += CsvField(report.input.names[t]) + u',' + number(report.input.points[t]) + u','
            + QString::number(report.ranges[t].best) + u',' + QString::number(report.ranges[t].worst);
        for (const char *z : columnZones)
            out += u',' + fixed(report.probability(t, ProjectionZoneById(z)), 4);
        out += u',' + fixed(report.expectedPoints(t), 2);
        for (int p = 1; p <= TeamCount; ++p)
            out += u',' + fixed(report.positionProbability(t, p), 4);
        out += u'\n';
    }
    return out;
}

QByteArray ProjectionsAsJson(const ProjectionReport &report, quint64 seed)
{
    QJsonArray clubs;
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report.input.tableOrder[row];
        QJsonObject zones;
        for (const ProjectionZone &z : ProjectionZones()) {
            QJsonObject zone;
            zone.insert(QStringLiteral("label"), z.label);
            zone.insert(QStringLiteral("positions"), QJsonArray { z.first, z.last });
            zone.insert(QStringLiteral("verdict"), VerdictText(report.verdict(t, z)));
            zone.insert(QStringLiteral("probability"), report.probability(t, z));
            zones.insert(QLatin1String(z.id), zone);
        }
        QJsonArray positions;
        for (int p = 1; p <= TeamCount; ++p)
            positions.append(report.positionProbability(t, p));
        QJsonObject club;
        club.insert(QStringLiteral("team"), report.input.names[t]);
        club.insert(QStringLiteral("points"), report.input.points[t]);
        club.insert(QStringLiteral("best"), report.ranges[t].best);
        club.insert(QStringLiteral("worst"), report.ranges[t].worst);
        club.insert(QStringLiteral("expected_points"), report.expectedPoints(t));
        club.insert(QStringLiteral("zones"), zones);
        club.insert(QStringLiteral("positions"), positions);
        clubs.append(club);
    }
    QJsonObject root;
    root.insert(QStringLiteral("matchday"), report.input.lastMatchday);
    root.insert(QStringLiteral("fixtures_left"), int(report.input.unplayed.size()));
    root.insert(QStringLiteral("simulations"), double(report.simulation.simulations));
    root.insert(QStringLiteral("seed"), QString::number(seed));
    root.insert(QStringLiteral("clubs"), clubs);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString ProjectionsAsText(const ProjectionReport &report, quint64 seed)
{
    const int w = nameWidth(report);
    QString out = heading(report, seed);
    out += QStringLiteral("\nPlaces encore accessibles\n");
    out += QStringLiteral("%1 %2 %3 %4")
               .arg(QStringLiteral("Rg"), 2)
               .arg(QStringLiteral("Équipe"), -w)
               .arg(QStringLiteral("Pts"), 5)
               .arg(QStringLiteral("Places"), 7);
    for (const char *h : textHeadings)
        out += QStringLiteral(" %1").arg(QString::fromUtf8(h), -10);
    out += u'\n';
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report.input.tableOrder[row];
        const QString places
            = QString::number(report.ranges[t].best) + u'-' + QString::number(report.ranges[t].worst);
        out += QStringLiteral("%1 %2 %3 %4")
                   .arg(row + 1, 2)
                   .arg(report.input.names[t], -w)
                   .arg(number(report.input.points[t]).replace(u'.', u','), 5)
                   .arg(places, 7);
        for (const char *z : columnZones)
            out += QStringLiteral(" %1").arg(VerdictText(report.verdict(t, ProjectionZoneById(z))), -10);
        out += u'\n';
    }
    out += QStringLiteral("\nChances\n");
    out += QStringLiteral("%1 %2").arg(QStringLiteral("Rg"), 2).arg(QStringLiteral("Équipe"), -w);
    for (const char *h : textHeadings)
        out += QStringLiteral(" %1").arg(QString::fromUtf8(h), 8);
    out += QStringLiteral("  Pts prévus\n");
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report.input.tableOrder[row];
        out += QStringLiteral("%1 %2").arg(row + 1, 2).arg(report.input.names[t], -w);
        for (const char *z : columnZones)
            out += QStringLiteral(" %1").arg(percent(report.probability(t, ProjectionZoneById(z))), 8);
        out += QStringLiteral("  %1\n").arg(fixed(report.expectedPoints(t), 1).replace(u'.', u','), 10);
    }
    out += QStringLiteral("\nPlace finale (%)\n");
    out += QStringLiteral("%1 %2").arg(QStringLiteral("Rg"), 2).arg(QStringLiteral("Équipe"), -w);
    for (int p = 1; p <= TeamCount; ++p)
        out += QStringLiteral(" %1").arg(p, 3);
    out += u'\n';
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report.input.tableOrder[row];
        out += QStringLiteral("%1 %2").arg(row + 1, 2).arg(report.input.names[t], -w);
        for (int p = 1; p <= TeamCount; ++p) {
            const double q = report.positionProbability(t, p);
            // A dot for "never in the simulations", so that a rounded 0 is not taken for impossible.
            out += QStringLiteral(" %1").arg(
                q == 0 ? QStringLiteral(".") : QString::number(qRound(100 * q)), 3);
        }
        out += u'\n';
    }
    return out;
}

} // namespace kestrava

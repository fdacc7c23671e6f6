#pragma once

#include <QAbstractTableModel>

#include <memory>

namespace kestrava {

struct ProjectionReport;
class SeasonData;

// The projections as a table for the window and for screen readers: one row per club in the
// table's order; the club, its points, the positions it can still reach, the verdict or chance of
// each outcome, the expected points, then the chance of each final position (a heat map).
class ProjectionsItemModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Club, Points, Range, Title, ChampionsLeague, Europe, RelegationPlayoff, Relegated, Expected,
                  FirstPosition };
    static constexpr int ColumnTotal = FirstPosition + 18;

    explicit ProjectionsItemModel(QObject *parent = nullptr);

    void setReport(std::shared_ptr<const ProjectionReport> report);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant outcome(int team, int column, int role) const;
    QVariant position(int team, int position, int role) const;

    std::shared_ptr<const ProjectionReport> m_report;
};

} // namespace kestrava

#pragma once

#include <QWidget>

namespace kestrava {

class EvolutionChartModel;

// The bars of the evolution chart, drawn with a painter from the model's geometry (twips): one bar
// per matchday standing on a common line, its rank written on it, the matchday number under it.
// Faint lines mark a few ranks so that a height reads as a place at a glance. The whole drawing is
// scaled to the widget, never beyond 15 twips to the pixel.
//
// Object name: "chartBars".
class ChartBars : public QWidget
{
    Q_OBJECT
public:
    explicit ChartBars(const EvolutionChartModel &chart, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where bar `index` lies on screen; empty while it shows no rank.
    QRect barRect(int index) const;
    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QTransform twipsToPixels() const;

    const EvolutionChartModel &m_chart;
};

} // namespace kestrava

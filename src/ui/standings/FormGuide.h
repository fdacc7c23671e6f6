#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace kestrava {

// The colours of the form letters: won green, lost light red, drawn light grey. The legend and the
// marks both read them here, so they always agree.
namespace FormColours {
inline const QColor Won(0, 255, 0);
inline const QColor Lost(255, 128, 128);
inline const QColor Drawn(240, 240, 240);
} // namespace FormColours

QColor FormColour(QChar letter);
QString FormWord(QChar letter); // "Gagné", "Perdu", "Nul"

// Geometry of the marks in a cell, shared by the delegate and the legend.
namespace FormMarks {
inline constexpr int Size = 13;
inline constexpr int Gap = 3;
inline constexpr int LeftPadding = 6;
} // namespace FormMarks

// Paints one mark; `letter` is drawn inside it in a small font.
void PaintFormMark(QPainter &painter, const QRect &box, QChar letter);

// Draws a cell's letters (its DisplayRole, oldest first) as up to five coloured marks, from the
// left: a team with fewer results shows fewer marks, the rest of the cell stays empty.
class FormGuideDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The legend under the table: a mark and its word for each letter.
class FormLegend : public QWidget
{
    Q_OBJECT
public:
    explicit FormLegend(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrava

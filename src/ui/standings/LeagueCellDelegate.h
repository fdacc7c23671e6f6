#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace kestrava {

// Paints a table cell straight from its roles (background, crest, text in its colour and weight),
// without the style's item machinery: the table repaints all its 360 cells after every run and
// must stay well inside one frame.
class LeagueCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace kestrava

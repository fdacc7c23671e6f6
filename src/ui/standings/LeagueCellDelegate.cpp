#include "LeagueCellDelegate.h"

#include <QPainter>
#include <QPixmap>

namespace kestrava {

namespace {

constexpr int TextPadding = 4;

} // namespace

void LeagueCellDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect cell = option.rect;
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.isValid())
        painter->fillRect(cell, qvariant_cast<QBrush>(background));

    QRect textBox = cell.adjusted(TextPadding, 0, -TextPadding, 0);
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.isValid()) {
        const QPixmap crest = qvariant_cast<QPixmap>(decoration);
        const QSize size = crest.deviceIndependentSize().toSize();
        painter->drawPixmap(textBox.left(), cell.top() + (cell.height() - size.height()) / 2, crest);
        textBox.setLeft(textBox.left() + size.width() + TextPadding + 1);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    QFont font = option.font;
    const QVariant fontRole = index.data(Qt::FontRole);
    if (fontRole.isValid())
        font = qvariant_cast<QFont>(fontRole).resolve(option.font);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    const QColor colour = foreground.isValid() ? qvariant_cast<QBrush>(foreground).color()
                                               : option.palette.color(QPalette::Text);
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const Qt::Alignment align = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : Qt::AlignCenter;

    painter->save();
    painter->setFont(font);
    painter->setPen(colour);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, textBox.width());
    painter->drawText(textBox, int(align), shown);
    painter->restore();
}

} // namespace kestrava

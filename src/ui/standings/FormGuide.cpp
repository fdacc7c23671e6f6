#include "FormGuide.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace kestrava {

namespace {

const QString Letters = QStringLiteral("GPN");

QString legendCaption()
{
    return QStringLiteral("Forme :");
}

} // namespace

QColor FormColour(QChar letter)
{
    if (letter == u'G')
        return FormColours::Won;
    if (letter == u'P')
        return FormColours::Lost;
    return FormColours::Drawn;
}

QString FormWord(QChar letter)
{
    if (letter == u'G')
        return QStringLiteral("Gagné");
    if (letter == u'P')
        return QStringLiteral("Perdu");
    return QStringLiteral("Nul");
}

namespace {

QPixmap drawMark(QChar letter, qreal ratio)
{
    const int size = FormMarks::Size;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    const QColor fill = FormColour(letter);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(135), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 2.5, 2.5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(40, 50, 60));
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(letter));
    return pixmap;
}

} // namespace

void PaintFormMark(QPainter &painter, const QRect &box, QChar letter)
{
    // 90 marks per repaint of the table: each letter's mark is drawn once and reused.
    static QHash<QString, QPixmap> cache;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QString key = QString(letter) + QString::number(ratio);
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, drawMark(letter, ratio));
    painter.drawPixmap(box.topLeft(), *found);
}

void FormGuideDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The cell's own background first, without any text.
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

    const QString letters = index.data(Qt::DisplayRole).toString();
    const int top = option.rect.top() + (option.rect.height() - FormMarks::Size) / 2;
    int left = option.rect.left() + FormMarks::LeftPadding;
    for (const QChar letter : letters) {
        PaintFormMark(*painter, QRect(left, top, FormMarks::Size, FormMarks::Size), letter);
        left += FormMarks::Size + FormMarks::Gap;
    }
}

QSize FormGuideDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return { FormMarks::LeftPadding * 2 + 5 * FormMarks::Size + 4 * FormMarks::Gap, base.height() };
}

FormLegend::FormLegend(QWidget *parent)
    : QWidget(parent)
{
    setToolTip(QStringLiteral("Les cinq derniers résultats de chaque équipe, du plus ancien au plus récent"));
}

QSize FormLegend::sizeHint() const
{
    const QFontMetrics fm(font());
    int width = fm.horizontalAdvance(legendCaption()) + 8;
    for (const QChar letter : Letters)
        width += FormMarks::Size + 5 + fm.horizontalAdvance(FormWord(letter)) + 14;
    return { width, std::max(fm.height(), FormMarks::Size) + 4 };
}

void FormLegend::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetrics fm(font());
    const int mid = height() / 2;
    int x = 0;
    p.setPen(palette().color(QPalette::WindowText));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(x, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, legendCaption());
    x += QFontMetrics(bold).horizontalAdvance(legendCaption()) + 8;
    p.setFont(font());
    for (const QChar letter : Letters) {
        PaintFormMark(p, QRect(x, mid - FormMarks::Size / 2, FormMarks::Size, FormMarks::Size), letter);
        x += FormMarks::Size + 5;
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, FormWord(letter));
        x += fm.horizontalAdvance(FormWord(letter)) + 14;
    }
}

} // namespace kestrava

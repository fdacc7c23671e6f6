#include "Style.h"

#include <QApplication>
#include <QLabel>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace kestrava {

QFont UiFont(double points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void ApplyApplicationStyle(QApplication &app)
{
    // Fusion draws the same on every desktop, so the printed page looks like the screen.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setFont(UiFont(9));
    QPalette palette = app.style()->standardPalette();
    palette.setColor(QPalette::Window, Palette::Page);
    palette.setColor(QPalette::WindowText, Palette::Text);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Palette::Text);
    palette.setColor(QPalette::Button, QColor(245, 247, 250));
    palette.setColor(QPalette::ButtonText, Palette::Text);
    palette.setColor(QPalette::Highlight, Palette::Teal);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 240));
    palette.setColor(QPalette::ToolTipText, Palette::Text);
    app.setPalette(palette);
}

QString WindowStyleSheet()
{
    return QStringLiteral(R"(
QFrame[kcard="true"] {
    background: #ffffff;
    border: 1px solid #d1d9e4;
    border-radius: 6px;
}
QFrame[kcard="overlay"] {
    background: #ffffff;
    border: 1px solid #9fb0c4;
    border-radius: 8px;
}
QLabel[kcaption="true"] {
    color: #606e7e;
    font-size: 8pt;
    font-weight: bold;
}
QFrame[kintro="true"] {
    background: #e3f2f2;
    border: 1px solid #9fcfcf;
    border-left: 4px solid #008080;
    border-radius: 4px;
}
QFrame[kalert="true"] {
    background: #fff4e6;
    border: 1px solid #f0c890;
    border-left: 4px solid #e08a1e;
    border-radius: 4px;
}
QFrame[kticker="true"] {
    background: #f3f6f9;
    border: 1px solid #d1d9e4;
    border-radius: 6px;
}
QLabel[klink="true"] {
    color: #008080;
    font-weight: bold;
    text-decoration: underline;
}
QLabel[kchip="true"] {
    background: #e6ebf1;
    color: #091b31;
    border-radius: 3px;
    padding: 2px 6px;
    font-size: 8pt;
}
QListWidget {
    border: 1px solid #d1d9e4;
    border-radius: 4px;
    background: #ffffff;
}
QListWidget::item {
    padding: 2px 4px;
}
QListWidget::item:hover {
    background: #e3f2f2;
}
QCheckBox {
    spacing: 8px;
}
QCheckBox:disabled {
    color: #8a96a3;
}
QToolTip {
    color: #1d2b3a;
    background: #fffff0;
    border: 1px solid #9fb0c4;
}
)");
}

QPixmap LeagueLogoPixmap(int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintLeagueLogo(p, size);
    return pixmap;
}

void PaintLeagueLogo(QPainter &p, int size, bool textAsOutlines)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Centred the way drawText centres; as outlines, a drawing does not depend on the viewer's fonts.
    const auto text = [&p, textAsOutlines](const QRectF &box, const QString &word) {
        if (!textAsOutlines) {
            p.drawText(box, Qt::AlignCenter, word);
            return;
        }
        const QFontMetricsF metrics(p.font());
        const QPointF baseline(box.center().x() - metrics.horizontalAdvance(word) / 2,
            box.center().y() - (metrics.ascent() + metrics.descent()) / 2 + metrics.ascent());
        QPainterPath path;
        path.addText(baseline, p.font(), word);
        p.fillPath(path, p.pen().color());
    };

    const QRectF outer(1, 1, size - 2, size - 2);
    QLinearGradient ring(outer.topLeft(), outer.bottomRight());
    ring.setColorAt(0, QColor(0, 170, 160));
    ring.setColorAt(1, Palette::Teal.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawRoundedRect(outer, size * 0.22, size * 0.22);

    const double inset = std::max(2.0, size * 0.07);
    const QRectF inner = outer.adjusted(inset, inset, -inset, -inset);
    QLinearGradient face(inner.topLeft(), inner.bottomLeft());
    face.setColorAt(0, QColor(22, 48, 82));
    face.setColorAt(1, Palette::Navy);
    p.setBrush(face);
    p.drawRoundedRect(inner, size * 0.17, size * 0.17);

    QFont small = UiFont(8, true);
    small.setPixelSize(std::max(5, int(size * 0.17)));
    small.setLetterSpacing(QFont::PercentageSpacing, 112);
    p.setFont(small);
    p.setPen(QColor(200, 230, 230));
    text(QRectF(inner.left(), inner.top() + inner.height() * 0.08, inner.width(), inner.height() * 0.3),
        QStringLiteral("LIGUE"));

    QFont big = UiFont(8, true);
    big.setPixelSize(std::max(8, int(size * 0.52)));
    p.setFont(big);
    p.setPen(Qt::white);
    text(QRectF(inner.left(), inner.top() + inner.height() * 0.3, inner.width(), inner.height() * 0.66),
        QStringLiteral("1"));
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QLabel *TitleLabel(const QString &text, double points, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(UiFont(points, true));
    SetTextColour(label, Palette::Navy);
    return label;
}

QLabel *CaptionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setProperty("kcaption", true);
    return label;
}

QString ScreenText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace kestrava

#include "CrestPixmap.h"

#include "season/Crest.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace kestrava {

namespace {

QColor toColour(const Rgb &c)
{
    return QColor(c.r, c.g, c.b);
}

// A shield: flat top, straight sides, a rounded point at the bottom.
QPainterPath shield(const QRectF &r)
{
    QPainterPath path;
    const double w = r.width();
    const double h = r.height();
    path.moveTo(r.left() + w * 0.08, r.top());
    path.lineTo(r.right() - w * 0.08, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + h * 0.1);
    path.lineTo(r.right(), r.top() + h * 0.5);
    path.cubicTo(r.right(), r.top() + h * 0.78, r.center().x() + w * 0.2, r.top() + h * 0.9, r.center().x(),
        r.bottom());
    path.cubicTo(r.center().x() - w * 0.2, r.top() + h * 0.9, r.left(), r.top() + h * 0.78, r.left(),
        r.top() + h * 0.5);
    path.lineTo(r.left(), r.top() + h * 0.1);
    path.quadTo(r.left(), r.top(), r.left() + w * 0.08, r.top());
    path.closeSubpath();
    return path;
}

QPixmap drawBadge(const QString &teamName, int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    if (teamName.isEmpty())
        return pixmap;

    const CrestBadge badge = CrestFor(teamName);
    const QColor back = toColour(badge.background);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double pen = std::max(1.0, size / 16.0);
    const QRectF body(size * 0.1 + pen / 2, pen / 2, size * 0.8 - pen, size - pen);
    const QPainterPath outline = shield(body);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, back.lighter(125));
    fill.setColorAt(1, back.darker(115));
    p.fillPath(outline, fill);
    // A band across the top, as many club crests have.
    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(body.left(), body.top(), body.width(), body.height() * 0.2), back.darker(150));
    p.restore();
    p.setPen(QPen(back.darker(170), pen));
    p.drawPath(outline);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    // Below 24 pixels three letters are a smudge: the first one alone reads better.
    const QString initials = size < 24 ? badge.initials.left(1) : badge.initials;
    const int letters = int(initials.size());
    font.setPixelSize(std::max(6, int(size * (letters >= 3 ? 0.24 : letters == 2 ? 0.3 : 0.42))));
    p.setFont(font);
    p.setPen(toColour(badge.foreground));
    const QRectF textBox(body.left(), body.top() + body.height() * 0.2, body.width(), body.height() * 0.55);
    p.drawText(textBox, Qt::AlignCenter, initials);
    return pixmap;
}

} // namespace

QPixmap CrestPixmap(const QString &teamName, int size)
{
    // Drawn once per team, size and screen: the table asks for 18 crests at every repaint.
    static QHash<QString, QPixmap> cache;
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = teamName + u'\x1f' + QString::number(size) + u'\x1f' + QString::number(ratio);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QPixmap pixmap = drawBadge(teamName, std::max(1, size), ratio);
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace kestrava

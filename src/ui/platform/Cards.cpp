#include "Cards.h"

#include <QGraphicsDropShadowEffect>

namespace kestrava {

void AddShadow(QWidget *widget)
{
    auto *effect = new QGraphicsDropShadowEffect(widget);
    effect->setBlurRadius(28);
    effect->setOffset(0, 6);
    effect->setColor(QColor(9, 27, 49, 110));
    widget->setGraphicsEffect(effect);
}

void StyleOverlay(QFrame *frame, const char *name)
{
    frame->setObjectName(QString::fromLatin1(name));
    frame->setProperty("kcard", QStringLiteral("overlay"));
    frame->setStyleSheet(WindowStyleSheet());
    AddShadow(frame);
}

void MakeClosing(HoverFrame *frame, std::function<void()> click)
{
    frame->setOnClick(std::move(click));
    frame->setToolTip(QStringLiteral("Cliquez pour fermer"));
}

HoverFrame *ClosingCard(QWidget *parent, const char *name, std::function<void()> click)
{
    auto *frame = OverlayCard<HoverFrame>(parent, name);
    MakeClosing(frame, std::move(click));
    return frame;
}

QVBoxLayout *CaptionedColumn(QFrame *frame, const QString &caption, const QMargins &margins, int spacing)
{
    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(margins);
    column->setSpacing(spacing);
    column->addWidget(CaptionLabel(caption, frame));
    return column;
}

QFrame *Card(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setProperty("kcard", true);
    return frame;
}

QLabel *ValueLabel(QWidget *parent, const char *name, double points, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(UiFont(points, bold));
    label->setWordWrap(true);
    return label;
}

} // namespace kestrava

#include "ClickableWidgets.h"

#include "platform/ButtonBarModel.h"
#include "platform/Style.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrava {

bool IsClick(const QWidget *widget, const QMouseEvent *event)
{
    return event->button() == Qt::LeftButton && widget->rect().contains(event->position().toPoint());
}

ModelTile::ModelTile(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void ModelTile::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    setAccessibleName(m_caption);
    updateGeometry();
    update();
}

void ModelTile::paintTile(
    qreal radius, const QColor &background, const QColor &foreground, const QString &text)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(rect()), radius, radius);
    p.setPen(foreground);
    p.drawText(rect(), Qt::AlignCenter, text);
}

void ModelTile::mouseMoveEvent(QMouseEvent *event)
{
    hovered();
    event->accept();
}

void ModelTile::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ModelTile::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (IsClick(this, event))
        clicked();
}

BarButton::BarButton(ButtonBarModel &buttons, int index, QWidget *parent)
    : ModelTile(QStringLiteral("button%1").arg(index), parent)
    , m_buttons(buttons)
    , m_index(index)
{
    setFont(UiFont(9, true));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_buttons, &ButtonBarModel::changed, this, &BarButton::refresh);
    refresh();
}

void BarButton::refresh()
{
    const ButtonState &state = m_buttons.button(m_index);
    const QColor background = ToColour(state.background);
    setCaption(state.caption);
    if (background != m_background) {
        m_background = background;
        update();
    }
    SetShown(this, m_buttons.isShown(m_index));
}

void BarButton::setMetrics(int padding, int height)
{
    m_padding = padding;
    m_height = height;
    updateGeometry();
}

QSize BarButton::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(caption()) + 2 * m_padding, m_height };
}

void BarButton::paintEvent(QPaintEvent *)
{
    // A light background (the grey of a finished download) takes dark text.
    paintTile(4, m_background, m_background.lightness() > 150 ? Palette::Navy : QColor(Qt::white), caption());
}

void BarButton::hovered()
{
    m_buttons.point(m_index);
}

void BarButton::clicked()
{
    m_buttons.press(m_index);
}

QHBoxLayout *RightAlignedButtons(ButtonBarModel &buttons, std::initializer_list<int> indexes, int spacing,
    QWidget *parent, QList<BarButton *> &made)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addStretch(1);
    for (const int index : indexes) {
        auto *button = new BarButton(buttons, index, parent);
        made.append(button);
        row->addWidget(button);
    }
    return row;
}

HoverFrame::HoverFrame(QWidget *parent)
    : MouseRelay(parent)
{
    // A panel is not the bare window: moves over it never reach the window behind.
    setAttribute(Qt::WA_NoMousePropagation);
}

ClickableLabel::ClickableLabel(QWidget *parent)
    : MouseRelay(parent)
{ }

OverlayPanel::OverlayPanel(ButtonBarModel &buttons, const QString &name, QWidget *parent)
    : HoverFrame(parent)
    , m_bar(buttons)
{
    setObjectName(name);
    setProperty("kcard", QStringLiteral("overlay"));
}

QVBoxLayout *OverlayPanel::openColumn(
    const QString &title, double titlePoints, const QMargins &margins, int spacing)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(margins);
    column->setSpacing(spacing);
    column->addWidget(TitleLabel(title, titlePoints, this));
    return column;
}

QHBoxLayout *OverlayPanel::buttonRow(std::initializer_list<int> indexes)
{
    return RightAlignedButtons(m_bar, indexes, 6, this, m_buttons);
}

ClickablePicture::ClickablePicture(QPixmap pixmap, std::function<void()> click, QWidget *parent)
    : QWidget(parent)
    , m_pixmap(std::move(pixmap))
    , m_click(std::move(click))
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ClickablePicture::sizeHint() const
{
    return m_pixmap.deviceIndependentSize().toSize();
}

void ClickablePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_pixmap);
}

void ClickablePicture::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_click && IsClick(this, event))
        m_click();
}

void EntryEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (onClick && IsClick(this, event))
        onClick();
}

void EntryEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (onDoubleClick)
        onDoubleClick();
}

void EntryEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (onFocus)
        onFocus();
}

void ShowText(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return;
    const int caret = edit->cursorPosition();
    edit->setText(text);
    edit->setCursorPosition(std::min<int>(caret, int(text.size())));
}

} // namespace kestrava

#include "ClickableWidgets.h"

#include "window/MainController.h"
#include "window/Style.h"

#include <QMouseEvent>
#include <QPainter>

namespace kestrava {

namespace {

bool isClick(QWidget *widget, QMouseEvent *event)
{
    return event->button() == Qt::LeftButton && widget->rect().contains(event->position().toPoint());
}

} // namespace

BarButton::BarButton(MainController &controller, int index, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_index(index)
{
    setObjectName(QStringLiteral("button%1").arg(index));
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFont(UiFont(9, true));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    refresh();
}

void BarButton::refresh()
{
    const ButtonState &state = m_controller.buttons().button(m_index);
    const QColor background = ToColour(state.background);
    if (state.caption != m_caption) {
        m_caption = state.caption;
        setAccessibleName(m_caption);
        updateGeometry();
        update();
    }
    if (background != m_background) {
        m_background = background;
        update();
    }
    const bool shown = m_controller.buttons().isShown(m_index);
    if (isVisibleTo(parentWidget()) != shown)
        setVisible(shown);
}

void BarButton::setMetrics(int padding, int height)
{
    m_padding = padding;
    m_height = height;
    updateGeometry();
}

QSize BarButton::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(m_caption) + 2 * m_padding, m_height };
}

void BarButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(m_background);
    p.drawRoundedRect(QRectF(rect()), 4, 4);
    // A light background (the grey of a finished download) takes dark text.
    p.setPen(m_background.lightness() > 150 ? Palette::Navy : QColor(Qt::white));
    p.drawText(rect(), Qt::AlignCenter, m_caption);
}

void BarButton::mouseMoveEvent(QMouseEvent *event)
{
    m_controller.hoverButton(m_index);
    event->accept();
}

void BarButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void BarButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (isClick(this, event))
        m_controller.clickButton(m_index);
}

HoverFrame::HoverFrame(QWidget *parent)
    : QFrame(parent)
{
    // A panel is not the bare window: moves over it never reach the window behind.
    setAttribute(Qt::WA_NoMousePropagation);
}

void HoverFrame::setOnHover(std::function<void()> hover)
{
    m_hover = std::move(hover);
    setMouseTracking(bool(m_hover));
}

void HoverFrame::setOnClick(std::function<void()> click)
{
    m_click = std::move(click);
    setCursor(m_click ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void HoverFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (m_hover)
        m_hover();
    event->accept();
}

void HoverFrame::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void HoverFrame::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_click && isClick(this, event))
        m_click();
}

MatchdayNumber::MatchdayNumber(MainController &controller, int matchday, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_matchday(matchday)
{
    setObjectName(QStringLiteral("matchday%1").arg(matchday));
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFont(UiFont(9, true));
    setToolTip(QStringLiteral("Classement à la Journée N°%1").arg(matchday));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    refresh();
}

void MatchdayNumber::refresh()
{
    const auto &entry = m_controller.matchdayList().entries[m_matchday];
    const QColor fg = ToColour(entry.foreground);
    const QColor bg = ToColour(entry.background);
    if (fg != m_foreground || bg != m_background) {
        m_foreground = fg;
        m_background = bg;
        update();
    }
    if (isVisibleTo(parentWidget()) != entry.visible)
        setVisible(entry.visible);
}

void MatchdayNumber::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(m_background);
    p.drawRoundedRect(QRectF(rect()), 3, 3);
    p.setPen(m_foreground);
    p.drawText(rect(), Qt::AlignCenter, QString::number(m_matchday));
}

void MatchdayNumber::mouseMoveEvent(QMouseEvent *event)
{
    m_controller.hoverMatchdayNumber(m_matchday);
    event->accept();
}

void MatchdayNumber::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void MatchdayNumber::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (isClick(this, event))
        m_controller.clickMatchdayNumber(m_matchday);
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
    if (m_click && isClick(this, event))
        m_click();
}

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent)
{ }

void ClickableLabel::setOnClick(std::function<void()> click)
{
    m_click = std::move(click);
    setCursor(m_click ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ClickableLabel::setOnHover(std::function<void()> hover)
{
    m_hover = std::move(hover);
    setMouseTracking(bool(m_hover));
}

void ClickableLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_hover) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    m_hover();
    event->accept();
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    if (!m_click) {
        QLabel::mousePressEvent(event);
        return;
    }
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_click) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (isClick(this, event))
        m_click();
}

} // namespace kestrava

#include "ClickableWidgets.h"

#include "platform/ButtonBarModel.h"
#include "platform/Cards.h"
#include "platform/Style.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

bool IsPressKey(const QKeyEvent *event)
{
    const int key = event->key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void PaintFocusMark(QWidget *widget, qreal radius)
{
    QPainter p(widget);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(255, 196, 0), 2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1), radius, radius);
}

namespace {

// A pressable control for assistive technology: a push button whose "Press" does what a click does.
class PressableAccessible : public QAccessibleWidget
{
public:
    PressableAccessible(QWidget *widget, Pressable *pressable)
        : QAccessibleWidget(widget, QAccessible::Button)
        , m_pressable(pressable)
    {
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            m_pressable->press();
        else
            QAccessibleWidget::doAction(action);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        if (const auto *label = qobject_cast<const QLabel *>(widget()); label && !label->text().isEmpty())
            return label->text();
        return widget()->toolTip();
    }

private:
    Pressable *m_pressable;
};

QAccessibleInterface *pressableFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    auto *pressable = dynamic_cast<Pressable *>(object);
    if (!widget || !pressable || !pressable->pressable())
        return nullptr;
    return new PressableAccessible(widget, pressable);
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(pressableFactory);
    installed = true;
}

ModelTile::ModelTile(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void ModelTile::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        hovered();
    update();
}

void ModelTile::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ModelTile::keyPressEvent(QKeyEvent *event)
{
    if (IsPressKey(event)) {
        event->accept();
        clicked();
        return;
    }
    QWidget::keyPressEvent(event);
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
    p.end();
    if (hasFocus())
        PaintFocusMark(this, radius);
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
    const QString key = ButtonBarModel::shortcut(m_index);
    if (!key.isEmpty() && toolTip().isEmpty())
        setToolTip(QStringLiteral("%1 (%2)").arg(state.caption, key));
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
    setStyleSheet(WindowStyleSheet());
    AddShadow(this);
    // Over a panel the buttons take their rest colour.
    setOnHover([this] { m_bar.point(-1); });
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
    setFocusPolicy(m_click ? Qt::TabFocus : Qt::NoFocus);
}

QSize ClickablePicture::sizeHint() const
{
    return m_pixmap.deviceIndependentSize().toSize();
}

void ClickablePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_pixmap);
    p.end();
    if (hasFocus())
        PaintFocusMark(this, 4);
}

void ClickablePicture::keyPressEvent(QKeyEvent *event)
{
    if (m_click && IsPressKey(event)) {
        event->accept();
        m_click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ClickablePicture::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void ClickablePicture::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
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

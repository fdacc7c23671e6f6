#pragma once

#include <QColor>
#include <QKeyEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QVBoxLayout;

namespace kestrava {

class ButtonBarModel;

// A left button let go inside the widget: a press dragged out and released elsewhere is no click.
bool IsClick(const QWidget *widget, const QMouseEvent *event);
// Enter, Return or Space: what presses a focused control, as a click does.
bool IsPressKey(const QKeyEvent *event);
// The mark of keyboard focus, in the window's teal, inside a control's outline.
void PaintFocusMark(QWidget *widget, qreal radius);

// What can be pressed from the keyboard and by assistive technology exactly as by a click.
class Pressable
{
public:
    virtual ~Pressable() = default;
    virtual bool pressable() const { return true; }
    virtual void press() = 0;
};

// Screen readers see every pressable control as a push button with a "Press" action, named by its
// caption (or its tooltip, for a picture). Installed once by the program and its tests.
void InstallAccessibility();

// A small widget drawn from a model that passes the mouse to the controller: a move over it is
// hovered(), a left click inside it clicked(), and neither reaches the widgets behind it.
class ModelTile : public QWidget, public Pressable
{
    Q_OBJECT
public:
    ModelTile(const QString &name, QWidget *parent);

    const QString &caption() const { return m_caption; }
    void press() override { clicked(); }

protected:
    virtual void hovered() = 0;
    virtual void clicked() = 0;

    // From the keyboard: Tab reaching the tile is the pointer arriving over it, Enter and Space a click.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // A new caption is also the tile's accessible name, and may change its size.
    void setCaption(const QString &caption);
    // The tile filled with `background`, rounded by `radius`, `text` centred in `foreground`.
    void paintTile(qreal radius, const QColor &background, const QColor &foreground, const QString &text);

    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_caption;
};

// One of the window's 40 buttons: a flat label in the colour the button bar model gives it. The
// mouse passing over it and a click on it go to the model, which the window's controller hears.
class BarButton : public ModelTile
{
    Q_OBJECT
public:
    BarButton(ButtonBarModel &buttons, int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    // Caption, colour and visibility from the model.
    void refresh();
    // Smaller buttons for crowded places (the bar, the rankings menu).
    void setMetrics(int padding, int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void hovered() override;
    void clicked() override;

private:
    ButtonBarModel &m_buttons;
    int m_index;
    QColor m_background;
    int m_padding = 14;
    int m_height = 32;
};

// A row of bar buttons pushed to the right, as panels end; the buttons also join `made`.
QHBoxLayout *RightAlignedButtons(ButtonBarModel &buttons, std::initializer_list<int> indexes, int spacing,
    QWidget *parent, QList<BarButton *> &made);

// Moves and clicks passed on as callbacks: `onHover` for every move over the widget, `onClick` for
// a click inside it. What no callback takes, a frame keeps (it never reaches the window behind);
// a label leaves it to QLabel (text selection; moves then reach the frame it lies on).
enum class Unhandled { Keep, PassOn };

template <typename Base, Unhandled unhandled> class MouseRelay : public Base, public Pressable
{
public:
    using Base::Base;

    void setOnHover(std::function<void()> hover)
    {
        m_hover = std::move(hover);
        this->setMouseTracking(bool(m_hover));
    }
    // What clicks reaches the keyboard too (Tab, then Enter or Space).
    void setOnClick(std::function<void()> click)
    {
        m_click = std::move(click);
        this->setCursor(m_click ? Qt::PointingHandCursor : Qt::ArrowCursor);
        this->setFocusPolicy(m_click ? Qt::TabFocus : Qt::NoFocus);
    }
    // A click that only repeats a neighbour's (one of a card's many labels): the mouse keeps it, the
    // keyboard and screen readers find it once, on the neighbour.
    void setMouseOnly()
    {
        m_reachable = false;
        this->setFocusPolicy(Qt::NoFocus);
    }
    bool pressable() const override { return bool(m_click) && m_reachable; }
    void press() override
    {
        if (m_click)
            m_click();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (pressable() && IsPressKey(event)) {
            event->accept();
            m_click();
            return;
        }
        Base::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent *event) override
    {
        Base::paintEvent(event);
        if (pressable() && this->hasFocus())
            PaintFocusMark(this, 4);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        Base::focusInEvent(event);
        this->update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        Base::focusOutEvent(event);
        this->update();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!m_hover && unhandled == Unhandled::PassOn) {
            Base::mouseMoveEvent(event);
            return;
        }
        if (m_hover)
            m_hover();
        event->accept();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (!m_click && unhandled == Unhandled::PassOn) {
            Base::mousePressEvent(event);
            return;
        }
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (!m_click && unhandled == Unhandled::PassOn) {
            Base::mouseReleaseEvent(event);
            return;
        }
        event->accept();
        if (m_click && IsClick(this, event))
            m_click();
    }

private:
    std::function<void()> m_hover;
    std::function<void()> m_click;
    bool m_reachable = true;
};

// A frame that passes the mouse to the controller: `onHover` for every move over it (the frame
// then keeps the move from the window behind it), `onClick` for a click anywhere inside it.
class HoverFrame : public MouseRelay<QFrame, Unhandled::Keep>
{
    Q_OBJECT
public:
    explicit HoverFrame(QWidget *parent = nullptr);
};

// A label that passes clicks (and, when asked, mouse moves) to the controller: the title, the
// goals summary, links.
class ClickableLabel : public MouseRelay<QLabel, Unhandled::PassOn>
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);
};

// A floating panel of the window: an overlay card in the window's style, with its shadow, that keeps
// the mouse from the window behind (and rests the buttons), a column that opens with the panel's
// title, and bar buttons of its own.
class OverlayPanel : public HoverFrame
{
    Q_OBJECT
public:
    QList<BarButton *> buttons() const { return m_buttons; }

protected:
    OverlayPanel(ButtonBarModel &buttons, const QString &name, QWidget *parent);
    QVBoxLayout *openColumn(const QString &title, double titlePoints, const QMargins &margins, int spacing);
    // The panel's own buttons, in a row at its right.
    QHBoxLayout *buttonRow(std::initializer_list<int> indexes);

    ButtonBarModel &m_bar;
    QList<BarButton *> m_buttons;
};

// A picture that reacts to clicks only (the league logo).
class ClickablePicture : public QWidget, public Pressable
{
    Q_OBJECT
public:
    ClickablePicture(QPixmap pixmap, std::function<void()> click, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    void press() override
    {
        if (m_click)
            m_click();
    }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPixmap m_pixmap;
    std::function<void()> m_click;
};

// A line edit that tells of a click inside it, a double-click and taking the focus, each once
// QLineEdit has dealt with it (a click's handler then finds the caret placed).
class EntryEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    std::function<void()> onFocus;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
};

// Only a real change reaches the widget: hiding or showing again costs a layout pass.
inline void SetShown(QWidget *widget, bool shown)
{
    if (widget->isVisibleTo(widget->parentWidget()) != shown)
        widget->setVisible(shown);
}

// The box shows what the model holds; the caret stays where it was when it still can.
void ShowText(QLineEdit *edit, const QString &text);

} // namespace kestrava

#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QWidget>

#include <functional>

namespace kestrava {

class MainController;

// One of the window's 40 buttons: a flat label in the colour the button bar model gives it. The
// mouse passing over it and a click on it go to the controller.
class BarButton : public QWidget
{
    Q_OBJECT
public:
    BarButton(MainController &controller, int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    // Caption, colour and visibility from the model.
    void refresh();
    // Smaller buttons for crowded places (the bar, the rankings menu).
    void setMetrics(int padding, int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    MainController &m_controller;
    int m_index;
    QString m_caption;
    QColor m_background;
    int m_padding = 14;
    int m_height = 32;
};

// A frame that passes the mouse to the controller: `onHover` for every move over it (the frame
// then keeps the move from the window behind it), `onClick` for a click anywhere inside it.
class HoverFrame : public QFrame
{
    Q_OBJECT
public:
    explicit HoverFrame(QWidget *parent = nullptr);

    void setOnHover(std::function<void()> hover);
    void setOnClick(std::function<void()> click);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<void()> m_hover;
    std::function<void()> m_click;
};

// A number of the matchday list, in the colours of the matchday list model.
class MatchdayNumber : public QWidget
{
    Q_OBJECT
public:
    MatchdayNumber(MainController &controller, int matchday, QWidget *parent = nullptr);

    void refresh();
    QSize sizeHint() const override { return { 23, 23 }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    MainController &m_controller;
    int m_matchday;
    QColor m_foreground;
    QColor m_background;
};

// A picture that reacts to clicks only (the league logo).
class ClickablePicture : public QWidget
{
    Q_OBJECT
public:
    ClickablePicture(QPixmap pixmap, std::function<void()> click, QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_pixmap;
    std::function<void()> m_click;
};

// A label that passes clicks (and, when asked, mouse moves) to the controller: the title, the
// goals summary, links.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);

    void setOnClick(std::function<void()> click);
    void setOnHover(std::function<void()> hover);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<void()> m_click;
    std::function<void()> m_hover;
};

} // namespace kestrava

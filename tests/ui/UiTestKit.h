#pragma once
// What the window tests add to the program in a folder of tests/support: the window over it, built
// as main() builds it, and the ways a test finds, reads and clicks the window's widgets.

#include "TestProgram.h"
#include "platform/WidgetPrinter.h"
#include "platform/ClickableWidgets.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace kestrava::uitest {

using namespace kestrava::test;

// The demo season in a scratch folder, the doubles of tests/support, the real window and its
// printer (no printer installed: the page goes to a PDF in the program's folder).
struct WindowProgram : TestProgram
{
    WidgetPrinter widgetPrinter { dir.path(), [] { return false; } };
    std::unique_ptr<MainWindow> window;

    WindowProgram() { printerInUse = &widgetPrinter; }
    // The window and the controller go before the printer they were given.
    ~WindowProgram()
    {
        window.reset();
        controller.reset();
    }

    bool open()
    {
        make();
        // main() sets no event pump: the window first paints when start-up returns.
        controller->setEventPump({});
        window = std::make_unique<MainWindow>(*controller);
        widgetPrinter.setWindow(window.get());
        if (!controller->start())
            return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    template <typename T = QWidget> T *find(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    BarButton *button(int index) const { return find<BarButton>(QStringLiteral("button%1").arg(index)); }
    QString label(const QString &name) const
    {
        const QLabel *l = find<QLabel>(name);
        return l ? l->text() : QStringLiteral("<absent>");
    }
    bool shown(const QString &name) const
    {
        const QWidget *w = find(name);
        return w && w->isVisible();
    }
    void click(QWidget *w) const { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // Whether a widget lies wholly inside the window's central area.
    bool inside(const QWidget *w) const
    {
        QWidget *central = window->centralWidget();
        return central->rect().contains(QRect(w->mapTo(central, QPoint()), w->size()));
    }
};

// The texts of every label inside a widget.
inline QStringList LabelTexts(const QWidget *w)
{
    QStringList texts;
    for (const QLabel *l : w->findChildren<QLabel *>())
        texts.append(l->text());
    return texts;
}

// The size of the first page of a PDF, in points; empty when none is found.
inline QSizeF PdfPageSize(const QByteArray &pdf)
{
    static const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    if (!m.hasMatch())
        return {};
    return { m.captured(3).toDouble() - m.captured(1).toDouble(),
        m.captured(4).toDouble() - m.captured(2).toDouble() };
}

} // namespace kestrava::uitest

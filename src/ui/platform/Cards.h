#pragma once

#include "platform/ClickableWidgets.h"
#include "platform/Style.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include <functional>

namespace kestrava {

// The soft shadow under a card that floats over the window.
void AddShadow(QWidget *widget);

// A card floating over the window, with its shadow and the window's style sheet of its own (a
// sheet over the whole window would slow every keystroke of the grid).
void StyleOverlay(QFrame *frame, const char *name);
template <typename Frame> Frame *OverlayCard(QWidget *parent, const char *name)
{
    auto *frame = new Frame(parent);
    StyleOverlay(frame, name);
    return frame;
}

// An overlay card that a click anywhere on it closes.
void MakeClosing(HoverFrame *frame, std::function<void()> click);
HoverFrame *ClosingCard(QWidget *parent, const char *name, std::function<void()> click);

// An overlay card's column, under its caption.
QVBoxLayout *CaptionedColumn(QFrame *frame, const QString &caption, const QMargins &margins, int spacing);

// A card of the window's columns (white, thin border).
QFrame *Card(QWidget *parent, const char *name);

// A label for a value the models give: `points` in size, bold on demand, wrapping.
QLabel *ValueLabel(QWidget *parent, const char *name, double points, bool bold);

} // namespace kestrava

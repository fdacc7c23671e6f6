#include "SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kestrava {

void SystemClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    // Cleared first, so that no older content (an image, rich text) stays beside the path.
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace kestrava

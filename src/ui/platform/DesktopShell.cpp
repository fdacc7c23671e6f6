#include "DesktopShell.h"

#include <QDesktopServices>

namespace kestrava {

bool DesktopShell::open(const QUrl &url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace kestrava

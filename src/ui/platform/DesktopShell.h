#pragma once

#include "platform/Services.h"

namespace kestrava {

// Web pages in the user's browser, files in the program the desktop associates with them.
class DesktopShell final : public Shell
{
public:
    bool open(const QUrl &url) override;
};

} // namespace kestrava

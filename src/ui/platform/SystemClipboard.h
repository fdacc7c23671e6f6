#pragma once

#include "platform/Services.h"

namespace kestrava {

// The desktop's clipboard: the editor pastes the results store's path into the upload page.
class SystemClipboard final : public Clipboard
{
public:
    void setText(const QString &text) override;
};

} // namespace kestrava

#pragma once

#include "platform/Rgb.h"

#include <QString>

namespace kestrava {

// No crest images ship with the season file: a team's crest is a badge drawn from its name, its
// initials on a colour of its own. Real images can take its place behind the same call.
struct CrestBadge
{
    QString initials; // one to three letters
    Rgb background;
    Rgb foreground;
};

CrestBadge CrestFor(const QString &teamName);

} // namespace kestrava

#pragma once

#include <QPixmap>
#include <QString>

namespace kestrava {

// A team's crest, `size` pixels square. Every view draws crests through this call alone, so that
// real crest images can replace the generated badges in one place.
QPixmap CrestPixmap(const QString &teamName, int size);

} // namespace kestrava

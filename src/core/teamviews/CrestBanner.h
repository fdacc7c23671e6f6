#pragma once

#include "season/SeasonData.h"

#include <QObject>
#include <QString>

#include <array>

namespace kestrava {

// The banner's geometry, in twips (15 to a pixel). The view is the strip's window; crests enter at
// its right edge and leave at its left edge.
namespace BannerTwips {
inline constexpr int Crest = 420;
inline constexpr int Gap = 200;
inline constexpr int View = 5100;
inline constexpr int Step = 25; // per tick
inline constexpr int TriggerFrom = 1000; // the panel follows the crest passing here
inline constexpr int TriggerTo = 1500;
inline constexpr int OutOfSight = -30000; // where a button sends the strip to end the banner
} // namespace BannerTwips
inline constexpr int BannerTickMs = 15;

// The crest banner: the 18 crests in table order on a strip that moves from right to left.
class CrestBannerModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    std::array<QString, TeamCount> crests; // the teams, in table order
    std::array<int, TeamCount> lefts {}; // each crest's left edge on the strip
    int stripLeft = 0; // the strip's left edge in the view
    int stripWidth = 0;
    bool shown = false; // the banner is on screen

    // Places the crests of `teams` (table order) and the strip at the view's right edge.
    void layOut(const std::array<QString, TeamCount> &teams);
    // One step to the left. False once the strip has wholly left the view (the banner is over).
    bool step();
    // The team whose crest stands in the trigger zone; empty when none does.
    QString crestInTriggerZone() const;
    // The strip has left the view, by its own motion or because a button sent it away.
    bool gone() const { return stripLeft < -stripWidth; }

    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava

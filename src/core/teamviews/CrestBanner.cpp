#include "CrestBanner.h"

namespace kestrava {

void CrestBannerModel::layOut(const std::array<QString, TeamCount> &teams)
{
    int x = 0;
    for (int i = 0; i < TeamCount; ++i) {
        crests[i] = teams[i];
        lefts[i] = x;
        x += BannerTwips::Crest + BannerTwips::Gap;
    }
    stripWidth = lefts[TeamCount - 1] + BannerTwips::Crest + 10;
    stripLeft = BannerTwips::View;
    shown = true;
}

bool CrestBannerModel::step()
{
    stripLeft -= BannerTwips::Step;
    if (gone())
        shown = false;
    return shown;
}

QString CrestBannerModel::crestInTriggerZone() const
{
    for (int i = 0; i < TeamCount; ++i) {
        const int x = lefts[i] + stripLeft;
        if (x > BannerTwips::TriggerFrom && x < BannerTwips::TriggerTo)
            return crests[i];
    }
    return {};
}

} // namespace kestrava

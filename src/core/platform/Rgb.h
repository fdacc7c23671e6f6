#pragma once

#include <cstdint>

namespace kestrava {

// A colour as the core hands it to the window: no QtGui in the core.
struct Rgb
{
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const Rgb &) const = default;
};

namespace Colours {
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb LightGreen{192, 255, 192};
inline constexpr Rgb LightOrange{255, 224, 192};
inline constexpr Rgb LightGrey{224, 224, 224};
inline constexpr Rgb Favourite{255, 255, 0};
inline constexpr Rgb ChosenTeam{128, 255, 128}; // the club whose season the grid shows
inline constexpr Rgb SecondClub{255, 255, 128}; // with the lock: the second club and its meetings
} // namespace Colours

} // namespace kestrava

// The 256 colours of the Notes palette (colour numbers of fonts, cells and section titles) and the
// colour names of DXL, for turning DXL colours into colour numbers and RGB values.
#pragma once

#include <cstdint>
#include <string_view>

namespace standin::cd {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

// The RGB value of a palette colour number.
Rgb PaletteColor(std::uint8_t number);
// The palette colour number closest to a colour (an exact match when there is one).
std::uint8_t NearestPaletteColor(const Rgb &color);
// A DXL colour: a name (black, red, lime, blue, ... system) or #rrggbb. False when not a colour;
// "system" and "none" give false too (the default colour applies).
bool ParseDxlColor(std::string_view text, Rgb &color);

}  // namespace standin::cd

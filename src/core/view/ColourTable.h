#pragma once

// The graph window's colour table. Values are Windows colour integers
// (0x00BBGGRR); 0..15 index the classic 16-colour palette.

#include <array>
#include <cstdint>
#include <string_view>

namespace vk {

constexpr int ColourCount = 19;

enum ColourRow : int {
    ColBackground = 0,
    ColForeground = 1,
    ColCursorF4F5 = 2,
    ColBorderF1F2 = 3,
    ColJumpDistance = 4,
    ColDashedLines = 5,
    ColCrossCursor = 6,
    ColActiveCurve = 7,
    ColInactiveCurves = 8,
    ColTextBarBackground = 9,
    ColTextBarForeground = 10,
    ColMarkedSection = 11,
    ColDawnMarker = 12,
    ColDuskMarker = 13,
    ColPcx = 14,
    ColLinearRegression = 15,
    ColTags = 16,
    ColShCursors = 17,
    ColEllipse = 18,
};

// The row's name as the setup file writes it after the value.
std::string_view ColourName(int row);

struct ColourTable {
    std::array<int32_t, ColourCount> values{7,  0,     16711680, 16711935, 10, 4,  16776960, 0,     8421504, 8,
                                            15, 65535, 255,      16711680, 0,  15, 15,       32768, 8388736};
    bool operator==(const ColourTable&) const = default;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Decodes a colour integer: 0..15 through the palette, otherwise 0x00BBGGRR.
Rgb DecodeColour(int32_t value);
// The colour integer of red, green and blue (0x00BBGGRR).
inline int32_t EncodeColour(Rgb c)
{
    return static_cast<int32_t>(c.r | (c.g << 8) | (c.b << 16));
}

}  // namespace vk

#include "core/view/ColourTable.h"

namespace vk {

std::string_view ColourName(int row)
{
    // A table laid out by hand.
    // clang-format off
    static constexpr std::array<std::string_view, ColourCount> names{
        "Background",        "Foreground",         "F4/F5 cursor",        "Window border F1/F2",
        "Jump-distance line", "Dashed horiz. lines", "Cross cursor",        "Active curve",
        "Inactive curves",   "Background text bar", "Foreground text bar", "Marked curve section",
        "Dawn marker",       "Dusk Marker",         "PCX-colors",          "Linear Regr.",
        "Tags",              "ShF8F9Cur",           "Ellipse"};
    // clang-format on
    return row >= 0 && row < ColourCount ? names[static_cast<std::size_t>(row)] : std::string_view{};
}

Rgb DecodeColour(int32_t value)
{
    // A table laid out by hand.
    // clang-format off
    static constexpr std::array<Rgb, 16> palette{{
        {0, 0, 0},       {0, 0, 128},     {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128},   {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},     {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255},   {255, 255, 0}, {255, 255, 255},
    }};
    // clang-format on
    if (value >= 0 && value < 16)
        return palette[static_cast<std::size_t>(value)];
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
            static_cast<uint8_t>((v >> 16) & 0xFF)};
}

}  // namespace vk

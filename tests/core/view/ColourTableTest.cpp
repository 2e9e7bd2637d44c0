#include <gtest/gtest.h>

#include "core/view/ColourTable.h"

namespace vk {

TEST(ColourTable, DecodesPaletteIndexesAndWindowsColours)
{
    EXPECT_EQ(DecodeColour(7), (Rgb{192, 192, 192}));  // default background: light grey
    EXPECT_EQ(DecodeColour(4), (Rgb{128, 0, 0}));      // grid lines: dark red
    EXPECT_EQ(DecodeColour(15), (Rgb{255, 255, 255}));
    EXPECT_EQ(DecodeColour(16711680), (Rgb{0, 0, 255}));  // 0x00BBGGRR: blue
    EXPECT_EQ(DecodeColour(255), (Rgb{255, 0, 0}));
    EXPECT_EQ(DecodeColour(32768), (Rgb{0, 128, 0}));
    EXPECT_EQ(DecodeColour(16776960), (Rgb{0, 255, 255}));

    const ColourTable defaults;
    EXPECT_EQ(defaults.values[ColShCursors], 32768);
    EXPECT_EQ(ColourName(ColDuskMarker), "Dusk Marker");
    EXPECT_EQ(ColourName(ColEllipse), "Ellipse");
    EXPECT_EQ(ColourName(19), "");
}

}  // namespace vk

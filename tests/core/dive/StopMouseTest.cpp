#include <gtest/gtest.h>

#include "core/dive/DiveStops.h"
#include "core/dive/StopMouse.h"
#include "support/DiveFixture.h"

namespace vk {

// The mouse in a 600 x 300 strip showing 0 .. 60 s: 100 ms a pixel, stops
// taken between rows 60 and 100.
TEST(DiveStops, TheMouseTakesEdgesAndWholeStops)
{
    StopTable t = test::DescentStops({{10000, 20000}, {30000, 30300}});
    auto press = [&](int x, int y, int lineDistance) {
        return PressOnStops(t, 0, 60000, 600, 300, x, y, lineDistance);
    };
    StopGrab g = press(103, 80, 50);
    EXPECT_EQ(g.part, StopGrab::Onset);
    EXPECT_EQ(g.stop, 0);
    EXPECT_EQ(press(198, 80, 50).part, StopGrab::End);
    EXPECT_EQ(press(103, 20, 50).part, StopGrab::None);  // above the band
    EXPECT_EQ(press(103, 80, 2).part, StopGrab::None);   // a line is nearer
    EXPECT_EQ(press(125, 80, 50).part, StopGrab::None);  // farther than a thirtieth of the width
    g = press(301, 80, 50);                              // 1 + 2 pixels from its two ends
    EXPECT_EQ(g.part, StopGrab::Whole);
    EXPECT_EQ(g.stop, 1);

    ReleaseOnStops(t, g, 0);  // a whole stop is divided
    ASSERT_EQ(t.count[0], 3);
    EXPECT_DOUBLE_EQ(t.stop[0][1].end, 30075);
    EXPECT_DOUBLE_EQ(t.stop[0][2].onset, 30225);
    ReleaseOnStops(t, {StopGrab::End, 0, 0}, 30100);  // dragged into the next: they merge
    ASSERT_EQ(t.count[0], 2);
    EXPECT_DOUBLE_EQ(t.stop[0][0].end, 30075);
    ReleaseOnStops(t, {StopGrab::Onset, 0, 1}, 40000);  // past its end: it goes
    EXPECT_EQ(t.count[0], 1);
}

}  // namespace vk

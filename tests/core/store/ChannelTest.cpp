#include <gtest/gtest.h>

#include "core/store/Channel.h"
#include "support/GraphFixture.h"
#include "support/TempDir.h"

namespace vk {

// A channel that starts 3 samples after the recording: positions on the
// recording's grid, the stored samples from position 3 on.
TEST(Channel, PositionsStoredPlacesAndTimesOfALateChannel)
{
    Recording rec;
    test::AllocateAll(rec, 1);
    test::Fill(rec, 1, 10, 1000, 0, 100, [](int32_t i) { return i * 10.0; });
    Channel late(rec, 1);
    late.setExtent(3, 10);
    EXPECT_EQ(late.firstStored(), 3);
    EXPECT_EQ(late.last(), 12);
    EXPECT_EQ(late.count(), 13);
    EXPECT_EQ(late.storedCount(), 10);
    EXPECT_EQ(late.stored(3), 0);
    EXPECT_EQ(late.position(9), 12);
    EXPECT_FALSE(late.stores(2));
    EXPECT_TRUE(late.stores(3));
    EXPECT_TRUE(late.stores(12));
    EXPECT_FALSE(late.stores(13));
    EXPECT_EQ(late.timeOf(4), 4000.0);
    EXPECT_EQ(late.span(), 12000.0);
    EXPECT_EQ(late.firstAtOrAfter(4001), 5);
    EXPECT_EQ(late.lastAtOrBefore(4999), 4);
    // Before the first stored sample the channel reads raw 0; from it, the stored samples.
    EXPECT_EQ(late.raw(2), 0);
    EXPECT_EQ(late.raw(3), ReadRaw(rec, 3, 1));
    EXPECT_NEAR(late.value(4).value, 10.0, 0.01);
    // The calibration turns a raw word into the value every reader sees, the
    // baseline shift included.
    rec.desc(1).yOffset = 2.5;
    const Calibration calibration = late.calibration();
    EXPECT_TRUE(calibration.linear());
    for (const int32_t p : {3, 7, 12})
        EXPECT_DOUBLE_EQ(calibration.value(late.raw(p)), late.value(p).value);

    // Expanded by 4: the same samples at a quarter of the interval.
    late.spreadPositions(4);
    late.setInterval(late.interval() / 4);
    EXPECT_EQ(late.firstStored(), 12);
    EXPECT_EQ(late.last(), 48);
    EXPECT_EQ(late.timeOf(late.firstStored()), 3000.0);

    late.setExtent(late.firstStored(), 0);  // no sample left
    EXPECT_EQ(late.storedCount(), 0);
    EXPECT_FALSE(late.stores(late.firstStored()));
}

TEST(Channel, DrawingDirectionFollowsTheStyleSign)
{
    Recording rec;
    Channel depth(rec, 0);
    rec.desc(0).GrRepr = 3;
    EXPECT_EQ(depth.direction(), DrawDirection::Upwards);
    depth.setDirection(DrawDirection::Downwards);
    EXPECT_EQ(rec.desc(0).GrRepr, -3);  // the shape kept, the direction turned
    depth.setDirection(DrawDirection::Downwards);
    EXPECT_EQ(rec.desc(0).GrRepr, -3);
    depth.setDirection(DrawDirection::Upwards);
    EXPECT_EQ(rec.desc(0).GrRepr, 3);
    EXPECT_THROW(ChannelView(rec, 3), std::out_of_range);
}

}  // namespace vk

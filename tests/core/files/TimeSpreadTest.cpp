#include <gtest/gtest.h>

#include "core/files/TimeSpread.h"
#include "core/store/Channel.h"
#include "support/TempDir.h"

namespace vk {

// Ten lines loaded as raw 100 .. 109 (line 6 left empty in the file), then
// placed by their times: two samples missing before line 3, one before line 8.
TEST(TimeSpread, LinesMoveToTheirTimesAndGapsAreMissing)
{
    Recording rec;
    test::AllocateAll(rec, 1);
    Channel channel(rec, 0);
    channel.setExtent(0, 10);
    for (int32_t i = 0; i < 10; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(100 + i), 0);
    channel.gaps().add(6, 7);

    ASSERT_TRUE(SpreadToTimes(rec, 0, {{3, 2}, {10, 1}}, 7));
    EXPECT_EQ(channel.last(), 12);
    const std::vector<uint16_t> expected{100, 101, 102, 7, 7, 103, 104, 105, 106, 107, 7, 108, 109};
    for (int32_t p = 0; p < 13; ++p)
        EXPECT_EQ(channel.raw(p), expected[static_cast<std::size_t>(p)]) << p;
    EXPECT_EQ(channel.gaps().ranges(), (std::vector<GapRange>{{3, 5}, {8, 9}, {10, 11}}));

    // A missing run across a gap is cut there and joins it.
    Recording joined;
    test::AllocateAll(joined, 1);
    Channel run(joined, 0);
    run.setExtent(0, 6);
    run.gaps().add(1, 4);  // lines 1..3 empty
    ASSERT_TRUE(SpreadToTimes(joined, 0, {{2, 2}}, 0));
    EXPECT_EQ(run.gaps().ranges(), (std::vector<GapRange>{{1, 6}}));
    EXPECT_EQ(run.last(), 7);

    // A grid that does not match the lines, or does not fit, changes nothing.
    EXPECT_FALSE(SpreadToTimes(joined, 0, {{9, 1}}, 0));
    EXPECT_FALSE(SpreadToTimes(joined, 0, {{2, joined.store.capacity(0)}}, 0));
    EXPECT_EQ(run.last(), 7);
    EXPECT_TRUE(SpreadToTimes(joined, 0, {}, 0));
}

}  // namespace vk

#include "core/process/BentMiddle.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vk {

namespace {

// The run over many words gives what the single word gives, whether the
// words lie close together (worked in narrow lanes) or spread, at either end
// of the range where the result is clamped, and at every count left over.
TEST(BentMiddleTest, ManyWordsAtOnceEqualOneAtATime)
{
    std::mt19937 random(11);
    struct Case {
        int lowest, span;
    };
    for (const Case c : {Case{0, 8192}, Case{65536 - 8192, 8192}, Case{30000, 200}, Case{20000, 8193}, Case{0, 65536},
                         Case{65535, 1}}) {
        SCOPED_TRACE(c.lowest);
        std::uniform_int_distribution<int> word(c.lowest, c.lowest + c.span - 1);
        for (const int64_t count : {int64_t{0}, int64_t{1}, int64_t{7}, int64_t{513}, int64_t{5000}}) {
            std::vector<uint16_t> y(static_cast<std::size_t>(count + 3));
            for (uint16_t& w : y)
                w = static_cast<uint16_t>(word(random));
            // Sharp steps between the extremes, where the bend is largest.
            for (std::size_t k = 0; k + 4 < y.size(); k += 37)
                y[k + 1] = static_cast<uint16_t>(k % 2 == 0 ? c.lowest : c.lowest + c.span - 1);
            std::vector<uint16_t> out(static_cast<std::size_t>(2 * count));
            BentPairs(y.data(), count, out.data());
            for (int64_t k = 0; k < count; ++k) {
                const auto i = static_cast<std::size_t>(k);
                ASSERT_EQ(out[2 * i], BentMiddle(y[i], y[i + 1], y[i + 2], y[i + 3])) << count << " at " << k;
                ASSERT_EQ(out[2 * i + 1], y[i + 2]) << count << " at " << k;
            }
        }
    }
    // A straight line: the exact midpoints; half a step of one rounds to the even 0, of three to 2.
    EXPECT_EQ(BentMiddle(100, 104, 108, 112), 106);
    EXPECT_EQ(BentMiddle(100, 101, 102, 103), 101);
    EXPECT_EQ(BentMiddle(100, 103, 106, 109), 105);
}

}  // namespace

}  // namespace vk

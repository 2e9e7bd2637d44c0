#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/files/KeptValues.h"
#include "core/store/NumberText.h"

namespace vk {

namespace {

// The same double, NaN equal to NaN.
bool Same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// The values come back in order and exactly as the parser gives them:
// decimals rising and falling within a chunk, signs, missing values first,
// jumps of every size, more than a chunk of values; a number that is not a
// plain decimal (or whose digits a double cannot hold over the decimals
// before it) comes back as its float, and from there on the values are no
// longer exact.
TEST(KeptValues, GiveBackTheNumbersRead)
{
    std::mt19937_64 random(5);
    for (int round = 0; round < 6; ++round) {
        textload::KeptValues kept;
        std::vector<double> expected;
        const int n = round < 3 ? 50000 : 3000;
        const int notPlainAt = round % 3 == 1 ? n / 2 : -1;
        const int beyondAt = round % 3 == 2 ? n / 3 : -1;
        bool exact = true;
        for (int i = 0; i < n; ++i) {
            if (i < 3 || random() % 50 == 0) {
                kept.addMissing();
                expected.push_back(NAN);
                continue;
            }
            int decimals = static_cast<int>(random() % 4);
            int64_t digits = static_cast<int64_t>(random() % (random() % 8 == 0 ? 1000000000 : 2000)) - 1000;
            if (i == beyondAt) {  // over the decimals before it, more than 2^53
                digits = int64_t{9007199254740} * 7;
                decimals = 0;
            }
            const double value = static_cast<double>(digits) / detail::PowersOfTen[decimals];
            if (i == notPlainAt || i == beyondAt || !exact) {
                exact = false;
                kept.add(value, i == notPlainAt ? -1 : decimals, digits);
                expected.push_back(static_cast<float>(value));
            } else {
                kept.add(value, decimals, digits);
                expected.push_back(value);
            }
        }
        kept.finish();
        ASSERT_EQ(kept.size(), expected.size());
        EXPECT_EQ(kept.exact(), exact) << round;
        std::size_t k = 0;
        kept.forEach([&](double v) {
            ASSERT_TRUE(Same(v, expected[k])) << round << " value " << k << ": " << v << " for " << expected[k];
            ++k;
        });
        EXPECT_EQ(k, expected.size());
        k = 0;
        kept.drain([&](const double* values, uint32_t count) {
            for (uint32_t j = 0; j < count; ++j, ++k)
                ASSERT_TRUE(Same(values[j], expected[k])) << round << " drained " << k;
        });
        EXPECT_EQ(k, expected.size());
        EXPECT_EQ(kept.size(), 0u);
    }
}

}  // namespace vk

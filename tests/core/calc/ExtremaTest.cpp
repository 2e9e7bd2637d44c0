#include <gtest/gtest.h>

#include "core/calc/Extrema.h"

namespace vk {

namespace {

ValueAt Of(const std::vector<double>& v)
{
    return [&v](int32_t i) { return v[static_cast<std::size_t>(i)]; };
}

}  // namespace

TEST(Extrema, AlternateWithHysteresis)
{
    //                           0  1  2  3  4  5  6  7  8  9 10 11 12
    const std::vector<double> v{0, 1, 3, 2.5, 3, 1, 0, 0.5, 2, 4, 1, 0, 0};
    const std::vector<Extremum> e = FindExtrema(Of(v), 0, 12, 1.0, 1000);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].type, 1);  // the dip to 2.5 is smaller than the hysteresis
    EXPECT_EQ(e[0].index, 2);
    EXPECT_EQ(e[1].type, -1);
    EXPECT_EQ(e[1].index, 6);
    EXPECT_EQ(e[2].type, 1);
    EXPECT_EQ(e[2].index, 9);
    EXPECT_DOUBLE_EQ(e[1].peakToPeak, -3);
    EXPECT_DOUBLE_EQ(e[2].peakToPeak, 4);
    EXPECT_DOUBLE_EQ(e[0].peakToPeak, 0);
}

TEST(Extrema, PlateauIntegralAndFrequency)
{
    //                           0  1  2  3  4  5  6  7  8  9 10 11
    const std::vector<double> v{5, 2, 0, 3, 6, 6, 6, 6, 6, 2, 0, 4};
    const std::vector<Extremum> e = FindExtrema(Of(v), 0, 11, 2.0, 500);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].type, -1);
    EXPECT_EQ(e[0].index, 2);
    EXPECT_EQ(e[1].index, 6);  // a plateau of five from 4: its middle
    EXPECT_EQ(e[2].index, 10);
    // The maximum between two minima: 1 / (8 samples x 0.5 s), and the sum over 2..10 x 0.5 s.
    EXPECT_DOUBLE_EQ(e[1].frequency, 0.25);
    EXPECT_DOUBLE_EQ(e[1].integral, (0 + 3 + 6 * 5 + 2 + 0) * 0.5);
    EXPECT_DOUBLE_EQ(e[0].frequency, 0);
}

TEST(Extrema, EndsWithoutTheTurnAndFlatStretches)
{
    const std::vector<double> rising{0, 1, 2, 3, 4, 5};
    EXPECT_TRUE(FindExtrema(Of(rising), 0, 5, 1.0, 1000).empty());  // never falls back
    const std::vector<double> flat(10, 3.0);
    EXPECT_TRUE(FindExtrema(Of(flat), 0, 9, 0.0, 1000).empty());
    // A hysteresis of 0 tags every change.
    const std::vector<double> steps{0, 1, 0, 1, 0};
    EXPECT_EQ(FindExtrema(Of(steps), 0, 4, 0.0, 1000).size(), 3u);
}

}  // namespace vk

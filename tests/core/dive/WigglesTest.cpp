#include <gtest/gtest.h>

#include "core/dive/DiveSearch.h"
#include "core/dive/Wiggles.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;
using test::Line;

namespace {

// A bottom at 50 m going 2 m deeper and back, every 8 samples, `cycles` times.
std::vector<double> Zigzag(int cycles)
{
    std::vector<double> v{50};
    for (int c = 0; c < cycles; ++c) {
        Line(v, 52, 4);
        Line(v, 50, 4);
    }
    return v;
}

}  // namespace

TEST(Wiggles, SimeoneFindsEachSteadyRunToADeeperTurn)
{
    DiveBench b(Zigzag(5));
    const ChannelSeries depth(b.rec, 0);
    SimeoneWiggles(depth, 0, 40, b.p, b.state.wiggles, b.state.record.wiggles, b.ui);
    const auto& w = b.state.wiggles;
    ASSERT_EQ(w.size(), 5u);
    for (std::size_t k = 0; k < w.size(); ++k) {
        EXPECT_EQ(w[k].index, static_cast<int32_t>(8 * k));
        EXPECT_NEAR(w[k].amplitude, 2, 0.01);
        EXPECT_DOUBLE_EQ(w[k].duration, 8);
    }
    EXPECT_EQ(w[0].type, 1);   // the first runs to the maximum that follows it
    EXPECT_EQ(w[1].type, -1);  // later ones start at a minimum
    const WiggleSummary& s = b.state.record.wiggles;
    EXPECT_EQ(s.count, 5);
    EXPECT_NEAR(s.totalAmplitude, 10, 0.05);
    EXPECT_NEAR(s.meanAmplitude, 2, 0.01);
    EXPECT_DOUBLE_EQ(s.totalDuration, 40);
    EXPECT_DOUBLE_EQ(s.meanDuration, 8);
}

TEST(Wiggles, LimitsAndEmptyBottoms)
{
    DiveBench b(Zigzag(150));
    const ChannelSeries depth(b.rec, 0);
    SimeoneWiggles(depth, 0, 1200, b.p, b.state.wiggles, b.state.record.wiggles, b.ui);
    EXPECT_EQ(b.state.wiggles.size(), static_cast<std::size_t>(MaxWiggles));

    // A monotone bottom: no extremum, no wiggle, the summary keeps its markers.
    std::vector<double> v{50};
    Line(v, 60, 40);
    DiveBench m(v);
    SimeoneWiggles(ChannelSeries(m.rec, 0), 0, 40, m.p, m.state.wiggles, m.state.record.wiggles, m.ui);
    EXPECT_TRUE(m.state.wiggles.empty());
    EXPECT_EQ(m.state.record.wiggles.count, 0);
    EXPECT_EQ(m.state.record.wiggles.meanAmplitude, Missing);
    EXPECT_EQ(m.state.record.wiggles.totalDuration, Missing);

    // Fewer than one sample in "over n sec".
    DiveBench slow(Zigzag(5), 5000);
    slow.state.wiggles.push_back({});
    SimeoneWiggles(ChannelSeries(slow.rec, 0), 0, 40, slow.p, slow.state.wiggles, slow.state.record.wiggles, slow.ui);
    EXPECT_TRUE(slow.state.wiggles.empty());
    EXPECT_EQ(slow.ui.texts(), std::vector<std::string>{" Wiggles: \".. over n sec\" too small. "});

    // No method: the table is emptied.
    b.p.WiggMethod = WiggleMethod::None;
    FindWiggles(b.cx, b.p);
    EXPECT_TRUE(b.state.wiggles.empty());
    EXPECT_EQ(b.state.record.wiggles.count, 0);
}

TEST(Wiggles, BostKeepsExtremaCloseInTime)
{
    DiveBench b(Zigzag(5));
    const ChannelSeries depth(b.rec, 0);
    b.p.WiggDuration = 5;  // extrema 4 samples apart are close enough
    BostWiggles(depth, 0, 40, b.p, b.state.wiggles, b.state.record.wiggles);
    ASSERT_EQ(b.state.wiggles.size(), 9u);
    EXPECT_EQ(b.state.wiggles[0].index, 4);
    EXPECT_NEAR(b.state.wiggles[1].amplitude, 2, 0.01);
    EXPECT_EQ(b.state.record.wiggles.count, 9);

    b.p.WiggDuration = 3;  // too far apart
    BostWiggles(depth, 0, 40, b.p, b.state.wiggles, b.state.record.wiggles);
    EXPECT_TRUE(b.state.wiggles.empty());
}

// With the wiggle-defined bottom the search finds the wiggles of the whole
// dive; "Analyse" finds them again for the cursors as the user left them.
TEST(Wiggles, AnalyseSearchesThemAgainForTheCursorsAsTheyStand)
{
    std::vector<double> v(10, 0.0);
    Line(v, 50, 20);
    for (double d : Zigzag(8))
        v.push_back(d);
    Line(v, 0, 20);
    v.resize(v.size() + 20, 0.0);
    DiveBench b(v);
    b.p.Threshold = 5;
    b.p.BottomKind = BottomSearchKind::WiggleDefined;
    ASSERT_TRUE(SearchNext(b.cx, b.p).accepted);
    const std::size_t searched = b.state.wiggles.size();
    ASSERT_GE(searched, 6u);
    // The end moved by hand to the middle of the bottom: half of them are left.
    b.view.at.F5 = b.t(30 + 32);
    ASSERT_TRUE(AnalyseFramedDive(b.cx, b.p));
    EXPECT_LT(b.state.wiggles.size(), searched);
    EXPECT_EQ(b.state.record.wiggles.count, static_cast<int32_t>(b.state.wiggles.size()));
    for (const WiggleEntry& w : b.state.wiggles)
        EXPECT_LE(w.index, 62);
}

}  // namespace vk

#include <gtest/gtest.h>

#include <cmath>

#include "core/dive/DiveEdges.h"
#include "support/DiveFixture.h"

namespace vk {

TEST(DiveEdges, SlopeWalkGivesTheSlopeEstimate)
{
    std::vector<double> v;
    for (int i = 0; i < 300; ++i)
        v.push_back(50 + 20 * std::sin(i * 0.37) + (i % 7));
    test::DiveBench b(v);
    const ChannelSeries depth(b.rec, 0);
    for (const int dir : {+1, -1})
        for (const int spacing : {1, 2, 3}) {
            SlopeWalk walk(depth, dir, spacing, 5);
            for (const int32_t i : {40, 41, 42, 43, 44, 60, 61, 62, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100}) {
                SCOPED_TRACE(testing::Message() << dir << " " << spacing << " " << i);
                EXPECT_NEAR(walk.at(i), SlopeEstimate(depth, i, dir, spacing, 5), 1e-9);
            }
        }
}

TEST(DiveEdges, SurfaceBand)
{
    EXPECT_DOUBLE_EQ(SurfaceBand(100, 1.5), 3.0);
    EXPECT_DOUBLE_EQ(SurfaceBand(1, 1.0), 0.2);  // never narrower than 0.2 m at a quality of 1
    EXPECT_DOUBLE_EQ(SurfaceBand(0, 1.0), 0.2);
}

TEST(DiveEdges, EndTestUnderEachCriterion)
{
    // 10: 5 m and rising towards the surface after it; 30: 15 m, level after it;
    // 50: 0.02 m, rising after it; 70: 8 m with a drop of 6 m to the next sample.
    std::vector<double> v(100, 15.0);
    for (int k = 0; k < 20; ++k)
        v[static_cast<std::size_t>(10 + k)] = 5 - 0.2 * k;
    for (int k = 0; k < 20; ++k)
        v[static_cast<std::size_t>(50 + k)] = 0.02 - 0.01 * k;
    v[70] = 8;
    v[71] = 2;
    test::DiveBench b(v);
    const ChannelSeries depth(b.rec, 0);
    DiveParameters p;
    p.Threshold = 20;
    double noise = 0.05;
    EdgeSearch e{depth, p, noise, 100, 0, 30};
    struct Case {
        OnsetCriterion c;
        bool at10, at30, at50, at70;
    };
    for (const Case& k :
         {Case{OnsetCriterion::And, false, false, true, false}, Case{OnsetCriterion::Or, true, true, true, false},
          Case{OnsetCriterion::OnlyLevel, true, false, true, false},
          Case{OnsetCriterion::OnlySlope, false, true, true, false},
          Case{OnsetCriterion::OnlyLevelAbs, false, false, true, false}}) {
        SCOPED_TRACE(static_cast<int>(k.c));
        p.Criterion = k.c;
        p.Level = k.c == OnsetCriterion::OnlyLevelAbs ? 1.0 : 0.9;  // 10 m below the maximum, or 1 m absolute
        EXPECT_EQ(e.EndTest(10, +1), k.at10);
        EXPECT_EQ(e.EndTest(30, +1), k.at30);
        EXPECT_EQ(e.EndTest(50, +1), k.at50);  // below the surface noise level
        EXPECT_EQ(e.EndTest(70, +1), k.at70);  // still a steep change
    }
    // Deeper than the surface band: never.
    e.band = 4;
    p.Criterion = OnsetCriterion::Or;
    EXPECT_FALSE(e.EndTest(10, +1));
}

}  // namespace vk

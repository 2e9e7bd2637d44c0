// The public fur-seal record (5 s, depth in whole metres, a surface that reads
// 1 to 3 m) searched from start to end as a researcher would first try it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/store/ChannelSeries.h"
#include "support/FurSealRecord.h"

namespace vk {

using test::FoundDive;

TEST(FurSealDives, SearchLoopOverTheWholeRecord)
{
    Recording rec;
    ScriptedDialogs ui;
    ASSERT_TRUE(test::LoadFurSeal(rec, ui));

    // The seal ashore: about 9,600 lines without depth, kept as missing values.
    const GapList& missing = rec.at(0).missing;
    EXPECT_EQ(missing.ranges().size(), 82u);
    EXPECT_EQ(missing.missing(), 9608);

    const DiveParameters p = test::FurSealParameters();
    int deep = 0;
    const std::vector<FoundDive> dives =
        test::SearchAllDives(rec, ui, [&](const ViewState& view, const DiveState& state) {
            const DiveRecord& r = state.record;
            EXPECT_LT(view.at.F4, view.at.F5);
            EXPECT_LE(view.at.F4, view.at.B1);
            EXPECT_LE(view.at.B2, view.at.F5);
            EXPECT_GT(r.duration, p.MinDiveDuration * 1000.0);
            // No dive across missing values, none of half an hour at the surface.
            EXPECT_FALSE(AnyMissing(rec, 0, static_cast<int64_t>(view.at.F4 / 5000),
                                    static_cast<int64_t>(view.at.F5 / 5000) + 1))
                << view.at.F4;
            EXPECT_LE(r.duration, 1800000) << view.at.F4;
            if (r.maxDepth > 2 * p.Threshold) {  // the real dives, not the ripples around the threshold
                ++deep;
                EXPECT_LE(r.duration, 600000);
                EXPECT_LE(r.maxDepth, 95);
            }
        });
    ASSERT_EQ(dives.size(), 423u);
    EXPECT_EQ(deep, 199);

    // Every excursion below 10 m in the file (8 m under a surface reading 2 m)
    // that stays below 4 m for three samples or more lies in a dive found. (A
    // single reading of 10 m between readings of 1 m is no dive.)
    const ChannelSeries depth(rec, 0);
    int excursions = 0;
    for (int32_t i = 0; i < depth.count();) {
        if (IsMissing(rec, 0, i) || depth(i) + rec.desc(0).yOffset <= 4) {
            ++i;
            continue;
        }
        int32_t deepest = i;
        const int32_t first = i;
        for (; i < depth.count() && !IsMissing(rec, 0, i) && depth(i) + rec.desc(0).yOffset > 4; ++i)
            if (depth(i) > depth(deepest))
                deepest = i;
        if (depth(deepest) + rec.desc(0).yOffset <= 10 || i - first < 3)
            continue;
        ++excursions;
        const double t = deepest * 5000.0;
        EXPECT_TRUE(std::any_of(dives.begin(), dives.end(), [t](const FoundDive& d) { return d.f4 <= t && t <= d.f5; }))
            << "excursion at " << t;
    }
    EXPECT_EQ(excursions, 171);

    auto expect = [&](std::size_t k, double f4, double f5, double maxDepth, int32_t shape) {
        SCOPED_TRACE(k);
        EXPECT_DOUBLE_EQ(dives[k].f4, f4);
        EXPECT_DOUBLE_EQ(dives[k].f5, f5);
        EXPECT_NEAR(dives[k].maxDepth, maxDepth, 0.01);
        EXPECT_EQ(dives[k].shape, shape);
    };
    expect(6, 35405000, 35585000, 68.61, ShapeU);
    expect(10, 36035000, 36205000, 57.77, ShapeU);
    // It begins right after a missing sample: framed from the first value after it.
    expect(348, 132045000, 132120000, 42.87, ShapeU);
    // The last one before the seal went ashore: it ends before the missing values.
    expect(422, 146495000, 146675000, 87.32, ShapeV);
}

}  // namespace vk

// The flat baseline on the fur-seal record, as a researcher would use it
// before the dive analysis: the surface flattens, the dives stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "core/process/FlatBaseline.h"
#include "support/FurSealRecord.h"

namespace vk {

namespace {

// The spread of the readings shallower than `below`.
double SurfaceSpread(const Recording& rec, double below)
{
    double sum = 0, squares = 0;
    int64_t n = 0;
    for (int32_t i = 0; i <= rec.desc(0).DataCnt; ++i) {
        if (IsMissing(rec, 0, i))
            continue;
        const double y = ReadValue(rec, i, 0).value;
        if (y < below) {
            sum += y;
            squares += y * y;
            ++n;
        }
    }
    const double mean = sum / static_cast<double>(n);
    return std::sqrt(squares / static_cast<double>(n) - mean * mean);
}

}  // namespace

TEST(FurSealFlatBaseline, SurfaceFlattensAndEveryDeepDiveStays)
{
    Recording rec;
    ScriptedDialogs ui;
    ASSERT_TRUE(test::LoadFurSeal(rec, ui));
    const ChannelDescriptor loaded = rec.desc(0);
    const std::vector<test::FoundDive> before = test::SearchAllDives(rec, ui);
    rec.desc(0) = loaded;  // the search moved the surface baseline
    const double spread = SurfaceSpread(rec, 4);
    std::vector<uint16_t> words;
    for (int32_t i = 0; i <= rec.desc(0).DataCnt; ++i)
        words.push_back(ReadRaw(rec, i, 0));

    // Whole record, medium waves, only below the 4 m threshold, steps under about 2 m.
    rec.time.LongestSpan = 5000.0 * rec.desc(0).DataCnt;
    ViewState view = InitialView(rec.time.LongestSpan);
    NoUndo none;
    ViewContext cx{rec, view, ui, none};
    FlatBaselineSettings s;
    s.FlatWaves = 1;
    s.FlatBelowThreshold = true;
    s.FlatStrength = 11;  // 1331 raw steps = 1.93 m
    ASSERT_NEAR(FlatJump(s.FlatStrength) * rec.desc(0).CoeffA, 2, 0.1);
    FlatBaseline(cx, 0, s, 4.0, rec.time.LongestSpan, 0);

    bool inside = true;
    const uint16_t level = PhysToRawOf(rec.desc(0), 4.0, inside);
    int changed = 0;
    for (int32_t i = 0; i <= rec.desc(0).DataCnt; ++i) {
        const uint16_t w = words[static_cast<std::size_t>(i)];
        if (w >= level || IsMissing(rec, 0, i)) {
            ASSERT_EQ(ReadRaw(rec, i, 0), w) << i;
        }
        ASSERT_EQ(ReadRaw(rec, i, 0) < level, w < level) << i;  // no reading crosses the threshold
        changed += ReadRaw(rec, i, 0) != w;
    }
    EXPECT_GT(changed, 1000);
    const double flatter = SurfaceSpread(rec, 4);
    EXPECT_LT(flatter, spread);

    // Every dive deeper than 8 m is found again with its depth: the surface
    // readings beside a descent or ascent are left as recorded. What moves is
    // the surface level itself where the record's whole metres hold dense
    // spikes of 3 to 4 m: smoothed, the surface lies at their mean, up to
    // 0.75 m above the 1 m most of its readings show.
    rec.desc(0).yOffset = loaded.yOffset;
    const std::vector<test::FoundDive> after = test::SearchAllDives(rec, ui);
    double onsetShift = 0, endShift = 0, depthChange = 0;
    int deep = 0, lost = 0, within = 0;
    for (const test::FoundDive& d : before) {
        if (d.maxDepth <= 8)
            continue;
        ++deep;
        const auto again = std::find_if(after.begin(), after.end(),
                                        [&](const test::FoundDive& e) { return e.f4 < d.f5 && d.f4 < e.f5; });
        if (again == after.end()) {
            ADD_FAILURE() << "dive at " << d.f4 << " of " << d.maxDepth << " m lost";
            ++lost;
            continue;
        }
        EXPECT_NEAR(again->maxDepth, d.maxDepth, 0.8) << d.f4;
        within += std::fabs(again->maxDepth - d.maxDepth) <= 0.5;
        depthChange += std::fabs(again->maxDepth - d.maxDepth);
        onsetShift = std::max(onsetShift, std::fabs(again->f4 - d.f4));
        endShift = std::max(endShift, std::fabs(again->f5 - d.f5));
    }
    EXPECT_EQ(deep, 199);
    EXPECT_EQ(lost, 0);
    EXPECT_GE(within, deep - 2);
    EXPECT_LT(depthChange / deep, 0.05);
    EXPECT_LE(onsetShift, 15000);
    std::cout << deep << " dives deeper than 8 m, " << lost << " lost; depth changed by " << depthChange / (deep - lost)
              << " m on average; surface spread " << spread << " m -> " << flatter << " m; onsets moved up to "
              << onsetShift / 1000 << " s, ends up to " << endShift / 1000 << " s\n";
}

}  // namespace vk

// The look at the depth channel after loading: the fur-seal record as a new
// user loads it (defaults otherwise), and made-up records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "core/dive/SurfaceCheck.h"
#include "core/store/ChannelSeries.h"
#include "support/FurSealRecord.h"
#include "support/TempDir.h"

namespace vk {

TEST(SurfaceCheck, FurSealRecordWithTheDefaults)
{
    Recording rec;
    ScriptedDialogs ui;
    ASSERT_TRUE(test::LoadFurSeal(rec, ui));
    // The record's surface: the commonest reading of 5 m and shallower.
    std::map<double, int> counts;
    const ChannelSeries depth(rec, 0);
    for (int32_t i = 0; i < depth.count(); ++i)
        if (const PhysValue v = depth.read(i); v.status == 0 && v.value <= 5)
            ++counts[v.value];
    const auto mode = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const SurfaceEstimate s = EstimateSurface(rec, 0);
    ASSERT_TRUE(s.known);
    EXPECT_NEAR(s.level, mode->first, 0.3);
    EXPECT_GT(s.deepest, 60);

    const DiveParameters defaults;  // threshold 65 m, no surface baseline
    const std::string note = SurfaceNote(s, defaults);
    char level[32];
    std::snprintf(level, sizeof level, "%.1f m", s.level);
    EXPECT_EQ(note.rfind(std::string("The surface reads ") + level + ": turn on the surface baseline", 0), 0u) << note;
    EXPECT_NE(note.find("The threshold of 65.0 m is deeper than 99 % of the record"), std::string::npos) << note;
    // As the fur-seal runs set it up: nothing to say.
    EXPECT_EQ(SurfaceNote(s, test::FurSealParameters()), "");
}

TEST(SurfaceCheck, TheSuggestionMakesTheFirstRunRight)
{
    // The fur-seal record as a new user loads it, the parameters as they come.
    Recording rec;
    ScriptedDialogs ui;
    ASSERT_TRUE(test::LoadFurSeal(rec, ui));
    const SurfaceEstimate s = EstimateSurface(rec, 0);
    const ParameterSuggestion suggested = SuggestParameters(rec, s, DiveParameters{}, 2);
    EXPECT_TRUE(suggested.trekBaseline);
    EXPECT_TRUE(suggested.threshold);
    EXPECT_TRUE(suggested.wiggDuration);
    EXPECT_EQ(suggested.params.WiggDuration, 10);  // two samples of 5 s
    EXPECT_FALSE(suggested.waterTemp);             // no temperature channel loaded
    EXPECT_FALSE(suggested.speed);
    // Four times the scatter would give 2 m; the ripple peaks crowd the metres past it.
    EXPECT_DOUBLE_EQ(suggested.params.Threshold, 4.0);
    EXPECT_TRUE(suggested.lenRest);
    EXPECT_EQ(suggested.params.LenRest, 2);  // 2 x 2 samples of 5 s: the end looks 20 s ahead
    EXPECT_EQ(SuggestionText(suggested),
              "threshold 4 m, surface baseline on, end of dive over 2 samples, wiggles over 10 s");

    // The whole record with the suggestion: no dive of over half an hour, and
    // every dive deeper than 8 m that the run with the surface baseline finds.
    const std::vector<test::FoundDive> found = test::SearchAllDives(rec, ui, suggested.params);
    ASSERT_FALSE(found.empty());
    for (const test::FoundDive& d : found)
        EXPECT_LE(d.f5 - d.f4, 1800000) << d.f4;
    Recording again;
    ASSERT_TRUE(test::LoadFurSeal(again, ui));
    int deep = 0;
    for (const test::FoundDive& r : test::SearchAllDives(again, ui)) {
        if (r.maxDepth <= 8)
            continue;
        ++deep;
        const bool alsoFound = std::any_of(found.begin(), found.end(), [&](const test::FoundDive& d) {
            return d.f4 < r.f5 && r.f4 < d.f5;  // the two overlap
        });
        EXPECT_TRUE(alsoFound) << "dive at " << r.f4 / 1000 << " s, " << r.maxDepth << " m";
    }
    EXPECT_GT(deep, 150);
    // What a suggestion leaves alone stays as it was.
    DiveParameters mine;
    mine.Threshold = suggested.params.Threshold;
    mine.TrekBaseline = 1;
    mine.LenRest = 2;
    mine.WiggDuration = 20;
    EXPECT_FALSE(SuggestParameters(rec, s, mine, 2).any());
}

TEST(SurfaceCheck, MadeUpRecords)
{
    Recording rec;
    test::AllocateAll(rec, 4);
    ChannelDescriptor& d = rec.desc(0);
    d.SampRate = 1000;
    d.CoeffA = 0.01;
    // Two thirds at a surface of 0.00 .. 0.04 m, a third in dives to 30 m.
    constexpr int32_t n = 30000;
    d.DataCnt = n - 1;
    for (int32_t i = 0; i < n; ++i) {
        const double z = i % 3 == 0 ? 30.0 * std::sin((i % 300) / 300.0 * M_PI) : 0.01 * (i % 5);
        WriteRaw(rec, i, static_cast<uint16_t>(std::lround(z / 0.01)), 0);
    }
    const SurfaceEstimate s = EstimateSurface(rec, 0);
    EXPECT_NEAR(s.level, 0.02, 0.03);
    EXPECT_LT(s.noise, 0.1);
    DiveParameters p;
    p.Threshold = 5;
    EXPECT_EQ(SurfaceNote(s, p), "");
    p.Threshold = 0.03;  // in the surface's own noise
    EXPECT_NE(SurfaceNote(s, p).find("lies within the surface noise"), std::string::npos);
    // A channel without values: nothing known, nothing said.
    rec.at(0).missing.add(0, n);
    EXPECT_FALSE(EstimateSurface(rec, 0).known);
}

}  // namespace vk

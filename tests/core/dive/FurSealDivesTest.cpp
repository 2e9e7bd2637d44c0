// The public fur-seal record (5 s, depth in whole metres, a surface that reads
// 1 to 3 m) searched from start to end as a researcher would first try it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/setup/Start.h"
#include "core/store/ChannelSeries.h"
#include "core/store/TimeBase.h"
#include "support/FurSealRecord.h"
#include "support/TempDir.h"

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
    ASSERT_EQ(dives.size(), 421u);
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
    expect(4, 35405000, 35585000, 68.61, ShapeU);
    expect(8, 36035000, 36205000, 57.77, ShapeU);
    // It begins right after a missing sample: framed from the first value after it.
    expect(346, 132045000, 132120000, 42.87, ShapeU);
    // The last one before the seal went ashore: it ends before the missing values.
    expect(420, 146495000, 146675000, 87.32, ShapeV);
}

}  // namespace vk

namespace vk {

namespace {

// The fur-seal record as a new user sets it up now: its dates and times read
// from the file, nothing typed.
std::vector<FoundDive> DivesOfTimedCopy(const std::string& path, double& start, ScriptedDialogs& ui)
{
    Workbench wb;
    test::AllocateAll(wb.rec, 4);
    ChannelDescriptor& d = wb.rec.desc(0);
    d.NameIn = path;
    d.HeaderText = 1;
    d.InDelimiter = ';';
    d.ColumnValue = 3;
    d.DateColumn = 1;
    d.TimeColumn = 2;
    wb.rec.desc(1).NameIn = wb.rec.desc(2).NameIn = "";
    if (StartRecording(wb, ui) != StartResult::Loaded)
        return {};
    start = wb.rec.time.GlobalStart;
    return test::SearchAllDives(wb.rec, ui);
}

}  // namespace

// With an hour of lines cut out, the record keeps its clock: the hour is
// missing, no dive spans it, and every dive after it is found at the same
// clock time as in the whole record.
TEST(FurSealDives, AnHourOfLinesCutOutLeavesTheClockAlone)
{
    test::TempDir dir;
    std::vector<std::string> lines = test::Lines(VARNIK_TEST_DATA "/furseal-5s.csv");
    std::string whole, cut;
    constexpr std::size_t From = 1 + 20000, Hour = 720;  // 720 lines of 5 s
    for (std::size_t k = 0; k < lines.size(); ++k) {
        whole += lines[k] + "\n";
        if (k < From || k >= From + Hour)
            cut += lines[k] + "\n";
    }
    ScriptedDialogs ui;
    double wholeStart = 0, cutStart = 0;
    const std::vector<FoundDive> all = DivesOfTimedCopy(dir.write("whole.csv", whole), wholeStart, ui);
    const std::vector<FoundDive> some = DivesOfTimedCopy(dir.write("cut.csv", cut), cutStart, ui);
    EXPECT_EQ(wholeStart, EncodeTime(2002, 1, 5, 11, 32, 0));
    EXPECT_EQ(cutStart, wholeStart);
    ASSERT_GT(all.size(), 400u);

    const double cutFrom = (From - 1) * 5000.0, cutTo = cutFrom + Hour * 5000.0;
    std::size_t after = 0, matched = 0;
    for (const FoundDive& dive : some)
        EXPECT_TRUE(dive.f5 < cutFrom || dive.f4 >= cutTo) << dive.f4;
    for (const FoundDive& dive : all) {
        if (dive.f4 < cutTo + 600000.0)  // past the cut and the ten minutes the search needs to find its feet
            continue;
        ++after;
        matched += std::any_of(some.begin(), some.end(), [&](const FoundDive& d) {
            return d.f4 == dive.f4 && d.f5 == dive.f5 && d.maxDepth == dive.maxDepth;
        });
    }
    EXPECT_GT(after, 50u);
    EXPECT_EQ(matched, after);
}

}  // namespace vk

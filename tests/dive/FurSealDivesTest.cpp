// The public fur-seal record (5 s, depth in whole metres, a surface that reads
// 1 to 3 m) searched from start to end as a researcher would first try it.
#include <gtest/gtest.h>

#include "dive/DiveSearch.h"
#include "files/VkFLoad.h"
#include "store/VkDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct Dive {
    double f4, f5, maxDepth;
    int32_t shape;
};

}  // namespace

TEST(FurSealDives, SearchLoopOverTheWholeRecord)
{
    Recording rec;
    test::AllocateAll(rec, 4);
    ScriptedDialogs ui;
    ChannelDescriptor& d = rec.desc(0);
    d.NameIn = VARNIK_TEST_DATA "/furseal-5s.csv";
    d.HeaderText = 1;
    d.InDelimiter = ';';
    d.SampRate = 5000;
    d.ColumnValue = 3;
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    ASSERT_TRUE(LoadTextChannel(rec, 0, SkipStrings{}, ui));

    ViewState view;
    DiveState state;
    NoUndo undo;
    DiveContext cx{rec, view, state, ui, undo, {}};
    DiveParameters p;
    p.Threshold = 4;
    p.TrekBaseline = 1;
    std::vector<Dive> dives;
    int deep = 0;
    while (true) {
        const SearchOutcome o = SearchNext(cx, p);
        if (!o.accepted)
            break;
        ASSERT_TRUE(AnalyseDive(rec, view.at, p, state, cx.setup, ui));
        const DiveRecord& r = state.record;
        dives.push_back({view.at.F4, view.at.F5, r.maxDepth, r.shape});
        EXPECT_LT(view.at.F4, view.at.F5);
        EXPECT_LE(view.at.F4, view.at.B1);
        EXPECT_LE(view.at.B2, view.at.F5);
        EXPECT_GT(r.duration, p.MinDiveDuration * 1000.0);
        if (r.maxDepth > 2 * p.Threshold) {  // the real dives, not the ripples around the threshold
            ++deep;
            EXPECT_LE(r.duration, 600000);
            EXPECT_LE(r.maxDepth, 95);
        }
        CountDive(state.record, view.at.F5);
    }
    ASSERT_EQ(dives.size(), 426u);
    EXPECT_EQ(deep, 199);
    auto expect = [&](std::size_t k, double f4, double f5, double maxDepth, int32_t shape) {
        SCOPED_TRACE(k);
        EXPECT_DOUBLE_EQ(dives[k].f4, f4);
        EXPECT_DOUBLE_EQ(dives[k].f5, f5);
        EXPECT_NEAR(dives[k].maxDepth, maxDepth, 0.01);
        EXPECT_EQ(dives[k].shape, shape);
    };
    expect(6, 35405000, 35585000, 68.61, ShapeU);
    expect(10, 36035000, 36205000, 57.77, ShapeU);
    expect(423, 146395000, 146750000, 90.37, ShapeV);
}

}  // namespace vk

#include <gtest/gtest.h>

#include "core/dive/DiveStops.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;
using test::Line;
using test::Stay;

namespace {

// Down 2 m/s with `stops` stays of 8 samples every 10 m, a bottom, straight up.
std::vector<double> Staircase(int stops, int32_t& f8, int32_t& f9)
{
    std::vector<double> v{0};
    for (int k = 1; k <= stops; ++k) {
        Line(v, 10.0 * k, 5);
        Stay(v, 8);
    }
    Line(v, 10.0 * (stops + 1), 5);
    f8 = static_cast<int32_t>(v.size()) - 1;
    Stay(v, 30);
    f9 = static_cast<int32_t>(v.size()) - 1;
    Line(v, 0, 30);
    Stay(v, 10);
    return v;
}

}  // namespace

TEST(DiveStops, StaysInTheDescentAtMostFour)
{
    int32_t f8 = 0, f9 = 0;
    DiveBench b(Staircase(5, f8, f9));
    b.frame(0, f8, f9, f9 + 30);
    FindDiveStops(ChannelSeries(b.rec, 0), b.view.at, b.p, b.state.stops);
    ASSERT_EQ(b.state.stops.count[PhaseDescent], 4);
    EXPECT_EQ(b.state.stops.count[PhaseAscent], 0);
    const DiveStop& first = b.state.stops.stop[0][0];
    EXPECT_DOUBLE_EQ(first.onset, 5000);  // where the stay begins
    EXPECT_DOUBLE_EQ(first.end, 12000);   // a sample before the movement resumes
    EXPECT_NEAR(first.depth, 10, 0.01);
    EXPECT_TRUE(first.enabled);
    EXPECT_DOUBLE_EQ(b.state.stops.stop[0][3].onset, 5000 + 3 * 13000);

    // Without a least duration or gradient distance nothing is searched.
    b.p.StopMinDuration = 0;
    FindDiveStops(ChannelSeries(b.rec, 0), b.view.at, b.p, b.state.stops);
    EXPECT_EQ(b.state.stops.total(), 0);
    b.p.StopMinDuration = 5;
    b.p.StopLength1 = 0;
    FindDiveStops(ChannelSeries(b.rec, 0), b.view.at, b.p, b.state.stops);
    EXPECT_EQ(b.state.stops.total(), 0);
    // Stays shorter than the least duration are no stops.
    b.p.StopLength1 = 1;
    b.p.StopMinDuration = 9;
    FindDiveStops(ChannelSeries(b.rec, 0), b.view.at, b.p, b.state.stops);
    EXPECT_EQ(b.state.stops.total(), 0);
}

TEST(DiveStops, ADiveWithoutBottomHasBothPhases)
{
    std::vector<double> v{0};
    Line(v, 20, 10);
    Stay(v, 10);
    Line(v, 40, 10);
    Line(v, 20, 10);  // 40 m at 30: no bottom
    Stay(v, 10);
    Line(v, 0, 10);
    DiveBench b(v);
    b.frame(0, 30, 30, 60);
    FindDiveStops(ChannelSeries(b.rec, 0), b.view.at, b.p, b.state.stops);
    EXPECT_EQ(b.state.stops.count[PhaseDescent], 1);
    EXPECT_EQ(b.state.stops.count[PhaseAscent], 1);
    EXPECT_DOUBLE_EQ(b.state.stops.stop[1][0].onset, 40000);
    EXPECT_NEAR(b.state.stops.stop[1][0].depth, 20, 0.01);
}

TEST(DiveStops, DivideRemoveAndTidy)
{
    StopTable t = test::DescentStops({{1000, 9000}, {20000, 30000}});
    ASSERT_TRUE(DivideStop(t, 0, 0));
    ASSERT_EQ(t.count[0], 3);
    EXPECT_DOUBLE_EQ(t.stop[0][0].end, 3000);  // middle 5000 less a quarter
    EXPECT_DOUBLE_EQ(t.stop[0][1].onset, 7000);
    EXPECT_DOUBLE_EQ(t.stop[0][1].end, 9000);
    EXPECT_DOUBLE_EQ(t.stop[0][2].onset, 20000);
    // The fourth of a phase is not divided, and a full phase loses no stop.
    StopTable full = test::DescentStops({{0, 1}, {2, 3}, {4, 5}, {6, 7}});
    EXPECT_FALSE(DivideStop(full, 0, 3));
    EXPECT_FALSE(DivideStop(full, 0, 0));
    EXPECT_EQ(full.count[0], 4);

    // An edge dragged across: the stop goes; an overlap: the earlier takes the later's end.
    StopTable m = test::DescentStops({{1000, 5000}, {4000, 8000}, {9000, 9000}, {12000, 15000}});
    TidyStops(m);
    ASSERT_EQ(m.count[0], 2);
    EXPECT_DOUBLE_EQ(m.stop[0][0].end, 8000);
    EXPECT_DOUBLE_EQ(m.stop[0][1].onset, 12000);
    RemoveStop(m, 0, 0);
    EXPECT_EQ(m.count[0], 1);
    EXPECT_DOUBLE_EQ(m.stop[0][0].onset, 12000);
}

TEST(DiveStops, DialogRowsWithTheirWarnings)
{
    StopTable t = test::DescentStops({{11000, 15000}, {20000, 25000}});
    t.stop[1][0] = {60000, 65000, 0, 0, true};
    t.count[1] = 1;
    LinePositions at;
    at.F4 = 10000;
    at.B1 = 30000;
    at.B2 = 50000;
    at.F5 = 80000;
    StopRows rows = RowsOf(t, at.F4);
    EXPECT_DOUBLE_EQ(rows[0][0].onset, 1000);
    EXPECT_TRUE(rows[0][1].checked);
    EXPECT_FALSE(rows[0][2].checked);

    rows[0][0].checked = false;         // removed; the second moves up
    rows[0][1].end = 25000;             // ends after F8
    rows[0][2] = {true, 12000, 16000};  // a new one overlapping the one before
    rows[1][0].onset = 35000;           // starts before F9
    const std::vector<std::string> warnings = ApplyStopRows(t, rows, at);
    ASSERT_EQ(t.count[0], 2);
    EXPECT_DOUBLE_EQ(t.stop[0][0].onset, 20000);
    EXPECT_DOUBLE_EQ(t.stop[0][0].end, 35000);
    EXPECT_DOUBLE_EQ(t.stop[0][1].onset, 22000);
    EXPECT_EQ(warnings, (std::vector<std::string>{" Warning. DiveStop 1 exceeds descent phase.",
                                                  " Warning. DiveStop overlappings.",
                                                  " Warning. DiveStop 1 exceeds ascent phase."}));
}

}  // namespace vk

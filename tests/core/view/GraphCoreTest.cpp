#include <gtest/gtest.h>

#include <random>

#include "core/view/Curve.h"
#include "core/view/Envelope.h"
#include "core/view/Overlays.h"
#include "core/view/PixelMap.h"
#include "core/view/Readouts.h"
#include "core/view/ScaleTicks.h"
#include "core/view/ViewState.h"
#include "core/view/WindowLayout.h"
#include "support/GraphFixture.h"
#include "support/TempDir.h"

namespace vk {

TEST(GraphView, OpeningPositions)
{
    const ViewState v = InitialView(1200000);
    EXPECT_EQ(v.at.F1, 0);
    EXPECT_EQ(v.at.F2, 10000);
    EXPECT_EQ(v.at.F4, 1250);
    EXPECT_EQ(v.at.F5, 8750);
    EXPECT_EQ(v.at.B1, 3750);
    EXPECT_EQ(v.at.B2, 6250);
    EXPECT_EQ(v.at.Sh1, 5000);
    EXPECT_EQ(v.at.Sh2, 5000);
    EXPECT_EQ(v.borderStep, 2500);
    EXPECT_EQ(v.cursorStep, 625);
    EXPECT_EQ(v.moveMode, 0);

    const ViewState empty = InitialView(0);
    EXPECT_EQ(empty.at.F2, 0);
    EXPECT_EQ(empty.at.F5, 0);
    EXPECT_EQ(empty.borderStep, 1);
    EXPECT_EQ(empty.cursorStep, 1);
    EXPECT_LT(InitialView(100).at.F2, 100);
}

TEST(GraphLayout, StripsShareSixtyPercentByRelativeHeight)
{
    std::array<uint8_t, 3> heights{3, 0, 3};
    WindowLayout l = ComputeLayout(1000, 1000, {true, true, true}, heights);
    EXPECT_EQ(l.strips[0], (Box{2, 150, 798, 300}));
    EXPECT_EQ(l.strips[1].height, 0);  // no strip for channel 1
    EXPECT_EQ(l.strips[2], (Box{2, 455, 798, 300}));
    EXPECT_EQ(l.yScales[2], (Box{802, 455, 898 - 802, 300}));
    EXPECT_EQ(l.total, (Box{2, 40, 798, 50}));
    EXPECT_EQ(l.timeScale.top, 770);
    EXPECT_EQ(l.readoutTop, 830);

    heights = {0, 0, 0};
    l = ComputeLayout(1000, 1000, {true, false, true}, heights);
    EXPECT_EQ(heights, (std::array<uint8_t, 3>{1, 0, 1}));  // all 0: every loaded channel gets 1
    EXPECT_EQ(l.strips[0].height, 300);
    EXPECT_EQ(l.strips[1].height, 0);

    EXPECT_EQ(CaptionColumn(400, 12), 188);
}

TEST(GraphLayout, ValuesAndTimesToPixels)
{
    ChannelDescriptor d;
    d.Min = 0;
    d.Max = 16;
    const DisplayRange r = DisplayRangeOf(d);
    EXPECT_EQ(r.lo, -1);
    EXPECT_EQ(r.hi, 17);
    EXPECT_EQ(ValueToRow(-1, r, 180, DrawDirection::Upwards), 180);  // upwards: the low end at the bottom
    EXPECT_EQ(ValueToRow(17, r, 180, DrawDirection::Upwards), 0);
    EXPECT_EQ(ValueToRow(-1, r, 180, DrawDirection::Downwards), 0);  // downwards: at the top
    EXPECT_EQ(ValueToRow(8, r, 180, DrawDirection::Downwards), 90);
    EXPECT_NEAR(RowToValue(90, r, 180, DrawDirection::Upwards), 8, 1e-12);
    d.yOffset = 2;
    EXPECT_EQ(DisplayRangeOf(d).lo, -3);
    d.Max = d.Min;
    EXPECT_TRUE(DisplayRangeOf(d).empty());  // a constant channel has nothing to show
    EXPECT_EQ(SampleColumn(999, 0, 1000, 100), 99);
    EXPECT_EQ(LineColumn(999, 0, 1000, 100), 100);
}

TEST(GraphScales, YTicksByRangeAndHeight)
{
    const YScale a = YScaleTicks({-1, 17}, 300, DrawDirection::Upwards);
    EXPECT_EQ(a.step, 2);
    EXPECT_EQ(a.decimals, 2);
    ASSERT_EQ(a.ticks.size(), 9u);  // 0, 2, .. 16
    EXPECT_EQ(a.ticks.front().value, 0);
    EXPECT_TRUE(a.ticks[0].labelled);
    EXPECT_FALSE(a.ticks[1].labelled);
    EXPECT_EQ(a.ticks[1].row, 300 - 50);

    EXPECT_EQ(YTickStep(1000, 20), 25);  // small strips: coarse steps
    EXPECT_EQ(YTickStep(1000, 400), 25);
    EXPECT_EQ(YTickStep(5000, 400), 250);
    EXPECT_EQ(YTickStep(5000, 60), 500);
    EXPECT_DOUBLE_EQ(YTickStep(0.5, 200), 0.05);
    EXPECT_EQ(YScaleTicks({0.3, 10}, 100, DrawDirection::Upwards).ticks.front().value,
              0.5);  // lo >= 0: the tick after it
    EXPECT_EQ(YScaleTicks({-1500, 1500}, 200, DrawDirection::Upwards).decimals, 0);
    EXPECT_EQ(YScaleTicks({-0.2, 0.7}, 200, DrawDirection::Upwards).decimals, 3);
    EXPECT_TRUE(YScaleTicks({5, 5}, 200, DrawDirection::Upwards).ticks.empty());
}

TEST(GraphScales, TimeLevelsForSecondsHoursDaysAndMonths)
{
    const double start = EncodeTime(2026, 1, 7, 10, 0, 0);
    auto levels = [](double seconds, double density) {
        std::vector<int> steps;
        for (int l = 0; l < 6; ++l)
            steps.push_back(TimeLevelStep(static_cast<TimeLevel>(l), std::round(seconds * density)));
        return steps;
    };
    EXPECT_EQ(levels(100, 0.75), (std::vector<int>{1, 1, 1, 1, 1, 5}));          // seconds by 5
    EXPECT_EQ(levels(6 * 3600, 0.75), (std::vector<int>{1, 1, 1, 1, 15, 0}));    // minutes by 15
    EXPECT_EQ(levels(3 * 86400, 0.75), (std::vector<int>{1, 1, 1, 4, 0, 0}));    // hours by 4
    EXPECT_EQ(levels(100 * 86400, 0.75), (std::vector<int>{1, 1, 4, 0, 0, 0}));  // days by 4
    EXPECT_EQ(levels(4 * 365 * 86400.0, 0.6), (std::vector<int>{1, 6, 0, 0, 0, 0}));

    const TimeScale s = TimeScaleTicks(start, 0, 100000, 1000, 0.75);
    EXPECT_EQ(s.finest, static_cast<int>(TimeLevel::Seconds));
    ASSERT_FALSE(s.ticks.empty());
    EXPECT_EQ(s.ticks.front().x, 0);
    EXPECT_EQ(s.ticks.front().level, TimeLevel::Hours);  // 10:00:00: the hour wins the column
    EXPECT_EQ(s.ticks.front().label, "10h");
    EXPECT_EQ(s.ticks[1].x, 50);
    EXPECT_EQ(s.ticks[1].label, "5s");
    EXPECT_EQ(s.ticks[2].label, "10");

    const TimeScale days = TimeScaleTicks(start, 0, 3 * 86400000.0, 900, 0.75);
    ASSERT_GE(days.ticks.size(), 2u);
    EXPECT_EQ(days.ticks[0].label, "12h");
    const auto midnight = std::find_if(days.ticks.begin(), days.ticks.end(),
                                       [](const TimeTick& t) { return t.level == TimeLevel::Days; });
    ASSERT_NE(midnight, days.ticks.end());
    EXPECT_EQ(midnight->label, "8d");
    const TimeScale months = TimeScaleTicks(start, 0, 100 * 86400000.0, 1000, 0.6);
    EXPECT_TRUE(
        std::any_of(months.ticks.begin(), months.ticks.end(), [](const TimeTick& t) { return t.label == "FEB"; }));
    EXPECT_TRUE(TimeScaleTicks(start, 0, 1, 100, 0.75).ticks.empty());
}

TEST(GraphEnvelope, ExtremesOfAnyStretchMatchAPlainScan)
{
    Recording rec;
    test::AllocateAll(rec, 6);
    std::mt19937 random(7);
    const int64_t count = 5 * 16384 + 1000;  // three levels
    rec.desc(0).DataCnt = static_cast<int32_t>(count - 1);
    for (int64_t p = 0; p < count; ++p)
        WriteRaw(rec, static_cast<int32_t>(p), static_cast<uint16_t>(random() % 60000 + 100), 0);
    WriteRaw(rec, 40000, 5, 0);
    WriteRaw(rec, 40001, 65535, 0);

    Envelope small;
    small.build(rec.store, 0, 256);
    EXPECT_EQ(small.levels(), 1);
    EXPECT_EQ(small.level(0).size(), 1u);
    Envelope two;
    two.build(rec.store, 0, 4096);
    ASSERT_EQ(two.levels(), 1);  // 16 entries: the top level
    Envelope three;
    three.build(rec.store, 0, 4097);
    ASSERT_EQ(three.levels(), 2);
    EXPECT_EQ(three.level(1).size(), 2u);

    Envelope e;
    e.build(rec.store, 0, count);
    ASSERT_EQ(e.levels(), 3);
    EXPECT_LT(e.bytes(), static_cast<std::size_t>(count) * 2 / 100);  // under 1 % of the samples
    // A plain scan of a..b-1 leaving out the runs `absent`.
    using Runs = std::vector<std::pair<int64_t, int64_t>>;
    auto scan = [&](int64_t a, int64_t b, const Runs& absent = {}) {
        RawExtremes x;
        for (int64_t p = a; p < std::min(b, count); ++p)
            if (std::none_of(absent.begin(), absent.end(), [p](auto r) { return p >= r.first && p < r.second; }))
                x.add(ReadRaw(rec, static_cast<int32_t>(p), 0));
        return x;
    };
    // Short and long stretches anywhere, against the scan.
    auto matchesTheScan = [&](const Envelope& envelope, const Runs& absent) {
        for (int k = 0; k < 2000; ++k) {
            const int64_t a = random() % count, b = a + random() % (k % 2 ? 300 : count);
            const RawExtremes got = envelope.range(rec.store, 0, a, b), want = scan(a, b, absent);
            ASSERT_EQ(got.min, want.min) << a << ".." << b;
            ASSERT_EQ(got.max, want.max) << a << ".." << b;
        }
    };
    matchesTheScan(e, {});
    EXPECT_EQ(e.range(rec.store, 0, 0, count).min, 5);
    EXPECT_EQ(e.range(rec.store, 0, count - 7, count + 100).max, scan(count - 7, count).max);
    EXPECT_TRUE(e.range(rec.store, 0, 10, 10).empty());

    // With samples missing (runs inside an entry, across entries and blocks), every stretch still matches.
    GapList missing;
    missing.add(3, 9);  // added in order
    missing.add(16380, 16390);
    missing.add(40001, 40002);  // the greatest value
    Envelope gapped;
    gapped.build(rec.store, 0, count, missing);
    matchesTheScan(gapped, {{3, 9}, {16380, 16390}, {40001, 40002}});
    EXPECT_TRUE(gapped.range(rec.store, 0, 3, 9).empty());
    EXPECT_LT(gapped.range(rec.store, 0, 0, count).max, 65535);

    // An edit rebuilds only what it touched.
    WriteRaw(rec, 30000, 1, 0);
    e.update(rec.store, 0, 30000, 30001);
    EXPECT_EQ(e.range(rec.store, 0, 0, count).min, 1);
    EXPECT_EQ(e.range(rec.store, 0, 29000, 31000).min, 1);
}

TEST(GraphCurve, ThinningAndColumnsAgreeWithEverySample)
{
    Recording rec;
    test::AllocateAll(rec, 4);
    ChannelDescriptor& d = rec.desc(0);
    d.SampRate = 1;
    d.LowRng = 0;
    d.HighRng = 65535;
    SetScaling(rec, 0);
    d.DataCnt = 60000;
    for (int32_t i = 0; i <= d.DataCnt; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(30000 + 20000 * std::sin(i / 900.0) + (i * 7919) % 3000), 0);

    CurveRequest q;
    q.width = 500;
    q.height = 200;
    q.f1 = 100;
    q.f2 = 6100;  // exactly 6000 ms: every sample is drawn
    q.slot = 1;   // a calm channel: many samples share a column and a row
    rec.desc(1) = d;
    for (int32_t i = 0; i <= d.DataCnt; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(30000 + i / 100), 1);
    EXPECT_EQ(ComputeCurve(rec, q).points.size(), 6002u);
    q.f2 = 6101;  // 6001 ms: samples on the column and row of the last drawn one are left out
    const std::size_t thinned = ComputeCurve(rec, q).points.size();
    EXPECT_LT(thinned, 1000u);
    EXPECT_GE(thinned, 500u);  // at least one per column
    q.slot = 0;

    // Columns from the envelope hold each column's first, last, least and greatest value.
    Envelope e;
    e.build(rec.store, 0, d.DataCnt + 1);
    q.f1 = 0;
    q.f2 = 60000;
    q.envelope = &e;
    const Curve columns = ComputeCurve(rec, q);
    ASSERT_FALSE(columns.columns.empty());
    q.envelope = nullptr;
    for (const CurveColumn& c : columns.columns) {
        double lo = 1e300, hi = -1e300;
        std::vector<double> values;
        for (int32_t i = 0; i <= d.DataCnt; ++i)
            if (SampleColumn(i, q.f1, q.f2, q.width) == c.x)
                values.push_back(ReadValue(rec, i, 0).value);
        ASSERT_FALSE(values.empty());
        for (double v : values) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        ASSERT_DOUBLE_EQ(c.min, lo) << c.x;
        ASSERT_DOUBLE_EQ(c.max, hi) << c.x;
        ASSERT_DOUBLE_EQ(c.first, values.front());
        ASSERT_DOUBLE_EQ(c.last, values.back());
    }
}

TEST(GraphOverlays, GridSubsidiaryLinesAndExtents)
{
    ChannelDescriptor d;
    d.Min = 0;
    d.Max = 16;
    d.GridDist = 5;
    // Lines at 0, 5, 10, 15 in -1..17 over 180 rows, drawn upwards.
    EXPECT_EQ(GridRows(d, 180), (std::vector<int>{170, 120, 70, 20}));
    d.GridDist = 0;
    EXPECT_TRUE(GridRows(d, 180).empty());

    SubsidiaryLines lines{};
    lines[1] = {8, 1};
    lines[2] = {8, 1};                                   // the same value again: one line
    lines[3] = {30, 1};                                  // outside the range
    lines[4] = {4, 0};                                   // off
    EXPECT_TRUE(SubsidiaryRows(lines, d, 180).empty());  // the switch (entry 0) is off
    lines[0].flag = 1;
    EXPECT_EQ(SubsidiaryRows(lines, d, 180), std::vector<int>{90});

    EXPECT_EQ(CursorExtent(240).top, 10);
    EXPECT_EQ(CursorExtent(240).bottom, 230);
    EXPECT_EQ(BCursorExtent(200, 5, 4).top, 100);
    EXPECT_EQ(BCursorExtent(200, 5, 9).bottom, 200);
    EXPECT_EQ(ShCursorExtent(240).top, 130);
}

TEST(GraphReadouts, ValuesTimesAndBothAxisModes)
{
    EXPECT_EQ(FormatReadout(1234.56789), "1234.5680");
    EXPECT_EQ(FormatReadout(-0.000123), "-0.0001");
    EXPECT_EQ(FormatReadout(42), "42.0000");
    EXPECT_EQ(FormatReadout(123456789), "1.234568E+08");
    EXPECT_EQ(FormatDuration(3723500), "01:02:03.500");
    EXPECT_EQ(FormatDuration(90000000), "1 d 01:00:00");

    Recording rec;
    test::AllocateAll(rec, 1);
    rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    ChannelDescriptor& d = rec.desc(0);
    d.SampRate = 1000;
    d.LowRng = 0;
    d.HighRng = 65535;
    SetScaling(rec, 0);
    d.DataCnt = 99;
    for (int32_t i = 0; i <= 99; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(10 * i), 0);
    ViewState v = InitialView(99000);
    v.at.F4 = 2500;
    v.at.F5 = 61000;
    CursorReadouts r = MakeCursorReadouts(rec, v, 0, true);
    EXPECT_EQ(r.leftValue, "25.0000");  // between 20 and 30
    EXPECT_EQ(r.leftTime, "06:00:02.500");
    EXPECT_EQ(r.leftDate, "07.01.2026");
    EXPECT_EQ(r.rightValue, "610.0000");
    EXPECT_EQ(r.difference, "00:00:58.500");
    r = MakeCursorReadouts(rec, v, 0, false);
    EXPECT_EQ(r.leftValue, "20.0000");
    r = MakeCursorReadouts(rec, v, 1, true);
    EXPECT_EQ(r.leftDate, "2");
    EXPECT_EQ(r.leftTime, "");
    EXPECT_EQ(r.rightDate, "61");
    EXPECT_EQ(r.difference, "59");
    v.at.F5 = 99500;  // the next sample is past the end: no value
    EXPECT_EQ(MakeCursorReadouts(rec, v, 0, true).rightValue, "");

    // Inside missing values, and between a value and a missing one, no value either.
    rec.at(0).missing.add(60, 62);
    v.at.F5 = 61000;
    EXPECT_EQ(MakeCursorReadouts(rec, v, 0, false).rightValue, "");
    v.at.F5 = 59500;
    EXPECT_EQ(MakeCursorReadouts(rec, v, 0, true).rightValue, "");
    EXPECT_EQ(MakeCursorReadouts(rec, v, 0, false).rightValue, "590.0000");
}

// Missing values break the curve: no sample, column or step is drawn from or
// to them, at any zoom; the envelope's extremes leave them out.
TEST(GraphCurve, MissingValuesBreakTheCurve)
{
    Recording rec;
    test::AllocateAll(rec, 4);
    test::Fill(rec, 0, 60001, 1, 0, 100, [](int32_t i) { return 50 + 40 * std::sin(i / 700.0); });
    // The loader's stand-in for a missing value is the low end of the range: 0.
    for (const auto& [from, to] : {std::pair{1000, 1010}, std::pair{20000, 30000}})
        for (int32_t i = from; i < to; ++i)
            WriteRaw(rec, i, 0, 0);
    rec.at(0).missing.add(1000, 1010);
    rec.at(0).missing.add(20000, 30000);

    CurveRequest q;
    q.width = 500;
    q.height = 200;
    q.f1 = 900;
    q.f2 = 1200;
    const Curve points = ComputeCurve(rec, q);
    int breaks = 0;
    for (const CurvePoint& p : points.points) {
        EXPECT_GT(p.v, 5) << p.x;  // nothing of the stand-in
        breaks += p.breakBefore;
    }
    EXPECT_EQ(breaks, 1);
    q.f1 = 20500;  // the window starts inside the missing stretch
    q.f2 = 30200;
    const Curve late = ComputeCurve(rec, q);
    ASSERT_FALSE(late.points.empty());
    EXPECT_TRUE(late.points.front().breakBefore);

    Envelope e;
    e.build(rec.store, 0, 60001, rec.at(0).missing);
    EXPECT_FALSE(e.range(rec.store, 0, 0, 60001).empty());
    EXPECT_GT(e.range(rec.store, 0, 0, 60001).min, 1000);  // 0 is only in the missing stretches
    EXPECT_TRUE(e.range(rec.store, 0, 20100, 29900).empty());
    q.f1 = 0;
    q.f2 = 60000;
    q.envelope = &e;
    const Curve columns = ComputeCurve(rec, q);
    ASSERT_FALSE(columns.columns.empty());
    breaks = 0;
    for (const CurveColumn& c : columns.columns) {
        EXPECT_GT(c.min, 5) << c.x;
        EXPECT_GT(c.first, 5) << c.x;
        EXPECT_GT(c.last, 5) << c.x;
        EXPECT_FALSE(c.x > SampleColumn(20000, 0, 60000, 500) && c.x < SampleColumn(29999, 0, 60000, 500)) << c.x;
        breaks += c.breakBefore;
    }
    EXPECT_EQ(breaks, 1);  // ten missing samples inside one column of 120 leave no visible gap

    // Without missing values, no break anywhere.
    rec.at(0).missing.clear();
    e.build(rec.store, 0, 60001);
    for (const CurveColumn& c : ComputeCurve(rec, q).columns)
        EXPECT_FALSE(c.breakBefore);
}

}  // namespace vk

#include <gtest/gtest.h>

#include <cmath>

#include "core/calc/ChannelPlot.h"
#include "core/setup/Workbench.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct PlotBench : ::testing::Test {
    Workbench wb;

    void SetUp() override { test::AllocateAll(wb.rec, 4); }

    // Channel `slot` with one raw word per value (gain 1), `interval` ms apart.
    void channel(int slot, const std::vector<int>& words, int32_t interval = 1000)
    {
        ChannelDescriptor& d = wb.rec.desc(slot);
        d.SampRate = interval;
        d.DataCnt = static_cast<int32_t>(words.size()) - 1;
        wb.rec.at(slot).ChannelUsed = true;
        for (std::size_t k = 0; k < words.size(); ++k)
            WriteRaw(wb.rec, static_cast<int32_t>(k), static_cast<uint16_t>(words[k]), slot);
    }
    CloudImage cloud(const CloudRequest& r, int size)
    {
        const PlotFrame f =
            PlotFrameOf(SectionSpan(wb.rec, r.slotA, r.f4, r.f5), SectionSpan(wb.rec, r.slotB, r.f4, r.f5));
        return PaintCloud(wb.rec, r, f, size, size);
    }
    // The colour index at the centre of the dot of values (a, b).
    static uint8_t dot(const CloudImage& c, const PlotFrame& f, double a, double b)
    {
        return c.at(PlotColumn(f, a, c.width), PlotRow(f, b, c.height));
    }
};

TEST_F(PlotBench, RangesChecksAndColours)
{
    channel(0, {0, 80, 40, 20});
    channel(1, {0, 80, 40, 20});
    const PlotFrame f = PlotFrameOf(SectionSpan(wb.rec, 0, 0, 3000), SectionSpan(wb.rec, 1, 0, 3000));
    EXPECT_DOUBLE_EQ(f.xmin, -10);
    EXPECT_DOUBLE_EQ(f.xmin + f.xrange, 90);
    EXPECT_DOUBLE_EQ(f.ymin + f.yrange, 90);
    // Read-outs are the inverse of the pixels.
    EXPECT_EQ(PlotColumn(f, 40, 100), 50);
    EXPECT_EQ(PlotRow(f, 40, 100), 50);
    EXPECT_DOUBLE_EQ(PlotValueX(f, 50, 100), 40);
    EXPECT_DOUBLE_EQ(PlotValueY(f, 25, 100), 65);

    // A value equal to the threshold takes colour 2, above it colour 1.
    const CloudImage c = PaintCloud(wb.rec, {0, 1, 0, 40, 0, 3000}, f, 100, 100);
    EXPECT_EQ(dot(c, f, 80, 80), 1);
    EXPECT_EQ(dot(c, f, 40, 40), 2);
    EXPECT_EQ(dot(c, f, 20, 20), 2);
    EXPECT_EQ(c.at(PlotColumn(f, 40, 100) + 1, PlotRow(f, 40, 100)), 2);  // a dot, not a pixel
    EXPECT_EQ(c.at(5, 95), 0);

    // A constant channel has no range.
    channel(2, {7, 7, 7, 7});
    EXPECT_TRUE(PlotFrameOf(SectionSpan(wb.rec, 0, 0, 3000), SectionSpan(wb.rec, 2, 0, 3000)).tooSmall());

    // The colour channel must be loaded; the plotted two need one interval.
    EXPECT_EQ(CheckPlotChannels(wb.rec, 0, 1, 2), PlotCheck::Ok);
    wb.rec.at(2).ChannelUsed = false;
    EXPECT_EQ(CheckPlotChannels(wb.rec, 0, 1, 2), PlotCheck::ChannelMissing);
    EXPECT_EQ(CheckPlotChannels(wb.rec, 0, 1, ColourSlotOf("4")), PlotCheck::ChannelMissing);
    EXPECT_EQ(ColourSlotOf("0"), 0);
    EXPECT_EQ(ColourSlotOf("x"), -1);
    EXPECT_DOUBLE_EQ(ThresholdOf(-3), 1.0);
    wb.rec.desc(1).SampRate = 2000;
    EXPECT_EQ(CheckPlotChannels(wb.rec, 0, 1, 0), PlotCheck::IntervalsDiffer);
    EXPECT_EQ(PlotCheckText(PlotCheck::IntervalsDiffer), " Error. Channel 1 and channel 2 must have same samp. int.");
}

TEST_F(PlotBench, ColourChannelReadAtTheSampleTime)
{
    // Plotted channels every second; the colour channel every two seconds,
    // above 5 only in its second sample (t = 2 s, 3 s of the plot).
    channel(0, {10, 20, 30, 40, 50, 60});
    channel(1, {10, 20, 30, 40, 50, 60});
    channel(2, {0, 9, 0}, 2000);
    const CloudRequest r{0, 1, 2, 5, 0, 5000};
    const PlotFrame f = PlotFrameOf(SectionSpan(wb.rec, 0, 0, 5000), SectionSpan(wb.rec, 1, 0, 5000));
    const CloudImage c = PaintCloud(wb.rec, r, f, 200, 200);
    EXPECT_EQ(dot(c, f, 20, 20), 2);
    EXPECT_EQ(dot(c, f, 30, 30), 1);
    EXPECT_EQ(dot(c, f, 40, 40), 1);
    EXPECT_EQ(dot(c, f, 50, 50), 2);
    EXPECT_EQ(dot(c, f, 60, 60), 2);  // past the colour channel's end: not read, colour 2
    // No colour channel at all: everything in colour 2.
    const CloudImage plain = PaintCloud(wb.rec, {0, 1, -1, 5, 0, 5000}, f, 200, 200);
    EXPECT_EQ(dot(plain, f, 30, 30), 2);
}

TEST_F(PlotBench, SectionAtTheEndAndMissingValues)
{
    // F5 on the last sample: the sample after it does not exist and is not read.
    channel(0, {10, 20, 30, 40});
    channel(1, {40, 30, 20, 10});
    wb.rec.at(1).missing.add(1, 2);  // sample 1 of channel 2 has no value
    const CloudRequest r{0, 1, 0, 100, 1000, 3000};
    const PlotFrame f = PlotFrameOf(SectionSpan(wb.rec, 0, 1000, 3000), SectionSpan(wb.rec, 1, 1000, 3000));
    EXPECT_DOUBLE_EQ(f.xmin, 20 - 2.5);
    EXPECT_DOUBLE_EQ(f.ymin, 10 - 1.25);  // sample 1 left out of channel 2's range
    const CloudImage c = PaintCloud(wb.rec, r, f, 100, 100);
    int dots = 0;
    for (uint8_t p : c.pixels)
        dots += p != 0;
    EXPECT_EQ(dots, 2 * 5);  // samples 2 and 3; sample 1 lacks its y
    EXPECT_EQ(dot(c, f, 40, 10), 2);
}

TEST_F(PlotBench, LongSectionsKeepTheLaterSampleOnTop)
{
    // Long enough to be painted in parts on several cores: the early samples
    // and the last one share a pixel; the last one's colour must win.
    test::AllocateAll(wb.rec);
    constexpr int32_t n = 5'000'000;
    std::vector<int> words(n, 100), colour(n, 0);
    words[0] = 0;
    words[1] = 200;
    colour[n - 1] = 9;  // only the last sample above the threshold
    channel(0, words);
    channel(1, words);
    channel(2, colour);
    const double f5 = 1000.0 * (n - 1);
    const PlotFrame f = PlotFrameOf(SectionSpan(wb.rec, 0, 0, f5), SectionSpan(wb.rec, 1, 0, f5));
    const CloudImage c = PaintCloud(wb.rec, {0, 1, 2, 5, 0, f5}, f, 100, 100);
    EXPECT_EQ(dot(c, f, 100, 100), 1);
    EXPECT_EQ(dot(c, f, 0, 0), 2);
}

TEST(EllipseTest, BoxesBandsAndHandles)
{
    // Before the first reset the box has no width: no band, nothing divided by zero.
    const EllipseState zero;
    const PixelBox z = OuterBox(zero);
    EXPECT_EQ(z.left, 0);
    EXPECT_EQ(z.bottom, 0);

    // A square box: the band moves each corner band pixels each way.
    const EllipseState square = ResetEllipse();
    EXPECT_EQ(square, (EllipseState{100, 100, 200, 200, 30}));
    const PixelBox o = OuterBox(square), in = InnerBox(square);
    EXPECT_DOUBLE_EQ(o.left, 70);
    EXPECT_DOUBLE_EQ(o.top, 70);
    EXPECT_DOUBLE_EQ(in.right, 170);
    EXPECT_DOUBLE_EQ(in.bottom, 170);
    // A wide box: across by the band, down by band x height / width.
    const EllipseState wide{0, 0, 200, 100, 20};
    EXPECT_DOUBLE_EQ(OuterBox(wide).left, -20);
    EXPECT_DOUBLE_EQ(OuterBox(wide).top, -10);

    // Handles: left 6 px left of the box, top 6 px above, band handles a band
    // width either side of the left one.
    const std::array<HandleCorner, 6> h = HandleCorners(square);
    EXPECT_EQ(h[HandleLeft - 1].x, 94);
    EXPECT_EQ(h[HandleLeft - 1].y, 147);
    EXPECT_EQ(h[HandleTop - 1].y, 94);
    EXPECT_EQ(h[HandleOuter - 1].x, 64);
    EXPECT_EQ(h[HandleInner - 1].x, 124);
    EXPECT_EQ(HandleAt(square, 97, 150), HandleLeft);
    EXPECT_EQ(HandleAt(square, 67, 150), HandleOuter);
    EXPECT_EQ(HandleAt(square, 150, 203), HandleBottom);
    EXPECT_EQ(HandleAt(square, 150, 150), NoHandle);

    // Moves: an edge by the offset on its axis; the outer band handle dragged
    // out widens the band, the inner one dragged in widens it too.
    EXPECT_EQ(MoveHandle(square, HandleTop, 40, -10).top, 90);
    EXPECT_EQ(MoveHandle(square, HandleTop, 40, -10).left, 100);
    EXPECT_EQ(MoveHandle(square, HandleRight, 15, 9).right, 215);
    EXPECT_EQ(MoveHandle(square, HandleOuter, -10, 0).band, 40);
    EXPECT_EQ(MoveHandle(square, HandleInner, 5, 0).band, 35);
    EXPECT_EQ(MoveHandle(square, HandleInner, -50, 0).band, 0);  // never negative
    const EllipseState moved = MoveHandle(square, HandleBottom, 0, 40);
    EXPECT_EQ(HandleCorners(moved)[HandleLeft - 1].y, 167);  // recentred
}

}  // namespace

}  // namespace vk

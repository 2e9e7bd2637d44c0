#include <gtest/gtest.h>

#include <cmath>

#include "core/calc/Binning.h"
#include "core/dive/DiveAnalysis.h"
#include "core/dive/DiveSearch.h"
#include "core/dive/ExtendedValues.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;

namespace {

// Surface 0..9, down 2 m/s to 40 m at 29, 40 m to 48, up 2 m/s to the surface at 68.
struct Trapeze : DiveBench {
    Trapeze() : DiveBench(test::Trapezoid(0, 10, 40, 20, 19, 20, 31)) { frame(9, 29, 48, 68); }
    bool analyse() { return AnalyseDive(rec, view.at, p, state, cx.setup, ui); }
};

}  // namespace

TEST(DiveAnalysis, ValuesOfAFramedDive)
{
    Trapeze b;
    b.p.TimeAbove = 30;
    b.p.TimeBelow = 10;
    ASSERT_TRUE(b.analyse());
    const DiveRecord& r = b.state.record;
    EXPECT_TRUE(r.analysed);
    EXPECT_FALSE(r.tooLong);
    EXPECT_EQ(r.onsetIndex, 9);
    EXPECT_DOUBLE_EQ(r.duration, 59000);
    EXPECT_DOUBLE_EQ(r.descentDuration, 20000);
    EXPECT_DOUBLE_EQ(r.bottomDuration, 19000);
    EXPECT_DOUBLE_EQ(r.ascentDuration, 20000);
    EXPECT_NEAR(r.descentRate, 2, 0.001);
    EXPECT_NEAR(r.bottomRate, 0, 0.001);
    EXPECT_NEAR(r.ascentRate, -2, 0.001);
    EXPECT_NEAR(r.maxDepth, 40, 0.01);
    EXPECT_EQ(r.maxDepthIndex, 29);
    EXPECT_NEAR(r.depthSum, 1560, 0.2);
    EXPECT_NEAR(r.meanDepth, 26, 0.01);
    EXPECT_NEAR(r.depthIntegral, 1560.0 / 3600, 0.001);
    EXPECT_DOUBLE_EQ(r.timeAbove, 28000);
    EXPECT_DOUBLE_EQ(r.timeBelow, 12000);
    EXPECT_NEAR(r.bottomMedian, 40, 0.01);
    EXPECT_NEAR(r.bottomMean, 40, 0.01);
    EXPECT_NEAR(r.bottomMinimum, 40, 0.01);
    EXPECT_NEAR(r.bottomDepthSum, 800, 0.1);
    EXPECT_NEAR(r.bottomStdDev, 0, 0.01);
    EXPECT_NEAR(r.bottomSpread, 0, 0.01);
    EXPECT_NEAR(r.bottomVerticalDistance, 0, 0.01);
    EXPECT_NEAR(r.bottomRoughness, 0, 0.01);
    EXPECT_DOUBLE_EQ(r.bottomFraction, 19.0 / 59);
    EXPECT_EQ(r.bottomShareOfCycle, Missing);  // no pause before the first dive
    EXPECT_NEAR(r.relativeBottomRange, 0, 0.001);
    EXPECT_DOUBLE_EQ(r.maxPositionInBottom, 0);
    EXPECT_EQ(r.figures.descentPoints90, 18);
    EXPECT_NEAR(r.figures.descentRate90, 2, 0.001);
    EXPECT_EQ(r.figures.ascentPoints90, 18);
    EXPECT_NEAR(r.figures.ascentRate90, -2, 0.001);
    // The first dive has no pause and no differences; nothing optional was asked for.
    EXPECT_EQ(r.pause, Missing);
    EXPECT_EQ(r.durationDifference, Missing);
    EXPECT_EQ(r.maxDepthDifference, Missing);
    EXPECT_EQ(r.speed.descentDistance, Missing);
    EXPECT_EQ(r.temperature.diveMean, Missing);
    EXPECT_TRUE(r.depthClasses.empty());
    EXPECT_EQ(r.extended[0], Missing);

    // Time above and below are off at 0 m: not known, rather than 0 s.
    b.p.TimeAbove = b.p.TimeBelow = 0;
    b.analyse();
    EXPECT_EQ(b.state.record.timeAbove, Missing);
    EXPECT_EQ(b.state.record.timeBelow, Missing);
}

// The fixed bottom places its cursors where the depth crosses the level,
// between samples; the bottom statistics take the samples inside them only.
TEST(DiveAnalysis, FixedBottomStatisticsStayInsideTheBottom)
{
    Trapeze b;
    b.p.BottomKind = BottomSearchKind::FixBottom;  // level 0.66 x 40 m = 26.4 m
    b.p.Threshold = 5;
    b.view.at.F5 = b.t(0);
    ASSERT_TRUE(SearchNext(b.cx, b.p).accepted);
    // Crossings at 22.2 s (26 m .. 28 m) and 54.8 s (28 m .. 26 m).
    EXPECT_NEAR(b.view.at.B1, 22200, 1);
    EXPECT_NEAR(b.view.at.B2, 54800, 1);
    ASSERT_TRUE(b.analyse());
    const DiveRecord& r = b.state.record;
    EXPECT_NEAR(r.bottomMinimum, 28, 0.01);           // not the 26 m before the crossing
    EXPECT_NEAR(r.bottomVerticalDistance, 24, 0.05);  // 28 -> 40 -> 28
    EXPECT_NEAR(r.bottomMean, (2 * (28 + 30 + 32 + 34 + 36 + 38) + 20 * 40) / 32.0, 0.01);
    EXPECT_NEAR(r.relativeBottomRange, 12.0 / 40, 0.001);
}

TEST(DiveAnalysis, PauseAndDifferencesToThePreviousDive)
{
    Trapeze b;
    DiveRecord& r = b.state.record;
    r.counter = 3;
    r.previous.end = 4000;
    r.previous.duration = 70000;
    r.previous.maxDepth = 50;
    b.analyse();
    EXPECT_DOUBLE_EQ(r.pause, 5000);
    EXPECT_DOUBLE_EQ(r.durationDifference, -11000);
    EXPECT_NEAR(r.maxDepthDifference, -10, 0.01);
    EXPECT_DOUBLE_EQ(r.bottomShareOfCycle, 19.0 / 64);
    b.p.AbsDifferences = 1;
    b.analyse();
    EXPECT_DOUBLE_EQ(r.durationDifference, 11000);
    EXPECT_NEAR(r.maxDepthDifference, 10, 0.01);
    // Cursors moved before the previous end: no pause, no differences.
    r.previous.end = 20000;
    b.analyse();
    EXPECT_EQ(r.pause, Missing);
    EXPECT_EQ(r.durationDifference, Missing);
    EXPECT_EQ(r.maxDepthDifference, Missing);
    EXPECT_EQ(r.counter, 3);  // only the result step advances it
}

// A fast logger's long dive: 70 minutes at 25 Hz (105,000 samples) is found
// and analysed whole, bottom values included.
TEST(DiveAnalysis, ALongDiveOfAFastLoggerIsAnalysedWhole)
{
    constexpr int PerSecond = 25, Minute = 60 * PerSecond;
    std::vector<double> depth = test::Trapezoid(0, Minute, 200, 10 * Minute, 50 * Minute, 10 * Minute, Minute);
    for (int i = 11 * Minute; i < 61 * Minute; ++i)
        depth[static_cast<std::size_t>(i)] += 2 * std::sin(i / 250.0);  // a bottom that undulates
    DiveBench b(depth, 1000 / PerSecond);
    b.p.Threshold = 5;
    ASSERT_TRUE(SearchNext(b.cx, b.p).accepted);
    ASSERT_TRUE(AnalyseDive(b.rec, b.view.at, b.p, b.state, b.cx.setup, b.ui));
    const DiveRecord& r = b.state.record;
    EXPECT_TRUE(r.analysed);
    EXPECT_FALSE(r.tooLong);
    EXPECT_NEAR(r.duration, 70 * 60000.0, 10000);
    EXPECT_GT(r.duration / 40, 100000);
    EXPECT_NEAR(r.maxDepth, 202, 0.5);
    EXPECT_NEAR(r.bottomMedian, 200, 2);
    EXPECT_NEAR(r.bottomMean, 200, 1);
    EXPECT_GT(r.bottomStdDev, 0.5);
    EXPECT_GT(r.bottomVerticalDistance, 100);
    EXPECT_NE(r.bottomRoughness, Missing);
    // In m h: 200 m for the 50 minutes of the bottom, 100 m on average for the 20 of descent and ascent.
    EXPECT_NEAR(r.depthIntegral, (200 * 50 + 100 * 20) / 60.0, 1);
    EXPECT_NEAR(r.bottomFraction, 50.0 / 70, 0.1);

    // Nothing without data.
    b.rec.at(0).ChannelUsed = false;
    EXPECT_FALSE(AnalyseDive(b.rec, b.view.at, b.p, b.state, b.cx.setup, b.ui));
}

TEST(DiveAnalysis, SpeedTemperatureAndDepthClasses)
{
    Trapeze b;
    b.fill(2, std::vector<double>(100, 4.0), 1000, 0, 10);  // 4 m/s throughout
    std::vector<double> temp;
    for (int j = 0; j < 50; ++j)
        temp.push_back(j);
    b.fill(1, temp, 2000, 0, 100);  // one value every 2 s: index j at 2 j s
    b.p.SpeedAnalysis = 1;
    b.p.WaterTemp = 1;
    b.p.SurroundMaxDepth = 10;
    b.p.Frequencies = 1;
    b.p.MinBin = -1;  // class borders away from the samples
    b.p.MaxBin = 49;
    b.p.NrBins = 5;
    b.analyse();
    const DiveRecord& r = b.state.record;
    EXPECT_NEAR(r.speed.descentDistance, 80, 0.01);
    EXPECT_NEAR(r.speed.bottomDistance, 76, 0.01);
    EXPECT_NEAR(r.speed.ascentDistance, 80, 0.01);
    EXPECT_NEAR(r.speed.descentAngle, 30, 0.01);
    EXPECT_NEAR(r.speed.ascentAngle, -30, 0.01);
    EXPECT_NEAR(r.speed.horizontalDistance, 2 * 80 * std::cos(M_PI / 6) + 76, 0.05);

    EXPECT_NEAR(r.temperature.diveMean, 19, 0.01);    // samples 4 .. 34
    EXPECT_NEAR(r.temperature.bottomMean, 19, 0.01);  // 14 .. 24
    EXPECT_NEAR(r.temperature.bottomMin, 14, 0.01);
    EXPECT_NEAR(r.temperature.bottomMax, 24, 0.01);
    EXPECT_NEAR(r.temperature.atMaxDepth, 14, 0.01);
    EXPECT_NEAR(r.temperature.aroundMaxDepth, 14, 0.01);  // 9 .. 19

    EXPECT_EQ(r.depthClasses, (std::vector<int32_t>{10, 10, 10, 10, 20}));

    // Faster than the depth changes: straight down and up.
    b.fill(2, std::vector<double>(100, 1.0), 1000, 0, 10);
    b.analyse();
    EXPECT_DOUBLE_EQ(b.state.record.speed.descentAngle, 90);
    EXPECT_DOUBLE_EQ(b.state.record.speed.ascentAngle, -90);
}

TEST(DiveAnalysis, ExtendedValues)
{
    Trapeze b;
    std::vector<double> temp;
    for (int j = 0; j < 50; ++j)
        temp.push_back(j);
    b.fill(1, temp, 2000, 0, 100);
    auto row = [&](int k, int32_t op, int32_t ch, int32_t sec) {
        b.p.ExtendedParameters[static_cast<std::size_t>(k)] = {op, ch, sec, true};
    };
    row(0, OpMean, 1, SecDive);        // temperature samples 5 .. 34
    row(1, OpMaximum, 0, SecDescent);  // F4 .. F8
    row(2, OpGradient, 0, SecAscent);  // F9 .. F5
    row(3, OpOnsetValue, 0, SecMaxDepth);
    row(4, OpIntegral, 0, SecBottom);
    row(5, OpMinimum, 0, SecSurface);  // the first dive: F4 only
    row(6, OpMedian, 2, SecDive);      // no data in slot 2
    b.p.ExtendedParameters[7] = {OpMean, 0, SecDive, false};
    b.analyse();
    const auto& e = b.state.record.extended;
    EXPECT_NEAR(e[0], 19.5, 0.01);
    EXPECT_NEAR(e[1], 40, 0.01);
    EXPECT_NEAR(e[2], -2, 0.001);
    EXPECT_NEAR(e[3], 40, 0.01);
    EXPECT_NEAR(e[4], 800.0 / 3600, 0.001);
    EXPECT_NEAR(e[5], 0, 0.01);
    EXPECT_EQ(e[6], Missing);
    EXPECT_EQ(e[7], Missing);
    EXPECT_TRUE(b.ui.shown.empty());
}

TEST(DiveAnalysis, DistancesBetweenPositions)
{
    EXPECT_NEAR(GreatCircleKm(0, 0, 0, 90), 20038.5 / 2, 1e-6);
    EXPECT_NEAR(GreatCircleKm(0, 0, 0, 180), 20038.5, 1e-6);
    EXPECT_NEAR(GreatCircleKm(10, 20, 10, 20), 0, 1e-9);

    Trapeze b;
    std::vector<double> lat(100, 0.0), lon;
    for (int i = 0; i < 100; ++i)
        lon.push_back(i * 0.001);
    b.fill(1, lat, 1000, -0.2, 0.2);
    b.fill(2, lon, 1000, -0.2, 0.2);
    b.p.ExtendedParameters[0] = {OpDistance, 1, SecDive, true};
    b.p.ExtendedParameters[1] = {OpWay, 1, SecDive, true};
    b.p.ExtendedParameters[2] = {OpDistance, 2, SecDive, true};  // no longitude channel after slot 2
    b.analyse();
    const double km = 0.059 * M_PI / 180 * 20038.5 / M_PI;
    EXPECT_NEAR(b.state.record.extended[0], km, 0.001);
    EXPECT_NEAR(b.state.record.extended[1], km, 0.001);
    EXPECT_EQ(b.state.record.extended[2], 0);
    EXPECT_EQ(b.ui.texts(), std::vector<std::string>{"Error. Invalid longitude or latitude channel"});
}

TEST(DiveAnalysis, MedianFromTheHistogram)
{
    EXPECT_NEAR(HistogramMedian({1, 2, 3, 4, 100}), 3, 0.1);
    EXPECT_DOUBLE_EQ(HistogramMedian({5, 5, 5}), 5);
    EXPECT_EQ(HistogramMedian({}), 0);
}

}  // namespace vk

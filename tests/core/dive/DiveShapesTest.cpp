#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/dive/BottomPhase.h"
#include "core/dive/DiveShapes.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;
using test::Line;
using test::Stay;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Bottoms with small undulations, as animals leave them.
void Bottom(std::vector<double>& v, double to, int n)
{
    const double from = v.back();
    for (int k = 1; k <= n; ++k)
        v.push_back(from + (to - from) * k / n - 0.3 * std::sin(2 * Pi * k / 15.0));
}

std::vector<double> Dive(char shape)
{
    return example::ShapeProfile(shape, 60, Bottom);
}

}  // namespace

TEST(DiveShapes, EachShapeUnderDefaultParameters)
{
    const std::map<char, int32_t> expected{{'V', ShapeV}, {'U', ShapeU},        {'Y', ShapeY},
                                           {'W', ShapeW}, {'P', ShapeParabola}, {'L', ShapeL}};
    for (const auto& [letter, code] : expected) {
        SCOPED_TRACE(letter);
        const std::vector<double> v = Dive(letter);
        DiveBench b(v);
        const SearchOutcome o = SearchNextDive(b.cx, b.p);
        ASSERT_TRUE(o.accepted);
        EXPECT_EQ(b.state.record.shape, code);
        EXPECT_EQ(b.at(b.view.at.F4), 59);
        EXPECT_EQ(b.at(b.view.at.F5), static_cast<int32_t>(v.size()) - 61);
        EXPECT_NEAR(o.maxDepth, 150, 0.5);
    }
}

TEST(DiveShapes, VOrUByTheShareOfDeepSamples)
{
    // D = 30: 31 samples, k of them in one block deeper than 0.66 M (but not 0.85 M, but the deepest).
    auto profile = [](int k) {
        std::vector<double> v(11, 10.0);
        v.push_back(60);
        v.insert(v.end(), static_cast<std::size_t>(k - 1), 45.0);
        v.resize(31, 10.0);
        return v;
    };
    DiveBench b(profile(10));  // D - w66 = 9: not more than a third of D
    EXPECT_FALSE(TestU(ChannelSeries(b.rec, 0), 0, 30, 60, 0.0));
    DiveBench c(profile(11));
    EXPECT_TRUE(TestU(ChannelSeries(c.rec, 0), 0, 30, 60, 0.0));
    EXPECT_FALSE(TestU(ChannelSeries(c.rec, 0), 0, 30, 60, 1.0));  // slimmer shapes count as V
    // Four points are too few for U.
    DiveBench d({0, 60, 60, 60, 0});
    EXPECT_FALSE(TestU(ChannelSeries(d.rec, 0), 0, 4, 60, 0.0));
}

TEST(DiveShapes, WNeedsTwoTroughsAroundAShallowerMiddle)
{
    std::vector<double> v{0};
    Line(v, 100, 20);
    for (int k = 1; k <= 60; ++k)
        v.push_back(100 - 40 * std::pow(std::sin(Pi * k / 60), 2));
    Line(v, 0, 20);
    DiveBench b(v);
    const DiveParameters p;
    DiveFrame f;
    f.F4 = 0;
    f.F5 = static_cast<int32_t>(v.size()) - 1;
    f.F8 = 20;
    f.F9 = 80;
    EXPECT_EQ(TestWL(b.rec, ChannelSeries(b.rec, 0), f, ShapeU, p, b.ui), ShapeW);
    EXPECT_EQ(b.rec.workshop, nullptr);
    // The bottom's shallowest point at its edge: never W.
    f.F9 = 50;
    EXPECT_EQ(TestWL(b.rec, ChannelSeries(b.rec, 0), f, ShapeV, p, b.ui), ShapeV);
}

TEST(DiveShapes, NoCategoryOnlyBelowALearnedGradient)
{
    const std::vector<double> v = Dive('U');
    for (const double limit : {0.0, 1.6}) {
        DiveBench b(v);
        b.p.WiggMethod = WiggleMethod::None;
        b.p.DiveStops = 0;
        b.p.NoCategoryGradient = limit;
        SearchNextDive(b.cx, b.p);
        EXPECT_NEAR(b.state.record.descentGradient, 1.5, 0.05);
        EXPECT_EQ(b.state.record.shape, limit == 0 ? ShapeU : ShapeNone);
    }
}

TEST(DiveShapes, ShapeButtonsTeachTheGradientAndMoveTheBottom)
{
    DiveState st;
    DiveParameters p;
    DiveFrame f;
    f.F4 = 0;
    f.F5 = 60;
    f.F8 = f.F9 = 30;
    st.record.shape = ShapeV;
    st.record.maxDepthIndex = 28;
    st.record.descentGradient = 1.2;
    st.record.ascentGradient = 0.8;

    PressShapeButton(ShapeU, st, f, p);  // the cursors stay without the follow flag
    EXPECT_EQ(st.record.shape, ShapeU);
    EXPECT_EQ(f.F8, 30);
    PressShapeButton(ShapeNone, st, f, p);
    EXPECT_DOUBLE_EQ(p.NoCategoryGradient, 1.1 * 0.8);
    PressShapeButton(ShapeL, st, f, p);
    EXPECT_DOUBLE_EQ(p.NoCategoryGradient, 0.8);

    st.cursorFollow = true;
    PressShapeButton(ShapeV, st, f, p);
    EXPECT_EQ(f.F8, 28);
    EXPECT_EQ(f.F9, 28);
    PressShapeButton(ShapeW, st, f, p);  // the bottom opens by a sixth of the dive each way
    EXPECT_EQ(f.F8, 18);
    EXPECT_EQ(f.F9, 38);
    PressShapeButton(-1, st, f, p);  // a released button changes nothing
    EXPECT_EQ(st.record.shape, ShapeW);
}

TEST(DiveShapes, BottomKinds)
{
    std::vector<double> v{0};
    Line(v, 100, 10);  // 10 m a sample
    Stay(v, 20);
    Line(v, 0, 10);
    DiveBench b(v);
    const ChannelSeries depth(b.rec, 0);
    DiveFrame f;
    f.F4 = 0;
    f.F5 = 40;
    FixedBottom(depth, f, 100, 0.66);
    EXPECT_EQ(f.F8, 7);  // 70 m, the first at least 66 m deep
    EXPECT_EQ(f.F9, 33);
    EXPECT_NEAR(f.t8, 6.6 * 1000, 1);  // where the line crosses 66 m
    EXPECT_NEAR(f.t9, 33.4 * 1000, 1);

    TamrinBottom(depth, f, 2.0);  // a step below half the mean step ends the descent
    EXPECT_EQ(f.F8, 10);
    EXPECT_EQ(f.F9, 30);

    // Wiggle defined: from the first wiggle deep enough to the last.
    std::vector<double> w(60, 0.0);
    Line(w, 150, 100);  // 150 m at 159
    for (int k = 0; k < 10; ++k) {
        Line(w, 152, 4);
        Line(w, 150, 4);
    }
    Line(w, 0, 100);
    Stay(w, 60);
    for (const WiggleMethod method : {WiggleMethod::Simeone, WiggleMethod::None}) {
        DiveBench d(w);
        d.p.BottomKind = BottomSearchKind::WiggleDefined;
        d.p.WiggMethod = method;
        SearchNextDive(d.cx, d.p);
        if (method == WiggleMethod::Simeone) {
            EXPECT_EQ(d.at(d.view.at.B1), 167);  // the first minimum of the bottom
            EXPECT_EQ(d.at(d.view.at.B2), 231);  // the last one with a turn after it
            EXPECT_EQ(d.state.record.wiggles.count, 10);
        } else {  // no wiggles: the gradient-bounded bottom, at its first and last deep turn
            EXPECT_EQ(d.at(d.view.at.B1), 163);
            EXPECT_EQ(d.at(d.view.at.B2), 235);
            EXPECT_EQ(d.state.record.wiggles.count, 0);
        }
    }
}

// Short dives are resampled at twice the density for the parabola test, but
// the smoothing width comes from the dive's own points: a steep V of 16
// points smoothed twice as wide would round into a parabola.
TEST(DiveShapes, ShortDivesAreSmoothedByTheirOwnLength)
{
    for (const int points : {12, 16, 20}) {
        SCOPED_TRACE(points);
        std::vector<double> v(5, 0.0), parabola(5, 0.0);
        for (int i = 0; i <= points; ++i) {
            const double t = 2.0 * i / points - 1;
            v.push_back(40 * (1 - std::fabs(t)));
            parabola.push_back(40 * (1 - t * t));
        }
        v.resize(v.size() + 5, 0.0);
        parabola.resize(parabola.size() + 5, 0.0);
        const DiveBench vDive(v), pDive(parabola);
        EXPECT_FALSE(TestParabola(ChannelSeries(vDive.rec, 0), 5, 5 + points, 40, 0.9));
        EXPECT_TRUE(TestParabola(ChannelSeries(pDive.rec, 0), 5, 5 + points, 40, 0.9));
    }
}

}  // namespace vk

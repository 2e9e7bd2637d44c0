#include <gtest/gtest.h>

#include <map>

#include "core/dive/DiveSearch.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;
using test::Line;
using test::Stay;

namespace {

const char* Letter(int32_t code)
{
    static const char* const letters[] = {"V", "U", "Y", "W", "P", "L", "X"};
    return letters[code];
}

// Searches every dive of the simulated record (of `count` samples); per
// truth dive the found one. A dive the record's end cuts off is left out, as
// the truth leaves it out.
struct FoundDive {
    int32_t f4, f5, f8, f9, shape;
    StopTable stops;
};

std::vector<FoundDive> SearchAll(DiveBench& b, int32_t count)
{
    std::vector<FoundDive> found;
    while (true) {
        const SearchOutcome o = SearchNext(b.cx, b.p);
        if (!o.accepted)
            break;
        found.push_back({b.at(b.view.at.F4), b.at(b.view.at.F5), b.at(b.view.at.B1), b.at(b.view.at.B2),
                         b.state.record.shape, b.state.stops});
    }
    if (!found.empty() && found.back().f5 >= count - 2)
        found.pop_back();
    return found;
}

}  // namespace

// The generator's dives of every shape, found one after another: each framed
// from its last surface sample to its first one again and given its shape.
TEST(DiveSearch, GeneratorDivesAreFramedAndClassified)
{
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic ? "automatic" : "by end test");
        const test::Simulated sim = test::Simulate(86400);
        DiveBench b(sim.depth);
        b.p.Threshold = 5;
        b.p.TrekBaseline = 1;  // the sensor reads 1.2 m at the surface
        b.p.AutoDive = automatic;
        const std::vector<FoundDive> found = SearchAll(b, static_cast<int32_t>(sim.depth.size()));
        ASSERT_EQ(found.size(), sim.dives.size());

        std::map<std::string, std::pair<int, int>> shapes;  // right, all
        for (std::size_t k = 0; k < found.size(); ++k) {
            const example::DiveTruth& truth = sim.dives[k];
            const FoundDive& f = found[k];
            EXPECT_NEAR(f.f4, truth.start - 1, 3) << k;
            EXPECT_NEAR(f.f5, truth.end + 1, 3) << k;
            EXPECT_LE(f.f4, f.f8);
            EXPECT_LE(f.f8, f.f9);
            EXPECT_LE(f.f9, f.f5);
            auto& [right, all] = shapes[example::ShapeLetter(truth.shape)];
            right += Letter(f.shape) == std::string(example::ShapeLetter(truth.shape));
            ++all;
        }
        ASSERT_EQ(shapes.size(), 6u);
        for (const auto& [shape, count] : shapes) {
            SCOPED_TRACE(shape);
            EXPECT_GE(count.first, 0.9 * count.second);
        }
        // The stretch after a dive reaches into the next descent: a little above the surface.
        EXPECT_NEAR(b.rec.desc(0).yOffset, example::Simulator::SurfaceOffset, 0.2);
    }
}

// Stops the generator put into descents and ascents are found there, and
// clean phases stay without stops (Y plateaus and L slopes pause by nature).
TEST(DiveSearch, GeneratorStopsAreFound)
{
    const test::Simulated sim = test::Simulate(86400);
    DiveBench b(sim.depth);
    b.p.Threshold = 5;
    b.p.TrekBaseline = 1;
    const std::vector<FoundDive> found = SearchAll(b, static_cast<int32_t>(sim.depth.size()));
    ASSERT_EQ(found.size(), sim.dives.size());
    int stopsMade = 0, stopsFound = 0, cleanPhases = 0, cleanKept = 0;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const example::DiveTruth& truth = sim.dives[k];
        if (truth.shape == example::Shape::Y || truth.shape == example::Shape::L)
            continue;
        for (const int phase : {PhaseDescent, PhaseAscent}) {
            const bool made = phase == PhaseDescent ? truth.descentStop : truth.ascentStop;
            const int n = found[k].stops.count[static_cast<std::size_t>(phase)];
            (made ? stopsMade : cleanPhases)++;
            if (made && n >= 1) {
                ++stopsFound;
                const DiveStop& s = found[k].stops.stop[static_cast<std::size_t>(phase)][0];
                EXPECT_GE(s.end - s.onset, 5 * 1000.0);
                EXPECT_GT(s.onset, b.t(found[k].f4));
                EXPECT_LT(s.end, b.t(found[k].f5));
            }
            if (!made && n == 0)
                ++cleanKept;
        }
    }
    EXPECT_GT(stopsMade, 20);
    EXPECT_GE(stopsFound, 0.9 * stopsMade);
    EXPECT_GE(cleanKept, 0.95 * cleanPhases);
}

namespace {

// Surface, a dive of `deep` samples at 10 m reached in one step, surface again.
std::vector<double> BoxDive(int deep, int surface = 30)
{
    std::vector<double> v(static_cast<std::size_t>(surface), 0.0);
    v.push_back(8);
    v.insert(v.end(), static_cast<std::size_t>(deep), 10.0);
    v.push_back(8);
    v.insert(v.end(), static_cast<std::size_t>(surface), 0.0);
    return v;
}

}  // namespace

TEST(DiveSearch, AcceptanceNeedsMoreThanTheLeastDuration)
{
    // Frames from the last surface sample (29) to the first one after the dive.
    DiveBench exact(BoxDive(3));  // 29 .. 35: 6 s
    exact.p.Threshold = 5;
    SearchOutcome o = SearchNextDive(exact.cx, exact.p);
    EXPECT_EQ(exact.at(exact.view.at.F4), 29);
    EXPECT_EQ(exact.at(exact.view.at.F5), 35);
    EXPECT_FALSE(o.accepted);
    EXPECT_FALSE(o.endOfData);
    EXPECT_EQ(exact.rec.pendingHint, HintTooFewPoints);  // fewer than 11 points

    DiveBench longer(BoxDive(4));
    longer.p.Threshold = 5;
    o = SearchNextDive(longer.cx, longer.p);
    EXPECT_TRUE(o.accepted);

    // The common sampling factor stretches the duration.
    exact.view = ViewState{};
    exact.cx.setup.commSampInterval = 1.2;
    EXPECT_TRUE(SearchNextDive(exact.cx, exact.p).accepted);
}

TEST(DiveSearch, TheLoopPassesOverShortDivesToTheNextLongOne)
{
    std::vector<double> v = BoxDive(3);
    const std::vector<double> second = BoxDive(40);
    v.insert(v.end(), second.begin(), second.end());
    DiveBench b(v);
    b.p.Threshold = 5;
    SearchOutcome o = SearchDives(b.cx, b.p);
    EXPECT_TRUE(o.accepted);
    EXPECT_EQ(b.at(b.view.at.F4), 65 + 29);
    o = SearchDives(b.cx, b.p);
    EXPECT_FALSE(o.accepted);
    EXPECT_TRUE(o.endOfData);
    EXPECT_EQ(b.at(b.view.at.F4), 65 + 29);  // the cursors stay on the last dive
}

TEST(DiveSearch, EdgeCasesOfTheSearch)
{
    // " Illegal parameter ^S-R": nothing moves.
    DiveBench b(BoxDive(20));
    b.p.Threshold = 5;
    b.p.LenRest = 0;
    b.view.at.F1 = 1234;
    const LinePositions before = b.view.at;
    EXPECT_TRUE(SearchNextDive(b.cx, b.p).refused);
    EXPECT_EQ(b.ui.texts(), std::vector<std::string>{" Illegal parameter ^S-R"});
    EXPECT_EQ(b.view.at, before);

    // A threshold below 3 m sets the surface noise level for the rest of the run.
    b.p.LenRest = 4;
    b.p.Threshold = 2;
    SearchNextDive(b.cx, b.p);
    EXPECT_NEAR(b.state.surfaceNoise, 0.05, 1e-4);
    b.p.Threshold = 5;
    b.view = ViewState{};
    SearchNextDive(b.cx, b.p);
    EXPECT_LT(b.state.surfaceNoise, 0.0501);

    // Fewer than 6 points after the onset candidate: the end of the data.
    std::vector<double> cut(30, 0.0);
    cut.insert(cut.end(), {8, 10, 10, 9, 9});
    DiveBench c(cut);
    c.p.Threshold = 5;
    const SearchOutcome o = SearchNextDive(c.cx, c.p);
    EXPECT_TRUE(o.endOfData);
    EXPECT_EQ(c.view.at, LinePositions{});
}

TEST(DiveSearch, OnsetNeverBeforeThePreviousEnd)
{
    std::vector<double> v(20, 0.0);
    v.insert(v.end(), {2, 4, 6, 10});
    Line(v, 20, 5);
    Stay(v, 20);
    Line(v, 0, 10);
    Stay(v, 20);
    DiveBench b(v);
    b.p.Threshold = 5;
    b.view.at.F5 = b.t(21);  // the previous dive ended inside this one's descent
    SearchNextDive(b.cx, b.p);
    EXPECT_EQ(b.at(b.view.at.F4), 21);

    b.view.at.F5 = b.t(10);
    SearchNextDive(b.cx, b.p);
    EXPECT_EQ(b.at(b.view.at.F4), 19);  // the last surface sample
}

TEST(DiveSearch, FlatMaximumIsCentred)
{
    DiveBench b(test::Trapezoid(0, 20, 30, 10, 4, 10, 20));  // five equal samples from index 29
    b.p.Threshold = 5;
    SearchNextDive(b.cx, b.p);
    EXPECT_EQ(b.state.record.maxDepthIndex, 31);
    EXPECT_NEAR(b.state.record.maxDepth, 30, 0.01);
}

TEST(DiveSearch, WindowAndShCursorsArePlacedAroundTheDive)
{
    DiveBench b(test::Trapezoid(0, 400, 50, 30, 40, 30, 600));  // back at the surface at 499
    b.p.Threshold = 5;
    b.p.WindowSize = 300;
    b.rec.desc(0).DisplayFlags = ShowBCursors | ShowShCursors;
    SearchOutcome o = SearchNextDive(b.cx, b.p);
    ASSERT_TRUE(o.accepted);
    const int32_t f4 = b.at(b.view.at.F4), f5 = b.at(b.view.at.F5);
    EXPECT_EQ(f4, 399);
    EXPECT_EQ(f5, 499);
    // l = max((300 - 100) / 2, 30) = 100: a quarter of 2 l before, three quarters after.
    EXPECT_TRUE(o.windowMoved);
    EXPECT_EQ(b.at(b.view.at.F1), 399 - 50);
    EXPECT_EQ(b.at(b.view.at.F2), 499 + 150);
    EXPECT_EQ(b.view.at.Sh1, b.view.at.Sh2);
    EXPECT_EQ(b.at(b.view.at.Sh1), (b.at(b.view.at.B1) + b.at(b.view.at.B2)) / 2);
    EXPECT_EQ(b.state.record.shape, ShapeU);

    // A floating window keeps its place while the dive ends inside it.
    b.view.at.F4 = b.view.at.F5 = 0;
    b.view.at.F1 = 0;
    b.view.at.F2 = b.t(900);
    o = SearchNextDive(b.cx, b.p);
    EXPECT_FALSE(o.windowMoved);
    EXPECT_EQ(b.view.at.F2, b.t(900));
    b.p.FloatWindow = 0;
    b.view.at.F5 = 0;
    EXPECT_TRUE(SearchNextDive(b.cx, b.p).windowMoved);
}

TEST(DiveSearch, SurfaceBaselineFollowsTheDives)
{
    const std::vector<double> v = test::Trapezoid(1.5, 200, 40, 30, 30, 30, 200);
    DiveBench b(v);
    b.p.Threshold = 5;
    b.p.TrekBaseline = 1;
    SearchOutcome o = SearchNextDive(b.cx, b.p);
    EXPECT_TRUE(o.baselineShifted);
    EXPECT_NEAR(b.rec.desc(0).yOffset, 1.5, 0.01);
    EXPECT_NEAR(b.state.record.maxDepth, 38.5, 0.01);
    EXPECT_EQ(b.at(b.view.at.F5), 289);

    // Not while the polynomial is applied.
    DiveBench p(v);
    p.p.Threshold = 5;
    p.p.TrekBaseline = 1;
    p.rec.desc(0).bApplyPolynom = true;
    p.rec.desc(0).Poly_C = 1;
    o = SearchNextDive(p.cx, p.p);
    EXPECT_FALSE(o.baselineShifted);
    EXPECT_EQ(p.rec.desc(0).yOffset, 0);
}

TEST(DiveSearch, SearchNextFollowsUpAndFitsTheDepthRange)
{
    DiveBench b(test::Trapezoid(0, 100, 40, 30, 30, 30, 100));
    b.p.Threshold = 5;
    b.p.AdjustYSize = 1;
    b.p.EndDiveValid = 1;
    b.view.at.F5 = b.t(50);
    const SearchOutcome o = SearchNext(b.cx, b.p);
    ASSERT_TRUE(o.accepted);
    EXPECT_EQ(b.state.record.previous.end, b.t(50));  // the dive left counts as the previous one
    EXPECT_NEAR(b.rec.desc(0).Min, -2, 0.01);
    EXPECT_NEAR(b.rec.desc(0).Max, 42, 0.01);
    EXPECT_EQ(b.state.stops.total(), 0);
    EXPECT_EQ(b.state.record.wiggles.count, 0);
}

}  // namespace vk

namespace vk {

// Parameters from a damaged setup file: the search and the analysis finish.
TEST(DiveSearch, AbsurdParametersStayHarmless)
{
    const std::vector<double> v = test::Trapezoid(0, 100, 40, 30, 30, 30, 100);
    DiveBench b(v);
    b.p.Threshold = 5;
    b.p.LenRest = INT32_MAX / 2;
    b.p.StopLength1 = 100000;
    b.p.StopMinDuration = 100000;
    b.p.WindowSize = INT32_MAX;
    b.p.ParabolaHeight = -1e9;
    b.p.WiggDuration = INT32_MAX;
    b.p.WiggRelPreceding = 1e300;
    b.p.SurroundMaxDepth = INT32_MAX;
    b.p.TrekBaseline = 1;
    b.p.AutoDive = 1;
    SearchNext(b.cx, b.p);
    AnalyseFramedDive(b.cx, b.p);
    for (const double t : {b.view.at.F1, b.view.at.F2, b.view.at.F4, b.view.at.F5, b.view.at.B1, b.view.at.B2}) {
        EXPECT_GE(t, 0);
        EXPECT_LE(t, b.t(static_cast<int32_t>(v.size())));
    }
    b.rec.desc(0).SampRate = 0;  // and a channel without an interval
    EXPECT_FALSE(SearchNext(b.cx, b.p).accepted);
    EXPECT_FALSE(AnalyseFramedDive(b.cx, b.p));
}

// A record with missing values, as a logger file with empty fields gives it:
// the loader stores the low end of the range there (-10 m here) and lists them.
TEST(DiveSearch, NoDiveAcrossMissingValues)
{
    std::vector<double> depth;
    auto dive = [&depth](double to) {
        const std::vector<double> d = test::Trapezoid(2, 20, to, 10, 10, 10, 20);
        depth.insert(depth.end(), d.begin(), d.end());
    };
    dive(40);  // A: 0 .. 69, then the seal ashore: 70 .. 169
    depth.resize(170, 2);
    dive(30);  // B: 170 .. 239
    dive(50);  // C: 240 .. 309, cut at 265 .. 274 while deep
    dive(20);  // D: 310 .. 379, its first deep sample follows one missing
    depth.resize(400, 2);
    DiveBench b(depth);
    const auto missing = [&b](int32_t from, int32_t to) {
        for (int32_t i = from; i < to; ++i)
            WriteRaw(b.rec, i, 0, 0);
        b.rec.at(0).missing.add(from, to);
    };
    missing(70, 170);
    missing(265, 275);
    missing(330, 331);
    b.p.Threshold = 4;
    b.p.TrekBaseline = 1;
    const std::vector<FoundDive> found = SearchAll(b, static_cast<int32_t>(depth.size()));
    ASSERT_EQ(found.size(), 3u);
    for (const FoundDive& f : found)
        EXPECT_FALSE(AnyMissing(b.rec, 0, f.f4, int64_t{f.f5} + 1)) << f.f4 << ".." << f.f5;
    // A ends at the surface before the missing stretch, B begins after it.
    EXPECT_LT(found[0].f5, 70);
    EXPECT_GE(found[1].f4, 170);
    EXPECT_LE(found[1].f5, 240);
    // C has no end in the data: passed over. D is framed from its first value.
    EXPECT_EQ(found[2].f4, 331);
    EXPECT_GT(found[2].f5, 340);
    // The surface baseline is the surface (2 m), never the missing stretches (-10 m).
    EXPECT_NEAR(b.rec.desc(0).yOffset, 2, 0.5);

    // Analyse and Write refuse cursors moved across missing values.
    b.view.at.F4 = b.t(60);
    b.view.at.F5 = b.t(200);
    EXPECT_FALSE(AnalyseFramedDive(b.cx, b.p));
    ASSERT_EQ(b.ui.texts().size(), 1u);
    EXPECT_NE(b.ui.texts()[0].find("F4..F5 holds samples without a value"), std::string::npos);
}

}  // namespace vk

#include <gtest/gtest.h>

#include <memory>

#include "core/dive/Bouts.h"
#include "support/DiveFixture.h"

namespace vk {

using test::DiveBench;
using test::Line;
using test::Stay;

namespace {

// Dives of 60 s (20 s down, 20 s at depth, 20 s up) after surface stretches:
// bout A of three dives 80 s apart, 1000 s of surface, B of two dives 100 s
// apart (too short), 1000 s, C a single dive of 460 s.
std::vector<double> ThreeBouts()
{
    std::vector<double> v;
    auto dive = [&v](int surface, double depth, int stay) {
        Stay(v, surface);
        Line(v, depth, 20);
        Stay(v, stay);
        Line(v, 0, 20);
    };
    v.push_back(0);
    dive(99, 30, 20);
    dive(80, 40, 20);
    dive(80, 30, 20);
    dive(1000, 50, 20);
    dive(100, 50, 20);
    dive(1000, 60, 420);
    Stay(v, 500);
    return v;
}

struct Bouts : ::testing::Test {
    DiveBench b{ThreeBouts()};
    void SetUp() override { b.p.Threshold = 10; }
};

}  // namespace

TEST_F(Bouts, FramedOneAfterAnotherAndSummarised)
{
    BoutOutcome o = FindBout(b.cx, b.p, true);  // the first only frames
    EXPECT_TRUE(o.framed);
    EXPECT_FALSE(o.summary);
    EXPECT_EQ(b.at(b.view.at.F4), 99);
    EXPECT_EQ(b.at(b.view.at.F5), 99 + 3 * 60 + 2 * 80);
    EXPECT_EQ(b.state.boutCounter, 1);

    o = FindBout(b.cx, b.p, true);  // A summarised; B is too short, C follows
    ASSERT_TRUE(o.summary);
    const BoutSummary& a = *o.summary;
    EXPECT_EQ(a.dives, 3);
    EXPECT_DOUBLE_EQ(a.duration, 340);
    EXPECT_NEAR(a.deepestDive, 40, 0.01);
    EXPECT_NEAR(a.totalDiveTime, 180, 0.01);
    EXPECT_NEAR(a.meanDiveDuration, 60, 0.01);
    EXPECT_NEAR(a.surfaceTime, 160, 0.01);
    EXPECT_NEAR(a.divesPerHour, 3 * 3600.0 / 340, 1e-9);
    EXPECT_EQ(a.shapes[1], 3);                                  // U
    EXPECT_NEAR(a.meanDescentRate, (1.5 + 2 + 1.5) / 3, 0.01);  // 30, 40 and 30 m in 20 s
    EXPECT_NEAR(a.totalBottomTime, 60, 0.5);
    EXPECT_NEAR(a.bottomShare, a.totalBottomTime / (340 + 1000 + 1), 1e-3);  // the pause that ended it counts
    EXPECT_TRUE(o.framed);
    const int32_t c = 99 + 3 * 60 + 2 * 80 + 1000 + 60 + 100 + 60 + 1000;
    EXPECT_EQ(b.at(b.view.at.F4), c);
    EXPECT_EQ(b.at(b.view.at.F5), c + 460);

    o = FindBout(b.cx, b.p, true);  // C, a bout of one dive; nothing after it
    ASSERT_TRUE(o.summary);
    EXPECT_EQ(o.summary->dives, 1);
    EXPECT_NEAR(o.summary->deepestWithBottom, 60, 0.01);
    EXPECT_EQ(o.summary->deepestWithoutBottom, -1e33);  // no dive without bottom: missing
    EXPECT_FALSE(o.framed);
    EXPECT_EQ(b.state.boutCounter, 2);
}

TEST_F(Bouts, LimitsAndPauses)
{
    const double interval = 1000;
    EXPECT_TRUE(PartsBouts(300000, b.p, interval));  // exactly the intermediate limit parts two bouts
    EXPECT_FALSE(PartsBouts(299000, b.p, interval));
    EXPECT_FALSE(LongEnoughBout(300000, b.p, interval));
    EXPECT_TRUE(LongEnoughBout(301000, b.p, interval));

    b.p.BoutMinDur = 0;  // no limits: nothing happens
    const LinePositions before = b.view.at;
    EXPECT_FALSE(FindBout(b.cx, b.p, true).framed);
    EXPECT_EQ(b.view.at, before);
}

TEST_F(Bouts, GroupedAsTheyComeLikeTheFramedOnes)
{
    // The dives one after another, as the automatic analysis meets them.
    BoutGrouper grouper;
    std::vector<BoutSummary> grouped;
    while (SearchNext(b.cx, b.p).accepted) {
        AnalyseDive(b.rec, b.view.at, b.p, b.state, b.cx.setup, b.ui);
        const ChannelSeries depth(b.rec, 0);
        if (auto bout = grouper.add(b.state.record, b.state.stops, BottomExtrema(depth, b.view.at, b.p.WiggAmplitude),
                                    b.p, 1000))
            grouped.push_back(*bout);
    }
    if (auto bout = grouper.finish(b.p, 1000))
        grouped.push_back(*bout);
    ASSERT_EQ(grouped.size(), 2u);

    DiveBench framed(ThreeBouts());
    framed.p.Threshold = 10;
    FindBout(framed.cx, framed.p, true);
    const BoutSummary a = *FindBout(framed.cx, framed.p, true).summary;
    EXPECT_EQ(grouped[0].dives, a.dives);
    EXPECT_DOUBLE_EQ(grouped[0].duration, a.duration);
    EXPECT_DOUBLE_EQ(grouped[0].meanDepth, a.meanDepth);
    EXPECT_DOUBLE_EQ(grouped[0].bottomShare, a.bottomShare);
    EXPECT_EQ(grouped[0].wiggles, a.wiggles);
    EXPECT_EQ(grouped[1].dives, 1);
}

TEST_F(Bouts, TheSummaryAnalysesTheDivesThatFramedTheBout)
{
    EXPECT_TRUE(FindBout(b.cx, b.p, false).framed);  // Ctrl+F frames A
    // Then the baseline moves (a later search shifted it): searched anew, the
    // surface would lie below the threshold and A would be other dives.
    b.rec.desc(0).yOffset = -12;
    const BoutOutcome o = FindBout(b.cx, b.p, true);
    ASSERT_TRUE(o.summary);
    EXPECT_EQ(o.summary->dives, 3);
    EXPECT_NEAR(o.summary->deepestDive, 40, 0.01);
    EXPECT_NEAR(o.summary->meanMaxDepth, (30 + 40 + 30) / 3.0, 0.01);
    EXPECT_EQ(b.rec.desc(0).yOffset, -12);  // the summary leaves the baseline as it found it
}

// The DiveStops cell of a bout: the stops of its dives as the dive stops
// setting finds them, the same for Ctrl+B and for a run; empty when they are off.
TEST(BoutStops, OneRuleForFramedBoutsAndRuns)
{
    // Two dives 80 s apart, each with a stop of 10 s at 15 m on the way down.
    std::vector<double> v{0};
    for (int k = 0; k < 2; ++k) {
        Stay(v, 80);
        Line(v, 15, 10);
        Stay(v, 10);
        Line(v, 30, 10);
        Stay(v, 20);
        Line(v, 0, 20);
    }
    Stay(v, 400);
    for (const uint8_t stops : {uint8_t{1}, uint8_t{0}}) {
        SCOPED_TRACE(stops);
        auto bench = [&v, stops] {
            auto d = std::make_unique<DiveBench>(v);
            d->p.Threshold = 5;
            d->p.BoutMinDur = 100;
            d->p.DiveStops = stops;
            return d;
        };
        auto framed = bench();
        FindBout(framed->cx, framed->p, true);
        const BoutSummary bout = *FindBout(framed->cx, framed->p, true).summary;

        auto run = bench();
        BoutGrouper grouper;
        while (SearchNext(run->cx, run->p).accepted) {
            AnalyseDive(run->rec, run->view.at, run->p, run->state, run->cx.setup, run->ui);
            grouper.add(run->state.record, run->state.stops,
                        BottomExtrema(ChannelSeries(run->rec, 0), run->view.at, run->p.WiggAmplitude), run->p, 1000);
        }
        const BoutSummary grouped = *grouper.finish(run->p, 1000);
        EXPECT_EQ(bout.dives, 2);
        EXPECT_EQ(bout.stops, grouped.stops);
        if (stops) {
            EXPECT_EQ(bout.stops, 2);
        } else {
            EXPECT_EQ(bout.stops, -1);
            Recording rec;
            Settings s;
            const std::string line = BoutLine(1, bout, rec, s);
            std::vector<std::string> cells;
            for (std::size_t at = 0, next; at <= line.size(); at = next + 1) {
                next = std::min(line.find('\t', at), line.size());
                cells.push_back(line.substr(at, next - at));
            }
            EXPECT_EQ(cells.at(7), "");  // DiveStops: not searched, not 0
        }
    }
}

TEST(BoutLines, EveryColumnOfTheHeader)
{
    Recording rec;
    Settings s;
    BoutSummary b;
    b.dives = 2;
    const std::string header = BoutHeader('\t'), line = BoutLine(3, b, rec, s);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), std::count(line.begin(), line.end(), '\t'));
    EXPECT_EQ(line.substr(0, 2), "3\t");
    EXPECT_EQ(line.find("e+"), std::string::npos);  // no markers
}

}  // namespace vk

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "../process/ProcessFixture.h"
#include "core/calc/Frequency.h"
#include "core/calc/SplineNodes.h"
#include "core/view/Alter.h"
#include "support/FurSealRecord.h"

namespace vk {

namespace {

using test::ProcessFixture;

struct CalcFixture : ProcessFixture {
    // Slot 0: y = f(i) for i = 0 .. n - 1, every `interval` ms.
    template <typename F>
    void wave(int32_t n, int32_t interval, F f)
    {
        fill(n);
        ChannelDescriptor& d = rec.desc(0);
        d.SampRate = interval;
        for (int32_t i = 0; i < n; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(std::lround((f(i) + 100) * 100)), 0);
        rec.time.LongestSpan = static_cast<double>(interval) * (n - 1);
    }
    template <typename F>
    CommandResult command(F f)
    {
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        return f(cx);
    }
};

Extremum Tag(int32_t index, double value, int type)
{
    Extremum e;
    e.index = index;
    e.value = value;
    e.type = type;
    return e;
}

}  // namespace

TEST_F(CalcFixture, ASineGivesItsFrequencyAndAmplitude)
{
    // 20 periods of 10 s sampled every 100 ms, amplitude 10 about 50.
    const double pi = std::acos(-1.0);
    wave(2000, 100, [&](int32_t i) { return 50 + 10 * std::sin(2 * pi * i / 100.0); });
    const TagList list = CalcFrequency(rec, 0, 0, 199900, 1.0);
    ASSERT_GE(list.tags.size(), 38u);
    for (std::size_t k = 1; k < list.tags.size(); ++k)
        EXPECT_EQ(list.tags[k].type, -list.tags[k - 1].type);  // alternating
    EXPECT_NEAR(list.results.frequency, 0.1, 0.001);
    EXPECT_NEAR(list.results.averageMax, 60, 0.1);
    EXPECT_NEAR(list.results.averageMin, 40, 0.1);
    EXPECT_NEAR(list.results.averagePeakToPeak, 20, 0.2);
    EXPECT_LT(list.results.stdDevMax, 0.1);
    // A maximum between two minima: its frequency, 1 / 10 s, and its integral.
    const Extremum& top = list.tags[list.tags[0].type == -1 ? 1 : 2];
    EXPECT_NEAR(top.frequency, 0.1, 0.001);
    EXPECT_NEAR(top.integral, 50 * 10, 10);

    // A flat stretch with a hysteresis of 0 tags every change; only maxima give no results.
    wave(10, 1000, [](int32_t i) { return i % 2 ? 2.0 : 1.0; });
    EXPECT_EQ(CalcFrequency(rec, 0, 0, 9000, 0).tags.size(), 8u);
    const std::vector<Extremum> maxima{Tag(1, 5, 1), Tag(5, 6, 1)};
    const FrequencyResults none = ResultsOf(maxima, 1000);
    EXPECT_EQ(none.frequency, 0);
    EXPECT_EQ(none.averageMax, 0);
}

TEST_F(CalcFixture, TagsAddedAndRemovedByHand)
{
    wave(100, 1000, [](int32_t i) { return i % 20 < 10 ? 1.0 * (i % 10) : 10.0 - i % 10; });
    TagList list;
    list.slot = 0;
    list.interval = 1000;
    list.results.averagePeakToPeak = 7;
    // Into an empty list: a maximum with the average peak-to-peak.
    ASSERT_TRUE(InsertTag(list, rec, 10, 10, ui));
    EXPECT_EQ(list.tags[0].type, 1);
    EXPECT_EQ(list.tags[0].peakToPeak, 7);
    // Between tags: typed against the nearest, its and its successor's peak-to-peak anew.
    ASSERT_TRUE(InsertTag(list, rec, 40, 12, ui));  // above its nearest (10 at 10): a maximum
    ASSERT_TRUE(InsertTag(list, rec, 20, 0, ui));   // nearer 10 (value 10): a minimum
    ASSERT_EQ(list.tags.size(), 3u);
    EXPECT_EQ(list.tags[1].index, 20);
    EXPECT_EQ(list.tags[1].type, -1);
    EXPECT_EQ(list.tags[1].peakToPeak, 10);
    EXPECT_EQ(list.tags[2].peakToPeak, 12);
    ASSERT_TRUE(InsertTag(list, rec, 60, 0.5, ui));  // after the last: a minimum
    // The maximum at 40, now between the minima at 20 and 60, gets frequency and integral.
    EXPECT_NEAR(list.tags[2].frequency, 1.0 / 40, 1e-12);
    EXPECT_GT(list.tags[2].integral, 0);
    EXPECT_GT(list.results.frequency, 0);
    EXPECT_FALSE(InsertTag(list, rec, 40, 3, ui));  // a tag there already
    EXPECT_EQ(ui.texts().back(), "Error at include into list");
    // Discard: at a tie the earlier goes (30 lies between 20 and 40).
    ASSERT_TRUE(DiscardTag(list, rec, 30, ui));
    EXPECT_EQ(list.tags[1].index, 40);
    EXPECT_EQ(list.tags[1].integral, 0);  // no longer between two minima
    list.tags.clear();
    EXPECT_FALSE(DiscardTag(list, rec, 30, ui));
    EXPECT_EQ(ui.texts().back(), "Error at discard from list");
}

TEST_F(CalcFixture, TheFrequencyFileLineByLine)
{
    TagList list;
    list.slot = 0;
    list.interval = 500;
    list.tags = {Tag(2, -1.5, -1), Tag(6, 3.25, 1), Tag(10, -1, -1)};
    list.tags[1].integral = 12.5;
    list.tags[1].frequency = 0.25;
    list.tags[1].peakToPeak = 4.75;
    list.tags[2].peakToPeak = -4.25;
    list.results = ResultsOf(list.tags, 500);
    std::istringstream text(FrequencyFileText(list));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Frequency 0.25");  // (2 + 1 - 1) / (2 x 4 s)
    EXPECT_EQ(lines[1], "Avg Peak to peak value 4.5");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Onset[sec]\ty-value\tPeak to peak\tIntegral\tFrequency\tType");
    EXPECT_EQ(lines[4], "       1.000\t   -1.500\t    0.000\t    0.000\t         \tMinimum");
    EXPECT_EQ(lines[5], "       3.000\t    3.250\t    4.750\t   12.500\t    0.250\tMaximum");
    EXPECT_EQ(FrequencyLines(list.results)[2], "Frequency  \t0.25 Hz");
    const std::string file = dir.file("tags_Frequ.txt");
    EXPECT_TRUE(ExportFrequency(list, file, ui));
    list.tags.clear();
    EXPECT_FALSE(ExportFrequency(list, file, ui));
    EXPECT_EQ(ui.texts().back(), "No results to export.");
}

TEST_F(CalcFixture, ReplaceWritesTheSplineBetweenTheFirstAndLastNode)
{
    NodeList nodes;
    AkimaSpline spline;
    const std::vector<uint16_t> before = words(0);
    // Three nodes: nothing; the fourth in another channel is refused.
    for (const double s : {40.0, 10.0, 30.0})
        ASSERT_TRUE(AddNode(nodes, 0, s * 1000, 20 + s / 10, ui));
    command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    EXPECT_EQ(ui.texts().back(), " A spline needs at least 4 nodes.");
    EXPECT_EQ(words(0), before);
    EXPECT_FALSE(AddNode(nodes, 1, 20000, 22, ui));
    EXPECT_EQ(ui.texts().back(), " Node rejected. All nodes must belong to the same channel");
    ASSERT_TRUE(AddNode(nodes, 0, 20000, 22, ui));  // placed out of order: sorted by the builder
    EXPECT_FALSE(LiveSplinePoints(nodes, spline, 400, 0, 1e9).empty());

    view.active = 0;
    command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    const std::vector<uint16_t> after = words(0);
    for (int32_t i = 0; i < Samples; ++i) {
        if (i < 11 || i > 40) {
            ASSERT_EQ(after[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(i)]) << i;
        }
    }
    for (const int32_t i : {20, 30, 40})  // through the nodes, within a raw step
        EXPECT_NEAR(ReadValue(rec, i, 0).value, 20 + i / 10.0, 0.01) << i;
    EXPECT_NE(after[25], before[25]);
    EXPECT_TRUE(nodes.empty());
    EXPECT_EQ(undo->MenuCaption(), "Undo Spline");
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(0), before);
    // The same nodes in increasing order give the same samples.
    for (const double sec : {10.0, 20.0, 30.0, 40.0})
        AddNode(nodes, 0, sec * 1000, sec == 20 ? 22 : 20 + sec / 10, ui);
    command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    EXPECT_EQ(words(0), after);
    ASSERT_TRUE(undo->Pop().undone);

    // Two nodes at one time: no curve, and Replace says so.
    for (const double s : {1.0, 2.0, 2.0, 3.0})
        AddNode(nodes, 0, s * 1000, s, ui);
    EXPECT_TRUE(LiveSplinePoints(nodes, spline, 400, 0, 1e9).empty());
    command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    EXPECT_EQ(ui.texts().back(), " Two nodes lie at the same time. Move or discard one.");
    EXPECT_EQ(words(0), before);

    // Past the channel's end: cut to its samples; values beyond the raw range clamped.
    nodes.clear();
    for (const double s : {990.0, 995.0, 1200.0, 1300.0})
        AddNode(nodes, 0, s * 1000, s > 1000 ? 1e6 : 0, ui);
    const uint16_t beyond = words(0, 1)[1000];
    command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    EXPECT_EQ(words(0)[999], 65535);
    EXPECT_EQ(words(0, 1)[1000], beyond);  // nothing past the last sample
    EXPECT_EQ(rec.pendingHint, HintRangeExcess);

    // The 101st node.
    nodes.clear();
    for (int k = 0; k < MostNodes; ++k)
        ASSERT_TRUE(AddNode(nodes, 0, k * 1000.0, 1, ui));
    EXPECT_FALSE(AddNode(nodes, 0, 500000, 1, ui));
    EXPECT_EQ(ui.texts().back(), "This is the limit. No more points allowed.");
}

TEST_F(CalcFixture, AlterGivesTheNearestSampleTheClickedValue)
{
    const std::vector<uint16_t> before = words(0);
    command([&](ViewContext& cx) { return AlterSample(cx, 0, 10.4 * Interval, 12.5); });
    std::vector<uint16_t> want = before;
    want[10] = static_cast<uint16_t>((12.5 + 100) * 100);
    EXPECT_EQ(words(0), want);
    EXPECT_EQ(undo->MenuCaption(), "Undo sing. val.");
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(0), before);
    // Sample 0, and back.
    command([&](ViewContext& cx) { return AlterSample(cx, 0, 0.2 * Interval, -50); });
    EXPECT_NE(words(0)[0], before[0]);
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(0), before);
    // Beside the channel's samples: nothing written there or anywhere, nothing recorded.
    const int top = undo->top();
    const std::vector<uint16_t> around = words(0, 3);
    command([&](ViewContext& cx) { return AlterSample(cx, 0, -0.6 * Interval, 1); });
    command([&](ViewContext& cx) { return AlterSample(cx, 0, (Samples + 2) * Interval, 1); });
    EXPECT_EQ(undo->top(), top);
    EXPECT_EQ(words(0, 3), around);
}

// Missing samples: no tag on a stand-in value, and values written by Alter or
// Replace are values (Undo brings the gap back).
TEST_F(CalcFixture, MissingSamplesGetNoTagsAndWrittenOnesAreValues)
{
    const double pi = std::acos(-1.0);
    wave(2000, 100, [&](int32_t i) { return 50 + 10 * std::sin(2 * pi * i / 100.0); });
    const TagList whole = CalcFrequency(rec, 0, 0, 199900, 1.0);
    // 30 samples without a value around a maximum, holding the low stand-in as a load leaves them.
    for (int32_t i = 1010; i < 1040; ++i)
        WriteRaw(rec, i, 0, 0);
    rec.at(0).missing.add(1010, 1040);
    const TagList gapped = CalcFrequency(rec, 0, 0, 199900, 1.0);
    for (const Extremum& e : gapped.tags)
        EXPECT_FALSE(e.index >= 1010 && e.index < 1040) << e.index;
    // The maximum in the gap goes, and the minima on either side of it become one.
    EXPECT_EQ(gapped.tags.size(), whole.tags.size() - 2);
    for (std::size_t k = 1; k < gapped.tags.size(); ++k)
        EXPECT_EQ(gapped.tags[k].type, -gapped.tags[k - 1].type);
    EXPECT_NEAR(gapped.results.averageMin, whole.results.averageMin, 0.01);
    EXPECT_NEAR(gapped.results.frequency, whole.results.frequency, 0.006);  // one wave of the 20 not seen

    // Alter on a missing sample: a value now; Undo makes it missing again.
    view.active = 0;
    command([&](ViewContext& cx) { return AlterSample(cx, 0, 1020 * 100.0, 55); });
    EXPECT_FALSE(IsMissing(rec, 0, 1020));
    EXPECT_TRUE(IsMissing(rec, 0, 1019) && IsMissing(rec, 0, 1021));
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_TRUE(IsMissing(rec, 0, 1020));

    // Replace over the gap: the samples between the outer nodes hold values.
    NodeList nodes;
    AkimaSpline spline;
    for (const double s : {100.0, 101.5, 104.5, 106.0})
        ASSERT_TRUE(AddNode(nodes, 0, s * 1000, 55, ui));
    const CommandResult r = command([&](ViewContext& cx) { return ReplaceBySpline(cx, nodes, spline); });
    EXPECT_TRUE(r.changed.bySlot[0].length);  // the gaps changed: drawn anew
    EXPECT_EQ(rec.at(0).missing.missing(), 0);
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(rec.at(0).missing.missing(), 30);
}

// The whole fur-seal depth record, ashore stretches included: tags that
// alternate, and results that are numbers.
TEST_F(CalcFixture, TheFurSealRecordGivesAlternatingTags)
{
    Recording seal;
    ASSERT_TRUE(test::LoadFurSeal(seal, ui));
    const TagList list = CalcFrequency(seal, 0, 0, 5000.0 * seal.desc(0).DataCnt, 1.0);
    ASSERT_GT(list.tags.size(), 100u);
    for (std::size_t k = 1; k < list.tags.size(); ++k)
        ASSERT_EQ(list.tags[k].type, -list.tags[k - 1].type) << k;
    for (const double v : {list.results.averageMin, list.results.averageMax, list.results.frequency,
                           list.results.averagePeakToPeak, list.results.stdDevMin, list.results.stdDevMax})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(list.results.frequency, 0);
    EXPECT_GT(list.results.averageMax, list.results.averageMin);
}

}  // namespace vk

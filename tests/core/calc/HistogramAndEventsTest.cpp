#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "core/calc/EventCount.h"
#include "core/calc/Histogram.h"
#include "core/calc/WorkSection.h"
#include "core/setup/Workbench.h"
#include "core/store/TimeBase.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct CalcBench : ::testing::Test {
    Workbench wb;
    ScriptedDialogs ui;
    test::TempDir dir;

    void SetUp() override { test::AllocateAll(wb.rec, 4); }

    // y = raw * gain + offset, one sample a second.
    void channel(const std::vector<double>& y, double gain, double offset)
    {
        ChannelDescriptor& d = wb.rec.desc(0);
        d.SampRate = 1000;
        d.CoeffA = gain;
        d.CoeffB = offset;
        d.DataCnt = static_cast<int32_t>(y.size()) - 1;
        wb.rec.at(0).ChannelUsed = true;
        for (std::size_t k = 0; k < y.size(); ++k)
            WriteRaw(wb.rec, static_cast<int32_t>(k), static_cast<uint16_t>(std::lround((y[k] - offset) / gain)), 0);
        wb.rec.time.LongestSpan = 1000.0 * d.DataCnt;
    }
    HistogramResult histogram(double minBin, double width)
    {
        return ComputeHistogram(wb.rec, 0, SectionSamples(ChannelView(wb.rec, 0), 0, wb.rec.time.LongestSpan), minBin,
                                width);
    }
    Events events(double f4, double f5, double threshold, bool below)
    {
        return CountEvents(wb.rec, 0, f4 * 1000, f5 * 1000, threshold, below, true);
    }
};

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST_F(CalcBench, BinsHoldWhatLiesBetweenTheirEdges)
{
    channel({0.5, 1.5, 1.7}, 0.1, 0);
    HistogramResult h = histogram(0, 1);
    EXPECT_EQ(h.bins.counts[0], 1);
    EXPECT_EQ(h.bins.counts[1], 2);
    EXPECT_EQ(h.median, 1);  // the lower edge of bin 1
    channel({-0.5, 0.5}, 0.5, -10);
    h = histogram(-2, 1);  // -0.5 and 0.5 in the bins of their edges
    EXPECT_EQ(h.bins.counts[1], 1);
    EXPECT_EQ(h.bins.counts[2], 1);

    // Quarter steps from -5 with min bin 0.6: each bin holds what lies between
    // its edges (0.7 in bin 0), the last holds all above, the counts add up to
    // the values at or above min bin; those below still enter the mean.
    std::vector<double> y;
    for (int k = 0; k < 1200; ++k)
        y.push_back(k * 0.25 - 5);
    y.push_back(5000);
    channel(y, 0.25, -5);
    h = histogram(0.6, 1);
    int64_t counted = 0;
    for (int b = 0; b < BinCount; ++b) {
        const double lo = 0.6 + b, hi = b == BinCount - 1 ? 1e300 : 0.6 + b + 1;
        EXPECT_EQ(h.bins.counts[static_cast<std::size_t>(b)],
                  std::count_if(y.begin(), y.end(), [&](double v) { return v >= lo && v < hi; }))
            << b;
        counted += h.bins.counts[static_cast<std::size_t>(b)];
    }
    EXPECT_EQ(counted, std::count_if(y.begin(), y.end(), [](double v) { return v >= 0.6; }));
    EXPECT_EQ(h.n, static_cast<int64_t>(y.size()));
    double mean = 0;
    for (const double v : y)
        mean += v / static_cast<double>(y.size());
    EXPECT_NEAR(h.mean, mean, 1e-9);
    EXPECT_FALSE(histogram(0, 0).counted);  // a width of 0 counts nothing

    // The median within one bin of the sorted values' middle.
    std::mt19937 random(3);
    std::normal_distribution<double> noise(100, 20);
    y.clear();
    for (int k = 0; k < 5001; ++k)
        y.push_back(std::clamp(noise(random), 0.0, 600.0));
    channel(y, 0.01, 0);
    for (double& v : y)
        v = std::lround(v / 0.01) * 0.01;
    std::sort(y.begin(), y.end());
    h = histogram(0, 2.5);
    EXPECT_NEAR(h.median, y[y.size() / 2], 2.5);
    EXPECT_TRUE(MeanInTable(h));
    EXPECT_FALSE(MeanInTable(histogram(200, 2.5)));
}

TEST_F(CalcBench, TheHistogramFileAndItsThreeAnswers)
{
    channel({0.5, 1.5, 1.7, 900}, 0.1, 0);
    const HistogramResult h = histogram(0, 1);
    const std::string text = HistogramText(h, wb.rec, 0, 3000, 1, '.');
    const std::string file = dir.file("day.his");
    EXPECT_EQ(ExportHistogram(file, text, ui), HistogramExport::Written);
    std::vector<std::string> lines = Lines(file);
    ASSERT_EQ(lines.size(), 259u);
    EXPECT_EQ(lines[0].rfind(" Begin: ", 0), 0u);
    EXPECT_NE(lines[0].find("      Duration [sec]:               3"), std::string::npos);
    EXPECT_EQ(lines[1], " 0.00 -  1.00  1");
    EXPECT_EQ(lines[2], " 1.00 -  2.00  2");
    EXPECT_EQ(lines[256], "> 255.00      1");
    EXPECT_EQ(lines[257], "");
    EXPECT_EQ(lines[258], " Mean:  225.93   Standard Dev.:  389.18   Median:    1.00");
    EXPECT_TRUE(ui.captions.empty());  // a new file: no question

    ui.choices = {Choice::First, Choice::Second, Choice::Cancel};
    EXPECT_EQ(ExportHistogram(file, text, ui), HistogramExport::Written);  // appended
    EXPECT_EQ(Lines(file).size(), 2 * 259u);
    EXPECT_EQ(ui.captions.back(), (std::vector<std::string>{"Confirmation", "Append", "Overwrite", "Cancel"}));
    EXPECT_EQ(ui.texts().back(), "The file where to export the histogram already exist. ");
    EXPECT_EQ(ExportHistogram(file, text, ui), HistogramExport::Written);  // overwritten
    EXPECT_EQ(Lines(file).size(), 259u);
    EXPECT_EQ(ExportHistogram(file, text, ui), HistogramExport::Cancelled);
    EXPECT_EQ(Lines(file).size(), 259u);
    EXPECT_EQ(ExportHistogram(dir.path(), text, ui), HistogramExport::Failed);
    EXPECT_EQ(ui.texts().back(), dir.path() + " Invalid name or number. Output canceled.");
}

TEST_F(CalcBench, EventsAboveAndBelowAThreshold)
{
    // Sample 0 starts an event; equal values neither start nor end one; the
    // last is open at the end.
    channel({5, 6, 2, 3, 3, 7, 3, 1, 9, 8}, 1, 0);
    Events e = events(0, 9, 3, false);
    ASSERT_EQ(e.count, 3);
    ASSERT_EQ(e.list.size(), 3u);
    EXPECT_EQ(e.list[0].onset, 0);
    EXPECT_EQ(e.list[0].end, 2);
    EXPECT_EQ(e.list[0].extreme, 6);
    EXPECT_EQ(e.list[1].onset, 5);  // 7, then 3 (equal) stays inside, 1 ends it
    EXPECT_EQ(e.list[1].end, 7);
    EXPECT_EQ(e.list[2].onset, 8);
    EXPECT_EQ(e.list[2].end, 9);  // open at the end
    EXPECT_EQ(e.list[2].extreme, 9);
    e = events(0, 9, 3, true);  // below 3: 2 .. 7 (3 equal stays), 1 .. 8
    EXPECT_EQ(e.count, 2);
    EXPECT_EQ(e.list[0].extreme, 2);
    EXPECT_EQ(e.list[1].extreme, 1);
    EXPECT_EQ(events(0, 9, 0, false).count, 1);    // all above: one event
    EXPECT_EQ(events(5, 2, 3, false).count, 0);    // F4 after F5
    EXPECT_EQ(events(2, 200, 3, false).count, 2);  // F5 past the end: cut to the channel

    // The file: a header and a line an event; the count said in any case.
    const std::string file = dir.file("events.txt");
    wb.rec.time.GlobalStart = EncodeTime(2026, 12, 7, 6, 30, 0);
    ReportEvents(wb, ui, 0, 0, 9000, 3, false, &file);
    const std::vector<std::string> lines = Lines(file);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Onset\t\tEnd\t\tDuration [sec]\tMaxValue");
    EXPECT_EQ(lines[1], "07.12.2026\t06:30:00\t07.12.2026\t06:30:02\t2.000\t6.0000");
    EXPECT_EQ(ui.texts().back(), " Nr of events between F4 and F5 : 3");
    ReportEvents(wb, ui, 0, 0, 9000, 3, true, &dir.path());
    EXPECT_EQ(ui.texts()[ui.texts().size() - 2], dir.path() + " Invalid name or number. Output canceled.");
    EXPECT_EQ(ui.texts().back(), " Nr of events between F4 and F5 : 2");
}

// On a random walk with gaps, whether values rise with the raw words, fall,
// or neither (a polynomial), or are read one by one (differences): the events
// of a plain sample-by-sample scan.
TEST_F(CalcBench, EventsOfEveryKindOfChannelMatchAPlainScan)
{
    std::mt19937 random(9);
    std::uniform_int_distribution<int> step(-40, 40);
    std::vector<double> y{30000};
    for (int k = 1; k < 60000; ++k)
        y.push_back(std::clamp(y.back() + step(random), 0.0, 65535.0));
    channel(y, 1, 0);
    wb.rec.at(0).missing.add(20000, 20300);
    ChannelDescriptor& d = wb.rec.desc(0);
    struct Kind {
        double gain, offset;
        bool polynomial;
        int derivation;
    };
    for (const Kind kind : {Kind{0.01, -300, false, 0}, Kind{-0.01, 300, false, 0}, Kind{0.01, -300, true, 0},
                            Kind{0.01, -300, false, 1}})
        for (const bool below : {false, true}) {
            SCOPED_TRACE(std::to_string(kind.gain) + (kind.polynomial ? " polynomial" : "") +
                         (kind.derivation ? " differences" : "") + (below ? " below" : " above"));
            d.CoeffA = kind.gain;
            d.CoeffB = kind.offset;
            d.bApplyPolynom = kind.polynomial ? 1 : 0;
            d.Poly_A = 0;
            d.Poly_C = 0;
            d.Poly_E = kind.polynomial ? 1 : 0;  // y = x^2: falls, then rises
            d.Derivation = kind.derivation;
            // A threshold the walk crosses often: a value of its own, a little off.
            const double threshold = kind.derivation ? 0.05 : ReadValue(wb.rec, 31111, 0).value + 0.001;
            // The plain scan.
            Events want;
            bool inside = false;
            for (int32_t i = 0; i <= d.DataCnt; ++i) {
                const PhysValue v = ReadValue(wb.rec, i, 0);
                if (v.status != 0)
                    continue;
                const bool beyond = below ? v.value < threshold : v.value > threshold;
                const bool back = below ? v.value > threshold : v.value < threshold;
                if (!inside && beyond) {
                    inside = true;
                    ++want.count;
                    want.list.push_back({i, i, v.value});
                } else if (inside && back) {
                    inside = false;
                    want.list.back().end = i;
                } else if (inside) {
                    double& e = want.list.back().extreme;
                    e = below ? std::min(e, v.value) : std::max(e, v.value);
                }
            }
            if (inside)
                want.list.back().end = d.DataCnt;
            const Events got = CountEvents(wb.rec, 0, 0, 1000.0 * d.DataCnt, threshold, below, true);
            ASSERT_GT(want.count, 10);
            EXPECT_EQ(got.count, want.count);
            ASSERT_EQ(got.list.size(), want.list.size());
            for (std::size_t k = 0; k < got.list.size(); ++k) {
                EXPECT_EQ(got.list[k].onset, want.list[k].onset) << k;
                EXPECT_EQ(got.list[k].end, want.list[k].end) << k;
                EXPECT_EQ(got.list[k].extreme, want.list[k].extreme) << k;
            }
        }
}

}  // namespace vk

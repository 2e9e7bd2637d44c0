#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/calc/Histogram.h"
#include "core/calc/Statistics.h"
#include "core/setup/Workbench.h"
#include "support/FurSealRecord.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// One channel of raw words, y = raw * gain + offset, every `interval` ms.
struct StatisticsBench : ::testing::Test {
    Workbench wb;
    ScriptedDialogs ui;
    test::TempDir dir;

    void SetUp() override { test::AllocateAll(wb.rec, 70); }

    void channel(const std::vector<uint16_t>& words, double gain, double offset, int32_t interval = 1000,
                 int32_t origin = 0)
    {
        ChannelDescriptor& d = wb.rec.desc(0);
        d.SampRate = interval;
        d.CoeffA = gain;
        d.CoeffB = offset;
        d.CorrSmpDelay = origin;
        d.DataCnt = origin + static_cast<int32_t>(words.size()) - 1;
        wb.rec.at(0).ChannelUsed = true;
        for (std::size_t k = 0; k < words.size(); ++k)
            WriteRaw(wb.rec, origin + static_cast<int32_t>(k), words[k], 0);
        wb.rec.time.LongestSpan = static_cast<double>(interval) * d.DataCnt;
    }
    Statistics of(double f4, double f5, Levels levels = {}, double factor = 1)
    {
        return ComputeStatistics(wb.rec, 0, {f4, f5, factor, levels});
    }
};

// Independent results in long double, two passes, over the samples with a value.
struct Reference {
    long double n = 0, mean = 0, sdev = 0, a = 0, b = 0, cc = 0;
};
Reference Direct(const Recording& rec, int slot, int32_t i4, int32_t i5)
{
    std::vector<long double> x, y;
    const long double delta = rec.desc(slot).SampRate / 1000.0L;
    for (int32_t i = i4; i <= i5; ++i)
        if (const PhysValue v = ReadValue(rec, i, slot); v.status == 0) {
            x.push_back((i - i4 + 1) * delta);
            y.push_back(v.value);
        }
    Reference r;
    r.n = static_cast<long double>(y.size());
    long double mx = 0;
    for (std::size_t k = 0; k < y.size(); ++k) {
        r.mean += y[k] / r.n;
        mx += x[k] / r.n;
    }
    long double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t k = 0; k < y.size(); ++k) {
        sxx += (x[k] - mx) * (x[k] - mx);
        syy += (y[k] - r.mean) * (y[k] - r.mean);
        sxy += (x[k] - mx) * (y[k] - r.mean);
    }
    r.sdev = std::sqrt(syy / r.n);
    r.a = sxy / sxx;
    r.b = r.mean - r.a * mx;
    r.cc = sxy / std::sqrt(sxx * syy);
    return r;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST_F(StatisticsBench, SmallSectionsByHand)
{
    // 1, 2, 3 a second apart.
    channel({1, 2, 3}, 1, 0);
    Statistics s = of(0, 2000);
    ASSERT_TRUE(s.any);
    EXPECT_EQ(s.n, 3);
    EXPECT_EQ(s.min, 1);
    EXPECT_EQ(s.max, 3);
    EXPECT_DOUBLE_EQ(s.mean, 2);
    EXPECT_NEAR(s.stdDev, 0.8165, 5e-5);
    EXPECT_DOUBLE_EQ(s.sum, 6);
    EXPECT_DOUBLE_EQ(s.a, 1);
    EXPECT_NEAR(s.b, 0, 1e-12);  // x starts one interval before the first sample
    EXPECT_DOUBLE_EQ(s.cc, 1);
    EXPECT_DOUBLE_EQ(s.base, 2);
    EXPECT_DOUBLE_EQ(s.integralToBase, 0);
    EXPECT_DOUBLE_EQ(s.integralToZero, 6);
    EXPECT_NEAR(s.median, 2, 2.0 / 254);
    EXPECT_DOUBLE_EQ(s.increase, 200);
    EXPECT_DOUBLE_EQ(s.dy, 2);
    EXPECT_DOUBLE_EQ(s.dx, 2);
    EXPECT_DOUBLE_EQ(s.gradient, 1);

    // A constant: exactly no slope, no correlation, no spread; the median is the constant.
    channel(std::vector<uint16_t>(5000, 777), 0.1, 3);
    s = of(0, 4999000);
    EXPECT_EQ(s.a, 0);
    EXPECT_EQ(s.cc, 0);
    EXPECT_EQ(s.stdDev, 0);
    EXPECT_EQ(s.median, 777 * 0.1 + 3);
    EXPECT_EQ(s.mean, 777 * 0.1 + 3);

    // A first value of 0; one sample (F4 = F5); the cursors in between two samples.
    channel({0, 5, 10, 20}, 1, 0);
    EXPECT_EQ(of(0, 3000).increase, 9999900);
    s = of(1000, 1000);
    EXPECT_EQ(s.n, 1);
    EXPECT_EQ(s.a, 0);
    EXPECT_EQ(s.b, 0);
    EXPECT_EQ(s.median, 5);
    s = of(500, 2500);  // samples 1 and 2; dy between the interpolated values 2.5 and 15
    EXPECT_EQ(s.section.first, 1);
    EXPECT_EQ(s.section.last, 2);
    EXPECT_DOUBLE_EQ(s.dy, 12.5);
    EXPECT_EQ(of(2000, 2000).gradient, 0);  // dx = 0
    wb.rec.at(0).missing.add(0, 1);         // sample 0 without a value: F4 reads the section's first value
    EXPECT_DOUBLE_EQ(of(500, 2500).dy, 15 - 5);
    wb.rec.at(0).missing.clear();

    // Levels: strictly above and below; durations in seconds on the time base, with the factor.
    channel({1, 5, 5, 9, 9, 9, 2}, 1, 0, 500);
    s = of(0, 3000, {5, 2}, 2);
    EXPECT_EQ(s.countAbove, 3);
    EXPECT_EQ(s.countBelow, 1);
    EXPECT_DOUBLE_EQ(s.durationAbove, 3.0);
    EXPECT_DOUBLE_EQ(s.durationBelow, 1.0);
}

// y_k = alpha x_k + beta + c (-1)^k over an even count: the known line.
TEST_F(StatisticsBench, AnAlternatingLineGivesItsKnownSlopeAndOffset)
{
    const double alpha = 2, beta = 100, c = 1.5, delta = 1;
    const int32_t n = 1000;
    std::vector<uint16_t> words;
    for (int32_t k = 1; k <= n; ++k)  // y = raw / 2
        words.push_back(static_cast<uint16_t>(std::lround(2 * (alpha * k * delta + beta + (k % 2 ? -c : c)))));
    channel(words, 0.5, 0);
    const Statistics s = of(0, (n - 1) * 1000.0);
    EXPECT_NEAR(s.a, alpha + 6 * c / (delta * (double{n} * n - 1)), 1e-12);
    EXPECT_NEAR(s.b, beta - 3 * c / (n - 1), 1e-9);

    // A line alone: cc = 1, and -1 falling.
    for (uint16_t& w : words)
        w = static_cast<uint16_t>(60000 - (&w - words.data()) * 7);
    channel(words, 1, 0);
    EXPECT_DOUBLE_EQ(of(0, (n - 1) * 1000.0).cc, -1);
}

// A million noisy samples near 1000, a late start and a gap: the values of a
// long-double two-pass reference to 9 digits, with the raw-word table and
// value by value (a channel of differences).
TEST_F(StatisticsBench, LongNoisySectionsKeepTheirDigits)
{
    std::mt19937 random(5);
    std::normal_distribution<double> noise(32768, 300);
    std::vector<uint16_t> words(1000000);
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = static_cast<uint16_t>(std::clamp(noise(random) + static_cast<double>(k) * 0.002, 0.0, 65535.0));
    channel(words, 0.001, 1000 - 32.768, 200, 10);
    wb.rec.at(0).missing.add(500000, 500100);  // positions
    for (const bool differences : {false, true}) {
        SCOPED_TRACE(differences);
        wb.rec.desc(0).Derivation = differences ? 1 : 0;
        const Statistics s = of(0, 1e12);  // both cursors beyond the channel: cut to its samples
        EXPECT_EQ(s.section.first, 10);
        EXPECT_EQ(s.section.last, wb.rec.desc(0).DataCnt);
        const Reference r = Direct(wb.rec, 0, s.section.first, s.section.last);
        EXPECT_EQ(s.n, static_cast<int64_t>(r.n));
        auto near = [](double got, long double want) {
            EXPECT_NEAR(got, static_cast<double>(want), 1e-9 * std::max(1.0L, std::fabs(want)));
        };
        near(s.mean, r.mean);
        near(s.stdDev, r.sdev);
        near(s.a * 1e6, r.a * 1e6);  // a slope of a few per million: nine digits of it
        near(s.b, r.b);
        near(s.cc, r.cc);
    }
    // No sample in the section: no numbers.
    const Statistics none = of(0, 1000);
    EXPECT_FALSE(none.any);
    EXPECT_EQ(StatisticsLines(none)[1], " a = ");
}

TEST_F(StatisticsBench, TheWindowLinesAndTheExportFile)
{
    channel({1, 2, 3}, 1, 0);
    const StatisticsRequest request{0, 2000, 1, {2.5, 1.5}};
    const Statistics s = ComputeStatistics(wb.rec, 0, request);
    const std::vector<std::string> lines = StatisticsLines(s);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[1], " a = 1.00000");
    EXPECT_EQ(lines[9], " Min., Max., Mean : 1.00000  3.00000  2.00000");
    EXPECT_EQ(lines[13], " Duration above 2.50 = 1.00 s");
    // A depth channel: its unit, and deeper where larger values are deeper.
    const std::vector<std::string> depth = StatisticsLines(s, {"m", true});
    EXPECT_EQ(depth[9], " Min., Max., Mean [m] : 1.00000  3.00000  2.00000");
    EXPECT_EQ(depth[13], " Time deeper than 2.50 m = 1.00 s");
    EXPECT_EQ(depth[14], " Time shallower than 1.50 m = 1.00 s");
    // The words come from the channel: the caption's unit, deeper when drawn downwards.
    wb.rec.desc(0).Caption = "Depth [m]";
    wb.rec.desc(0).GrRepr = -1;
    const StatisticsWords words = StatisticsWordsOf(wb.rec, 0);
    EXPECT_EQ(words.unit, "m");
    EXPECT_TRUE(words.depth);
    wb.rec.desc(0).Caption = "Temperature";
    wb.rec.desc(0).GrRepr = 1;
    EXPECT_EQ(StatisticsWordsOf(wb.rec, 0).unit, "");
    EXPECT_FALSE(StatisticsWordsOf(wb.rec, 0).depth);

    // A new file gets the header; a second row is appended after a line break;
    // header and rows have as many fields, also with F4 = F5.
    const std::string file = dir.file("stats.txt");
    wb.dive.comment = "first dive";
    ui.inputs = {file, file};
    EXPECT_EQ(ExportStatistics(wb, ui, s, request), ExportOutcome::Written);
    EXPECT_TRUE(wb.dive.comment.empty());
    const StatisticsRequest same{1000, 1000, 1, {}};
    EXPECT_EQ(ExportStatistics(wb, ui, ComputeStatistics(wb.rec, 0, same), same), ExportOutcome::Written);
    EXPECT_EQ(ui.inputInitials.back(), file);  // the run's last name is offered
    const std::string text = Read(file);
    std::vector<std::string> rows;
    std::istringstream in(text);
    for (std::string row; std::getline(in, row);)
        rows.push_back(row);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], StatisticsHeader('\t'));
    EXPECT_EQ(rows[0].substr(rows[0].size() - 8), "\tComment");
    for (const std::string& row : rows)
        EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 23) << row;
    EXPECT_EQ(rows[1].substr(rows[1].size() - 11), "\tfirst dive");
    auto field = [](const std::string& row, int k) {
        std::size_t from = 0;
        for (int j = 0; j < k; ++j)
            from = row.find('\t', from) + 1;
        return row.substr(from, row.find('\t', from) - from);
    };
    EXPECT_EQ(field(rows[1], 4), "00:00:02");  // the duration
    EXPECT_EQ(field(rows[2], 4), "");          // none for F4 = F5
    EXPECT_EQ(field(rows[1], 5), "    1.0000");
    EXPECT_EQ(field(rows[1], 21), "1.00");  // the durations above and below, in seconds
    EXPECT_EQ(field(rows[1], 22), "1.00");
    EXPECT_NE(text.back(), '\n');  // no line break at the end

    // An empty file gets the header too; a folder as the name: the message, nothing written.
    const std::string empty = dir.file("empty.txt");
    std::ofstream{empty}.flush();
    ui.inputs = {empty, dir.path()};
    EXPECT_EQ(ExportStatistics(wb, ui, s, request), ExportOutcome::Written);
    EXPECT_EQ(Read(empty).rfind(StatisticsHeader('\t') + "\n", 0), 0u);
    EXPECT_EQ(ExportStatistics(wb, ui, s, request), ExportOutcome::Failed);
    EXPECT_EQ(ui.texts().back(), dir.path() + " Invalid name or number. Output canceled.");
    ui.inputs = {std::nullopt};
    EXPECT_EQ(ExportStatistics(wb, ui, s, request), ExportOutcome::Cancelled);
}

// The fur-seal record, ashore stretches without values included: the
// statistics of all its depths as the long-double reference gives them, and
// histogram counts that add up.
TEST_F(StatisticsBench, TheFurSealRecord)
{
    Workbench seal;
    ASSERT_TRUE(test::LoadFurSeal(seal.rec, ui));
    const double end = 5000.0 * seal.rec.desc(0).DataCnt;
    const Statistics s = ComputeStatistics(seal.rec, 0, {0, end, 1, {}});
    const Reference r = Direct(seal.rec, 0, s.section.first, s.section.last);
    EXPECT_EQ(s.n, static_cast<int64_t>(r.n));
    EXPECT_LT(s.n, s.section.count());  // the ashore stretches count no sample
    EXPECT_NEAR(s.mean, static_cast<double>(r.mean), 1e-9 * std::fabs(static_cast<double>(r.mean)));
    EXPECT_NEAR(s.stdDev, static_cast<double>(r.sdev), 1e-9 * static_cast<double>(r.sdev));
    EXPECT_NEAR(s.cc, static_cast<double>(r.cc), 1e-9);
    const HistogramResult h = ComputeHistogram(seal.rec, 0, s.section, 0, 2);
    int64_t counted = 0;
    for (const int64_t c : h.bins.counts)
        counted += c;
    int64_t atOrAbove = 0;  // the samples at or above min bin (a few depths read below 0 m)
    for (int32_t i = s.section.first; i <= s.section.last; ++i)
        if (const PhysValue v = ReadValue(seal.rec, i, 0); v.status == 0 && v.value >= 0)
            ++atOrAbove;
    EXPECT_EQ(counted, atOrAbove);
    EXPECT_LT(counted, s.n);
    EXPECT_EQ(h.n, s.n);
}

}  // namespace vk

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/calc/WayWay.h"
#include "core/setup/Workbench.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct WayWayBench : ::testing::Test {
    Workbench wb;
    test::TempDir dir;

    void SetUp() override { test::AllocateAll(wb.rec, 4); }

    // Values with a tenth's resolution (raw = value x 10).
    void channel(int slot, const std::vector<double>& values, int32_t interval)
    {
        ChannelDescriptor& d = wb.rec.desc(slot);
        d.SampRate = interval;
        d.CoeffA = 0.1;
        d.DataCnt = static_cast<int32_t>(values.size()) - 1;
        wb.rec.at(slot).ChannelUsed = true;
        for (std::size_t k = 0; k < values.size(); ++k)
            WriteRaw(wb.rec, static_cast<int32_t>(k), static_cast<uint16_t>(std::lround(values[k] * 10)), slot);
    }
};

TEST_F(WayWayBench, DistanceErrorsAndIntervals)
{
    // Depth each second; speed 2 m/s: a path of 2 m per step.
    channel(0, {0, 1.2, 2.4, 5.0, 5.0, 3.4}, 1000);
    channel(2, {2, 2, 2, 2, 2, 2}, 1000);
    const WayWayRequest r{0, 2, 0, 4000};  // samples 0 .. 5
    const WayWaySums s = SumWayWay(wb.rec, r);
    ASSERT_TRUE(s.enough);
    // Steps: 0 (first sample), 1.6, 1.6, error (2.6 > 2), 2, 1.2.
    EXPECT_NEAR(s.distance, 1.6 + 1.6 + 2 + 1.2, 1e-9);
    EXPECT_EQ(s.speedErrors, 1);
    EXPECT_EQ(s.range.first, 0);
    EXPECT_EQ(s.range.last, 5);

    // The section ends at the last depth sample, however far F5 lies.
    EXPECT_EQ(SumWayWay(wb.rec, {0, 2, 2000, 60000}).range.last, 5);
    // A section starting later takes its first step from the sample before.
    EXPECT_NEAR(SumWayWay(wb.rec, {0, 2, 1000, 4000}).distance, 1.6 + 1.6 + 2 + 1.2, 1e-9);

    // Speed every two seconds, the same speeds: the path is speed x the depth interval.
    channel(2, {2, 2, 2}, 2000);
    EXPECT_NEAR(SumWayWay(wb.rec, r).distance, 1.6 + 1.6 + 2 + 1.2, 1e-9);

    // Too short a speed channel is missing data, not a clamped read.
    channel(2, {2, 2}, 1000);
    EXPECT_FALSE(SumWayWay(wb.rec, r).enough);

    // Depth and speed must be two loaded channels.
    EXPECT_TRUE(WayWayChannelsPresent(wb.rec, 0, 2));
    EXPECT_FALSE(WayWayChannelsPresent(wb.rec, 0, 0));
    wb.rec.at(1).ChannelUsed = false;
    EXPECT_FALSE(WayWayChannelsPresent(wb.rec, 0, 1));
}

TEST_F(WayWayBench, TraceExportAndCaptions)
{
    channel(0, {0, 1.2, 2.4, 5.0, 5.0, 3.4}, 1000);
    channel(2, {2, 2, 2, 2, 2, 2}, 1000);
    const WayWayRequest r{0, 2, 0, 4000};
    const std::vector<WayWayColumn> c = TraceWayWay(wb.rec, r, SumWayWay(wb.rec, r), 64);
    ASSERT_EQ(c.size(), 65u);
    EXPECT_TRUE(c[0].any);
    EXPECT_DOUBLE_EQ(c[16].first, 1.2);
    // The error step stays at 32: both 2.4 and 5.0 lie there.
    EXPECT_DOUBLE_EQ(c[32].min, 2.4);
    EXPECT_DOUBLE_EQ(c[32].max, 5.0);
    EXPECT_DOUBLE_EQ(c[64].last, 3.4);
    EXPECT_FALSE(c[10].any);

    // No distance at all: every point at column 0.
    channel(2, {0, 0, 0, 0, 0, 0}, 1000);
    const WayWaySums none = SumWayWay(wb.rec, r);
    EXPECT_EQ(none.distance, 0);
    EXPECT_EQ(none.speedErrors, 4);
    const std::vector<WayWayColumn> flat = TraceWayWay(wb.rec, r, none, 64);
    EXPECT_DOUBLE_EQ(flat[0].max, 5.0);
    EXPECT_FALSE(flat[1].any);

    // The export: one CRLF line per depth sample.
    channel(2, {2, 2, 2, 2, 2, 2}, 1000);
    const std::string path = dir.file("Dive7");
    ASSERT_TRUE(ExportWayWay(wb.rec, r, path));
    EXPECT_EQ(test::TempDir::read(path),
              "    0.00\t    0.00\r\n"
              "    1.60\t    1.20\r\n"
              "    3.20\t    2.40\r\n"
              "    3.20\t    5.00\r\n"
              "    5.20\t    5.00\r\n"
              "    6.40\t    3.40\r\n");
    // A missing value writes nothing and leaves the old file.
    wb.rec.at(0).missing.add(3, 4);
    EXPECT_FALSE(ExportWayWay(wb.rec, r, path));
    EXPECT_EQ(test::TempDir::read(path).size(), 6u * 19);
    EXPECT_FALSE(ExportWayWay(wb.rec, r, dir.file("no/such/folder")));

    EXPECT_EQ(WayWayClickCaption(7, 12.345, 40), "Dive7  12.35   40.00");
    EXPECT_EQ(WayWayTagText(3.2, 5), "3.20; 5.00");
}

TEST_F(WayWayBench, LongSectionsSumAsOneWalk)
{
    // Long enough to be walked in parts on several cores: the distance, the
    // errors and the trace are those of one walk from end to end.
    test::AllocateAll(wb.rec);
    constexpr int32_t n = 5'000'000;
    std::vector<double> depth(n), speed(n, 1.5);
    for (int32_t i = 0; i < n; ++i) {
        depth[static_cast<std::size_t>(i)] = 50 + 40 * std::sin(i / 300.0) + ((int64_t{i} * 7919) % 13) * 0.1;
        speed[static_cast<std::size_t>(i)] = i % 5 == 0 ? 0.3 : 1.5;  // now and then too slow for the depth change
    }
    channel(0, depth, 1000);
    channel(2, speed, 1000);
    const WayWayRequest r{0, 2, 0, 1000.0 * n};
    double walked = 0;
    int64_t errors = 0;
    for (int32_t i = 1; i < n; ++i) {
        const double dz = std::fabs(ReadValue(wb.rec, i, 0).value - ReadValue(wb.rec, i - 1, 0).value);
        const double path = ReadValue(wb.rec, i, 2).value;
        if (path >= dz)
            walked += std::sqrt(path * path - dz * dz);
        else
            ++errors;
    }
    const WayWaySums s = SumWayWay(wb.rec, r);
    ASSERT_TRUE(s.enough);
    EXPECT_NEAR(s.distance, walked, walked * 1e-9);
    EXPECT_EQ(s.speedErrors, errors);
    EXPECT_GT(errors, 0);
    const std::vector<WayWayColumn> c = TraceWayWay(wb.rec, r, s, 500);
    EXPECT_TRUE(std::all_of(c.begin(), c.end(), [](const WayWayColumn& k) { return k.any; }));
    EXPECT_NEAR(c.back().last, ReadValue(wb.rec, n - 1, 0).value, 1e-9);
}

}  // namespace

}  // namespace vk

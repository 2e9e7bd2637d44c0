// The public fur-seal record: 34,199 samples at 5 s, about 9,600 of them
// without values while the animal was ashore.
#include <gtest/gtest.h>

#include <cmath>

#include "core/files/TextLoader.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct FurSeal : ::testing::Test {
    Recording rec;
    ScriptedDialogs ui;
    SkipStrings skips;

    void SetUp() override
    {
        test::AllocateAll(rec);
        for (int s = 0; s < 2; ++s) {
            ChannelDescriptor& d = rec.desc(s);
            d.NameIn = VARNIK_TEST_DATA "/furseal-5s.csv";
            d.HeaderText = 1;
            d.InDelimiter = ';';
            d.SampRate = 5000;
            d.StartTime = EncodeTime(2002, 1, 5, 11, 32, 0);
        }
        rec.desc(0).ColumnValue = 3;
        rec.desc(1).ColumnValue = 5;
        rec.at(2).ChannelUsed = false;
    }

    int32_t Count(int slot) const { return rec.desc(slot).DataCnt - rec.desc(slot).CorrSmpDelay + 1; }
};

}  // namespace

TEST_F(FurSeal, DepthAndTemperatureLoadWithTheirRanges)
{
    ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui));
    ASSERT_TRUE(LoadTextChannel(rec, 1, skips, ui));
    ASSERT_TRUE(LoadTextChannel(rec, 2, skips, ui));
    EXPECT_TRUE(ui.shown.empty());

    EXPECT_EQ(Count(0), 34199);
    EXPECT_EQ(Count(1), 34199);
    EXPECT_EQ(rec.desc(0).LowRng, -4.0);
    EXPECT_EQ(rec.desc(0).HighRng, 91.0);
    EXPECT_DOUBLE_EQ(rec.desc(1).LowRng, 5.6);
    EXPECT_DOUBLE_EQ(rec.desc(1).HighRng, 17.6);
    EXPECT_EQ(rec.desc(0).EndTime, EncodeTime(2002, 1, 7, 11, 1, 50));

    // Line 9600 of the file (index 9598): 06/01/2002;00:51:50;1;94;6.7;2.88
    EXPECT_NEAR(ReadValue(rec, 9598, 0).value, 1.0, rec.desc(0).CoeffA / 2);
    EXPECT_NEAR(ReadValue(rec, 9598, 1).value, 6.7, rec.desc(1).CoeffA / 2);
    // The first line has no depth (ashore): it reads as the low end of the range.
    EXPECT_DOUBLE_EQ(ReadValue(rec, 0, 0).value, -4.0);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(FurSeal, SkipVoidDataKeepsOnlyTheValues)
{
    rec.desc(0).IgnoreEmpLine = true;
    rec.desc(1).IgnoreEmpLine = true;
    ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui));
    ASSERT_TRUE(LoadTextChannel(rec, 1, skips, ui));
    EXPECT_EQ(Count(0), 24591);
    EXPECT_EQ(Count(1), 24591);
    EXPECT_EQ(rec.desc(0).LowRng, -4.0);
    EXPECT_EQ(rec.desc(0).HighRng, 91.0);
    double smallest = 1e33, largest = -1e33;
    for (int32_t i = 0; i < Count(0); ++i) {
        const double v = ReadValue(rec, i, 0).value;
        smallest = std::min(smallest, v);
        largest = std::max(largest, v);
        ASSERT_NEAR(v, std::round(v), rec.desc(0).CoeffA) << i;  // whole metres
    }
    EXPECT_NEAR(smallest, -4.0, 1e-9);
    EXPECT_NEAR(largest, 91.0, 1e-9);
}

}  // namespace vk

namespace vk {

TEST_F(FurSeal, PartsReadSideBySideGiveTheSameChannel)
{
    rec.desc(2) = rec.desc(0);
    rec.at(2).ChannelUsed = true;
    for (bool ignoreEmpty : {false, true}) {
        rec.desc(0).IgnoreEmpLine = rec.desc(2).IgnoreEmpLine = ignoreEmpty;
        ASSERT_TRUE(LoadTextChannel(rec, 0, skips, ui, TextLoadOptions{1}));
        ASSERT_TRUE(LoadTextChannel(rec, 2, skips, ui, TextLoadOptions{7}));
        ASSERT_EQ(rec.desc(2).DataCnt, rec.desc(0).DataCnt);
        EXPECT_EQ(rec.desc(2).LowRng, rec.desc(0).LowRng);
        EXPECT_EQ(rec.desc(2).HighRng, rec.desc(0).HighRng);
        for (int32_t i = 0; i <= rec.desc(0).DataCnt; ++i)
            ASSERT_EQ(ReadRaw(rec, i, 2), ReadRaw(rec, i, 0)) << i;
    }
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.busyDepth, 0);
}

}  // namespace vk

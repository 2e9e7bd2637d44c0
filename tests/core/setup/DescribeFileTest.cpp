#include <gtest/gtest.h>

#include "core/setup/DescribeFile.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/Channel.h"
#include "support/FurSealRecord.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

// The setup proposed for the fur-seal CSV names its layout and its times,
// keeps a template's dive parameters, and starts as a hand-made one would.
TEST(DescribeFile, TheFurSealCsvDescribedLoadsAtItsOwnTime)
{
    test::TempDir dir;
    Recording base;
    Settings settings;
    settings.dive.Threshold = 4;
    settings.dive.TrekBaseline = 1;
    ASSERT_EQ(WriteSetup(dir.file("base.cfg"), base, settings), SetupWriteResult::Written);

    const DescribedSetup s = DescribeFile(VARNIK_TEST_DATA "/furseal-5s.csv", dir.file("base.cfg"));
    ASSERT_EQ(s.error, "");
    for (const char* line : {"\r\nColumnValue\t0\t3\r\n", "\r\nHeaderText\t0\t1\r\n", "\r\nInDelimiter\t0\t;\r\n",
                             "\r\nSampRate\t0\t5000\r\n", "(05.01.2002 11:32:00)", "\r\nTimeColumn\t0\t2\r\n",
                             "\r\nDateColumn\t0\t1\r\n", "\r\nColumnValue\t1\t5\r\n"})
        EXPECT_NE(s.text.find(line), std::string::npos) << line;

    const std::string path = dir.write("seal.cfg", s.text);
    Workbench wb;
    ASSERT_TRUE(ReadSetup(path, wb.rec, wb.settings));
    EXPECT_EQ(wb.settings.dive.Threshold, 4);
    test::AllocateAll(wb.rec, 4);
    ScriptedDialogs ui;
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2002, 1, 5, 11, 32, 0));
    EXPECT_EQ(ChannelView(wb.rec, 0).count(), 34199);

    // The same dives as the hand-made setup of the same file, at the same clock times.
    const std::vector<test::FoundDive> described = test::SearchAllDives(wb.rec, ui);
    Recording hand;
    ASSERT_TRUE(test::LoadFurSeal(hand, ui));
    const std::vector<test::FoundDive> made = test::SearchAllDives(hand, ui);
    ASSERT_EQ(described.size(), made.size());
    EXPECT_GT(made.size(), 400u);
    for (std::size_t k = 0; k < made.size(); ++k) {
        EXPECT_EQ(described[k].f4, made[k].f4) << k;
        EXPECT_EQ(described[k].f5, made[k].f5) << k;
        EXPECT_EQ(described[k].maxDepth, made[k].maxDepth) << k;
        EXPECT_EQ(described[k].shape, made[k].shape) << k;
    }

    EXPECT_EQ(DescribeFile(dir.file("none.csv"), "").error, dir.file("none.csv") + ": cannot be read");
    EXPECT_EQ(DescribeFile(path, dir.file("none.cfg")).error,
              dir.file("none.cfg") + ": not a setup file that can be read");
}

}  // namespace vk

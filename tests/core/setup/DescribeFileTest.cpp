#include <gtest/gtest.h>

#include "ExampleArchive.h"
#include "core/example/ExampleRecording.h"
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

// The example's first day as a tag archive: described, the sensors go to the
// slots by their names; started, the dives are those of the text file.
TEST(DescribeFile, AnArchiveDescribedFindsTheDivesOfTheTextFile)
{
    test::TempDir dir;
    const auto archive = example::WriteExampleArchive(dir.path());
    const DescribedSetup s = DescribeFile(archive.data, archive.setup);
    ASSERT_EQ(s.error, "");
    for (const char* line : {"\r\nToCreate\t0\t3\r\n", "\r\nVariable\t0\tP\r\n", "\r\nVariable\t1\tT\r\n",
                             "\r\nVariable\t2\tA\r\n", "\r\nColumnValue\t2\t1\r\n", "\r\nCaption\t0\tDepth [m]\r\n",
                             "(07.01.2026 06:00:00)"})
        EXPECT_NE(s.text.find(line), std::string::npos) << line;
    EXPECT_EQ(s.text.find("TimeColumn"), std::string::npos);

    auto dives = [](const std::string& setup) {
        Workbench wb;
        EXPECT_TRUE(ReadSetup(setup, wb.rec, wb.settings));
        test::AllocateAll(wb.rec, 6);
        ScriptedDialogs ui;
        EXPECT_EQ(StartRecording(wb, ui), StartResult::Loaded);
        EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 0, 0));
        return test::SearchAllDives(wb.rec, ui, wb.settings.dive, {});
    };
    const std::vector<test::FoundDive> fromArchive = dives(dir.write("described.cfg", s.text));
    const std::vector<test::FoundDive> fromText = dives(example::WriteExample(dir.path(), 1).setup);
    ASSERT_GT(fromText.size(), 100u);
    ASSERT_EQ(fromArchive.size(), fromText.size());
    for (std::size_t k = 0; k < fromText.size(); ++k) {
        EXPECT_NEAR(fromArchive[k].f4, fromText[k].f4, 2000) << k;
        EXPECT_NEAR(fromArchive[k].f5, fromText[k].f5, 2000) << k;
        EXPECT_NEAR(fromArchive[k].maxDepth, fromText[k].maxDepth, 0.1) << k;  // floats, not two decimals
    }
}

}  // namespace vk

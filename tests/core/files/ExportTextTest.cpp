#include <gtest/gtest.h>

#include "core/files/ChannelExport.h"
#include "core/files/PathNames.h"
#include "core/files/TextLoader.h"
#include "core/store/FileUtil.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

TEST(PathNames, WorkOnTheNameNotTheFolder)
{
    EXPECT_EQ(ChangeExtension("/d/x/seal.txt", ".ex1"), "/d/x/seal.ex1");
    EXPECT_EQ(ChangeExtension("/d/x.v2/seal", ".sta"), "/d/x.v2/seal.sta");
    EXPECT_EQ(ChangeExtension("/d/a.b.c", ".000"), "/d/a.b.000");
    EXPECT_EQ(InsertBeforeExtension("/d/x/seal.ex1", "_Dve"), "/d/x/seal_Dve.ex1");
    EXPECT_EQ(InsertBeforeExtension("/d/x.v2/seal", "_Frequ"), "/d/x.v2/seal_Frequ");
    EXPECT_EQ(FolderOf("/d/x/seal.txt"), "/d/x/");
    EXPECT_EQ(FolderOf("seal.txt"), "");
    EXPECT_EQ(BaseNameOf("/d/x/seal.data.txt"), "seal.data");
    EXPECT_EQ(SlotExtension(2), ".002");
}

TEST(ExportText, ChannelsComeBackThroughTheTextLoader)
{
    test::TempDir dir;
    Recording rec;
    test::AllocateAll(rec);
    rec.time.GlobalStart = EncodeTime(2002, 1, 5, 11, 32, 0);
    // Slot 0 at 1 s, slot 2 at 2 s starting 3 samples later; slot 1 unused.
    const int32_t rates[3] = {1000, 1000, 2000};
    for (int s : {0, 2}) {
        ChannelDescriptor& d = rec.desc(s);
        d.SampRate = rates[s];
        d.LowRng = s == 0 ? -4 : 5.6;
        d.HighRng = s == 0 ? 91 : 17.6;
        SetScaling(rec, s);
        d.CorrSmpDelay = s == 0 ? 0 : 3;
        d.DataCnt = d.CorrSmpDelay + 99;
        for (int32_t i = d.CorrSmpDelay; i <= d.DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(i * 611 % 65536), s);
    }
    rec.at(1).ChannelUsed = false;
    rec.desc(2).Caption = "Water temp [C]";

    const std::string one = dir.file("one.txt");
    ASSERT_TRUE(ExportText(rec, 0, one, TextExportMode::OneChannel, 0.0, 1e9));
    const std::string text = test::TempDir::read(one);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Time [dd.mm.yyyy hh:mm:ss.ms]\tDepth Channel");
    EXPECT_NE(text.find("\r\n05.01.2002 11:32:01.000\t"), std::string::npos);

    const std::string all = dir.file("all.txt");
    ASSERT_TRUE(ExportText(rec, 0, all, TextExportMode::AllChannels, 10000.0, 60000.0));

    // Reload each column with "Skip void data" ("NA" where a channel has no sample).
    Recording back;
    test::AllocateAll(back);
    ScriptedDialogs ui;
    for (int column : {2, 3}) {
        ChannelDescriptor& d = back.desc(0);
        d.NameIn = all;
        d.HeaderText = 1;
        d.ColumnValue = column;
        d.IgnoreEmpLine = true;
        ASSERT_TRUE(LoadTextChannel(back, 0, SkipStrings{}, ui));
        const int slot = column == 2 ? 0 : 2;
        const IndexRange range = SamplesInRange(rec, slot, 10000.0, 60000.0);
        ASSERT_EQ(d.DataCnt + 1, range.last - range.first + 1) << column;
        for (int32_t k = 0; k <= d.DataCnt; ++k)
            ASSERT_NEAR(ReadValue(back, k, 0).value, ReadValue(rec, range.first + k, slot).value, rec.desc(slot).CoeffA)
                << column << " " << k;
    }
    EXPECT_TRUE(ui.shown.empty());

    EXPECT_FALSE(ExportText(rec, 0, dir.file("no/such/folder.txt"), TextExportMode::OneChannel, 0, 1e9));
    ASSERT_TRUE(ExportBinaryAll(rec, dir.file("x.bin"), 0, 1e9));
    EXPECT_TRUE(FileExists(dir.file("x.000")));
    EXPECT_FALSE(FileExists(dir.file("x.001")));
    EXPECT_TRUE(FileExists(dir.file("x.002")));
}

}  // namespace vk

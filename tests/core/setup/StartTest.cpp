#include <gtest/gtest.h>

#include <algorithm>

#include "core/dive/DiveSearch.h"
#include "core/example/ExampleRecording.h"
#include "core/files/ChannelExport.h"
#include "core/setup/Coordinates.h"
#include "core/setup/CopyChannels.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/view/ChartStyle.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct StartFixture : ::testing::Test {
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;
    example::ExampleFiles files;

    void SetUp() override
    {
        files = example::WriteExample(dir.path(), 1);
        ASSERT_TRUE(ReadSetup(files.setup, wb.rec, wb.settings));
        test::AllocateAll(wb.rec);
    }
    int32_t Count(int slot) const { return wb.rec.desc(slot).DataCnt - wb.rec.desc(slot).CorrSmpDelay + 1; }
};

}  // namespace

TEST_F(StartFixture, ThreeColumnsOfOneFileLoadOncePerColumn)
{
    std::vector<int> loading;
    StartHooks hooks;
    hooks.loadingSlot = [&](int slot) { loading.push_back(slot); };
    ASSERT_EQ(StartRecording(wb, ui, hooks), StartResult::Loaded);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(loading, (std::vector<int>{0, 1, 2}));
    for (int s = 0; s < 3; ++s) {
        EXPECT_TRUE(wb.rec.at(s).ChannelUsed);
        EXPECT_EQ(Count(s), 86400);
        EXPECT_EQ(wb.rec.desc(s).SmpDelay, 0);
    }
    EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 0, 0));
    EXPECT_EQ(wb.rec.time.LongestSpan, 1000.0 * 86399);
    EXPECT_NEAR(wb.rec.desc(0).LowRng, example::Simulator::SurfaceOffset, 0.5);
    EXPECT_GT(wb.rec.desc(0).HighRng, 20.0);
    EXPECT_LT(wb.rec.desc(1).HighRng, 16.0);  // temperature
    const std::string base = dir.path() + "/seal-example";
    EXPECT_EQ(wb.settings.NameOutFile[0], base + "_Dve.xls");
    EXPECT_EQ(wb.settings.NameOutFile[1], base + ".ex2");
    EXPECT_EQ(wb.settings.NameOutFile[2], base + ".ex3");
    EXPECT_EQ(wb.results.bouts, base + "_Dve_Bout.xls");
    EXPECT_EQ(wb.results.wiggles, base + "_Dve_Wigg.xls");
    EXPECT_EQ(wb.results.frequency, base + "_Frequ.xls");
    EXPECT_EQ(wb.results.thumbnailPrefix, dir.path() + "/Thumbnails/seal-example");
    EXPECT_EQ(wb.settings.StatisticsFile, base + ".sta");
    EXPECT_EQ(wb.results.histogram[2], base + ".his");
    EXPECT_EQ(wb.results.tags, base + ".tag");
}

// The example's lines carry their dates and times: with an hour of lines cut
// out, every channel starts at the file's first time whatever the setup says,
// the hour is missing, and the values after it keep their clock times.
TEST_F(StartFixture, TimesFromTheFileLeaveAPauseWhereLinesAreMissing)
{
    std::vector<std::string> lines = test::Lines(files.data);
    constexpr int Header = 2, CutFrom = 7200, Cut = 3600;  // 08:00:00 .. 08:59:59
    const std::string afterCut = lines[Header + CutFrom + Cut];
    lines.erase(lines.begin() + Header + CutFrom, lines.begin() + Header + CutFrom + Cut);
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    const std::string cut = dir.write("cut.txt", text);
    for (int s = 0; s < 3; ++s) {
        ChannelDescriptor& d = wb.rec.desc(s);
        d.NameIn = cut;
        d.StartTime = EncodeTime(1982, 1, 1, 0, 0, 0);
        d.SampRate = 5000;
        d.DateColumn = 1;
        d.TimeColumn = 2;
    }
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(wb.rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 0, 0));
    for (int s = 0; s < 3; ++s) {
        const ChannelView channel(wb.rec, s);
        EXPECT_EQ(channel.interval(), 1000);
        EXPECT_EQ(channel.count(), 86400);
        EXPECT_EQ(channel.gaps().ranges(), (std::vector<GapRange>{{CutFrom, CutFrom + Cut}}));
        EXPECT_TRUE(channel.missing(CutFrom + Cut - 1));
        EXPECT_FALSE(channel.missing(CutFrom + Cut));
    }
    const double depthAfter = std::stod(test::Cells(afterCut)[2]);
    EXPECT_NEAR(ChannelView(wb.rec, 0).value(CutFrom + Cut).value, depthAfter, 0.01);

    // A line whose time goes back is refused in the batch and asked about in the window.
    std::swap(lines[Header + 10], lines[Header + 11]);
    text.clear();
    for (const std::string& l : lines)
        text += l + "\r\n";
    dir.write("cut.txt", text);
    StartHooks batch;
    batch.text.askAboutTimes = false;
    ui.shown.clear();
    EXPECT_EQ(StartRecording(wb, ui, batch), StartResult::LoadFailed);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].text,
              " cut.txt: The time goes backwards between lines 13 and 14: 07.01.2026 06:00:11, then "
              "07.01.2026 06:00:10.");
    ui.shown.clear();
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(StartRecording(wb, ui), StartResult::LoadFailed);
    EXPECT_EQ(ui.shown[0].kind, ScriptedDialogs::Entry::Kind::Question);
    EXPECT_EQ(ui.shown[0].text,
              " cut.txt: The time goes backwards between lines 13 and 14: 07.01.2026 06:00:11, then "
              "07.01.2026 06:00:10.\r\nGo on, placing the lines from there one after another?");
}

TEST_F(StartFixture, NamesFollowTheFirstUsedSlotAndDelaysTheLaterStarts)
{
    // Only slot 2 is used, from a copy of the file under another name, starting 10 s late.
    const std::string copy = dir.file("speed log.dat");
    ASSERT_EQ(std::rename(files.data.c_str(), copy.c_str()), 0);
    wb.rec.desc(0).NameIn = "";
    wb.rec.desc(1).NameIn = dir.file("absent.txt");
    wb.rec.desc(2).NameIn = copy;
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_FALSE(wb.rec.at(0).ChannelUsed);
    EXPECT_EQ(wb.settings.NameOutFile[0], dir.file("speed log_Dve.xls"));
    EXPECT_EQ(wb.results.thumbnailPrefix, dir.path() + "/Thumbnails/speed log");

    wb.rec.desc(0).NameIn = copy;
    wb.rec.desc(2).StartTime += 10000;
    wb.rec.desc(2).SampRate = 2000;
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_EQ(wb.rec.desc(2).SmpDelay, 5);
    EXPECT_EQ(wb.rec.desc(2).CorrSmpDelay, 5);
    EXPECT_EQ(wb.rec.desc(2).DataCnt, 5 + 86400 - 1);

    for (SlotData& s : wb.rec.slots)
        s.desc.NameIn = dir.file("nothing");
    EXPECT_EQ(StartRecording(wb, ui), StartResult::NoChannel);
    EXPECT_EQ(ui.texts().back(), " Invalid filename(s)\r\nChannel 1: no file " + dir.file("nothing") +
                                     "\r\nChannel 2: no file " + dir.file("nothing") + "\r\nChannel 3: no file " +
                                     dir.file("nothing"));
}

TEST_F(StartFixture, DatesOutsideTheCalendarAreRefused)
{
    // A start past the year 9999, and one before 1900.
    for (const auto& [start, interval] : {std::pair{EncodeTime(2026, 1, 7, 6, 0, 0) * 250, int32_t{1000}},
                                          std::pair{EncodeTime(1850, 1, 7, 6, 0, 0), int32_t{1000}}}) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            wb.rec.desc(slot).StartTime = start;
            wb.rec.desc(slot).SampRate = interval;
        }
        ui.shown.clear();
        EXPECT_EQ(StartRecording(wb, ui), StartResult::LoadFailed);
        ASSERT_FALSE(ui.texts().empty());
        EXPECT_NE(ui.texts().back().find("give dates outside the years 1900 to 9999"), std::string::npos)
            << ui.texts().back();
    }
}

TEST_F(StartFixture, BinaryChannelsTakeTheirHeaderAndFailuresStop)
{
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    const std::string bin = dir.file("depth.bin");
    ASSERT_TRUE(ExportBinary(wb.rec, bin, 0, 3600000.0, 7200000.0));
    const std::vector<uint16_t> hour = [&] {
        std::vector<uint16_t> v;
        for (int32_t i = 3600; i <= 7200; ++i)
            v.push_back(ReadRaw(wb.rec, i, 0));
        return v;
    }();

    ChannelDescriptor& d = wb.rec.desc(1);
    d.NameIn = bin;
    d.format = ChannelFormat::Binary;
    d.UseFileInfo = true;
    d.Caption = "to be replaced";
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_EQ(d.Caption, "Depth [m]");
    EXPECT_EQ(d.SmpDelay, 3600);  // its header starts an hour later
    EXPECT_EQ(d.DataCnt - d.CorrSmpDelay + 1, 3601);
    for (int32_t k = 0; k <= 3600; ++k)
        ASSERT_EQ(ReadRaw(wb.rec, 3600 + k, 1), hour[static_cast<std::size_t>(k)]);
    EXPECT_NEAR(ReadValue(wb.rec, 5000, 1).value, ReadValue(wb.rec, 5000, 0).value, 1e-9);

    // A file that fails to load stops the Start at that slot.
    d.NameIn = dir.write("small.txt", "1\n");
    d.format = ChannelFormat::Text;
    d.HeaderText = 5;
    EXPECT_EQ(StartRecording(wb, ui), StartResult::LoadFailed);
    EXPECT_EQ(ui.texts().back(), "Header too large or UNIX formatted file");
}

// Start tells which channel it could not load or found without a value, and
// the analysis then refuses a depth channel without values.
TEST_F(StartFixture, ChannelsWithoutValuesAreNamed)
{
    const std::string words = dir.write("words.txt", "station;animal;note\nalpha;seal;resting\nbeta;seal;gone\n");
    wb.rec.desc(0).NameIn = words;
    wb.rec.desc(0).format = ChannelFormat::Text;
    wb.rec.desc(0).InDelimiter = ';';
    wb.rec.desc(0).ColumnValue = 2;
    wb.rec.desc(0).HeaderText = 1;
    wb.rec.desc(1).NameIn = dir.file("moved away.csv");
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    ASSERT_EQ(ui.texts().size(), 1u);
    const std::string text = ui.texts()[0];
    EXPECT_NE(text.find(" Channel 1 (" + wb.rec.desc(0).Caption + ") holds no value: " + words), std::string::npos)
        << text;
    EXPECT_NE(text.find("column 2 after 1 header lines, separator ;; its first data line has 3 columns: alpha;seal"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(" Channel 2 (" + wb.rec.desc(1).Caption + "): no file " + dir.file("moved away.csv")),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Channel 3"), std::string::npos);  // loaded as before
    ui.shown.clear();
    EXPECT_FALSE(AnalysisChannelReady(wb.rec, 0, ui));
    EXPECT_NE(ui.texts().at(0).find("holds no values"), std::string::npos);
    EXPECT_FALSE(AnalysisChannelReady(wb.rec, 2, ui));
    EXPECT_EQ(ui.texts().at(1), "No analysis available for this channel.");

    // A wrong column answered "Yes": an empty channel, named the same way.
    ui.shown.clear();
    wb.rec.desc(0).ColumnValue = 7;
    ui.answers = {Answer::Yes, Answer::Yes};
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_NE(ui.texts().back().find("holds no value"), std::string::npos);
    EXPECT_NE(ui.texts().back().find("column 7"), std::string::npos);

    // A blank name leaves a slot unused, even one marked to be created; nothing is said of it.
    ui.shown.clear();
    ASSERT_TRUE(ReadSetup(files.setup, wb.rec, wb.settings));
    wb.rec.desc(1).NameIn = "  ";
    wb.rec.desc(1).format = ChannelFormat::Created;
    wb.rec.at(0).ChannelModified = true;
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_FALSE(wb.rec.at(1).ChannelUsed);
    EXPECT_FALSE(wb.rec.at(0).ChannelModified);  // a fresh recording
    EXPECT_TRUE(ui.shown.empty()) << ui.texts().front();
}

TEST(CopyChannels, CopyFromTheFirstSlot)
{
    Recording rec;
    ChannelDescriptor& d = rec.desc(0);
    d.NameIn = "/data/seal.txt";
    d.SampRate = 125;
    d.StartTime = 1e12;
    d.ColumnValue = 3;
    d.format = ChannelFormat::Binary;
    d.UseFileInfo = false;
    d.HeaderText = 7;
    d.AutoScaling = false;
    d.LowRng = -1;
    d.HighRng = 1;
    for (CopyKind kind : {CopyKind::FileNames, CopyKind::SampRate, CopyKind::StartTime, CopyKind::Format,
                          CopyKind::AutoScaling, CopyKind::CountColumns})
        CopyFromFirstSlot(rec, kind);
    for (int s : {1, 2}) {
        EXPECT_EQ(rec.desc(s).NameIn, "/data/seal.txt");
        EXPECT_EQ(rec.desc(s).SampRate, 125);
        EXPECT_EQ(rec.desc(s).StartTime, 1e12);
        EXPECT_EQ(rec.desc(s).format, ChannelFormat::Binary);
        EXPECT_FALSE(rec.desc(s).UseFileInfo);
        EXPECT_EQ(rec.desc(s).HeaderText, 0);  // a binary format copies no text settings
        EXPECT_FALSE(rec.desc(s).AutoScaling);
        EXPECT_EQ(rec.desc(s).LowRng, 0.0);  // only the right mouse button copies the range
        EXPECT_EQ(rec.desc(s).ColumnValue, 3 + s);
    }
    CopyFromFirstSlot(rec, CopyKind::AutoScalingAndRange);
    EXPECT_EQ(rec.desc(2).LowRng, -1.0);
    CopyFromFirstSlot(rec, CopyKind::CountExtensions);
    EXPECT_EQ(rec.desc(0).NameIn, "/data/seal.000");
    EXPECT_EQ(rec.desc(2).NameIn, "/data/seal.002");

    const DegreesMinutesSeconds dms = ToDms(-45.5125);
    EXPECT_EQ(dms.degrees, -45);
    EXPECT_EQ(dms.minutes, -30);
    EXPECT_EQ(dms.seconds, -45);
    EXPECT_NEAR(FromDms(dms), -45.5125, 1e-9);
}

}  // namespace vk

namespace vk {

TEST_F(StartFixture, DepthIsDrawnDownwardsUnlessTheUserChoseOtherwise)
{
    // A new user's depth channel: downwards.
    ChannelDescriptor fresh = DefaultDescriptor(0);
    DrawDepthDownwards(fresh);
    EXPECT_EQ(fresh.GrRepr, -1);
    fresh.GrRepr = 3;  // dots stay dots
    DrawDepthDownwards(fresh);
    EXPECT_EQ(fresh.GrRepr, -3);
    // Not depth: as it is.
    ChannelDescriptor temperature = DefaultDescriptor(1);
    DrawDepthDownwards(temperature);
    EXPECT_EQ(temperature.GrRepr, 1);
    // A setup saved before the first Start (its depth at the default, upwards)
    // is drawn downwards at every Start; one whose style the user chose in
    // Chart Style keeps it through the file and every Start.
    auto startFrom = [&](const std::string& name) {
        const std::string path = dir.file(name);
        EXPECT_EQ(WriteSetup(path, wb.rec, wb.settings), SetupWriteResult::Written);
        Workbench again;
        EXPECT_TRUE(ReadSetup(path, again.rec, again.settings));
        test::AllocateAll(again.rec);
        EXPECT_EQ(StartRecording(again, ui), StartResult::Loaded);
        return again.rec.desc(0).GrRepr;
    };
    wb.rec.desc(0).GrRepr = 1;
    EXPECT_EQ(startFrom("saved-early.cfg"), -1);
    const std::vector<std::string> early = test::Lines(dir.file("saved-early.cfg"));
    EXPECT_TRUE(
        std::none_of(early.begin(), early.end(), [](const std::string& l) { return l.starts_with("StyleChosen"); }));
    wb.rec.desc(0).GrRepr = -1;  // as Start left it
    ViewState view;
    ChartStyleChoice upwards = CurrentChartStyle(wb.rec, view, 0);
    upwards.radios.inverted = false;
    ApplyChartStyle(wb.rec, view, 0, upwards);
    EXPECT_EQ(wb.rec.desc(0).GrRepr, 1);
    EXPECT_EQ(startFrom("chosen.cfg"), 1);
    EXPECT_EQ(startFrom("chosen.cfg"), 1);
}

}  // namespace vk

#include <gtest/gtest.h>

#include <fstream>

#include "core/dive/DiveTable.h"
#include "core/dive/ResultStep.h"
#include "core/store/FileUtil.h"
#include "support/DiveFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

using test::Line;
using test::Stay;

namespace {

// Pictures as a window would save them: a file each, and what was asked for.
struct FakePictures : PictureSink {
    std::vector<std::string> images, stamps;
    std::vector<int> thumbnails;
    bool saveImage(const std::string& path) override
    {
        images.push_back(path);
        std::ofstream(path) << "jpeg";
        return true;
    }
    bool saveThumbnail(const std::string&, int number, const std::string& stamp) override
    {
        thumbnails.push_back(number);
        stamps.push_back(stamp);
        return true;
    }
};

// Six dives of 60 s, 100 s apart.
std::vector<double> SixDives()
{
    std::vector<double> v{0};
    for (int k = 0; k < 6; ++k) {
        Stay(v, 99);
        Line(v, 20 + 5 * k, 20);
        Stay(v, 20);
        Line(v, 0, 20);
    }
    Stay(v, 100);
    return v;
}

struct Results : ::testing::Test {
    test::TempDir dir;
    Workbench wb;
    ViewState view;
    ScriptedDialogs ui;
    NoUndo undo;
    FakePictures pictures;
    ResultContext rc{wb, view, ui, undo, &pictures};

    void SetUp() override
    {
        const std::vector<double> v = SixDives();
        test::AllocateAll(wb.rec, 1);
        wb.rec.at(1).ChannelUsed = wb.rec.at(2).ChannelUsed = false;
        ChannelDescriptor& d = wb.rec.desc(0);
        d.SampRate = 1000;
        d.LowRng = -10;
        d.HighRng = 100;
        SetScaling(wb.rec, 0);
        d.DataCnt = static_cast<int32_t>(v.size()) - 1;
        bool report = false;
        for (std::size_t i = 0; i < v.size(); ++i)
            WriteRaw(wb.rec, static_cast<int32_t>(i), PhysToRaw(wb.rec, 0, report, v[i]), 0);
        d.NameIn = dir.file("seal.txt");
        wb.rec.time.LongestSpan = d.DataCnt * 1000.0;
        wb.settings.NameOutFile[0] = dir.file("seal_Dve.xls");
        wb.results.wiggles = dir.file("seal_Wigg.xls");
        wb.results.bouts = dir.file("seal_Bout.xls");
        wb.results.thumbnailPrefix = dir.file("Thumbnails");
        wb.settings.dive.Threshold = 10;
        view.T = wb.rec.time.LongestSpan;
    }
    std::vector<std::string> Lines(const std::string& file) const
    {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

}  // namespace

TEST_F(Results, WriteResultsAppendsSavesAndSearchesOn)
{
    DiveContext cx = rc.dive();
    SearchNext(cx, wb.settings.dive);
    wb.settings.dive.MakeImages = 1;
    const double firstOnset = view.at.F4;
    ResultStepOutcome o = WriteResults(rc, wb.settings.dive);
    EXPECT_TRUE(o.written);
    EXPECT_TRUE(o.searched);
    EXPECT_GT(view.at.F4, firstOnset);  // on the next dive
    const double secondEnd = view.at.F5;
    o = WriteResults(rc, wb.settings.dive);
    const std::vector<std::string> lines = Lines(wb.settings.NameOutFile[0]);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0] + "\n", DiveHeader(wb.rec, wb.settings));
    EXPECT_EQ(lines[1].substr(0, 2), "0\t");
    EXPECT_EQ(lines[2].substr(0, 2), "1\t");
    EXPECT_EQ(wb.dive.record.counter, 2);
    EXPECT_EQ(wb.dive.record.previous.end, secondEnd);  // the pause of the next dive is measured from it
    EXPECT_EQ(pictures.images,
              (std::vector<std::string>{dir.file("images/seal_0000.jpg"), dir.file("images/seal_0001.jpg")}));
    EXPECT_EQ(pictures.thumbnails, (std::vector<int>{0, 1}));
    EXPECT_EQ(pictures.stamps[1], "1  U");
    EXPECT_EQ(DiveImagePath("/data/seal.txt", 7), "/data/images/seal_0007.jpg");

    // An image there already: replaced only when the user says so.
    wb.dive.record.counter = 0;
    ui.answers = {Answer::Cancel};
    WriteResults(rc, wb.settings.dive);
    EXPECT_EQ(pictures.images.size(), 2u);
    EXPECT_EQ(ui.texts().back(), "already exist. Overwrite?\r" + dir.file("images/seal_0000.jpg"));

    // With SearchNextOff the cursors stay on the dive.
    wb.settings.dive.SearchNextOff = 1;
    const LinePositions here = view.at;
    o = WriteResults(rc, wb.settings.dive);
    EXPECT_FALSE(o.searched);
    EXPECT_EQ(view.at, here);
}

TEST_F(Results, AFileThatCannotBeWrittenDoesNotStopTheStep)
{
    wb.settings.NameOutFile[0] = dir.file("open elsewhere/seal_Dve.xls");
    DiveContext cx = rc.dive();
    SearchNext(cx, wb.settings.dive);
    const ResultStepOutcome o = WriteResults(rc, wb.settings.dive);
    EXPECT_FALSE(o.written);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Error: Propably result file openend"});
    EXPECT_EQ(pictures.thumbnails, std::vector<int>{0});  // the thumbnail all the same
    EXPECT_TRUE(o.searched);
}

TEST_F(Results, TheAutomaticAnalysisWritesEveryDiveOfTheStretch)
{
    view.at.F4 = 0;
    view.at.F5 = view.T;
    int framed = 0;
    AutomaticHooks hooks;
    hooks.framed = [&framed](const SearchOutcome&) { ++framed; };
    double done = 0;
    hooks.progress = [&done](double share, int) { done = share; };
    const AutomaticOutcome o = AutomaticAnalysis(rc, wb.settings.dive, hooks);
    EXPECT_EQ(o.dives, 6);
    EXPECT_EQ(framed, 6);
    EXPECT_FALSE(o.halted);
    EXPECT_GT(done, 0.9);
    EXPECT_EQ(Lines(wb.settings.NameOutFile[0]).size(), 7u);
    EXPECT_EQ(pictures.thumbnails.size(), 6u);
    EXPECT_TRUE(ui.shown.empty());

    // A wiggle duration shorter than a sample warns once for the run, not at every dive.
    view.at.F4 = 0;
    view.at.F5 = view.T;
    wb.settings.dive.WiggMethod = WiggleMethod::Simeone;
    wb.settings.dive.WiggDuration = 0.5;
    EXPECT_EQ(AutomaticAnalysis(rc, wb.settings.dive, {}).dives, 6);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Wiggles: \".. over n sec\" too small. "});
}

TEST_F(Results, HaltStopsAfterTheDiveInHand)
{
    view.at.F4 = 0;
    view.at.F5 = view.T;
    AutomaticHooks hooks;
    int asked = 0;
    hooks.halted = [&asked] { return ++asked == 2; };
    const AutomaticOutcome o = AutomaticAnalysis(rc, wb.settings.dive, hooks);
    EXPECT_TRUE(o.halted);
    EXPECT_EQ(o.dives, 2);
    EXPECT_EQ(Lines(wb.settings.NameOutFile[0]).size(), 3u);  // both dives written
}

TEST_F(Results, BurnishedDivesLeaveTheSurface)
{
    view.at.F4 = 0;
    view.at.F5 = view.T;
    wb.settings.dive.BurnishDives = 1;
    const AutomaticOutcome o = AutomaticAnalysis(rc, wb.settings.dive, {});
    EXPECT_EQ(o.dives, 6);
    EXPECT_FALSE(FileExists(wb.settings.NameOutFile[0]));  // burnished, not written
    for (int32_t i = 0; i <= wb.rec.desc(0).DataCnt; ++i)
        ASSERT_LT(ReadValue(wb.rec, i, 0).value, 1.0) << i;
    EXPECT_TRUE(wb.rec.at(0).ChannelModified);

    // Every 20th burnished dive saves the channel as the template baseline.
    const std::string file = dir.file("TemplateBaseline$.bin");
    for (int k = 6; k < 19; ++k)
        BurnishDive(rc);
    EXPECT_FALSE(FileExists(file));
    BurnishDive(rc);
    EXPECT_TRUE(FileExists(file));
}

}  // namespace vk

#include <gtest/gtest.h>

#include <fstream>

#include "core/dive/DiveTable.h"
#include "core/dive/ResultStep.h"
#include "core/dive/ResultTables.h"
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

    virtual std::vector<double> record() const { return SixDives(); }
    void SetUp() override
    {
        const std::vector<double> v = record();
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
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Error: Propably result file openend\rCannot write " +
                                                   wb.settings.NameOutFile[0] + ": No such file or directory"});
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

TEST_F(Results, AnAutomaticRunWhoseTableCannotBeWrittenSaysWhereAndWhy)
{
    // The first six dives written, then the folder of the dive table is gone.
    view.at.F4 = 0;
    view.at.F5 = view.T;
    ASSERT_EQ(AutomaticAnalysis(rc, wb.settings.dive, {}).dives, 6);
    const std::string table = wb.settings.NameOutFile[0];
    ASSERT_EQ(Lines(table).size(), 7u);
    wb.settings.NameOutFile[0] = dir.file("gone/seal_Dve.xls");
    view.at.F4 = 0;
    view.at.F5 = view.T;
    const AutomaticOutcome o = AutomaticAnalysis(rc, wb.settings.dive, {});
    EXPECT_EQ(o.failure, "Cannot write " + dir.file("gone/seal_Dve.xls") + ": No such file or directory");
    ASSERT_EQ(ui.texts().size(), 1u);
    EXPECT_EQ(ui.texts()[0], o.failure +
                                 "\r\nThe automatic analysis stopped after 6 dives; the 0 dive lines written "
                                 "before are kept in " +
                                 dir.file("gone/seal_Dve.xls") + ".");
    EXPECT_EQ(ui.shown[0].severity, Severity::Error);
    EXPECT_EQ(Lines(table).size(), 7u);  // the earlier table as it was
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

namespace {

// Six dives of which the third lasts ten minutes and the fifth loses the last
// samples of its ascent: both deserve a second look.
struct DoubtfulResults : Results {
    static constexpr int32_t GapFrom = 1365, GapTo = 1380;
    std::vector<double> record() const override
    {
        std::vector<double> v{0};
        for (int k = 0; k < 6; ++k) {
            Stay(v, 99);
            Line(v, 20 + 5 * k, 20);
            Stay(v, k == 2 ? 600 : 20);
            Line(v, 0, 20);
        }
        Stay(v, 100);
        return v;
    }
    void SetUp() override
    {
        Results::SetUp();
        for (int32_t i = GapFrom; i < GapTo; ++i)
            WriteRaw(wb.rec, i, 0, 0);
        wb.rec.at(0).missing.add(GapFrom, GapTo);
    }
    std::string check(const std::string& line) const { return line.substr(line.rfind('\t') + 1); }
};

}  // namespace

TEST_F(DoubtfulResults, TheRunMarksItsDoubtfulDivesAndAsksBeforeWritingAStretchAgain)
{
    const std::string table = wb.settings.NameOutFile[0];
    auto run = [&](bool ask) {
        view.at.F4 = 0;
        view.at.F5 = view.T;
        AutomaticHooks hooks;
        hooks.askBeforeRepeating = ask;
        return AutomaticAnalysis(rc, wb.settings.dive, hooks);
    };
    const AutomaticOutcome o = run(true);  // a new table: nothing to ask
    ASSERT_EQ(o.written.size(), 6u);
    ASSERT_EQ(o.doubts.doubts.size(), 2u);
    EXPECT_NEAR(o.doubts.doubts[0].usual, 60000, 2000);
    EXPECT_EQ(o.doubts.doubts[0].index, 2u);
    EXPECT_EQ(o.doubts.doubts[0].reasons, unsigned{DoubtLong});
    EXPECT_EQ(o.doubts.doubts[1].index, 4u);
    EXPECT_EQ(o.doubts.doubts[1].reasons, unsigned{DoubtGap});
    EXPECT_EQ(o.doubts.doubts[1].dive.end, (GapFrom - 1) * 1000.0);  // framed up to the gap
    const std::vector<std::string> lines = Lines(table);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(check(lines[0]), "Check");
    const std::vector<std::string> marks{"", "", "long", "", "gap", ""};
    for (std::size_t k = 0; k < marks.size(); ++k)
        EXPECT_EQ(check(lines[k + 1]), marks[k]) << k;
    // The pause after the dive cut by the gap holds the gap; the first dive has no pause.
    const std::vector<std::string> names = SplitFields(lines[0], '\t');
    const auto acrossGap =
        static_cast<std::size_t>(std::find(names.begin(), names.end(), "PauseAcrossGap") - names.begin());
    const std::vector<std::string> across{"", "0", "0", "0", "0", "1"};
    for (std::size_t k = 0; k < across.size(); ++k)
        EXPECT_EQ(SplitFields(lines[k + 1], '\t').at(acrossGap), across[k]) << k;
    EXPECT_EQ(DoubtText(o.doubts.doubts[0], 10, wb.rec, '.'),
              "Dive 2 at 31.12.1980 00:06:57: 10.7 min, long for its depth of 30.0 m: dives of 20.0 to 45.0 m last "
              "1.0 min (median)");
    EXPECT_TRUE(ui.shown.empty());

    // What a run of the stretch would analyse, with the dives the table holds of it.
    const std::string stretch = StretchText(wb, 0, view.T);
    EXPECT_EQ(stretch.rfind("From ", 0), 0u);
    EXPECT_EQ(stretch.substr(stretch.find(", between")), ", between F4 and F5); the dive table holds 6 dives of it.");
    EXPECT_NE(StretchText(wb, view.T - 1000, view.T).find("the dive table holds no dive of it."), std::string::npos);

    // The same stretch again: the user cancels, and nothing is written.
    ui.choices = {Choice::Cancel};
    AutomaticOutcome again = run(true);
    EXPECT_TRUE(again.cancelled);
    EXPECT_EQ(again.dives, 0);
    ASSERT_EQ(ui.captions.size(), 1u);
    EXPECT_EQ(ui.captions[0],
              (std::vector<std::string>{"Dives already written", "Append anyway", "New files", "Cancel"}));
    EXPECT_EQ(Lines(table), lines);
    // New files: the run goes to "_2" beside each table, the first table untouched.
    ui.choices = {Choice::Second};
    EXPECT_EQ(run(true).dives, 6);
    EXPECT_EQ(Lines(table), lines);
    EXPECT_EQ(Lines(dir.file("seal_Dve_2.xls")).size(), 7u);
    EXPECT_EQ(check(Lines(dir.file("seal_Dve_2.xls"))[3]), "long");
    // Append anyway: the new table takes the dives a second time. The batch runner does not ask.
    ui.choices = {Choice::First};
    EXPECT_EQ(run(true).dives, 6);
    EXPECT_EQ(Lines(dir.file("seal_Dve_2.xls")).size(), 13u);
    EXPECT_EQ(run(false).dives, 6);
    EXPECT_EQ(Lines(dir.file("seal_Dve_2.xls")).size(), 19u);
    EXPECT_EQ(ui.captions.size(), 3u);
}

TEST(Plausibility, LongForItsDepthShallowJoinedAndMarksThatCannotBeWritten)
{
    // Dives of 1 min at 30 m and of 3 min at 80 m, among many short ripples.
    std::vector<RunDive> dives;
    const auto add = [&dives](double minutes, double depth) {
        RunDive d;
        d.number = static_cast<int32_t>(dives.size());
        d.duration = minutes * 60000;
        d.maxDepth = depth;
        dives.push_back(d);
    };
    for (int k = 0; k < 6; ++k)
        add(1, 30 + k);
    for (int k = 0; k < 6; ++k)
        add(3, 80 + k);
    for (int k = 0; k < 20; ++k)
        add(0.3, 4.5);
    dives[1].maxDepth = 3.5;  // the surface baseline took most of it
    dives[1].duration = 20000;
    dives[3].duration = 180000;  // three times its peers: not yet long
    dives[4].duration = 180001;
    dives[4].endsAtGap = true;
    dives[8].duration = 10 * 60000;  // 10 min at 82 m: long for its depth, not against every dive
    dives[9].surfaceStay = 45000;    // 45 s at the surface inside: joined
    dives[10].surfaceStay = 20000;   // 20 s: the end rule (40 s) would not end it there
    const RunDoubts run = DoubtfulDives(dives, 4, 40000);
    ASSERT_EQ(run.doubts.size(), 4u);
    EXPECT_EQ(run.doubts[0].index, 1u);
    EXPECT_EQ(run.doubts[0].reasons, unsigned{DoubtShallow});
    EXPECT_EQ(CheckMark(run.doubts[1].reasons), "long+gap");
    EXPECT_EQ(run.doubts[2].index, 8u);
    EXPECT_EQ(run.doubts[2].reasons, unsigned{DoubtLong});
    EXPECT_EQ(run.doubts[2].usual, 180000);
    EXPECT_EQ(CheckMark(run.doubts[3].reasons), "joined");
    Recording rec;
    EXPECT_NE(DoubtText(run.doubts[0], 4, rec, '.').find("reaches 3.5 m, less than the threshold of 4 m"),
              std::string::npos);
    EXPECT_NE(DoubtWhy(run.doubts[3], 4, rec, '.').find("stays 45 s shallower than the threshold"), std::string::npos);
    EXPECT_TRUE(DoubtfulDives({}, 4, 40000).doubts.empty());

    // A table whose last lines do not end in an empty field, or that has too
    // few lines, is left as it was.
    test::TempDir dir;
    const std::string file = dir.file("dives.xls");
    const std::string text = "Dive\tCheck\n0\t\n1\t\n2\t\n3\t\n4\tx\n";
    ASSERT_TRUE(ReplaceFileContents(file, text));
    auto contents = [&file] {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_FALSE(MarkCheckColumn(file, run, 5, '\t'));  // dive 4's field is taken
    EXPECT_FALSE(MarkCheckColumn(file, run, 6, '\t'));
    EXPECT_EQ(contents(), text);
    const RunDoubts first{{run.doubts[0]}};
    EXPECT_TRUE(MarkCheckColumn(file, first, 5, '\t'));
    EXPECT_EQ(contents(), "Dive\tCheck\n0\t\n1\tshallow\n2\t\n3\t\n4\tx\n");
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

#include <gtest/gtest.h>

#include <fstream>

#include "core/files/ChannelSource.h"
#include "core/setup/SaveSettings.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/setup/Workbench.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

const std::string Magic = "Varnik Setup File\r\n";

// Settings in which every value differs from its default.
void MakeUnusual(Recording& rec, Settings& s)
{
    for (int slot = 0; slot < 3; ++slot) {
        ChannelDescriptor& d = rec.desc(slot);
        d.NameIn = "/home/ann/seal data/trip " + std::to_string(slot) + ".txt";
        d.Caption = "Depth of seal " + std::to_string(slot);
        d.SampRate = 250 + slot;
        d.DataCnt = 1000 + slot;
        d.StartTime = EncodeTime(2002, 1, 5, 11, 32, slot);
        d.EndTime = 1e12 + slot;
        d.SmpDelay = 3;
        d.CorrSmpDelay = 2;
        d.GrRepr = -2;
        d.format = ChannelFormat::Binary;
        d.Min = -1.25;
        d.Max = 1e3;
        d.CoeffA = 0.001;
        d.CoeffB = -4;
        d.CoeffC = 1e-7;
        d.UsrCoeffA = 2;
        d.UsrCoeffB = -1;
        d.LowRng = -4;
        d.HighRng = 91;
        d.WndSze = 4;
        d.LenF8F9 = 9;
        d.PosF8F9 = 0;
        d.KindEqu = 'A';
        d.ColumnValue = 5;
        d.HeaderText = 3;
        d.InDelimiter = slot == 0 ? ';' : slot == 1 ? ' ' : '\t';
        d.AutoScaling = false;
        d.Derivation = true;
        d.GridDist = 2.5;
        d.RunMean = 7;
        d.IgnoreEmpLine = true;
        d.Poly_A = 0.5;
        d.Poly_K = -1e-12;
        d.Poly_C = 2;
        d.bSet = true;
        d.bApplyPolynom = true;
    }
    s.Cmt1 = "Trip to the  ice edge";
    s.Cmt2 = "second tag";
    s.skip = {true, "EVENT LINE", true, "#"};
    s.thumbnails = {false, true, true, false, false, 120, 60};
    s.colours.values[0] = 15;
    s.colours.values[18] = 123456;
    s.coordinates = {-60.5, -45.25, 10, 20};
    s.GraphFont = 3;
    s.GraphFontSize = 11;
    s.FrequSensibility = 0.4;
    s.flatBaseline = {2, true, 17};
    s.compensation = {1.5, 2.5, 3.5, true, true, true};
    DiveParameters& p = s.dive;
    p.Threshold = 5;
    p.TimeBelow = 10;
    p.TimeAbove = 2;
    p.Level = 0.8;
    p.SlopEoD = 0.002;
    p.ThrBott = 0.5;
    p.SlopBoB = 0.4;
    p.RelBottSurf = 0.3;
    p.FloatWindow = 0;
    p.AdjustYSize = 1;
    p.WindowSize = 600;
    p.SearchNextOff = 1;
    p.BoutIntermediate = 100;
    p.BoutMinDur = 200;
    p.WiggAmplitude = 0.5;
    p.WiggDuration = 4;
    p.WiggMethod = WiggleMethod::Bost;
    p.WiggRelPreceding = 0.1;
    p.MinDiveDuration = 12;
    p.LenRest = 6;
    p.TrekBaseline = 1;
    p.BottomKind = BottomSearchKind::WiggleDefined;
    p.MakeImages = 1;
    p.NrBins = 30;
    p.MinBin = 5;
    p.MaxBin = 50;
    p.Frequencies = 1;
    p.WaterTemp = 1;
    p.DiveStops = 0;
    p.EndDiveValid = 1;
    p.SpeedAnalysis = 1;
    p.AbsDifferences = 1;
    p.BurnishDives = 1;
    p.AutoDive = 1;
    p.AutoGradient = 0;
    p.YFormFactor = 1.2;
    p.YFormDivision = 0.7;
    p.WShapeHeight = 0.6;
    p.LShapeParm = 0.05;
    p.ParabolaHeight = 0.25;
    p.WiggDefPercent = 60;
    p.SurroundMaxDepth = 30;
    p.StopGradient = 0.15;
    p.StopLength1 = 3;
    p.StopMinDuration = 8;
    p.Criterion = OnsetCriterion::OnlyLevelAbs;
    p.ExtendedParameters[0] = {3, 1, 2, true};
    p.ExtendedParameters[7] = {10, 2, 5, true};
    s.SpeedChannel = 1;
    s.CommSampInterval = 2.0;
    s.StatisticsFile = "/home/ann/seal data/trip.sta";
    s.MyVk = true;
    s.NameOutFile = {"/out/a b_Dve.xls", "/out/x.ex2", "/out/x.ex3"};
    s.OutDlmt = ';';
    s.DateSep = '/';
    s.AltNullmbar = 1000.5;
    s.subsidiaryLines[0][0] = {0, 1};
    s.subsidiaryLines[0][2] = {65, 1};
    s.subsidiaryLines[2][9] = {-3.5, 1};
}

struct SetupFile : ::testing::Test {
    test::TempDir dir;
    Recording rec;
    Settings settings;

    // Reads a file of the magic line and `lines` into the fixture's state.
    bool ReadLines(const std::string& lines, std::vector<std::string>* unread = nullptr)
    {
        return ReadSetup(dir.write("s.cfg", Magic + lines), rec, settings, unread);
    }
};

}  // namespace

TEST_F(SetupFile, EverythingWrittenReadsBack)
{
    MakeUnusual(rec, settings);
    rec.desc(1).yOffset = 3.0;
    const std::string path = dir.file("my setup.cfg");
    ASSERT_EQ(WriteSetup(path, rec, settings), SetupWriteResult::Written);

    Recording back;
    Settings backSettings;
    ASSERT_TRUE(ReadSetup(path, back, backSettings));
    for (int s = 0; s < 3; ++s) {
        ChannelDescriptor expected = rec.desc(s);
        expected.yOffset = 0.0;  // never survives a read
        EXPECT_EQ(back.desc(s), expected) << "slot " << s;
    }
    EXPECT_EQ(backSettings, settings);

    // Defaults survive too (the TAB delimiters among them), and a second write is identical.
    Recording plain;
    Settings plainSettings;
    ASSERT_EQ(WriteSetup(path, plain, plainSettings), SetupWriteResult::Written);
    const std::string first = test::TempDir::read(path);
    ASSERT_TRUE(ReadSetup(path, back, backSettings));
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(back.desc(s), plain.desc(s));
    EXPECT_EQ(backSettings, plainSettings);
    ASSERT_EQ(WriteSetup(path, back, backSettings), SetupWriteResult::Written);
    EXPECT_EQ(test::TempDir::read(path), first);
}

TEST_F(SetupFile, WrittenFormIsTabSeparatedWithFixedReals)
{
    const std::string path = dir.file("a.cfg");
    ASSERT_EQ(WriteSetup(path, rec, settings), SetupWriteResult::Written);
    const std::string text = test::TempDir::read(path);
    EXPECT_EQ(text.rfind("Varnik Setup File\r\nRelease 4.0\r\nNameIn\t0\t\r\nCaption\t0\tDepth Channel\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nSampRate\t0\t1000\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nStartTime\t0\t 3.16224000000000E+0010\t (01.01.1982 00:00:00)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nMax\t2\t 6.55350000000000E+0004\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nIgnoreEmpLine\t1\tFALSE\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nColor\t2\t16711680\tF4/F5 cursor\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDive Threshold\t 6.50000000000000E+0001\r\nDive TmeBlw\t"), std::string::npos);
    EXPECT_NE(text.find("\r\nExDivParEnabled\t1\tFALSE\r\nExDivParOperation\t2\t-1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nsubsidline\t2\t9\t 0.00000000000000E+0000\t 0.00000000000000E+0000\r\n"),
              std::string::npos);
    EXPECT_EQ(text.size() - text.rfind("subsidline\t2\t9"),
              std::string("subsidline\t2\t9\t 0.00000000000000E+0000\t 0.00000000000000E+0000\r\n").size());
}

// Flags are plain booleans in the program and keep their letters and numbers in the file.
TEST_F(SetupFile, FlagsKeepTheirLettersAndNumbers)
{
    rec.desc(1).AutoScaling = false;
    rec.desc(2).Derivation = true;
    rec.desc(0).bApplyPolynom = true;
    const std::string text = SetupText(rec, settings);
    EXPECT_NE(text.find("\r\nAutoScaling\t0\tY\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nAutoScaling\t1\tN\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDerivation\t2\t1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nbApplyPolynom\t0\t1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nbSet\t0\t0\r\n"), std::string::npos);

    // A letter other than Y is no; a number outside 0 .. 1 and an empty letter leave the flag alone.
    const std::string path = dir.file("flags.cfg");
    std::string edited = text;
    const auto replace = [&edited](const std::string& from, const std::string& to) {
        edited.replace(edited.find(from), from.size(), to);
    };
    replace("AutoScaling\t0\tY", "AutoScaling\t0\ty");
    replace("Derivation\t2\t1", "Derivation\t2\t2");
    replace("AutoScaling\t2\tY", "AutoScaling\t2\t");
    std::ofstream(path, std::ios::binary) << edited;
    Recording back;
    ASSERT_TRUE(ReadSetup(path, back, settings));
    EXPECT_FALSE(back.desc(0).AutoScaling);
    EXPECT_FALSE(back.desc(1).AutoScaling);
    EXPECT_TRUE(back.desc(2).AutoScaling);
    EXPECT_FALSE(back.desc(2).Derivation);
    EXPECT_TRUE(back.desc(0).bApplyPolynom);
}

// The keys of lines that carry their times come only with such a channel,
// and read back; a date order outside the known ones is refused.
TEST_F(SetupFile, TimeColumnsOnlyWhereTheLinesCarryTimes)
{
    const std::string plain = SetupText(rec, settings);
    EXPECT_EQ(plain.find("TimeColumn"), std::string::npos);
    EXPECT_EQ(plain.find("DateOrder"), std::string::npos);

    rec.desc(1).TimeColumn = 2;
    rec.desc(1).DateColumn = 1;
    rec.desc(1).dateOrder = DateOrder::MonthFirst;
    const std::string text = SetupText(rec, settings);
    EXPECT_NE(text.find("\r\nbApplyPolynom\t1\t0\r\nTimeColumn\t1\t2\r\nDateColumn\t1\t1\r\nDateOrder\t1\t2\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("TimeColumn\t0"), std::string::npos);

    const std::string path = dir.file("times.cfg");
    std::string edited = text;
    edited.insert(edited.find("\r\nTimeColumn\t1"), "\r\nDateOrder\t2\t7");
    std::ofstream(path, std::ios::binary) << edited;
    Recording back;
    ASSERT_TRUE(ReadSetup(path, back, settings));
    EXPECT_EQ(back.desc(1).TimeColumn, 2);
    EXPECT_EQ(back.desc(1).DateColumn, 1);
    EXPECT_EQ(back.desc(1).dateOrder, DateOrder::MonthFirst);
    EXPECT_EQ(back.desc(2).dateOrder, DateOrder::Unknown);
    EXPECT_EQ(back.desc(0).TimeColumn, 0);

    // An interval of part milliseconds: SampRate rounded, the exact value beside it.
    Channel(rec, 2).setInterval(62.5);
    const std::string fast = SetupText(rec, settings);
    EXPECT_NE(fast.find("\r\nSampRate\t2\t63\r\n"), std::string::npos);
    EXPECT_NE(fast.find("\r\nExactInterval\t2\t"), std::string::npos);
    EXPECT_EQ(fast.find("ExactInterval\t0"), std::string::npos);
    std::ofstream(path, std::ios::binary) << fast;
    ASSERT_TRUE(ReadSetup(path, back, settings));
    EXPECT_EQ(ChannelView(back, 2).interval(), 62.5);
}

TEST_F(SetupFile, BadLinesAreSkippedOneByOne)
{
    std::vector<std::string> unread;
    ASSERT_TRUE(
        ReadLines("SampRate\t3\t50\r\n"  // slot outside 0..2
                  "SampRate\t0\t5x\r\n"  // not an integer
                  "SampRate\t1\t 250 \r\n"
                  "CoeffA\t0\t0,5\r\n"          // comma as decimal point
                  "yOffset\t0\t 2.0\r\n"        // never survives a read
                  "IgnoreEmpLine\t0\ttrue\r\n"  // only TRUE is true
                  "IgnoreEmpLine\t1\tTRUE\r\n"
                  "Caption\t2\t  Depth Channel  \r\n"
                  "InDelimiter\t0\t \r\n"  // one blank: the blank delimiter
                  "WndSze\t0\t300\r\n"     // does not fit the field
                  "Dive FixBott\t7\r\n"    // no such bottom kind
                  "Dive Threshold\t12,5\r\n"
                  "Color\t19\t5\tnone\r\n"
                  "Color\t4\t255\tJump-distance line\r\n"
                  "ExDivParOperation\t0\t3\r\n"  // rows are 1..8
                  "ExDivParOperation\t1\t3\r\n"
                  "ExDivParEnabled\t1\tTRUE\r\n"  // channel and section still -1: switched off
                  "ExDivParOperation\t2\t4\r\nExDivParChannel\t2\t0\r\nExDivParSection\t2\t1\r\n"
                  "ExDivParEnabled\t2\tTRUE\r\n"
                  "subsidline\t0\t10\t5\t1\r\n"  // lines are 0..9
                  "subsidline\t1\t3\t5\r\n"      // the flag is missing
                  "subsidline\t1\t4\t7,5\t1\r\n"
                  "NameOutFile\t3\t/x\r\n"
                  "Unknown\t1\r\n\r\n\t\r\n",
                  &unread));
    // The lines of known keys that were skipped are named, with their numbers, for the user.
    ASSERT_EQ(unread.size(), 9u);
    EXPECT_EQ(unread[0], "line 2 \"SampRate 3 50\"");
    EXPECT_EQ(unread[1], "line 3 \"SampRate 0 5x\"");
    EXPECT_EQ(unread[3], "line 12 \"Dive FixBott 7\"");
    EXPECT_EQ(unread.back(), "line 26 \"NameOutFile 3 /x\"");
    for (const std::string& u : unread)
        EXPECT_EQ(u.find("Unknown"), std::string::npos);
    EXPECT_EQ(rec.desc(0).SampRate, 1000);
    EXPECT_EQ(rec.desc(1).SampRate, 250);
    EXPECT_EQ(rec.desc(0).CoeffA, 0.5);
    EXPECT_EQ(rec.desc(0).yOffset, 0.0);
    EXPECT_FALSE(rec.desc(0).IgnoreEmpLine);
    EXPECT_TRUE(rec.desc(1).IgnoreEmpLine);
    EXPECT_EQ(rec.desc(2).Caption, "Depth Channel");
    EXPECT_EQ(rec.desc(0).InDelimiter, ' ');
    EXPECT_EQ(rec.desc(0).WndSze, 1);
    EXPECT_EQ(settings.dive.BottomKind, BottomSearchKind::Normal);
    EXPECT_EQ(settings.dive.Threshold, 12.5);
    EXPECT_EQ(settings.colours, [] {
        ColourTable t;
        t.values[4] = 255;
        return t;
    }());
    EXPECT_EQ(settings.dive.ExtendedParameters[0], (ExtendedParameterRow{3, -1, -1, false}));
    EXPECT_EQ(settings.dive.ExtendedParameters[1], (ExtendedParameterRow{4, 0, 1, true}));
    EXPECT_EQ(settings.subsidiaryLines[1][3].value, 0.0);
    EXPECT_EQ(settings.subsidiaryLines[1][4].value, 7.5);
    EXPECT_EQ(settings.subsidiaryLines[1][4].flag, 1.0);
    EXPECT_EQ(settings.NameOutFile[0], "");

    // A line is cut at 1024 characters before it is split.
    const std::string longPath(1015, 'p');
    ASSERT_TRUE(ReadLines("NameIn\t0\t" + longPath + "Z\tmore\r\n"));
    EXPECT_EQ(rec.desc(0).NameIn, longPath);
}

TEST_F(SetupFile, FilesOfAnotherKindAreNeitherReadNorOverwritten)
{
    const std::string other = dir.write("other.cfg", "Varnik Setup File \r\nSampRate\t0\t5\r\n");
    EXPECT_FALSE(ReadSetup(other, rec, settings));
    EXPECT_EQ(rec.desc(0).SampRate, 1000);
    EXPECT_EQ(WriteSetup(other, rec, settings), SetupWriteResult::NotASetupFile);
    EXPECT_EQ(test::TempDir::read(other), "Varnik Setup File \r\nSampRate\t0\t5\r\n");
    const std::string empty = dir.write("empty.cfg", "");
    EXPECT_EQ(WriteSetup(empty, rec, settings), SetupWriteResult::NotASetupFile);
    EXPECT_FALSE(ReadSetup(dir.file("missing.cfg"), rec, settings));

    // LF-only line ends read as well as CR LF.
    const std::string unix = dir.write("unix.cfg", "Varnik Setup File\nSampRate\t0\t5\n");
    EXPECT_TRUE(ReadSetup(unix, rec, settings));
    EXPECT_EQ(rec.desc(0).SampRate, 5);

    EXPECT_EQ(WriteSetup(dir.file("no/such/folder.cfg"), rec, settings), SetupWriteResult::WriteFailed);
    EXPECT_EQ(WriteSetup(dir.path(), rec, settings), SetupWriteResult::WriteFailed);
}

}  // namespace vk

namespace vk {

TEST(SaveSettings, AddsTheExtensionATypedNameLacks)
{
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;
    ui.files = {dir.file("my seal"), dir.file("kept.setup")};
    ASSERT_TRUE(SaveSettingsAs(wb, ui));
    EXPECT_EQ(wb.setupFile, dir.file("my seal.cfg"));
    EXPECT_TRUE(FileExists(dir.file("my seal.cfg")));
    ASSERT_TRUE(SaveSettingsAs(wb, ui));  // a name with an extension of its own keeps it
    EXPECT_EQ(wb.setupFile, dir.file("kept.setup"));
}

TEST(SaveSettings, SettingsChangedAfterAStartFromASetupFileAreOfferedForKeeping)
{
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;
    std::string lines = "depth\n";
    for (int k = 0; k < 600; ++k)
        lines += std::to_string(k % 60 < 30 ? 0.5 : 20.0 + k % 7) + "\n";
    ChannelDescriptor& d = wb.rec.desc(0);
    d.NameIn = dir.write("seal.txt", lines);
    d.ColumnValue = 1;
    d.HeaderText = 1;
    for (int slot = 1; slot < SlotCount; ++slot)
        wb.rec.desc(slot).NameIn.clear();
    wb.setupFile = dir.file("seal.cfg");
    ASSERT_EQ(WriteSetup(wb.setupFile, wb.rec, wb.settings), SetupWriteResult::Written);
    AllocateStore(wb.rec, ui);
    ASSERT_EQ(StartRecording(wb, ui), StartResult::Loaded);
    EXPECT_FALSE(SetupChangedSinceStart(wb));

    // What the program sets itself while it runs does not count.
    wb.rec.desc(0).Min = 3;
    wb.rec.desc(0).yOffset = 0.7;
    wb.rec.desc(0).GrRepr = -1;
    EXPECT_FALSE(SetupChangedSinceStart(wb));
    EXPECT_TRUE(OfferToKeepSetup(wb, ui));
    EXPECT_TRUE(ui.captions.empty());  // nothing asked

    // A parameter chosen later: "Don't save" closes and leaves the file.
    const std::string before = test::TempDir::read(wb.setupFile);
    wb.settings.dive.Threshold = 4;
    EXPECT_TRUE(SetupChangedSinceStart(wb));
    ui.choices = {Choice::Cancel};
    EXPECT_TRUE(OfferToKeepSetup(wb, ui));
    EXPECT_EQ(ui.captions.back(), (std::vector<std::string>{"Settings changed", "Save", "Save as ...", "Don't save"}));
    EXPECT_EQ(test::TempDir::read(wb.setupFile), before);

    // "Save" writes it into the setup file; nothing is asked after.
    ui.choices = {Choice::First};
    EXPECT_TRUE(OfferToKeepSetup(wb, ui));
    Settings read;
    Recording again;
    ASSERT_TRUE(ReadSetup(wb.setupFile, again, read));
    EXPECT_EQ(read.dive.Threshold, 4);
    EXPECT_FALSE(SetupChangedSinceStart(wb));

    // A channel setting, then "Save as ..." cancelled: the program stays open.
    wb.rec.desc(0).Caption = "Pressure [dbar]";
    ui.choices = {Choice::Second};
    ui.files = {std::nullopt};
    EXPECT_FALSE(OfferToKeepSetup(wb, ui));
    ui.choices = {Choice::Second};
    ui.files = {dir.file("renamed.cfg")};
    EXPECT_TRUE(OfferToKeepSetup(wb, ui));
    EXPECT_EQ(wb.setupFile, dir.file("renamed.cfg"));
    EXPECT_FALSE(SetupChangedSinceStart(wb));
}

}  // namespace vk

#include <gtest/gtest.h>

#include <tuple>

#include "core/dive/DiveParamsRules.h"
#include "core/dive/DiveShapesRules.h"
#include "core/dive/ExtendedParamsRules.h"
#include "core/dive/ExtendedValues.h"
#include "support/GraphFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct Form : ::testing::Test {
    Workbench wb;
    ScriptedDialogs ui;
    DiveParmsEntry e;
    void SetUp() override { e = EntryOf(wb); }
    AcceptResult ok() { return AcceptDiveParms(e, wb, 0, ui); }
};

}  // namespace

TEST_F(Form, OpensOnTheSettingsAndStoresWhatWasTyped)
{
    EXPECT_EQ(e.threshold, "65");
    EXPECT_EQ(e.level, "0.9");
    EXPECT_EQ(e.nrBins, "20");
    EXPECT_TRUE(e.searchNextAtW);
    e.threshold = "12,5";  // the first comma is the decimal point
    e.windowSize = "600";
    e.criterion = 3;
    e.bottomKind = 2;
    e.wiggMethod = 1;
    e.searchNextAtW = false;
    e.noVisualisation = true;
    e.boutIntermediate = "120.6";  // bout times are rounded
    e.tnWidth = "250";
    e.tnHeight = "-3";
    e.diveFile = "/data/seal_Dve.xls";
    const AcceptResult r = ok();
    EXPECT_TRUE(r.close);
    const DiveParameters& p = wb.settings.dive;
    EXPECT_DOUBLE_EQ(p.Threshold, 12.5);
    EXPECT_EQ(p.WindowSize, 600);
    EXPECT_EQ(p.Criterion, OnsetCriterion::OnlySlope);
    EXPECT_EQ(p.BottomKind, BottomSearchKind::Tamrin);
    EXPECT_EQ(p.WiggMethod, WiggleMethod::Bost);
    EXPECT_EQ(p.SearchNextOff, 1);
    EXPECT_EQ(p.Visualise, 0);
    EXPECT_EQ(p.BoutIntermediate, 121);
    EXPECT_EQ(wb.settings.thumbnails.ThumbnailWidth, 200);
    EXPECT_EQ(wb.settings.thumbnails.ThumbnailHeight, 0);
    EXPECT_EQ(wb.settings.NameOutFile[0], "/data/seal_Dve.xls");
    // The surface and the threshold show as lines in the active strip.
    const SubsidiaryLines& lines = wb.settings.subsidiaryLines[0];
    EXPECT_EQ(lines[0].flag, 1);
    EXPECT_EQ(lines[1], (SubsidiaryLine{0, 1}));
    EXPECT_EQ(lines[2], (SubsidiaryLine{12.5, 1}));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Form, OkRulesInTheirOrder)
{
    e.nrBins = "31";
    e.baselineQuality = "0.3";
    e.skipDives = "-5";
    e.boutMinDur = "2000001";
    AcceptResult r = ok();
    EXPECT_FALSE(r.close);
    EXPECT_EQ(e.nrBins, "30");
    EXPECT_EQ(wb.settings.dive.NrBins, 30);
    EXPECT_DOUBLE_EQ(wb.settings.dive.BaselineQuality, 1.75);
    EXPECT_EQ(wb.settings.dive.MinDiveDuration, 0);
    EXPECT_EQ(wb.settings.dive.BoutMinDur, 2000001);  // kept, with a warning
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{"Warning! Bout Intermed. or Bout min dir. is too large", "Nr bins max 30"}));
    ui.shown.clear();
    e.baselineQuality = "7";
    e.wiggDefPercent = "101";
    r = ok();
    EXPECT_FALSE(r.close);
    EXPECT_DOUBLE_EQ(wb.settings.dive.BaselineQuality, 2.3125);
    EXPECT_EQ(ui.texts().back(), "Wiggle defined: [0<%<100]");
    for (const char* kept : {"0.5", "5"}) {
        e.baselineQuality = kept;
        e.wiggDefPercent = "100";
        e.boutMinDur = "300";
        EXPECT_TRUE(ok().close);
        EXPECT_DOUBLE_EQ(wb.settings.dive.BaselineQuality, std::stod(kept));
    }
}

TEST_F(Form, DepthClassesNeedBinsAndARange)
{
    const DiveParameters before = wb.settings.dive;
    for (const auto& [bins, low, high, text] :
         {std::tuple{"0", "0", "100", " Nr Bins must be at least 1."},
          std::tuple{"-3", "0", "100", " Nr Bins must be at least 1."},
          std::tuple{"10", "50", "50", " Min y-value must be below Max y-value."},
          std::tuple{"10", "60", "50", " Min y-value must be below Max y-value."}}) {
        ui.shown.clear();
        e.nrBins = bins;
        e.minBin = low;
        e.maxBin = high;
        EXPECT_FALSE(ok().close);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{text});
        EXPECT_EQ(wb.settings.dive, before);  // refused: nothing stored
    }
    e.nrBins = "10";
    e.minBin = "0";
    e.maxBin = "50";
    EXPECT_TRUE(ok().close);
}

TEST_F(Form, AFieldWithoutANumberStoresNothing)
{
    e.threshold = "7";
    e.maxBin = "lots";
    const DiveParameters before = wb.settings.dive;
    const AcceptResult r = ok();
    EXPECT_FALSE(r.close);
    EXPECT_EQ(r.badField, "Max y-value");
    EXPECT_EQ(wb.settings.dive, before);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"'lots' is not a valid floating point value (\"Max y-value\")"});
    e.maxBin = "100";
    e.windowSize = "3.5";  // an integer field
    EXPECT_FALSE(ok().close);
    EXPECT_EQ(ui.texts().back(), "'3.5' is not a valid integer value (\"Window size [sec.]\")");
}

TEST_F(Form, EnteredParametersAreWhatOkWouldStoreWithoutStoringThem)
{
    e.threshold = "7.5";
    e.trekBaseline = !wb.settings.dive.TrekBaseline;
    e.boutIntermediate = "120";
    e.baselineQuality = "9";  // corrected as OK corrects it
    const DiveParameters before = wb.settings.dive;
    const std::optional<DiveParameters> entered = EnteredDiveParameters(e, wb.settings, ui);
    ASSERT_TRUE(entered);
    EXPECT_EQ(wb.settings.dive, before);
    EXPECT_EQ(entered->Threshold, 7.5);
    EXPECT_EQ(entered->TrekBaseline, e.trekBaseline);
    EXPECT_EQ(entered->BoutIntermediate, 120);
    EXPECT_TRUE(ui.texts().empty());
    ASSERT_TRUE(ok().close);
    EXPECT_EQ(wb.settings.dive, *entered);
    e.threshold = "deep";
    EXPECT_FALSE(EnteredDiveParameters(e, wb.settings, ui));
    EXPECT_EQ(ui.texts().back(), "'deep' is not a valid floating point value (\"Threshold [m]\")");
}

TEST_F(Form, EnablingRules)
{
    e.bottomKind = 1;  // Fix Bottom
    DiveParmsState s = EnablingOf(e);
    EXPECT_FALSE(s.slimness);
    EXPECT_TRUE(s.thrBott);
    EXPECT_FALSE(s.limitGradient);
    EXPECT_FALSE(s.autoGradient);
    e.bottomKind = 0;
    e.autoGradient = true;
    s = EnablingOf(e);
    EXPECT_TRUE(s.slimness);
    EXPECT_FALSE(s.thrBott);
    EXPECT_FALSE(s.limitGradient);  // only while Auto Gradient is off
    e.autoGradient = false;
    EXPECT_TRUE(EnablingOf(e).limitGradient);
    e.bottomKind = 3;
    s = EnablingOf(e);
    EXPECT_FALSE(s.slimness || s.thrBott || s.limitGradient);

    e.wiggMethod = 1;
    s = EnablingOf(e);
    EXPECT_EQ(s.wiggButton, "Bost");
    EXPECT_EQ(s.wiggAmplitudeLabel, "Min. Amplitude ");
    EXPECT_FALSE(s.wiggRelative);
    e.wiggMethod = 2;
    s = EnablingOf(e);
    EXPECT_EQ(s.wiggGroup, " No wiggles");
    EXPECT_FALSE(s.wiggAmplitude || s.wiggDuration);

    e.thumbnail = false;
    e.timeBelow = "0";
    e.timeAbove = "20";
    e.skipDives = "0";
    s = EnablingOf(e);
    EXPECT_FALSE(s.thumbnailParts);
    EXPECT_FALSE(s.timeBelowLabel);
    EXPECT_TRUE(s.timeAboveLabel);
    EXPECT_FALSE(s.skipLabel);

    e.automatic = true;
    s = EnablingOf(e);
    EXPECT_FALSE(s.level || s.slope || s.criterion);
    e.automatic = false;
    e.criterion = 2;
    EXPECT_FALSE(EnablingOf(e).slope);
    e.criterion = 3;
    EXPECT_FALSE(EnablingOf(e).level);
    // "only Level abs.": the threshold goes into the level field when smaller.
    e.criterion = 4;
    e.threshold = "5";
    e.level = "0.9";
    s = EnablingOf(e);
    EXPECT_EQ(s.levelLabel, "&Level [0..1] [m]");
    EXPECT_EQ(e.level, "0.9");
    e.level = "10";
    EnablingOf(e);
    EXPECT_EQ(e.level, "5");
    e.criterion = 0;
    EXPECT_EQ(EnablingOf(e).levelLabel, "&Level [0..1] *100%");
}

TEST_F(Form, ResultCaptionsAndTheBaselineWarning)
{
    test::TempDir dir;
    EXPECT_EQ(ResultCaption("Result File Dive", dir.file("none.xls")).text, "Result File Dive");
    const GroupCaption c = ResultCaption("Result File Bouts", dir.write("seal_Bout.xls", "x"));
    EXPECT_EQ(c.text, "Result File Bouts. Already exist. Append results.");
    EXPECT_TRUE(c.exists);
    BaselineFieldLeft("0.2", ui);
    EXPECT_TRUE(ui.shown.empty());
    BaselineFieldLeft("0.05", ui);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Sure? This value for baselline quality is propably too small"});
}

TEST(DiveShapesRules, BarsAndFieldsInStep)
{
    EXPECT_DOUBLE_EQ(BarValue(BarYFactor, 16), 1.6);
    EXPECT_DOUBLE_EQ(BarValue(BarYDivision, 50), 0.5);
    EXPECT_DOUBLE_EQ(BarValue(BarParabola, 20), 0.5);
    EXPECT_DOUBLE_EQ(BarValue(BarLShape, 20), 0.2);
    EXPECT_DOUBLE_EQ(BarValue(BarLShape, 0), 0.001);
    EXPECT_EQ(BarPosition(BarLShape, 0.2), 20);
    EXPECT_EQ(BarPosition(BarLShape, 0.5), 20);  // beyond the bar: its end
    EXPECT_EQ(BarPosition(BarYFactor, 0.3), 10);
    EXPECT_EQ(BarPosition(BarWHeight, 0.2), 2);

    DiveParameters p;
    ScriptedDialogs ui;
    std::array<int, ShapeBarCount> positions{12, 40, 3, 20, 5};
    std::array<std::string, ShapeBarCount> fields{"x", "x", "x", "1.5", "0.5"};
    ASSERT_TRUE(AcceptShapes(positions, fields, p, ui));
    EXPECT_DOUBLE_EQ(p.YFormFactor, 1.2);
    EXPECT_DOUBLE_EQ(p.YFormDivision, 0.4);
    EXPECT_DOUBLE_EQ(p.WShapeHeight, 0.3);
    EXPECT_DOUBLE_EQ(p.ParabolaHeight, 1.0);  // the fields, clamped
    EXPECT_DOUBLE_EQ(p.LShapeParm, 0.2);
    fields[4] = "steep";
    EXPECT_FALSE(AcceptShapes(positions, fields, p, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"'steep' is not a valid floating point value"});
}

TEST(ExtendedParamsRules, RowsAndTheSpeedChannel)
{
    Recording rec;
    test::AllocateAll(rec, 1);
    test::Fill(rec, 0, 100, 1000, 0, 100, [](int32_t) { return 1; });
    test::Fill(rec, 2, 100, 1000, 0, 5, [](int32_t) { return 1; });
    rec.desc(0).Caption = "Depth";
    rec.at(1).ChannelUsed = false;
    EXPECT_EQ(ChannelItem(rec, 0), "Depth");
    EXPECT_EQ(ChannelItem(rec, 1), "<Not available>");

    std::array<ExtendedParameterRow, ExtendedRowCount> rows{};
    rows[0] = {OpMean, 0, SecBottom, false};
    rows[1] = {OpMean, 1, SecBottom, false};  // no data in slot 1
    rows[2] = {0, 0, SecBottom, false};       // no operation
    DiveParameters p;
    ScriptedDialogs ui;
    int speedSlot = 2;
    AcceptExtended(rows, true, 1, rec, p, speedSlot, ui);
    EXPECT_TRUE(p.ExtendedParameters[0].enabled);
    EXPECT_FALSE(p.ExtendedParameters[1].enabled);
    EXPECT_FALSE(p.ExtendedParameters[2].enabled);
    EXPECT_EQ(p.ExtendedParameters[0].section, SecBottom);
    EXPECT_EQ(p.SpeedAnalysis, 1);
    EXPECT_EQ(speedSlot, 2);
    AcceptExtended(rows, true, 0, rec, p, speedSlot, ui);  // slot 1 has no data
    EXPECT_EQ(p.SpeedAnalysis, 0);
    EXPECT_EQ(speedSlot, 1);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Speed analysis (angles etc) is not possible with this channel."});
}

}  // namespace vk

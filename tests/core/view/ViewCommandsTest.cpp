#include <gtest/gtest.h>

#include "core/view/MouseRules.h"
#include "core/view/RangeCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"
#include "support/GraphFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// The opening view of T = 1,200,000 ms in a move mode.
ViewState View(int mode)
{
    ViewState v = InitialView(1200000);
    v.moveMode = mode;
    return v;
}

struct Counting : UndoSink {
    std::vector<UndoKind> kinds;
    void Push(UndoKind kind, int, uint32_t) override { kinds.push_back(kind); }
};

}  // namespace

TEST(ViewCommands, LeftByMode)
{
    ViewState v = View(ModeF1);
    v.at.F1 = 3000;
    StepLeft(v);
    EXPECT_EQ(v.at.F1, 500);
    StepLeft(v);
    EXPECT_EQ(v.at.F1, 0);

    v = View(ModeF2);  // bs 2500 < 10000: F2 - 2500
    EXPECT_EQ(StepLeft(v), redraw::BorderMove);
    EXPECT_EQ(v.at.F2, 7500);
    v.at.F2 = v.at.F1 + 1;
    StepLeft(v);
    EXPECT_EQ(v.at.F2, 1);  // F2 - F1 = 1: refused
    v.at.F2 = 3000;         // bs halves until below the window: 2500 -> 2500 < 3000
    StepLeft(v);
    EXPECT_EQ(v.at.F2, 500);
    StepLeft(v);  // window 500: bs halves to 312.5
    EXPECT_EQ(v.borderStep, 312.5);
    EXPECT_EQ(v.at.F2, 187.5);

    v = View(ModeBorders);
    v.at.F1 = 1000;
    v.at.F2 = 11000;
    StepLeft(v);
    EXPECT_EQ(v.at.F1, 0);
    EXPECT_EQ(v.at.F2, 10000);

    v = View(ModeBordersAndCursors);
    v.at.F1 = 5000;
    v.at.F2 = 15000;
    v.at.F4 = 1000;
    EXPECT_EQ(StepLeft(v), redraw::AllMove);
    EXPECT_EQ(v.at.F1, 2500);
    EXPECT_EQ(v.at.F4, 0);
    EXPECT_EQ(v.at.F5, 7750);

    v = View(ModeF4);
    StepLeft(v);
    EXPECT_EQ(v.at.F4, 625);
    v = View(ModeCursors);
    EXPECT_EQ(StepLeft(v), redraw::CursorMove);
    EXPECT_EQ(v.at.F4, 625);
    EXPECT_EQ(v.at.F5, 8125);
    v = View(ModeF5);
    v.at.F5 = v.at.F4 + 600;  // F5 - F4 < cs: unchanged
    StepLeft(v);
    EXPECT_EQ(v.at.F5, 1850);
    v = View(ModeB1);
    EXPECT_EQ(StepLeft(v), redraw::LineMove);
    EXPECT_EQ(v.at.B1, 3125);
    v = View(ModeBCursors);
    StepLeft(v);
    EXPECT_EQ(v.at.B2, 5625);
    v = View(ModeB2);
    v.at.B2 = v.at.B1 + 100;  // B2 moves onto B1
    StepLeft(v);
    EXPECT_EQ(v.at.B2, v.at.B1);
    v = View(ModeSh1);
    StepLeft(v);
    EXPECT_EQ(v.at.Sh1, 4375);
    v = View(ModeSh2);
    StepLeft(v);
    EXPECT_EQ(v.at.Sh2, 5000);  // already on Sh1
    v = View(ModeNone);
    EXPECT_EQ(StepLeft(v), 0u);
    EXPECT_EQ(v.at, InitialView(1200000).at);
}

TEST(ViewCommands, RightHomeEndPagesAndSteps)
{
    ViewState v = View(ModeF1);
    StepRight(v);
    EXPECT_EQ(v.at.F1, 2500);
    v = View(ModeF2);
    v.at.F2 = 1199000;
    StepRight(v);
    EXPECT_EQ(v.at.F2, 1200000);
    v = View(ModeBorders);
    v.at.F2 = 1199000;
    StepRight(v);
    EXPECT_EQ(v.at.F1, 1000);
    v = View(ModeBordersAndCursors);
    v.at.F5 = 1199500;
    StepRight(v);
    EXPECT_EQ(v.at.F2, 12500);
    EXPECT_EQ(v.at.F5, 1200000);
    v = View(ModeF4);
    v.at.F4 = v.at.F5 - 600;  // section shorter than cs: unchanged
    StepRight(v);
    EXPECT_EQ(v.at.F4, 8150);
    v = View(ModeCursors);
    StepRight(v);
    EXPECT_EQ(v.at.F4, 1875);
    v = View(ModeF5);
    StepRight(v);
    EXPECT_EQ(v.at.F5, 9375);
    v = View(ModeB1);
    v.at.B1 = v.at.B2 - 10;
    StepRight(v);
    EXPECT_EQ(v.at.B1, v.at.B2);
    v = View(ModeBCursors);
    StepRight(v);
    EXPECT_EQ(v.at.B1, 4375);
    v = View(ModeB2);
    StepRight(v);
    EXPECT_EQ(v.at.B2, 6875);
    v = View(ModeSh1);
    StepRight(v);
    EXPECT_EQ(v.at.Sh1, 5000);
    v = View(ModeSh2);
    StepRight(v);
    EXPECT_EQ(v.at.Sh2, 5625);

    v = View(ModeF2);
    MoveHome(v);
    EXPECT_EQ(v.at.F2, 1);
    v = View(ModeBorders);
    v.at.F1 = 500;
    v.at.F2 = 10500;
    MoveHome(v);
    EXPECT_EQ(v.at.F1, 0);
    EXPECT_EQ(v.at.F2, 10000);
    v = View(ModeF5);
    MoveHome(v);
    EXPECT_EQ(v.at.F5, 1251);
    v = View(ModeB2);
    MoveHome(v);
    EXPECT_EQ(v.at.B2, 3751);
    v = View(ModeF1);
    MoveEnd(v);
    EXPECT_EQ(v.at.F1, 9999);
    v = View(ModeCursors);
    MoveEnd(v);
    EXPECT_EQ(v.at.F5, 1200000);
    EXPECT_EQ(v.at.F4, 1192500);
    v = View(ModeB1);
    MoveEnd(v);
    EXPECT_EQ(v.at.B1, v.at.B2);  // End in mode 8 puts B1 on B2
    v = View(ModeSh1);
    MoveEnd(v);
    EXPECT_EQ(v.at.Sh1, 5000);  // Sh modes have no End

    v = View(ModeBorders);
    v.at.F1 = 20000;
    v.at.F2 = 30000;
    EXPECT_EQ(PageLeft(v), redraw::AllMove);
    EXPECT_EQ(v.at.F1, 10000);
    PageLeft(v);  // F1 = s: no room
    EXPECT_EQ(v.at.F1, 10000);
    PageRight(v);
    EXPECT_EQ(v.at.F2, 30000);
    v = View(ModeF4);  // d = 7500: the window and the section move by d + 1
    v.at.F1 = 20000;
    v.at.F2 = 30000;
    v.at.F4 = 21250;
    v.at.F5 = 28750;
    PageLeft(v);
    EXPECT_EQ(v.at.F1, 12499);
    EXPECT_EQ(v.at.F4, 13749);
    v = View(ModeB1);
    EXPECT_EQ(PageRight(v), 0u);

    v = View(ModeBorders);
    DoubleStep(v);
    EXPECT_EQ(v.borderStep, 5000);
    v.moveMode = ModeF4;
    HalveStep(v);
    EXPECT_EQ(v.cursorStep, 312.5);
    v.cursorStep = 1;
    HalveStep(v);
    EXPECT_EQ(v.cursorStep, 1);
    v.cursorStep = 1000000;
    DoubleStep(v);
    EXPECT_EQ(v.cursorStep, 1200000);  // not above T
}

TEST(ViewCommands, PairCommandsAndTheTimeScaleClick)
{
    ViewState v = View(ModeNone);
    CursorsIntoBorders(v);
    EXPECT_EQ(v.moveMode, ModeCursors);
    EXPECT_EQ(v.at.F4, 2500);
    EXPECT_EQ(v.at.F5, 7500);
    EXPECT_NEAR(v.cursorStep, 10000 / 12.0, 1e-9);
    BCursorsIntoBorders(v);
    EXPECT_NEAR(v.at.B1, 10000 / 3.0, 1e-9);
    EXPECT_EQ(v.moveMode, ModeB2);
    ShCursorsIntoBorders(v);
    EXPECT_EQ(v.moveMode, ModeShPair);

    Recording rec;
    test::AllocateAll(rec, 1);
    test::Fill(rec, 0, 1200, 1000, 0, 100, [](int32_t i) { return i < 6 ? 20.0 : 20.0 + (i % 7); });
    v = View(ModeNone);
    v.at.F4 = 5000;
    v.at.F5 = 13000;
    EXPECT_EQ(BordersToCursors(v, rec), redraw::WindowOnCursors);
    EXPECT_EQ(v.at.F1, 4000);
    EXPECT_EQ(v.at.F2, 14000);
    EXPECT_NEAR(rec.desc(0).Min, 20, 0.01);  // samples 5..13
    EXPECT_NEAR(rec.desc(0).Max, 26, 0.01);
    rec.desc(0).Min = -1;
    rec.desc(0).Max = 200;
    v.at.F4 = 0;
    v.at.F5 = 4000;  // a constant stretch keeps the range
    BordersOntoCursors(v, rec);
    EXPECT_EQ(v.at.F1, 0);
    EXPECT_EQ(v.at.F2, 4000);
    EXPECT_EQ(rec.desc(0).Max, 200);

    v = View(ModeNone);  // centre 5000: a click at 20000 moves everything by 15000
    TimeScaleClick(v, 20000);
    EXPECT_EQ(v.at.F1, 15000);
    EXPECT_EQ(v.at.F4, 16250);
    v.at.F2 = 1199000;
    v.at.F1 = 1189000;
    TimeScaleClick(v, 1199900);  // not past the end
    EXPECT_EQ(v.at.F2, 1200000);
    TimeScaleClick(v, -5e6);  // nor before the start
    EXPECT_EQ(v.at.F1, 0);

    // Short recordings: under 120 ms, and none at all.
    v = InitialView(60);
    EXPECT_EQ(v.at.F2, 0.5);
    v.moveMode = ModeF2;
    StepRight(v);
    EXPECT_EQ(v.at.F2, 1.5);
    v = InitialView(0);
    v.moveMode = ModeBorders;
    StepRight(v);
    StepLeft(v);
    EXPECT_EQ(v.at.F1, 0);
    EXPECT_EQ(v.at.F2, 0);
}

TEST(RangeCommands, ZoomShiftsClicksAndBaselines)
{
    ChannelDescriptor d;
    auto range = [&](int a, int b, int style) {
        d.Min = 0;
        d.Max = 80;
        d.GrRepr = style;
        RangeStep(d, a, b);
        return std::make_pair(d.Min, d.Max);
    };
    EXPECT_EQ(range(-1, 1, 1), std::make_pair(10.0, 70.0));   // zoom in
    EXPECT_EQ(range(1, -1, 1), std::make_pair(-10.0, 90.0));  // zoom out
    EXPECT_EQ(range(1, 1, 1), std::make_pair(-10.0, 70.0));   // shift up
    EXPECT_EQ(range(-1, -1, 1), std::make_pair(10.0, 90.0));  // shift down
    EXPECT_EQ(range(1, 1, -1), std::make_pair(10.0, 90.0));   // shift up, drawn downwards
    EXPECT_EQ(range(-1, 1, -1), std::make_pair(10.0, 70.0));  // zoom is the same either way

    range(0, 0, 1);
    YScaleClick(d, 100, 200);  // the middle: nothing
    EXPECT_EQ(d.Max, 80);
    YScaleClick(d, 50, 200);  // a quarter above the middle
    EXPECT_EQ(d.Min, -20);
    d.GrRepr = -1;
    YScaleClick(d, 50, 200);
    EXPECT_EQ(d.Min, 0);

    Recording rec;
    test::AllocateAll(rec, 1);
    test::Fill(rec, 0, 100, 1000, 0, 100, [](int32_t i) { return 10.0 + i; });
    rec.desc(0).Min = 0;
    rec.desc(0).Max = 50;
    ScriptedDialogs ui;
    Counting undo;
    ViewState v = InitialView(99000);
    v.at.F4 = 10500;
    v.at.F5 = 10900;  // no sample between them
    EXPECT_EQ(Baseline(BaselineCommand::MeanF4F5, rec, v, ui, undo), 256u | 1048576u | 2097152u);
    EXPECT_EQ(rec.desc(0).yOffset, 0);
    EXPECT_EQ(undo.kinds, std::vector<UndoKind>{UndoKind::Baseline});
    Baseline(BaselineCommand::Increment, rec, v, ui, undo);
    EXPECT_EQ(rec.desc(0).yOffset, 0.5);  // a hundredth of 0..50
    Baseline(BaselineCommand::Decrement, rec, v, ui, undo);
    EXPECT_EQ(rec.desc(0).yOffset, 0);
    v.at.F4 = 2000;
    v.at.F5 = 6000;
    Baseline(BaselineCommand::MeanF4F5, rec, v, ui, undo);
    EXPECT_NEAR(rec.desc(0).yOffset, 14, 0.01);  // samples 2..6: 12..16
    Baseline(BaselineCommand::AtF4, rec, v, ui, undo);
    EXPECT_NEAR(ReadValue(rec, 2, 0).value, 0, 1e-9);
    Baseline(BaselineCommand::MeanF4plusF5, rec, v, ui, undo);
    EXPECT_NEAR(ReadValue(rec, 4, 0).value, 0, 0.01);
    ui.inputs = {"2,5"};
    const double before = rec.desc(0).yOffset;
    Baseline(BaselineCommand::Numerical, rec, v, ui, undo);
    EXPECT_NEAR(rec.desc(0).yOffset, before + 2.5, 1e-12);
    EXPECT_EQ(ui.shown.back().text, "Channel 1 (Depth Channel)| New baseline at:");
    ui.inputs = {"abc"};
    EXPECT_EQ(Baseline(BaselineCommand::Numerical, rec, v, ui, undo), 0u);
    EXPECT_EQ(ui.texts().back(), "'abc' is not a valid floating point value");

    rec.desc(0).bApplyPolynom = true;
    undo.kinds.clear();
    EXPECT_EQ(Baseline(BaselineCommand::Increment, rec, v, ui, undo), 0u);
    EXPECT_EQ(ui.texts().back(), "Not possible since polynom is enabled");
    EXPECT_TRUE(undo.kinds.empty());

    ui.inputs = {"1", std::nullopt};  // the second box cancelled: nothing stored
    rec.desc(0).Min = 0;
    EXPECT_FALSE(AskRange(rec.desc(0), ui));
    EXPECT_EQ(rec.desc(0).Min, 0);
    ui.inputs = {"-5", "95"};
    ASSERT_TRUE(AskRange(rec.desc(0), ui));
    EXPECT_NEAR(rec.desc(0).Min, -5 + rec.desc(0).yOffset, 1e-12);
}

TEST(MouseRules, EdgesGrabsDragsAndReadouts)
{
    EXPECT_EQ(EdgeZoneAt(5, 100, 600, 200), EdgeLeft);
    EXPECT_EQ(EdgeZoneAt(300, 5, 600, 200), EdgeTop);
    EXPECT_EQ(EdgeZoneAt(5, 5, 600, 200), EdgeLeft);  // the last test that holds wins
    EXPECT_EQ(EdgeZoneAt(595, 195, 600, 200), EdgeRight);
    EXPECT_EQ(EdgeZoneAt(300, 195, 600, 200), EdgeBottom);
    EXPECT_EQ(EdgeZoneAt(300, 100, 600, 200), EdgeNone);
    EXPECT_FALSE(Dragged(100, 100, 102, 101));
    EXPECT_TRUE(Dragged(100, 100, 102, 102));

    // In a 600-pixel strip over 0..60000 the lines are 10 ms a pixel apart.
    LinePositions at{0, 60000, 20000, 40000, 25000, 35000, 30000, 30000};
    LineGrab g = NearestLine(at, 0, 60000, 600, 220, false, true);
    EXPECT_EQ(g.line, Line::F4);
    EXPECT_EQ(g.distance, 20);
    g = NearestLine(at, 0, 60000, 600, 179, false, true);  // 21 from F4: too far to grab
    EXPECT_EQ(g.line, Line::None);
    EXPECT_EQ(g.moveMode, 4);  // yet the move mode follows
    at.B1 = 20300;             // B1 three columns right of F4: it must be nearer by more than 2
    g = NearestLine(at, 0, 60000, 600, 202, false, true);
    EXPECT_EQ(g.line, Line::F4);
    g = NearestLine(at, 0, 60000, 600, 205, false, true);
    EXPECT_EQ(g.line, Line::B1);
    EXPECT_EQ(g.moveMode, 8);
    at.B1 = 25000;
    g = NearestLine(at, 0, 60000, 600, 300, true, true);
    EXPECT_EQ(g.line, Line::Sh1);
    EXPECT_EQ(NearestLine(at, 0, 60000, 600, 300, false, true).line, Line::None);
    EXPECT_EQ(NearestLine(at, 0, 600000, 600, 300, false, false).line, Line::F2);  // the total window grabs any

    EXPECT_EQ(DragLine(at, Line::F4, 45000), 0u);  // beyond F5: F4 stays
    EXPECT_EQ(at.F4, 20000);
    EXPECT_EQ(DragLine(at, Line::F4, 39000), redraw::CursorMove);
    EXPECT_EQ(DragLine(at, Line::F1, 10000), redraw::BorderMove);
    EXPECT_EQ(DragLine(at, Line::Sh2, 20000), 0u);
    EXPECT_FALSE(LineNeedsUndo(Line::Sh1));
    EXPECT_TRUE(LineNeedsUndo(Line::B2));

    Recording rec;
    rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    MouseReadout r = ClickReadout(rec, 0, 12345.6, 3.25, 0, false, 0, 0);
    EXPECT_EQ(r.value, "3.2500");
    EXPECT_EQ(r.time, "06:00:12.346");
    EXPECT_EQ(r.date, "07.01.2026");
    r = ClickReadout(rec, 0, 14000, 3.25, 0, true, 12000, 3.25);  // two clicks 2 s apart, equal heights
    EXPECT_EQ(r.value, "0.0000");
    EXPECT_EQ(r.time, "00:00:02");
    r = ClickReadout(rec, 0, 14500, 1, 1, false, 0, 0);
    EXPECT_EQ(r.date, "14");
    EXPECT_EQ(r.time, "");
}

}  // namespace vk

namespace vk {

TEST(WheelMoves, ZoomAroundTheMouseAndPanWithinTheRecord)
{
    ViewState v = InitialView(1000000);
    v.at.F1 = 400000;
    v.at.F2 = 600000;
    // The time under the mouse keeps its place; the width follows the factor.
    ZoomTimeAround(v, 450000, 0.5, 1000);
    EXPECT_DOUBLE_EQ(v.at.F1, 425000);
    EXPECT_DOUBLE_EQ(v.at.F2, 525000);
    // Never narrower than the least width, never wider than the record, never outside it.
    ZoomTimeAround(v, 450000, 1e-9, 1000);
    EXPECT_DOUBLE_EQ(v.at.F2 - v.at.F1, 1000);
    ZoomTimeAround(v, 450000, 1e9, 1000);
    EXPECT_DOUBLE_EQ(v.at.F1, 0);
    EXPECT_DOUBLE_EQ(v.at.F2, 1000000);
    v.at.F1 = 900000;
    v.at.F2 = 1000000;
    ZoomTimeAround(v, 990000, 2, 1000);
    EXPECT_DOUBLE_EQ(v.at.F2, 1000000);
    EXPECT_DOUBLE_EQ(v.at.F1, 800000);
    // Panning stops at the ends.
    PanTime(v, 0.5);
    EXPECT_DOUBLE_EQ(v.at.F2, 1000000);
    PanTime(v, -100);
    EXPECT_DOUBLE_EQ(v.at.F1, 0);
    EXPECT_DOUBLE_EQ(v.at.F2, 200000);

    // The range about the value under the mouse, drawn either way up.
    ChannelDescriptor d;
    d.Min = 0;
    d.Max = 160;  // shown -10 .. 170 over 180 rows
    d.GrRepr = -1;
    ZoomRangeAround(d, 45, 180, 0.5);  // row 45 of a downward strip: value 35
    EXPECT_DOUBLE_EQ(d.Min, 17.5);
    EXPECT_DOUBLE_EQ(d.Max, 97.5);
}

}  // namespace vk

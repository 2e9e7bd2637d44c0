// The compensation dive after dive on the fur-seal record, and where each
// section starts.
#include <gtest/gtest.h>

#include "core/dive/CompensationRun.h"
#include "core/process/UndoStack.h"
#include "core/setup/Workbench.h"
#include "support/FurSealRecord.h"
#include "support/TempDir.h"

namespace vk {

TEST(CompensationRun, SectionsReachBackToTheStartDepth)
{
    Recording rec;
    test::AllocateAll(rec, 1);
    ChannelDescriptor& d = rec.desc(0);
    d.SampRate = 1000;
    d.CoeffA = 0.01;
    d.CoeffB = 0;
    const double y[] = {5, 4, 2, 1, 1, 1, 6, 9};
    d.DataCnt = 7;
    for (int32_t i = 0; i < 8; ++i)
        WriteRaw(rec, i, static_cast<uint16_t>(y[i] * 100), 0);
    ViewState view;
    view.at.F4 = 5400;  // between samples: the lines move to theirs
    view.at.F5 = 7600;
    PlaceCompensationStart(rec, 0, view, 3);
    // Back to sample 1 (4 m), then on to where the line from 4 m to 2 m crosses 3 m.
    EXPECT_DOUBLE_EQ(view.at.F4, 1500);
    EXPECT_DOUBLE_EQ(view.at.F5, 7000);
    // Never past the first sample.
    view.at.F4 = 5000;
    PlaceCompensationStart(rec, 0, view, 50);
    EXPECT_DOUBLE_EQ(view.at.F4, 0 + std::nearbyint((50 - 5.0) / (4 - 5.0) * 1000));
}

TEST(CompensationRun, YesNoAbortDiveAfterDiveAndOneUndo)
{
    test::TempDir dir;
    Workbench wb;
    ScriptedDialogs ui;
    ASSERT_TRUE(test::LoadFurSeal(wb.rec, ui));
    wb.rec.time.LongestSpan = 5000.0 * wb.rec.desc(0).DataCnt;
    wb.settings.dive = test::FurSealParameters();
    wb.settings.compensation.CompStartDepth = 3;
    wb.settings.compensation.CompSurfaceReference = true;
    ViewState view = InitialView(wb.rec.time.LongestSpan);
    std::vector<uint16_t> before;
    for (int32_t i = 0; i <= wb.rec.desc(0).DataCnt; ++i)
        before.push_back(ReadRaw(wb.rec, i, 0));
    const ChannelDescriptor loaded = wb.rec.desc(0);

    UndoStack undo(wb.rec, view, dir.file("Undo.bin"));
    ui.answers = {Answer::Yes, Answer::No, Answer::Abort};
    int framed = 0;
    CompensationHooks hooks;
    hooks.framed = [&] { ++framed; };
    {
        CommandSteps steps(undo);
        CommandContext cx{{wb.rec, view, ui, steps}, wb};
        const CommandResult r = RepeatCompensation(cx, nullptr, hooks);
        EXPECT_TRUE(r.changed.bySlot[0].any());
    }
    // Three questions, the third with Abort: the run stopped there.
    int questions = 0;
    for (const auto& e : ui.shown)
        questions += e.kind == ScriptedDialogs::Entry::Kind::Question && e.text == " Compensate?";
    EXPECT_EQ(questions, 3);
    EXPECT_GE(framed, 3);  // a section whose dip is too small asks nothing
    int changed = 0;
    for (int32_t i = 0; i <= wb.rec.desc(0).DataCnt; ++i)
        changed += ReadRaw(wb.rec, i, 0) != before[static_cast<std::size_t>(i)];
    EXPECT_GT(changed, 0);

    // One Undo takes back the compensation, the baseline moves and the lines.
    while (undo.top() > 0 && undo.Pop().undone) {
    }
    for (int32_t i = 0; i <= wb.rec.desc(0).DataCnt; ++i)
        ASSERT_EQ(ReadRaw(wb.rec, i, 0), before[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(wb.rec.desc(0).yOffset, loaded.yOffset);
}

}  // namespace vk

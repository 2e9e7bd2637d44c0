#include <gtest/gtest.h>

#include <array>
#include <random>

#include "core/process/UndoStack.h"
#include "core/store/FileUtil.h"
#include "core/view/RedrawRequest.h"
#include "support/GraphFixture.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// The kinds of the section operations (add .. set constant).
constexpr std::array SectionKinds{UndoKind::Add,  UndoKind::Divide,   UndoKind::Multiply,
                                  UndoKind::Ramp, UndoKind::Equalize, UndoKind::Constant};

struct UndoFixture : ::testing::Test {
    test::TempDir dir;
    Recording rec;
    ViewState view = InitialView(99000);
    std::unique_ptr<UndoStack> undo;

    void SetUp() override
    {
        test::AllocateAll(rec, 4);
        for (int s = 0; s < 3; ++s)
            test::Fill(rec, s, 40000, 1000, 0, 100, [s](int32_t i) { return (i * (7 + s)) % 97 + 0.5; });
        undo = std::make_unique<UndoStack>(rec, view, dir.file("Undo.bin"));
    }

    std::vector<uint16_t> Samples(int slot) const
    {
        std::vector<uint16_t> v;
        for (int32_t i = 0; i <= rec.desc(slot).DataCnt + 5; ++i)
            v.push_back(ReadRaw(rec, i, slot));
        return v;
    }
    void Scale(int slot, int32_t from, int32_t to, int factor)
    {
        for (int32_t i = from; i < to; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(ReadRaw(rec, i, slot) * factor % 65536), slot);
    }
};

}  // namespace

TEST_F(UndoFixture, EmptyStackSingleValueAndARangeThatEmptiesTheFile)
{
    EXPECT_EQ(undo->MenuCaption(), "Undo");
    EXPECT_FALSE(undo->Pop().undone);
    EXPECT_EQ(undo->MenuCaption(), "Undo nothing");

    // One sample, sample 0 as well as any other: kept in the step.
    const uint16_t first = ReadRaw(rec, 0, 0);
    undo->PushRange(UndoKind::SingleValue, 0, 0, 0, redraw::ActiveChannel);
    WriteRaw(rec, 0, 4711, 0);
    EXPECT_TRUE(undo->Pop().undone);
    EXPECT_EQ(ReadRaw(rec, 0, 0), first);

    const uint16_t before = ReadRaw(rec, 10, 0);
    undo->PushRange(UndoKind::SingleValue, 0, 10, 10, redraw::ActiveChannel);
    EXPECT_FALSE(FileExists(undo->stackFile()));
    EXPECT_EQ(undo->MenuCaption(), "Undo sing. val.");
    WriteRaw(rec, 10, 4711, 0);
    const auto popped = undo->Pop();
    EXPECT_TRUE(popped.undone);
    EXPECT_EQ(popped.redraw, redraw::ActiveChannel);
    EXPECT_EQ(ReadRaw(rec, 10, 0), before);

    const std::vector<uint16_t> samples = Samples(1);
    view.at.F4 = 5000;
    undo->PushRange(UndoKind::Multiply, 1, 1000, 30000, redraw::RangeChange);  // " Mult" over a section, across blocks
    EXPECT_EQ(undo->MenuCaption(), "Undo Mult");
    Scale(1, 1000, 30000, 3);
    view.at.F4 = 7000;
    rec.desc(1).Max = 50;
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(Samples(1), samples);
    EXPECT_EQ(view.at.F4, 5000);  // the view as it was
    EXPECT_EQ(rec.desc(1).Max, 100);
    EXPECT_EQ(view.active, 1);                    // the step's channel is active again
    EXPECT_FALSE(FileExists(undo->stackFile()));  // the file held only that range
}

TEST_F(UndoFixture, SkipZoomDropsViewStepsOverAMultiplication)
{
    const std::vector<uint16_t> samples = Samples(0);
    undo->PushRange(UndoKind::Multiply, 0, 100, 200, redraw::RangeChange);
    Scale(0, 100, 200, 5);
    undo->SetOptions(true, true);
    for (int k = 0; k < 2; ++k) {
        undo->Push(UndoKind::View, 0, redraw::BorderMove);
        view.at.F1 += 1000;
    }
    EXPECT_EQ(undo->MenuCaption(), "Undo Mult");  // zoom steps do not change it while skipped
    EXPECT_EQ(undo->top(), 3);
    const auto popped = undo->Pop();
    EXPECT_EQ(popped.redraw, redraw::RangeChange | redraw::SkipZoomExtra);
    EXPECT_EQ(Samples(0), samples);
    EXPECT_EQ(undo->top(), 0);
    EXPECT_EQ(view.at.F1, 0);

    // Baseline and calibration steps live in memory.
    rec.desc(2).yOffset = 1.5;
    undo->Push(UndoKind::Baseline, 2, redraw::YScale);
    EXPECT_EQ(undo->MenuCaption(), "Undo baselne");
    rec.desc(2).yOffset = 9;
    undo->PushRange(UndoKind::Calibration, 2, 0, 0, redraw::RangeChange);
    rec.desc(2).CoeffA = 2;
    rec.desc(2).yOffset = 3;
    undo->Pop();
    EXPECT_EQ(rec.desc(2).yOffset, 9);
    EXPECT_NE(rec.desc(2).CoeffA, 2);
    undo->Pop();
    EXPECT_EQ(rec.desc(2).yOffset, 1.5);
    EXPECT_FALSE(FileExists(undo->stackFile()));
}

TEST_F(UndoFixture, DeletingPointsIsTakenBackByOneUndo)
{
    const std::vector<uint16_t> samples = Samples(0);
    const int32_t dataCnt = rec.desc(0).DataCnt;
    // Missing values inside and after the deleted points come back where they were.
    GapList& missing = rec.at(0).missing;
    missing.add(1500, 1510);
    missing.add(3000, 3002);
    const GapList gaps = missing;
    // Delete points 1000 .. 1999 as the delete command does: the overwritten
    // samples first, then the position and count.
    const int32_t p = 1000, n = 1000;
    undo->PushRange(UndoKind::DeletedSamples, 0, p, dataCnt - n + 1, redraw::ActiveChannel);
    for (int32_t j = p; j <= dataCnt - n; ++j)
        WriteRaw(rec, j, ReadRaw(rec, j + n, 0), 0);
    undo->PushRange(UndoKind::DeletePoints, 0, p, n, redraw::ActiveChannel);
    rec.desc(0).DataCnt -= n;
    missing.removed(p, n);
    EXPECT_EQ(missing.ranges(), (std::vector<GapRange>{{2000, 2002}}));
    EXPECT_EQ(undo->MenuCaption(), "Undo Del. pnt");

    undo->Pop();
    EXPECT_EQ(rec.desc(0).DataCnt, dataCnt);
    EXPECT_EQ(Samples(0), samples);
    EXPECT_EQ(missing, gaps);
    EXPECT_EQ(undo->top(), 0);

    // Inserting points: one step with the position and count.
    undo->PushRange(UndoKind::InsertPoints, 0, 500, 20, redraw::ActiveChannel);
    for (int32_t j = dataCnt; j >= 501; --j)
        WriteRaw(rec, j + 20, ReadRaw(rec, j, 0), 0);
    for (int32_t j = 501; j <= 520; ++j)  // copies of the sample at the insertion point
        WriteRaw(rec, j, ReadRaw(rec, 500, 0), 0);
    AdjustLength(rec, 0, 20);
    missing.inserted(501, 20);
    EXPECT_EQ(missing.ranges(), (std::vector<GapRange>{{1520, 1530}, {3020, 3022}}));
    undo->Pop();
    EXPECT_EQ(missing, gaps);
    EXPECT_EQ(rec.desc(0).DataCnt, dataCnt);
    const std::vector<uint16_t> after = Samples(0);
    EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + dataCnt + 1, after.begin()));
}

TEST_F(UndoFixture, OneUndoTakesBackACommandsSteps)
{
    undo->Push(UndoKind::View, 0, redraw::ActiveChannel);  // a zoom step of some earlier command
    view.at.F4 = 5000;
    const LinePositions searchStart = view.at;
    CommandSteps command(*undo);
    command.Push(UndoKind::View, 0, redraw::ActiveChannel);  // the command's first step: the view
    command.Push(UndoKind::Baseline, 0, redraw::YScale);     // and what it did after it
    rec.desc(0).yOffset = 1.5;
    view.at.F4 = 9000;
    view.at.F5 = 12000;
    EXPECT_EQ(undo->top(), 3);
    const UndoStack::PopResult r = undo->Pop();
    EXPECT_TRUE(r.undone);
    EXPECT_EQ(r.redraw, redraw::ActiveChannel | redraw::YScale);
    EXPECT_EQ(view.at, searchStart);
    EXPECT_EQ(rec.desc(0).yOffset, 0);
    EXPECT_EQ(undo->top(), 1);  // the earlier command's step stays
}

TEST_F(UndoFixture, UndoingEveryChangeLeavesTheChannelAsLoadedUnlessSavedBetween)
{
    // Two changes, both undone: the channel is its file again.
    const auto change = [&](UndoKind kind) {
        undo->PushRange(kind, 0, 100, 200, redraw::RangeChange);
        Scale(0, 100, 200, 3);
        rec.at(0).ChannelModified = true;
    };
    change(UndoKind::Multiply);
    change(UndoKind::Add);
    undo->Pop();
    EXPECT_TRUE(rec.at(0).ChannelModified);
    undo->Pop();
    EXPECT_FALSE(rec.at(0).ChannelModified);

    // Saved whole after a change: undoing it differs from what was saved.
    change(UndoKind::Multiply);
    rec.at(0).ChannelModified = false;
    ++rec.at(0).wholeSaves;
    undo->Pop();
    EXPECT_TRUE(rec.at(0).ChannelModified);
}

TEST_F(UndoFixture, DisabledAndBrokenUndoRecordsNothing)
{
    undo->SetOptions(false, false);
    undo->PushRange(UndoKind::Multiply, 0, 0, 100, redraw::RangeChange);
    EXPECT_EQ(undo->top(), 0);
    EXPECT_FALSE(undo->Pop().undone);
    undo->SetOptions(true, false);
    undo->PushRange(UndoKind::Multiply, 0, 0, 100, redraw::RangeChange);
    EXPECT_EQ(undo->top(), 1);

    // A stack file that cannot be written switches undo off; the caller goes on.
    UndoStack cannot(rec, view, dir.file("no/such/folder/Undo.bin"));
    cannot.PushRange(UndoKind::Multiply, 0, 0, 100, redraw::RangeChange);
    EXPECT_TRUE(cannot.broken());
    EXPECT_FALSE(cannot.enabled());
    EXPECT_EQ(cannot.top(), 0);
    cannot.SetOptions(true, false);  // broken stays off
    EXPECT_FALSE(cannot.enabled());
    cannot.Push(UndoKind::View, 0, redraw::BorderMove);
    EXPECT_EQ(cannot.top(), 0);
}

TEST_F(UndoFixture, LongRandomHistoriesRestoreEverythingExactly)
{
    struct Snapshot {
        std::array<std::vector<uint16_t>, 3> samples;
        std::array<ChannelDescriptor, 3> desc;
        LinePositions at;
    };
    auto take = [&] {
        Snapshot s;
        for (int k = 0; k < 3; ++k) {
            s.samples[static_cast<std::size_t>(k)] = Samples(k);
            s.desc[static_cast<std::size_t>(k)] = rec.desc(k);
        }
        s.at = view.at;
        return s;
    };
    auto same = [&](const Snapshot& s) {
        for (int k = 0; k < 3; ++k) {
            ASSERT_EQ(Samples(k), s.samples[static_cast<std::size_t>(k)]) << "slot " << k;
            ASSERT_EQ(rec.desc(k), s.desc[static_cast<std::size_t>(k)]) << "slot " << k;
        }
        ASSERT_EQ(view.at.F1, s.at.F1);
        ASSERT_EQ(view.at.F5, s.at.F5);
    };

    std::mt19937 random(2026);
    std::vector<Snapshot> history;
    for (int round = 0; round < 400; ++round) {
        if (!history.empty() && random() % 3 == 0) {
            ASSERT_TRUE(undo->Pop().undone);
            same(history.back());
            history.pop_back();
            continue;
        }
        history.push_back(take());
        const int slot = static_cast<int>(random() % 3);
        ChannelDescriptor& d = rec.desc(slot);
        const auto from = static_cast<int32_t>(random() % 39000);
        const auto to = from + static_cast<int32_t>(random() % 20000);
        switch (random() % 6) {
        case 0:  // samples of a section
            undo->PushRange(SectionKinds[random() % SectionKinds.size()], slot, from, to, redraw::RangeChange);
            Scale(slot, from, std::min(to, d.DataCnt + 1), 3);
            break;
        case 1:  // one sample
            undo->PushRange(UndoKind::SingleValue, slot, from, from, redraw::ActiveChannel);
            WriteRaw(rec, from, static_cast<uint16_t>(random()), slot);
            break;
        case 2:  // the view
            undo->Push(UndoKind::View, slot, redraw::BorderMove);
            view.at.F1 = random() % 1000;
            view.at.F5 = random() % 99000;
            d.Min = -static_cast<double>(random() % 50);
            break;
        case 3:  // the whole descriptor (polynomial dialog)
            undo->PushRange(UndoKind::Polynomial, slot, 0, 0, redraw::RangeChange);
            d.Poly_C = 0.5 + random() % 3;
            d.Caption += "x";
            break;
        case 4:  // samples and descriptor (expand)
            undo->PushRange(UndoKind::Expand, slot, from, to, redraw::AllMove);
            Scale(slot, from, std::min(to, d.DataCnt + 1), 7);
            d.SampRate = 500;
            break;
        default:  // calibration
            undo->PushRange(random() % 2 ? UndoKind::Baseline : UndoKind::Calibration, slot, 0, 0, redraw::YScale);
            d.yOffset += 1;
            break;
        }
    }
    while (!history.empty()) {
        ASSERT_TRUE(undo->Pop().undone);
        same(history.back());
        history.pop_back();
    }
    EXPECT_FALSE(FileExists(undo->stackFile()));
    EXPECT_FALSE(undo->broken());
}

}  // namespace vk

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/process/ClockDrift.h"
#include "core/process/UndoStack.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

constexpr int32_t Samples = 20000;

// A ramp of 20,000 samples, one a second, in a slot with room for 16 times as many.
struct DriftBench {
    test::TempDir dir;
    Recording rec;
    ViewState view;
    ScriptedDialogs ui;
    std::unique_ptr<TUndo> undo;

    explicit DriftBench(int32_t origin)
    {
        test::AllocateAll(rec, 20);
        ChannelDescriptor& d = rec.desc(0);
        d.SampRate = 1000;
        d.CorrSmpDelay = origin;
        d.DataCnt = origin + Samples - 1;
        for (int32_t i = 0; i < Samples; ++i)
            WriteRaw(rec, origin + i, static_cast<uint16_t>(1000 + 2 * i), 0);
        rec.time.LongestSpan = 1000.0 * d.DataCnt;
        view = InitialView(rec.time.LongestSpan);
        undo = std::make_unique<TUndo>(rec, view, dir.file("Undo.bin"));
    }
    CommandResult correct(const ClockDrift& drift)
    {
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        return CorrectClockDrift(cx, 0, drift, {});
    }
    std::vector<uint16_t> words() const
    {
        std::vector<uint16_t> w;
        for (int32_t i = rec.desc(0).CorrSmpDelay; i <= rec.desc(0).DataCnt; ++i)
            w.push_back(ReadRaw(rec, i, 0));
        return w;
    }
};

}  // namespace

TEST(ClockDrift, AheadAndBackResampleARampEvenly)
{
    for (const int32_t origin : {0, 10})
        for (const bool ahead : {true, false}) {
            SCOPED_TRACE(std::to_string(origin) + (ahead ? " ahead" : " back"));
            DriftBench b(origin);
            const std::vector<uint16_t> before = b.words();
            b.ui.answers = {Answer::Ok};
            b.correct({0, 1, 40, ahead});  // 100 s: 100 samples
            EXPECT_EQ(b.ui.texts().back().rfind(ahead ? "Cut 62 msec\nevery " : "Insert 62 msec\nevery ", 0), 0u);
            const std::vector<uint16_t> after = b.words();
            const auto n = static_cast<int64_t>(after.size());
            EXPECT_NEAR(static_cast<double>(n), ahead ? Samples - 100 : Samples + 100, 1);
            EXPECT_EQ(b.rec.desc(0).SampRate, 1000);
            EXPECT_EQ(b.rec.desc(0).CorrSmpDelay, origin);
            // The same ramp over the same span, now in n samples. The words are
            // whole numbers and the cuts fall every K samples at 1/16 of a
            // sample, so the ramp stays within one and a half raw steps of the ideal
            // (K, the spacing of the cuts, is rounded down: they end a little early).
            const double step = 2.0 * (Samples - 1) / static_cast<double>(n - 1);
            double worst = 0;
            for (int64_t j = 0; j < n; ++j)
                worst = std::max(
                    worst, std::fabs(after[static_cast<std::size_t>(j)] - (1000 + step * static_cast<double>(j))));
            EXPECT_LT(worst, 1.5);
            EXPECT_EQ(b.undo->MenuCaption(), "Undo Clockdrft");
            ASSERT_TRUE(b.undo->Pop().undone);
            EXPECT_EQ(b.words(), before);
            EXPECT_EQ(b.rec.desc(0).DataCnt, origin + Samples - 1);
        }
}

TEST(ClockDrift, NothingToCorrectAndRefusals)
{
    DriftBench b(0);
    const std::vector<uint16_t> before = b.words();
    b.ui.answers = {Answer::Ok};
    b.correct({0, 0, 0, true});  // expanded and reduced again
    EXPECT_EQ(b.words(), before);
    ASSERT_TRUE(b.undo->Pop().undone);

    b.ui.answers = {Answer::Cancel};
    b.correct({0, 1, 0, true});  // the question comes before the undo step
    b.correct({0, -1, 0, false});
    b.correct({6, 0, 0, true});  // six hours of a 5.5-hour record
    EXPECT_EQ(b.ui.texts().back(),
              " Operation rejected.\n Adjust the original sampling rate (in the start menu)\n"
              " in order to correct for clock drift.");
    b.correct({600000, 0, 0, true});
    EXPECT_EQ(b.ui.texts().back(), " Too large");
    EXPECT_EQ(b.words(), before);
    EXPECT_EQ(b.undo->top(), 0);
}

}  // namespace vk

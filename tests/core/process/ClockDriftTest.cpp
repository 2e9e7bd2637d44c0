#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

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
    std::unique_ptr<UndoStack> undo;

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
        undo = std::make_unique<UndoStack>(rec, view, dir.file("Undo.bin"));
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

// The correction done the long way round on plain vectors: expand by f on
// the straight line, move the runs between the corrections as memmove
// would, keep every f-th word.
std::vector<uint16_t> LongWayRound(const std::vector<uint16_t>& w, int64_t f, int64_t P, int64_t K, bool ahead)
{
    const int64_t last = static_cast<int64_t>(w.size()) - 1, N = f * last;
    std::vector<uint16_t> e(static_cast<std::size_t>(N + P + 1));
    for (int64_t x = 0; x <= N; ++x) {
        const auto p = static_cast<std::size_t>(x / f);
        const int64_t i = x % f;
        e[static_cast<std::size_t>(x)] =
            i == 0 ? w[p]
                   : static_cast<uint16_t>(w[p] + std::nearbyint((static_cast<double>(w[p + 1]) - w[p]) *
                                                                 static_cast<double>(i) / static_cast<double>(f)));
    }
    auto move = [&](int64_t a, int64_t b, int64_t k) {
        if (a <= b)
            std::memmove(&e[static_cast<std::size_t>(a + k)], &e[static_cast<std::size_t>(a)],
                         static_cast<std::size_t>(b - a + 1) * sizeof(uint16_t));
    };
    int64_t length = N + P;
    if (ahead) {
        for (int64_t k = 1; k < P; ++k)
            move(k * K, std::min((k + 1) * K, N), -k);
        if (P > 0)
            move(P * K, N, -P);
        length = N - P;
    } else {
        for (int64_t k = P; k >= 1; --k)
            move(k * K - 1, k == P ? N : (k + 1) * K, k);
    }
    std::vector<uint16_t> kept;
    for (int64_t x = 0; x <= length; x += f)
        kept.push_back(e[static_cast<std::size_t>(x)]);
    return kept;
}

}  // namespace

// Word for word what expanding, cutting or repeating, and reducing give, on
// random words, for drifts from seconds to most of the record (a correction
// at almost every expanded position), and at intervals so short that the
// working factor is 1 or 3 and every correction shows.
TEST(ClockDrift, EqualsExpandingShiftingAndReducing)
{
    struct Case {
        int32_t interval, seconds;
    };
    for (const int32_t origin : {0, 10})
        for (const bool ahead : {true, false})
            for (const Case c : {Case{1000, 7}, Case{1000, 100}, Case{1000, 6000}, Case{1000, 3 * 3600},
                                 Case{1000, 5 * 3600}, Case{1, 7}, Case{1, 15}, Case{3, 7}, Case{3, 30}}) {
                SCOPED_TRACE(std::to_string(origin) + (ahead ? " ahead " : " back ") + std::to_string(c.interval) +
                             " ms, " + std::to_string(c.seconds) + " s");
                DriftBench b(origin);
                b.rec.desc(0).SampRate = c.interval;
                std::mt19937 random(static_cast<uint32_t>(c.seconds + origin));
                std::uniform_int_distribution<int> word(0, 65535);
                for (int32_t i = 0; i < Samples; ++i)
                    WriteRaw(b.rec, origin + i, static_cast<uint16_t>(word(random)), 0);
                const std::vector<uint16_t> before = b.words();
                // The working factor and the corrections as the command finds them.
                const int64_t last = Samples - 1, capacity = b.rec.store.capacity(0);
                const double D = c.seconds * 1000.0 / c.interval;
                int64_t f = std::min<int64_t>((capacity - 1) / last, c.interval);
                while (f * last + (ahead ? 0 : std::llround(static_cast<double>(f) * D)) + 1 > capacity)
                    --f;
                const int64_t P = std::llround(static_cast<double>(f) * D), K = f * last / (P + 1);
                b.ui.answers = {Answer::Ok};
                b.correct({0, 0, c.seconds, ahead});
                const std::vector<uint16_t> want = LongWayRound(before, f, P, K, ahead);
                EXPECT_EQ(b.words(), want);
                EXPECT_EQ(b.rec.desc(0).DataCnt, origin + static_cast<int32_t>(want.size()) - 1);
                EXPECT_EQ(b.rec.desc(0).SampRate, c.interval);
                ASSERT_TRUE(b.undo->Pop().undone);
                EXPECT_EQ(b.words(), before);
            }
}

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

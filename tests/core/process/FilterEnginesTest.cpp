#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "ProcessFixture.h"
#include "core/calc/Extrema.h"
#include "core/process/LowPassFilter.h"
#include "core/process/Mantle.h"
#include "core/process/PeakElimination.h"

namespace vk {

namespace {

// Channels of 9,000 samples (three chunks); y = raw / 100 - 100.
struct FilterFixture : test::ProcessFixture {
    static constexpr int32_t Long = 9000;

    void SetUp() override
    {
        ProcessFixture::SetUp();
        fill(Long);
    }
    void randomWords(int slot, int spread, uint32_t seed, int base = 0)
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> word(0, spread);
        for (int32_t i = 0; i <= rec.desc(slot).DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(base + word(random)), slot);
    }
    // A fresh context for each command: its first undo step stands alone.
    ViewContext& context()
    {
        cx.reset();
        steps.emplace(*undo);
        return cx.emplace(ViewContext{rec, view, ui, *steps});
    }
    // The command changed the channel to `want`, and Undo brings back `before`.
    void expectAndUndo(const std::vector<uint16_t>& before, const std::vector<uint16_t>& want, int slot = 0)
    {
        ASSERT_EQ(words(slot), want);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_EQ(words(slot), before);
    }
    static double Y(uint16_t r) { return r * 0.01 - 100; }
    static double T(int64_t i) { return static_cast<double>(i) * Interval; }

    std::optional<CommandSteps> steps;
    std::optional<ViewContext> cx;
};

uint16_t LineWord(uint16_t w0, uint16_t w1, int32_t m, int32_t span)
{
    return static_cast<uint16_t>(std::nearbyint(w0 + m * (static_cast<double>(w1) - w0) / span));
}

// The words between from and to as the line between their ends.
void Line(std::vector<uint16_t>& w, int32_t from, int32_t to)
{
    const int32_t end = std::min<int32_t>(to, static_cast<int32_t>(w.size()) - 1);
    const uint16_t w0 = w[static_cast<std::size_t>(from)], w1 = w[static_cast<std::size_t>(end)];
    for (int32_t m = 1; from + m < to && from + m <= end; ++m)
        w[static_cast<std::size_t>(from + m)] = LineWord(w0, w1, m, to - from);
}

TEST_F(FilterFixture, ExtremesAndPeaksFollowTheirFormulas)
{
    // Words of 0 and 65535 take the word before them: 5, 0, 0, 7 gives 5, 5, 5, 7.
    for (int32_t i = 0; i < 4; ++i)
        WriteRaw(rec, 100 + i, std::array<uint16_t, 4>{5, 0, 0, 7}[static_cast<std::size_t>(i)], 0);
    EliminateExtremes(context(), 0, T(103), T(100));
    EXPECT_EQ(ReadRaw(rec, 101, 0), 5);
    EXPECT_EQ(ReadRaw(rec, 102, 0), 5);

    randomWords(0, 6, 1);  // many words at the low end
    for (int32_t i = 0; i < Long; i += 7)
        WriteRaw(rec, i, i % 2 ? 65535 : 0, 0);
    for (const auto& [first, last] : {std::pair{0, 3000}, std::pair{4000, Long + 50}}) {
        std::vector<uint16_t> before = words(0), want = before;
        for (int32_t j = std::max(first, 1); j <= std::min(last, Long - 1); ++j)
            if (want[j] == 0 || want[j] == 65535)
                want[j] = want[j - 1];
        EliminateExtremes(context(), 0, T(last), T(first));
        expectAndUndo(before, want);
    }

    // Peaks: a noisy line with spikes; the amplitude shrinks after each peak found.
    randomWords(0, 40, 2, 20000);
    for (int32_t i = 50; i < Long; i += 97)  // spikes up and down, of many heights
        WriteRaw(rec, i, static_cast<uint16_t>(i % 3 ? 20000 + i * 37 % 9000 : 20000 - i * 53 % 9000), 0);
    for (const auto& [length, amplitude] : {std::pair{10, 20.0}, std::pair{3, 5.0}, std::pair{25, 0.0}}) {
        const std::vector<uint16_t> before = words(0);
        std::vector<uint16_t> want = before;
        const int32_t first = 10, last = Long - 1;
        double x = amplitude;
        for (int32_t k = first; k + length < last;) {
            const double yk = Y(want[k]), ykL = Y(want[k + length]);
            int32_t i = k;
            while (i < k + length && !(std::fabs(Y(want[i]) - yk) >= x && std::fabs(Y(want[i]) - ykL) >= x))
                ++i;
            if (i < k + length) {
                x = 0.9 * std::fabs(Y(want[i]) - yk);
                Line(want, k, k + length);
                k += length + 1;
            } else {
                ++k;
            }
        }
        EXPECT_NE(want, before);
        EliminatePeaks(context(), 0, length, amplitude, T(last), T(first));
        SCOPED_TRACE(length);
        expectAndUndo(before, want);
    }
    // A duration longer than the channel (the dialog takes up to 2147483647
    // points): told, nothing changed, no buffer of that length made.
    const std::vector<uint16_t> before = words(0);
    ui.shown.clear();
    for (const int32_t length : {INT32_MAX, Long + 5}) {
        const CommandResult r = EliminatePeaks(context(), 0, length, 1, T(Long - 1), T(0));
        EXPECT_FALSE(r.changed.bySlot[0].any());
        EXPECT_EQ(words(0), before);
    }
    ASSERT_EQ(ui.texts().size(), 2u);
    EXPECT_EQ(ui.texts()[0].rfind(" A peak of 2147483647 points is longer than the channel's ", 0), 0u) << ui.texts()[0];
}

TEST_F(FilterFixture, ReplacingByANumberOrByLines)
{
    randomWords(0, 1000, 3, 9500);  // y from -5 to 5
    for (const Relation relation : {Relation::Less, Relation::Greater, Relation::Equal})
        for (const bool interpolate : {false, true}) {
            SCOPED_TRACE(static_cast<int>(relation) * 2 + interpolate);
            const double threshold = relation == Relation::Equal ? Y(9900) : 1.5;
            const std::vector<uint16_t> before = words(0);
            std::vector<uint16_t> want = before;
            auto in = [&](double y) {
                return relation == Relation::Less      ? y < threshold
                       : relation == Relation::Greater ? y > threshold
                                                       : y == threshold;
            };
            auto breaks = [&](double y) {
                return relation == Relation::Less      ? y > threshold
                       : relation == Relation::Greater ? y < threshold
                                                       : y != threshold;
            };
            const int32_t first = 200, last = Long - 1;  // to the end: F5 at the total duration counts one unit less
            for (int32_t i = first + 1; i <= last - 1; ++i) {
                if (!in(Y(before[i])))
                    continue;
                if (!interpolate) {
                    want[i] = 10250;  // the replacement 2.5
                    continue;
                }
                int32_t j = i + 1;
                while (j <= last - 1 && !breaks(Y(before[j])))
                    ++j;
                Line(want, i - 1, j);
                if (j >= last)
                    break;
                i = j - 1;
            }
            ReplaceValues(context(), relation, interpolate, 0, rec.time.LongestSpan, T(first), 2.5, threshold);
            expectAndUndo(before, want);
        }

    // Replacing by a number is refused while a polynomial is applied; lines are not.
    rec.desc(0).bApplyPolynom = true;
    rec.desc(0).Poly_C = 2;
    EXPECT_FALSE(ReplaceValues(context(), Relation::Less, false, 0, T(900), T(100), 0, 0).changed.bySlot[0].any());
    EXPECT_EQ(ui.helpPages, std::vector<std::string>{"ErrPoly.rtf"});
    EXPECT_EQ(undo->top(), 0);
}

TEST_F(FilterFixture, LowPassAndEnvelope)
{
    // The low pass against the weighted sum written out, within one raw word;
    // reads beyond the channel's end take its last word.
    randomWords(0, 20000, 4, 10000);
    const std::vector<uint16_t> before = words(0);
    for (const int32_t n : {1, 7, 200}) {
        SCOPED_TRACE(n);
        const int32_t a = 300, b = Long - 1;
        std::vector<double> w;
        double total = 0;
        for (int j = -n; j <= n; ++j) {
            w.push_back(n * std::cos(std::numbers::pi * j / (2.0 * n)));
            total += w.back();
        }
        LowPassSection(context(), 0, n, T(b), T(a));
        for (int32_t p = a + 1; p < b; ++p) {
            double sum = 0;
            for (int j = -n; j <= n; ++j)
                sum += Y(before[static_cast<std::size_t>(std::clamp(p + j, 0, Long - 1))]) * w[j + n];
            ASSERT_NEAR(ReadValue(rec, p, 0).value, sum / total, 0.01 * 1.0001) << p;
        }
        EXPECT_EQ(ReadRaw(rec, a, 0), before[a]);
        EXPECT_EQ(ReadRaw(rec, b, 0), before[b]);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_EQ(words(0), before);
    }
    // Asked: the proposal, a word instead of a number, above 200, Cancel.
    ui.inputs = {std::string("many"), std::string("900"), std::nullopt};
    for (int k = 0; k < 3; ++k) {
        LowPassCommand(context(), 0, T(5000), T(1000));
    }
    EXPECT_EQ(ui.inputInitials[0], "200");
    EXPECT_EQ(ui.shown[0].text, "Eliminate high frequencies|N= (N<=200)");
    EXPECT_EQ(ui.texts().back(), "'many' is not a valid integer value");
    EXPECT_EQ(undo->top(), 1);  // only "900", run as 200
    ASSERT_TRUE(undo->Pop().undone);

    // The envelope: consecutive maxima closer than the period joined by lines.
    for (const int32_t side : {MantleAbove, MantleBelow})
        for (const int32_t period : {16, Long}) {
            randomWords(0, 3000, 5 + period, 10000);
            const std::vector<uint16_t> was = words(0);
            std::vector<uint16_t> want = was;
            const ValueAt value = [&](int32_t i) { return Y(was[static_cast<std::size_t>(i)]); };
            int32_t c = 100, at = 100;
            while (at < 8000) {
                const Extremum e = NextExtremum(value, at, 8000, 5.0);
                if (e.type == 0 || e.index <= at)
                    break;
                if (e.type == (side == MantleAbove ? 1 : -1)) {
                    if (e.index - c < period)
                        Line(want, c, e.index);
                    c = e.index;
                }
                at = e.index;
            }
            Mantle(context(), 0, {period, 5.0, side}, T(8000), T(100));
            expectAndUndo(was, want);
        }
}

}  // namespace

}  // namespace vk

#include "core/process/SmoothKernel.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/calc/TrimmedWindow.h"
#include "core/process/RawSectionPass.h"
#include "core/process/SectionOperation.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// The weights 1 w1 w2 w3 w2 w1 1 of the seven-word kernels and the divisors of
// the 2-, 3-, 5- and 7-word sums that start the section.
struct Kernel {
    int32_t w1, w2, w3;
    std::array<int32_t, 4> divisor;
};
constexpr Kernel Kernel121{2, 0, 0, {2, 4, 0, 0}};  // heads only at the first word
constexpr Kernel Kernel12410{2, 4, 10, {2, 4, 10, 24}};
constexpr Kernel Kernel11232{1, 2, 3, {2, 3, 6, 11}};
constexpr Kernel KernelFlat{1, 1, 1, {2, 3, 5, 7}};

// The word the section's k-th sample (k < 4) gets from the kernel's sums over
// the words from the section's start on: r points at that start.
int32_t HeadWord(const Kernel& k, const uint16_t* r, int position)
{
    switch (position) {
    case 0: return (r[0] + r[1]) / k.divisor[0];
    case 1: return (r[0] + k.w1 * r[1] + r[2]) / k.divisor[1];
    case 2: return (r[0] + k.w1 * r[1] + k.w2 * r[2] + k.w1 * r[3] + r[4]) / k.divisor[2];
    default: return (r[0] + k.w1 * r[1] + k.w2 * r[2] + k.w3 * r[3] + k.w2 * r[4] + k.w1 * r[5] + r[6]) / k.divisor[3];
    }
}

// Rounds sum / count to the nearest integer, ties to even (0 <= sum < 2^53).
// The quotient comes from a floating-point division, set right by the
// remainder: an integer division per sample would dominate the pass.
inline int32_t RoundedMean(int64_t sum, int64_t count)
{
    int64_t q = static_cast<int64_t>(static_cast<double>(sum) / static_cast<double>(count));
    int64_t rest = sum - q * count;
    if (rest < 0) {
        --q;
        rest += count;
    } else if (rest >= count) {
        ++q;
        rest -= count;
    }
    const int64_t twice = 2 * rest;
    return static_cast<int32_t>(q + (twice > count || (twice == count && (q & 1) != 0) ? 1 : 0));
}

// The seven-word kernel 1 w1 w2 w3 w2 w1 1 over r[-3] .. r[3], integer division.
template <int32_t W1, int32_t W2, int32_t W3, int32_t D>
int32_t SevenWords(const uint16_t* r)
{
    return (r[-3] + r[3] + W1 * (r[-2] + r[2]) + W2 * (r[-1] + r[1]) + W3 * r[0]) / D;
}

// The mean of seven words without their greatest and least, rounded (five words: no ties).
int32_t TrimmedSeven(const uint16_t* r)
{
    int32_t sum = 0, most = r[-3], least = r[-3];
    for (int k = -3; k <= 3; ++k) {
        sum += r[k];
        most = std::max<int32_t>(most, r[k]);
        least = std::min<int32_t>(least, r[k]);
    }
    return (sum - most - least + 2) / 5;
}

// The jump and level tests on the word at r[0], with the step between r[d]
// and r[d + 1] (a step is at most 65535, so any jump above counts as 65536).
template <int D>
auto StepTest(int32_t level, int64_t jump)
{
    const auto step = static_cast<int32_t>(std::clamp<int64_t>(jump, 0, 65536));
    return [level, step](const uint16_t* r) { return std::abs(int32_t{r[D]} - r[D + 1]) < step && r[0] < level; };
}

// A rule for modes 4 .. 7: `heads` section-start words from HeadWord, then
// word(r) for each word, kept where keep(r) says so. Below a `level` (the
// flat baseline's threshold) a word is smoothed only where every word the
// kernel reaches (`reach` on either side) lies below it too: a kernel that
// reached into the descent or ascent beside a surface reading would lift
// that reading, and with it the surface, towards the dive.
template <typename Word, typename Keep>
ChunkRule KernelRule(int32_t start, int heads, const Kernel& kernel, Word word, Keep keep, int32_t level = NoLevel,
                     int reach = 0)
{
    const auto inLevel = [level, reach](const uint16_t* r) {
        if (level == NoLevel)
            return true;
        for (int k = -reach; k <= reach; ++k)
            if (r[k] >= level)
                return false;
        return true;
    };
    return [=](const RawChunk& c, uint16_t* out) {
        int32_t i = 0;
        for (; i < c.count && c.x0 + i - start < heads; ++i) {
            const int position = c.x0 + i - start;
            const int32_t v = HeadWord(kernel, c.r + i - position, position);
            out[i] = static_cast<uint16_t>(keep(c.r + i) && inLevel(c.r + i) ? v : c.r[i]);
        }
        for (; i < c.count; ++i) {
            const uint16_t* r = c.r + i;
            out[i] = static_cast<uint16_t>(keep(r) && inLevel(r) ? word(r) : r[0]);
        }
    };
}

ChunkRule KernelRuleOf(int mode, int32_t start, int32_t level, int64_t jump)
{
    switch (mode) {
    case Smooth121:
        return KernelRule(
            start, 1, Kernel121, [](const uint16_t* r) { return (r[-1] + 2 * r[0] + r[1]) >> 2; },
            StepTest<1>(level, jump), level, 1);
    case Smooth12410:
        return KernelRule(
            start, 3, Kernel12410, [](const uint16_t* r) { return SevenWords<2, 4, 10, 24>(r); },
            StepTest<0>(level, jump), level, 3);
    case Smooth11232:
        return KernelRule(
            start, 3, Kernel11232, [](const uint16_t* r) { return SevenWords<1, 2, 3, 11>(r); },
            StepTest<0>(level, jump), level, 3);
    default:
        return KernelRule(
            start, 4, KernelFlat, [](const uint16_t* r) { return TrimmedSeven(r); },
            [](const uint16_t*) { return true; });
    }
}

// The running mean of all 2n + 1 words: a sliding sum.
ChunkRule PlainMeanRule(int32_t n)
{
    auto sum = std::make_shared<int64_t>(0);
    return [=](const RawChunk& c, uint16_t* out) {
        int64_t& s = *sum;
        if (c.stretchStart) {
            s = 0;
            for (int32_t k = -n - 1; k < n; ++k)  // the first step below moves the window on by one
                s += c.r[k];
        }
        for (int32_t i = 0; i < c.count; ++i) {
            s += int64_t{c.r[i + n]} - c.r[i - n - 1];
            out[i] = static_cast<uint16_t>(RoundedMean(s, 2 * n + 1));
        }
    };
}

// The trimmed running mean: a window of 2n + 1 former words slides along each stretch.
ChunkRule TrimmedMeanRule(const RunningMeanSetting& m)
{
    const int32_t n = m.n, width = 2 * n + 1, q = (2 * n * m.ignore) / 100;
    const bool down = m.direction != RunMeanUp;  // Down, also before any choice
    // Down leaves out the greatest: the least of the complements.
    auto window = std::make_shared<TrimmedWindow>(q);
    auto enter = [down](uint16_t w) { return static_cast<uint16_t>(down ? 65535 - w : w); };
    return [=](const RawChunk& c, uint16_t* out) {
        if (c.stretchStart) {
            window->clear();
            for (int32_t k = -n; k <= n; ++k)
                window->insert(enter(c.r[k]));
        }
        for (int32_t i = 0; i < c.count; ++i) {
            if (i > 0 || !c.stretchStart) {
                window->remove(enter(c.r[i - n - 1]));
                window->insert(enter(c.r[i + n]));
            }
            const int64_t left = window->leastSum();  // of the entered words
            const int64_t sum =
                down ? int64_t{65535} * width - window->sum() - (int64_t{65535} * q - left) : window->sum() - left;
            const int32_t e = RoundedMean(sum, width - q);
            const uint16_t r = c.r[i];
            out[i] = static_cast<uint16_t>((down ? e < r : r < e) ? e : r);
        }
    };
}

}  // namespace

CommandResult SmoothKernel(ViewContext& cx, int slot, int mode, const RunningMeanSetting& mean, int32_t level,
                           int64_t jump, double f5, double f4)
{
    if (mode < Smooth121 || mode > SmoothRunningMean)
        throw std::logic_error("SmoothKernel: no mode " + std::to_string(mode));
    Recording& rec = cx.rec;
    const WorkSection w = SectionIndexes(ChannelView(rec, slot), f4, f5);
    const StoredSection section = StoredPart(ChannelView(rec, slot), w.first, w.last);
    const int32_t a = section.first, b = section.last, s = a + 1;
    if (s >= b || (mode == SmoothRunningMean && mean.n <= 0))
        return {};

    cx.undo.PushRange(UndoKind::Smooth, slot, a, b + 1, redraw::SampleEdit);
    if (mode == SmoothRunningMean) {
        RunningMeanSetting m = mean;
        m.n = std::min(mean.n, RunMeanMaxN);
        m.ignore = std::clamp(mean.ignore, 0, RunMeanMaxIgnore);
        const ChunkRule rule = m.direction == RunMeanMiddle ? PlainMeanRule(m.n) : TrimmedMeanRule(m);
        RewriteRaw(rec, slot, {s + 1, b}, m.n + 1, m.n, rule, cx.ui);
    } else {
        RewriteRaw(rec, slot, {s, b}, mode == Smooth121 ? 1 : 3, mode == Smooth121 ? 2 : 3,
                   KernelRuleOf(mode, s, level, jump), cx.ui);
    }
    rec.at(slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{slot, a, int64_t{b} + 1, false}};
}

}  // namespace vk

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "ProcessFixture.h"
#include "core/process/SmoothKernel.h"

namespace vk {

namespace {

using test::ProcessFixture;

struct Stretch {
    int32_t lo, hi;
};

// The kernels written out from their formulas, one position at a time over a
// copy of the former words: reads beyond a stretch take its end word.
std::vector<uint16_t> Reference(const std::vector<uint16_t>& r, int32_t a, int32_t b, int mode,
                                const RunningMeanSetting& m, int32_t level, int64_t jump,
                                const std::vector<Stretch>& stretches)
{
    std::vector<uint16_t> out = r;
    const int32_t s = a + 1;
    for (const Stretch& st : stretches) {
        auto R = [&](int64_t i) -> int64_t {
            return r[static_cast<std::size_t>(std::clamp<int64_t>(i, st.lo, st.hi))];
        };
        // Below a level, only where every word the kernel reaches lies below it.
        auto inLevel = [&](int32_t x, int reach) {
            for (int j = -reach; j <= reach; ++j)
                if (level != NoLevel && R(x + j) >= level)
                    return false;
            return true;
        };
        for (int32_t x = std::max(st.lo, s); x <= std::min(st.hi, b); ++x) {
            int64_t v = R(x);
            bool write = true;
            if (mode == Smooth121) {
                v = x == s ? (R(s) + R(s + 1)) / 2 : (R(x - 1) + 2 * R(x) + R(x + 1)) / 4;
                write = std::llabs(R(x + 1) - R(x + 2)) < jump && R(x) < level && inLevel(x, 1);
            } else if (mode == Smooth12410 || mode == Smooth11232 || mode == SmoothTrimmedSeven) {
                const std::array<int64_t, 3> w = mode == Smooth12410   ? std::array<int64_t, 3>{2, 4, 10}
                                                 : mode == Smooth11232 ? std::array<int64_t, 3>{1, 2, 3}
                                                                       : std::array<int64_t, 3>{1, 1, 1};
                const std::array<int64_t, 4> d = mode == Smooth12410   ? std::array<int64_t, 4>{2, 4, 10, 24}
                                                 : mode == Smooth11232 ? std::array<int64_t, 4>{2, 3, 6, 11}
                                                                       : std::array<int64_t, 4>{2, 3, 5, 7};
                const int64_t k = x - s;
                if (k == 0)
                    v = (R(s) + R(s + 1)) / d[0];
                else if (k == 1)
                    v = (R(s) + w[0] * R(s + 1) + R(s + 2)) / d[1];
                else if (k == 2)
                    v = (R(s) + w[0] * R(s + 1) + w[1] * R(s + 2) + w[0] * R(s + 3) + R(s + 4)) / d[2];
                else if (mode != SmoothTrimmedSeven || k == 3)
                    v = (R(x - 3) + R(x + 3) + w[0] * (R(x - 2) + R(x + 2)) + w[1] * (R(x - 1) + R(x + 1)) +
                         w[2] * R(x)) /
                        d[3];
                else {
                    std::vector<int64_t> seven;
                    for (int j = -3; j <= 3; ++j)
                        seven.push_back(R(x + j));
                    std::sort(seven.begin(), seven.end());
                    v = static_cast<int64_t>(
                        std::nearbyint((seven[1] + seven[2] + seven[3] + seven[4] + seven[5]) / 5.0));
                }
                if (mode != SmoothTrimmedSeven)
                    write = std::llabs(R(x) - R(x + 1)) < jump && R(x) < level && inLevel(x, 3);
            } else {  // the running mean, each window sorted
                if (x == s)
                    continue;
                const int32_t n = m.n, q = m.direction == RunMeanMiddle ? 0 : 2 * n * m.ignore / 100;
                std::vector<int64_t> window;
                for (int32_t j = -n; j <= n; ++j)
                    window.push_back(R(x + j));
                std::sort(window.begin(), window.end(), std::greater<>());
                const auto kept = static_cast<std::ptrdiff_t>(window.size()) - q;
                const int64_t sum = m.direction == RunMeanDown
                                        ? std::accumulate(window.end() - kept, window.end(), int64_t{0})
                                        : std::accumulate(window.begin(), window.begin() + kept, int64_t{0});
                v = static_cast<int64_t>(std::nearbyint(static_cast<double>(sum) / static_cast<double>(kept)));
                write = m.direction == RunMeanMiddle || (m.direction == RunMeanUp ? R(x) < v : v < R(x));
            }
            if (write)
                out[static_cast<std::size_t>(x)] = static_cast<uint16_t>(v);
        }
    }
    return out;
}

struct SmoothFixture : ProcessFixture {
    static constexpr int32_t Long = 9000;  // three chunks

    void randomWords(int slot, uint16_t spread, uint32_t seed)
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> word(0, spread);
        for (int32_t i = 0; i <= rec.desc(slot).DataCnt; ++i)
            WriteRaw(rec, i, static_cast<uint16_t>(word(random)), slot);
    }

    // Runs one smoothing on first .. last (indexes, possibly beyond the channel)
    // and compares the whole channel with the reference; Undo restores it.
    void check(int mode, int64_t first, int64_t last, const RunningMeanSetting& m = {}, int slot = 0,
               int32_t level = NoLevel, int64_t jump = NoJump, std::vector<Stretch> stretches = {})
    {
        SCOPED_TRACE("mode " + std::to_string(mode) + " from " + std::to_string(first) + " to " + std::to_string(last) +
                     " n " + std::to_string(m.n) + " p " + std::to_string(m.ignore) + " dir " +
                     std::to_string(m.direction));
        const std::vector<uint16_t> before = words(slot);
        const int32_t hi = rec.desc(slot).DataCnt;
        if (stretches.empty())
            stretches = {{0, hi}};
        const int32_t a = static_cast<int32_t>(std::max<int64_t>(first, 0));
        const int32_t b = static_cast<int32_t>(std::min<int64_t>(last, hi));
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        const CommandResult r = SmoothKernel(cx, slot, mode, m, level, jump, static_cast<double>(last) * Interval,
                                             static_cast<double>(first) * Interval);
        if (a + 1 >= b || (mode == SmoothRunningMean && m.n <= 0)) {
            EXPECT_FALSE(r.changed.bySlot[static_cast<std::size_t>(slot)].any());
            EXPECT_EQ(words(slot), before);
            return;
        }
        EXPECT_EQ(words(slot), Reference(before, a, b, mode, m, level, jump, stretches));
        EXPECT_EQ(r.changed.bySlot[static_cast<std::size_t>(slot)].from, a);
        EXPECT_EQ(r.changed.bySlot[static_cast<std::size_t>(slot)].to, b + 1);
        EXPECT_TRUE(rec.at(slot).ChannelModified);
        ASSERT_TRUE(undo->Pop().undone);
        EXPECT_EQ(words(slot), before);
    }
};

TEST_F(SmoothFixture, EveryModeEqualsItsFormulasInsideAtTheEndsAndPastAShorterChannel)
{
    fill(Long);
    rec.desc(1).DataCnt = 5000;                                      // the shorter channel
    for (const uint16_t spread : {uint16_t{65535}, uint16_t{12}}) {  // wide words, and words with many ties
        randomWords(0, spread, spread);
        randomWords(1, spread, spread + 1u);
        for (int mode = Smooth121; mode <= SmoothTrimmedSeven; ++mode) {
            check(mode, 1000, 8000);
            check(mode, 0, 3000);
            check(mode, 6000, Long - 1);
            check(mode, 4100, Long + 500);  // past the end: cut at it
            check(mode, 4000, Long, {}, 1);
        }
        for (const int direction : {RunMeanUp, RunMeanDown, RunMeanMiddle}) {
            for (const auto& [n, p] : {std::pair{1, 0}, std::pair{3, 50}, std::pair{25, 30}}) {
                const RunningMeanSetting m{n, p, direction};
                check(SmoothRunningMean, 1000, 8000, m);
                check(SmoothRunningMean, 0, 700, m);
                check(SmoothRunningMean, 8500, Long + 3, m);
                check(SmoothRunningMean, 4000, Long, m, 1);
            }
            check(SmoothRunningMean, 3000, 5200, {RunMeanMaxN, RunMeanMaxIgnore, direction});  // across a chunk
        }
    }
    // Too short, and a running mean of nothing, change nothing.
    check(Smooth121, 10, 11);
    check(SmoothRunningMean, 10, 500, {0, 0, RunMeanMiddle});
}

TEST_F(SmoothFixture, JumpAndLevelHoldWordsBackAndMissingValuesStayOut)
{
    // The Part's small cases: equal words stay, a lone 4 spreads, 65535 stays, a spike goes.
    auto setWords = [&](std::initializer_list<uint16_t> w) {
        int32_t i = 0;
        for (uint16_t v : w)
            WriteRaw(rec, i++, v, 0);
    };
    setWords({7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 0, 0, 4, 0, 0, 0, 65535, 0, 0});
    ui.inputs.clear();
    CommandSteps steps(*undo);
    ViewContext cx{rec, view, ui, steps};
    SmoothKernel(cx, 0, Smooth121, {}, NoLevel, NoJump, 19 * Interval, 0);
    const std::vector<uint16_t> w = words(0);
    EXPECT_EQ(std::vector<uint16_t>(w.begin() + 2, w.begin() + 11), std::vector<uint16_t>(9, 7));
    EXPECT_EQ(std::vector<uint16_t>(w.begin() + 13, w.begin() + 16), (std::vector<uint16_t>{1, 2, 1}));
    EXPECT_EQ(w[18], 65535);
    setWords({9, 9, 9, 9, 9, 9, 9, 9, 500, 9, 9, 9, 9, 9, 9, 9});
    SmoothKernel(cx, 0, SmoothTrimmedSeven, {}, NoLevel, NoJump, 15 * Interval, 0);
    EXPECT_EQ(ReadRaw(rec, 8, 0), 9);

    // The flat baseline's tests: steps and levels.
    fill(Long);
    randomWords(0, 60, 5);
    for (int mode = Smooth121; mode <= Smooth11232; ++mode) {
        check(mode, 100, 8000, {}, 0, 30, 5);
        check(mode, 100, 8000, {}, 0, NoLevel, 0);  // no step is below 0: nothing changes
        check(mode, 100, 8000, {}, 0, NoLevel, 1);  // flat stretches only
    }

    // A gap splits the channel into two stretches, each read up to its own ends.
    randomWords(0, 65535, 6);
    rec.at(0).missing.add(4090, 4110);
    for (int mode = Smooth121; mode <= SmoothRunningMean; ++mode)
        check(mode, 200, 8800, {4, 20, RunMeanUp}, 0, NoLevel, NoJump, {{0, 4089}, {4110, Long - 1}});
}

}  // namespace

}  // namespace vk

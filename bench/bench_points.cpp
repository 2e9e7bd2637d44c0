// Changing a channel's length on a full slot (39,321,600 samples), each
// against a plain memmove of the channel at its largest length, measured in
// the same run. Aims: reduce 3x, expand and double points 6x, clock drift at
// full density (the working factor 16, and 1 on a full channel) 10x; each command with its undo step under a second.
// Prints figures.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "ChannelBench.h"
#include "core/process/ClockDrift.h"
#include "core/process/Resampling.h"
#include "core/process/UndoStack.h"

using bench::Clock;
using bench::Ms;

namespace {

// A plain memmove of n words by one position, block-sized pieces of a flat copy.
double MemmoveOf(int64_t n)
{
    std::vector<uint16_t> words(static_cast<std::size_t>(n) + 1, 7);
    return bench::Best(3, [&] { std::memmove(words.data() + 1, words.data(), static_cast<std::size_t>(n) * 2); });
}

}  // namespace

int main()
{
    vk::Recording rec;
    bench::Answers ui;
    bench::AllocateOneChannel(rec, ui);
    const int32_t full = vk::SampleStore::Capacity;
    vk::ViewState view;
    vk::NoUndo none;
    const double plain = MemmoveOf(full);
    std::printf("channel         up to %d samples\n", full);
    std::printf("memmove         %7.1f ms (the channel at its largest)\n", plain);
    auto report = [&](const char* name, double ms, int aim) {
        std::printf("%-15s %7.1f ms = %5.1f x memmove (aim: %d or less)\n", name, ms, ms / plain, aim);
    };
    auto fill = [&](int32_t n) {
        bench::Fill(rec, 0, n);
        rec.desc(0).SampRate = 1000;
        rec.time.LongestSpan = 1000.0 * (n - 1);
    };

    constexpr int Runs = 3;
    report("reduce by 2",
           bench::BestAfter(
               Runs, [&] { fill(full); }, [&] { vk::ReduceChannel(rec, none, 0, 2); }),
           3);
    report("expand by 2",
           bench::BestAfter(
               Runs, [&] { fill(full / 2); }, [&] { vk::ExpandChannel(rec, ui, none, 0, 2, {}); }),
           6);
    report("double points",
           bench::BestAfter(
               Runs, [&] { fill(full / 2); }, [&] { vk::DoublePoints(rec, ui, none, 0, {}); }),
           6);
    // Clock drift with a working factor of 16: the channel a sixteenth of the slot.
    vk::ViewContext cx{rec, view, ui, none};
    report("clock drift",
           bench::BestAfter(
               Runs, [&] { fill(full / 16 - 16); },
               [&] {
                   vk::CorrectClockDrift(cx, 0, {0, 30, 0, true}, {});
               }),
           10);
    // And on a full channel, where the working factor is 1.
    report("clock drift 1",
           bench::BestAfter(
               Runs, [&] { fill(full); },
               [&] {
                   vk::CorrectClockDrift(cx, 0, {0, 30, 0, true}, {});
               }),
           10);

    // With their undo steps (the channel saved first, then Undo): each under a second.
    const std::string stack = (std::filesystem::temp_directory_path() / "varnik-bench-points-Undo.bin").string();
    auto withUndo = [&](const char* name, int32_t n, const std::function<void(vk::ViewContext&)>& act) {
        fill(n);
        vk::UndoStack undo(rec, view, stack);
        {
            vk::CommandSteps steps(undo);
            vk::ViewContext withSteps{rec, view, ui, steps};
            const auto start = Clock::now();
            act(withSteps);
            std::printf("  %-14s with its undo step %5.0f ms (aim: under 1000)\n", name, Ms(start));
        }
        const auto start = Clock::now();
        undo.Pop();
        std::printf("  %-14s undone in        %5.0f ms (aim: under 1000)\n", name, Ms(start));
    };
    withUndo("reduce", full, [&](vk::ViewContext& c) { vk::ReduceChannel(rec, c.undo, 0, 2); });
    withUndo("expand", full / 2, [&](vk::ViewContext& c) { vk::ExpandChannel(rec, ui, c.undo, 0, 2, {}); });
    withUndo("double points", full / 2, [&](vk::ViewContext& c) { vk::DoublePoints(rec, ui, c.undo, 0, {}); });
    withUndo("clock drift", full, [&](vk::ViewContext& c) { vk::CorrectClockDrift(c, 0, {0, 30, 0, true}, {}); });
    std::filesystem::remove(stack);
    return 0;
}

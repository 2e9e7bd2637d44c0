// The filters on a channel of 39,321,600 samples, each against a pass that
// reads and writes every raw word once, measured in the same run. Aims: the
// kernels, the untrimmed running mean, the extremes and replacing 20x or
// less; peaks (L 10), the envelope and the compensation 50x or less; the
// trimmed running mean (n 500, p 50) and the low pass (N 200) 300x or less.
// One command is also timed with its undo step. Prints figures.

#include <cstdio>
#include <filesystem>
#include <string>

#include "ChannelBench.h"
#include "core/process/Compensation.h"
#include "core/process/FlatBaseline.h"
#include "core/process/LowPassFilter.h"
#include "core/process/Mantle.h"
#include "core/process/PeakElimination.h"
#include "core/process/SmoothKernel.h"
#include "core/process/UndoStack.h"

using bench::Best;
using bench::Clock;
using bench::Ms;

int main()
{
    vk::Recording rec;
    bench::Answers ui;
    bench::AllocateOneChannel(rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    bench::Fill(rec, 0, n);
    rec.time.LongestSpan = (n - 1) * 1000.0;
    vk::ViewState view = vk::InitialView(rec.time.LongestSpan);
    vk::NoUndo none;
    vk::ViewContext cx{rec, view, ui, none};
    const double plain = bench::PlainPass(rec, 0);
    std::printf("channel         %d samples\n", n);
    std::printf("plain pass      %7.1f ms (read, add one, write back)\n", plain);
    const double f4 = 0, f5 = rec.time.LongestSpan;
    auto report = [&](const char* name, double ms, int aim) {
        std::printf("%-15s %7.1f ms = %5.1f x plain (aim: %d or less)\n", name, ms, ms / plain, aim);
    };

    const char* kernels[] = {"1-2-1", "1-2-4-10-4-2-1", "1-1-2-3-2-1-1", "trimmed seven"};
    for (int mode = vk::Smooth121; mode <= vk::SmoothTrimmedSeven; ++mode)
        report(kernels[mode - vk::Smooth121],
               Best(2, [&] { vk::SmoothKernel(cx, 0, mode, {}, vk::NoLevel, vk::NoJump, f5, f4); }), 20);
    for (const int half : {1, 500})
        report(half == 1 ? "mean n 1" : "mean n 500",
               Best(2,
                    [&] {
                        vk::SmoothKernel(cx, 0, vk::SmoothRunningMean, {half, 0, vk::RunMeanMiddle}, 0, 0, f5, f4);
                    }),
               20);
    report("trimmed n 500",
           Best(1,
                [&] {
                    vk::SmoothKernel(cx, 0, vk::SmoothRunningMean, {500, 50, vk::RunMeanUp}, 0, 0, f5, f4);
                }),
           300);

    report("low pass N 200", Best(1, [&] { vk::LowPassSection(cx, 0, 200, f5, f4); }), 300);
    report("extremes", Best(2, [&] { vk::EliminateExtremes(cx, 0, f5, f4); }), 20);
    report("replace < 100", Best(2, [&] { vk::ReplaceValues(cx, vk::Relation::Less, false, 0, f5, f4, 100, 100); }),
           20);
    report("peaks L 10", Best(1, [&] { vk::EliminatePeaks(cx, 0, 10, 30, f5, f4); }), 50);
    report("flat baseline", Best(2, [&] { vk::FlatBaseline(cx, 0, {1, true, 11}, 200, f5, f4); }), 20);
    report("compensation",
           Best(1,
                [&] {
                    bool repeat = false;
                    vk::CompensationSettings s;
                    s.CompSurfaceReference = true;
                    vk::CompensateInertia(cx, 0, s, repeat, nullptr, f5, f4);
                }),
           50);
    report("envelope", Best(1, [&] { vk::Mantle(cx, 0, {16, 5.0, vk::MantleAbove}, f5, f4); }), 50);

    const std::string stack = (std::filesystem::temp_directory_path() / "varnik-bench-filters-Undo.bin").string();
    {
        vk::UndoStack undo(rec, view, stack);
        vk::CommandSteps steps(undo);
        vk::ViewContext withUndo{rec, view, ui, steps};
        const auto start = Clock::now();
        vk::SmoothKernel(withUndo, 0, vk::Smooth121, {}, vk::NoLevel, vk::NoJump, f5, f4);
        const double ms = Ms(start);
        std::printf("  1-2-1 with undo %5.1f ms = %5.1f x plain\n", ms, ms / plain);
    }
    std::filesystem::remove(stack);
    return 0;
}

// The processing engines on channels of 39,321,600 samples, each against a
// plain memory pass over the same samples (read, add one, write back)
// measured in the same run: the section pass (aim 8x or less), the
// derivations (16x or less), the whole-channel shortcut (the same time at any
// length) and the envelope update after 1,000 changed samples (under 1/1000 of
// a full build). Prints figures.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "ChannelBench.h"
#include "core/files/ChannelSource.h"
#include "core/process/DeriveChannel.h"
#include "core/process/SectionOperation.h"
#include "core/process/UndoStack.h"
#include "core/store/ConsoleDialogs.h"
#include "core/view/Envelope.h"

using bench::Answers;
using bench::Best;
using bench::Clock;
using bench::Fill;
using bench::Ms;

int main()
{
    vk::Recording rec;
    Answers ui;
    vk::AllocateStore(rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    for (int slot = 0; slot < vk::SlotCount; ++slot)
        Fill(rec, slot, n);
    rec.time.LongestSpan = (n - 1) * 1000.0;
    vk::ViewState view = vk::InitialView(rec.time.LongestSpan);
    vk::NoUndo none;
    vk::ViewContext cx{rec, view, ui, none};
    std::printf("channels        3 x %d samples\n", n);

    const double plain = bench::PlainPass(rec, 0);
    std::printf("plain pass      %7.1f ms (read, add one, write back)\n", plain);

    // Sample 0 and the last stay out, so that the section is not the whole channel.
    const double f4 = 1000, f5 = rec.time.LongestSpan - 1000;
    const double add = Best(3, [&] { vk::ApplySectionOperation(cx, vk::SectionAdd, 0, 0, 0, f5, f4); });
    std::printf("section add     %7.1f ms = %.1f x plain (aim: 8 or less)\n", add, add / plain);
    const double ramp = Best(3, [&] { vk::ApplySectionOperation(cx, vk::SectionRamp, 1, 0, 2.0, f5, f4); });
    std::printf("section ramp    %7.1f ms = %.1f x plain (aim: 8 or less)\n", ramp, ramp / plain);

    const std::string stack = (std::filesystem::temp_directory_path() / "varnik-bench-Undo.bin").string();
    {
        vk::UndoStack undo(rec, view, stack);
        vk::CommandSteps steps(undo);
        vk::ViewContext withUndo{rec, view, ui, steps};
        const auto start = Clock::now();
        vk::ApplySectionOperation(withUndo, vk::SectionAdd, 0, 0, 0, f5, f4);
        const double recorded = Ms(start);
        std::printf("  with undo     %7.1f ms = %.1f x plain (the section written to the undo file first)\n", recorded,
                    recorded / plain);
    }

    const double integrate = Best(2, [&] { vk::DeriveChannel(cx, vk::DeriveIntegrate, 1, 1, 1, 1); });
    std::printf("integrate       %7.1f ms = %.1f x plain (aim: 16 or less)\n", integrate, integrate / plain);
    const double differentiate = Best(2, [&] { vk::DeriveChannel(cx, vk::DeriveDifferentiate, 0, 1, 1, 1); });
    std::printf("differentiate   %7.1f ms = %.1f x plain (aim: 16 or less)\n", differentiate, differentiate / plain);
    const double subtract = Best(2, [&] { vk::DeriveChannel(cx, vk::DeriveSubtract, 1, 0, 2, 1); });
    std::printf("bi-ch. subtract %7.1f ms = %.1f x plain (aim: 16 or less)\n", subtract, subtract / plain);
    {
        vk::UndoStack undo(rec, view, stack);
        vk::CommandSteps steps(undo);
        vk::ViewContext withUndo{rec, view, ui, steps};
        const auto start = Clock::now();
        vk::DeriveChannel(withUndo, vk::DeriveIntegrate, 1, 2, 2, 2);
        const double recorded = Ms(start);
        std::printf("  with undo     %7.1f ms = %.1f x plain\n", recorded, recorded / plain);
    }

    // The shortcut changes four numbers: the same time for 1,000 samples as for all.
    constexpr int Runs = 100000;
    auto shortcut = [&](int32_t count) {
        rec.desc(0).DataCnt = count - 1;
        rec.time.LongestSpan = (count - 1) * 1000.0;
        ui.answer = "1.0000001";
        const auto start = Clock::now();
        for (int k = 0; k < Runs; ++k)
            vk::ApplySectionOperation(cx, vk::SectionMultiply, 0, 0, 0, rec.time.LongestSpan, 0);
        return Ms(start) * 1000.0 / Runs;
    };
    const double shortShortcut = shortcut(1000), longShortcut = shortcut(n);
    std::printf("shortcut        %7.2f us at 1,000 samples, %.2f us at %d: ratio %.2f\n", shortShortcut, longShortcut,
                n, longShortcut / shortShortcut);

    vk::Envelope envelope;
    const double build = Best(2, [&] { envelope.build(rec.store, 0, n); });
    const double update = Best(5, [&] { envelope.update(rec.store, 0, n / 2, n / 2 + 1000); });
    std::printf(
        "envelope        build %.1f ms, update after 1,000 samples %.4f ms = 1/%.0f of a build (aim: under "
        "1/1000)\n",
        build, update, build / update);
    std::filesystem::remove(stack);
    return 0;
}

#pragma once

// What the processing benchmarks share: full channels of generated words, a
// seam that answers every input box with one text, the best of a few timings,
// and the yardstick: a plain pass that reads and writes every word once.

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "Stopwatch.h"
#include "core/files/ChannelSource.h"
#include "core/store/ConsoleDialogs.h"
#include "core/store/Recording.h"

namespace bench {

class Answers : public vk::ConsoleDialogs {
public:
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override { return answer; }
    void message(std::string_view, vk::Severity) override {}
    vk::Answer ask(std::string_view, vk::Buttons b, vk::Severity) override
    {
        return b == vk::Buttons::Ok || b == vk::Buttons::OkCancel ? vk::Answer::Ok : vk::Answer::Yes;
    }
    void progress(long long, long long) override {}
    std::string answer = "1.5";
};

// n words of a slow wave with noise, sampled every second, range -10 .. 500.
inline void Fill(vk::Recording& rec, int slot, int32_t n)
{
    vk::ChannelDescriptor& d = rec.desc(slot);
    d.SampRate = 1000;
    d.LowRng = -10;
    d.HighRng = 500;
    vk::SetScaling(rec, slot);
    d.DataCnt = n - 1;
    uint32_t noise = 777u + static_cast<uint32_t>(slot);
    for (int32_t i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        vk::WriteRaw(rec, i, static_cast<uint16_t>(20000 + 10000 * std::sin(i / 5000.0) + (noise >> 22)), slot);
    }
}

// The store of a recording that uses slot 0 alone, allocated in full.
inline void AllocateOneChannel(vk::Recording& rec, vk::VkDialogs& ui)
{
    for (int slot = 1; slot < vk::SlotCount; ++slot)
        rec.at(slot).ChannelUsed = false;
    vk::AllocateStore(rec, ui);
}

// Best of `runs` timings of f, in ms.
inline double Best(int runs, const std::function<void()>& f)
{
    double best = 1e30;
    for (int k = 0; k < runs; ++k) {
        const auto start = Clock::now();
        f();
        best = std::min(best, Ms(start));
    }
    return best;
}

// Best of `runs` timings of act, each after an untimed prepare, in ms.
inline double BestAfter(int runs, const std::function<void()>& prepare, const std::function<void()>& act)
{
    double best = 1e30;
    for (int k = 0; k < runs; ++k) {
        prepare();
        const auto start = Clock::now();
        act();
        best = std::min(best, Ms(start));
    }
    return best;
}

// The yardstick: every word of the slot read, one added, written back.
inline double PlainPass(vk::Recording& rec, int slot)
{
    return Best(3, [&] {
        for (int row = 0; row < vk::SampleStore::RowsPerSlot; ++row) {
            uint16_t* block = rec.store.block(slot, row);
            for (int32_t i = 0; i < vk::SampleStore::BlockSamples; ++i)
                block[i] = static_cast<uint16_t>(block[i] + 1);
        }
    });
}

}  // namespace bench

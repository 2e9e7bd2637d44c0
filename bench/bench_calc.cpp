// The Calculations over a whole slot (39,321,600 samples), each against a
// plain pass summing the section's raw words, measured in the same run.
// Aims: statistics (median included) 15x, histogram 10x, event counting 5x.
// Prints figures.

#include <cstdio>

#include "ChannelBench.h"
#include "core/calc/EventCount.h"
#include "core/calc/Histogram.h"
#include "core/calc/Statistics.h"
#include "core/calc/WorkSection.h"

using bench::Best;

int main()
{
    vk::Recording rec;
    bench::Answers ui;
    bench::AllocateOneChannel(rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    bench::Fill(rec, 0, n);
    const double f5 = 1000.0 * (n - 1);
    volatile uint64_t sink = 0;
    const double plain = Best(3, [&] {
        uint64_t sum = 0;
        for (int row = 0; row < vk::SampleStore::RowsPerSlot; ++row) {
            const uint16_t* block = rec.store.block(0, row);
            for (int32_t i = 0; i < vk::SampleStore::BlockSamples; ++i)
                sum += block[i];
        }
        sink = sink + sum;
    });
    std::printf("section         %d samples\n", n);
    std::printf("plain sum       %7.1f ms\n", plain);
    auto report = [&](const char* name, double ms, int aim) {
        std::printf("%-15s %7.1f ms = %5.1f x the plain sum (aim: %d or less)\n", name, ms, ms / plain, aim);
    };
    report("statistics", Best(3, [&] { vk::ComputeStatistics(rec, 0, {0, f5, 1, {300, 100}}); }), 15);
    const vk::StoredSection all = vk::SectionSamples(vk::ChannelView(rec, 0), 0, f5);
    report("histogram", Best(3, [&] { vk::ComputeHistogram(rec, 0, all, 0, 2); }), 10);
    report("events", Best(3, [&] { vk::CountEvents(rec, 0, 0, f5, 200, false, false); }), 5);
    return 0;
}

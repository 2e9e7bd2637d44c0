// The channel plot's cloud and the way-way diagram over whole slots
// (39,321,600 samples), each against a plain pass that reads the same raw
// words of the same two channels, measured in the same run.
// Aims: cloud 5x, way-way (its sum and the trace of an 800-pixel picture) 5x.
// Prints figures.

#include <cstdio>

#include "ChannelBench.h"
#include "core/files/ChannelSource.h"
#include "core/calc/ChannelPlot.h"
#include "core/calc/WayWay.h"

using bench::Best;

int main()
{
    vk::Recording rec;
    bench::Answers ui;
    vk::AllocateStore(rec, ui);
    const int32_t n = vk::SampleStore::Capacity;
    for (int slot = 0; slot < vk::SlotCount; ++slot)
        bench::Fill(rec, slot, n);
    const double f5 = 1000.0 * (n - 1);
    volatile uint64_t sink = 0;
    const auto plain = [&](int a, int b) {
        return Best(7, [&] {
            uint64_t sum = 0;
            for (int row = 0; row < vk::SampleStore::RowsPerSlot; ++row) {
                const uint16_t* x = rec.store.block(a, row);
                const uint16_t* y = rec.store.block(b, row);
                for (int32_t i = 0; i < vk::SampleStore::BlockSamples; ++i)
                    sum += x[i] + y[i];
            }
            sink = sink + sum;
        });
    };
    const double plainCloud = plain(0, 1);
    constexpr int Width = 800, Height = 600;
    const vk::PlotFrame frame = vk::PlotFrameOf(vk::SectionSpan(rec, 0, 0, f5), vk::SectionSpan(rec, 1, 0, f5));
    const vk::CloudRequest request{0, 1, 0, 200, 0, f5};
    const double cloud = Best(7, [&] { vk::PaintCloud(rec, request, frame, Width, Height); });
    const double plainWay = plain(0, 2);
    const vk::WayWayRequest way{0, 2, 0, f5};
    const double wayWay = Best(7, [&] { vk::TraceWayWay(rec, way, vk::SumWayWay(rec, way), Width); });
    std::printf("section         %d samples of two channels\n", n);
    auto report = [&](const char* name, double ms, double yardstick, int aim) {
        std::printf("plain read      %7.1f ms\n", yardstick);
        std::printf("%-15s %7.1f ms = %5.1f x the plain read (aim: %d or less)\n", name, ms, ms / yardstick, aim);
    };
    report("cloud", cloud, plainCloud, 5);
    report("way-way", wayWay, plainWay, 5);
    return 0;
}

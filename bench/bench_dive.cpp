// The dive search loop with the per-dive values, as the automatic analysis
// runs it, over a generated record of a full slot (39,321,600 samples at 1 s).
// Prints the figures; asserts nothing.
//
//   bench_dive [samples]     (default: 39321600)

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Stopwatch.h"
#include "core/dive/DiveSearch.h"
#include "core/example/ExampleRecording.h"
#include "core/store/ConsoleDialogs.h"

using namespace vk;

using bench::Clock;
using bench::Seconds;

int main(int argc, char** argv)
{
    const int32_t samples = argc > 1 ? std::atoi(argv[1]) : SampleStore::Capacity;
    Recording rec;
    if (!rec.store.Allocate({true, false, false}, samples / SampleStore::BlockSamples + 1)) {
        std::fprintf(stderr, "no memory for %d samples\n", samples);
        return 1;
    }
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    ChannelDescriptor& d = rec.desc(0);
    d.SampRate = 1000;
    d.LowRng = -10;
    d.HighRng = 250;
    SetScaling(rec, 0);
    d.DataCnt = samples - 1;
    auto start = Clock::now();
    example::Simulator sim;
    bool report = false;
    for (int32_t i = 0; i < samples; ++i)
        WriteRaw(rec, i, PhysToRaw(rec, 0, report, sim.next().depth), 0);
    std::printf("generated %d samples in %.2f s\n", samples, Seconds(start));

    ViewState view;
    DiveState state;
    ConsoleDialogs ui;
    NoUndo undo;
    DiveContext cx{rec, view, state, ui, undo, {}};
    DiveParameters p;
    p.Threshold = 5;
    p.TrekBaseline = 1;
    p.WaterTemp = 0;
    start = Clock::now();
    int dives = 0;
    while (true) {
        const SearchOutcome o = SearchNext(cx, p);
        if (!o.accepted)
            break;
        AnalyseDive(rec, view.at, p, state, cx.setup, ui);
        CountDive(state.record, view.at.F5);
        ++dives;
    }
    const double s = Seconds(start);
    std::printf("dives found and analysed: %d (the generator made %zu)\n", dives, sim.dives().size());
    std::printf("time: %.2f s, %.0f dives/s, %.3f s per million samples\n", s, dives / s, s / (samples / 1e6));
}

#pragma once

// Dives for the dive-analysis tests: a recording whose depth channel holds
// given values, with the view, the dive state and the context the engines use.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core/dive/DiveSearch.h"
#include "core/example/ExampleRecording.h"
#include "support/ScriptedDialogs.h"

namespace vk::test {

// Another slot with values of its own at `interval` ms, scaled lo..hi.
void FillSlot(Recording& rec, int slot, const std::vector<double>& values, int32_t interval, double lo, double hi);
// The depth (slot 0, scaled -10..250 m) of a recording of that channel alone.
void FillDepth(Recording& rec, const std::vector<double>& depth, int32_t interval = 1000);

struct DiveBench {
    Recording rec;
    ViewState view;
    DiveState state;
    ScriptedDialogs ui;
    NoUndo undo;
    DiveParameters p;
    DiveContext cx{rec, view, state, ui, undo, {}};

    // Depth (slot 0) from the values at `interval` ms, scaled -10..250 m.
    explicit DiveBench(const std::vector<double>& depth, int32_t interval = 1000);
    // Another slot with values of its own (temperature, speed, positions).
    void fill(int slot, const std::vector<double>& values, int32_t interval, double lo, double hi);

    double t(int32_t index) const { return index * rec.desc(0).SampRate; }
    // Cursors on sample indexes: onset, bottom start, bottom end, end.
    void frame(int32_t f4, int32_t f8, int32_t f9, int32_t f5);
    int32_t at(double time) const { return static_cast<int32_t>(time / rec.desc(0).SampRate); }
};

// The example generator's depth, `seconds` long, and the dives it made.
struct Simulated {
    std::vector<double> depth;
    std::vector<example::DiveTruth> dives;  // those that end inside the record
};
Simulated Simulate(int64_t seconds);

// A dive of straight stretches: `before` samples at `surface`, down to `depth`
// in `down` samples, `stay` more at that depth, up in `up` samples, `after` at the surface.
std::vector<double> Trapezoid(double surface, int before, double depth, int down, int stay, int up, int after);

// A stop table with these descent stops (onset, end in ms).
StopTable DescentStops(std::initializer_list<std::pair<double, double>> stops);

// Pieces of dive profiles: straight stretches and level stays appended to a series.
void Line(std::vector<double>& v, double to, int samples);
void Stay(std::vector<double>& v, int samples);

}  // namespace vk::test

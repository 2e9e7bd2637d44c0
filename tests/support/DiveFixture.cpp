#include "support/DiveFixture.h"

#include "support/TempDir.h"

namespace vk::test {

namespace {

int RowsFor(std::size_t n)
{
    return static_cast<int>(n / SampleStore::BlockSamples) + 2;
}

}  // namespace

void FillSlot(Recording& rec, int slot, const std::vector<double>& values, int32_t interval, double lo, double hi)
{
    ChannelDescriptor& d = rec.desc(slot);
    d.SampRate = interval;
    d.LowRng = lo;
    d.HighRng = hi;
    SetScaling(rec, slot);
    d.DataCnt = static_cast<int32_t>(values.size()) - 1;
    bool report = false;
    for (std::size_t i = 0; i < values.size(); ++i)
        WriteRaw(rec, static_cast<int32_t>(i), PhysToRaw(rec, slot, report, values[i]), slot);
    rec.at(slot).ChannelUsed = true;
}

void FillDepth(Recording& rec, const std::vector<double>& depth, int32_t interval)
{
    AllocateAll(rec, RowsFor(depth.size()));
    for (int s = 1; s < SlotCount; ++s)
        rec.at(s).ChannelUsed = false;
    FillSlot(rec, 0, depth, interval, -10, 250);
}

DiveBench::DiveBench(const std::vector<double>& depth, int32_t interval)
{
    FillDepth(rec, depth, interval);
}

void DiveBench::fill(int slot, const std::vector<double>& values, int32_t interval, double lo, double hi)
{
    FillSlot(rec, slot, values, interval, lo, hi);
}

void DiveBench::frame(int32_t f4, int32_t f8, int32_t f9, int32_t f5)
{
    view.at.F4 = t(f4);
    view.at.B1 = t(f8);
    view.at.B2 = t(f9);
    view.at.F5 = t(f5);
}

Simulated Simulate(int64_t seconds)
{
    Simulated s;
    example::Simulator sim;
    for (int64_t k = 0; k < seconds; ++k)
        s.depth.push_back(sim.next().depth);
    for (const example::DiveTruth& d : sim.dives())
        if (d.end < seconds)
            s.dives.push_back(d);
    return s;
}

std::vector<double> Trapezoid(double surface, int before, double depth, int down, int stay, int up, int after)
{
    std::vector<double> v(static_cast<std::size_t>(before), surface);
    Line(v, depth, down);
    Stay(v, stay);
    Line(v, surface, up);
    Stay(v, after);
    return v;
}

StopTable DescentStops(std::initializer_list<std::pair<double, double>> stops)
{
    StopTable t;
    for (const auto& [on, off] : stops)
        t.stop[0][static_cast<std::size_t>(t.count[0]++)] = {on, off, 0, 0, true};
    return t;
}

void Line(std::vector<double>& v, double to, int samples)
{
    example::LineTo(v, to, samples);
}

void Stay(std::vector<double>& v, int samples)
{
    example::StayFor(v, samples);
}

}  // namespace vk::test

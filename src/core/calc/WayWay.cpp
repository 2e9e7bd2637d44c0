#include "core/calc/WayWay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/store/Channel.h"
#include "core/store/ChunkValues.h"
#include "core/store/FileUtil.h"
#include "core/store/Parallel.h"

namespace vk {

namespace {

constexpr double MsPerSecond = 1000.0;
constexpr int32_t WalkChunk = 4096;
constexpr int64_t PartSamples = 1 << 21;  // fewer samples a part would not repay a thread

int64_t IndexOf(double f, double interval)
{
    constexpr double Far = 9e15;
    const double q = std::trunc(f / interval);
    return std::isnan(q) ? -1 : static_cast<int64_t>(std::clamp(q, -Far, Far));
}

#if defined(__x86_64__)
#define VK_LANES __attribute__((target_clones("avx2", "default")))
#else
#define VK_LANES
#endif

// The horizontal steps h[k] of depths z (z[-1] readable) at speeds v: what a
// depth change leaves of the path, 0 where the change is the longer (a speed
// error; their count is returned). Branch-free, so that it runs lane by lane.
VK_LANES int64_t Steps(const double* z, const double* v, int32_t n, double seconds, double* h)
{
    int64_t errors = 0;
    for (int32_t k = 0; k < n; ++k) {
        const double path = std::fabs(v[k] * seconds), dz = std::fabs(z[k] - z[k - 1]);
        const double square = (path - dz) * (path + dz);  // negative exactly when dz > path
        h[k] = std::sqrt(square > 0.0 ? square : 0.0);
        errors += square < 0.0 ? 1 : 0;
    }
    return errors;
}

bool AnyMissing(const double* x, int32_t n)
{
    bool missing = false;
    for (int32_t k = 0; k < n; ++k)
        missing |= std::isnan(x[k]);
    return missing;
}

// The depth samples and their steps chunk by chunk.
class StepReader {
public:
    StepReader(const Recording& rec, const WayWayRequest& r, StoredSection range)
            : rec_(rec),
              r_(r),
              range_(range),
              depth_(rec, r.depthSlot, WalkChunk, 0, 1),
              speed_(rec, r.speedSlot, WalkChunk, 0, 0),
              seconds_(ChannelView(rec, r.depthSlot).interval() / MsPerSecond),
              ratio_(static_cast<double>(ChannelView(rec, r.depthSlot).interval()) /
                     ChannelView(rec, r.speedSlot).interval()),
              speeds_(WalkChunk),
              steps_(WalkChunk)
    {
    }

    // Whether the speed channel has samples for the whole section.
    bool speedCovers() const
    {
        const ChannelView speed(rec_, r_.speedSlot);
        return speed.stores(speedIndex(range_.first)) && speedIndex(range_.last) <= speed.last();
    }

    // Samples i .. i + n - 1 (n <= WalkChunk); false when a value is missing.
    bool load(int32_t i, int32_t n)
    {
        z_ = depth_.load(i, n);
        const double* v;
        if (ratio_ == 1.0) {
            v = speed_.load(i, n);
        } else {
            for (int32_t k = 0; k < n; ++k) {
                const PhysValue p = ReadValue(rec_, speedIndex(i + k), r_.speedSlot);
                speeds_[static_cast<std::size_t>(k)] = p.status == 0 ? p.value : NoValue;
            }
            v = speeds_.data();
        }
        if ((depth_.holes() && AnyMissing(z_, n)) || (ratio_ != 1.0 || speed_.holes() ? AnyMissing(v, n) : false))
            return false;
        errors_ += Steps(z_, v, n, seconds_, steps_.data());
        // The section's first sample: a step only from a sample with a value before it.
        if (i == range_.first && (i <= ChannelView(rec_, r_.depthSlot).firstStored() || std::isnan(z_[-1]))) {
            const double path = std::fabs(v[0] * seconds_), dz = std::fabs(z_[0] - z_[-1]);
            errors_ -= path >= dz ? 0 : 1;  // not a speed error: there was no step
            steps_[0] = 0;
        }
        return true;
    }

    const double* depths() const { return z_; }
    const double* steps() const { return steps_.data(); }
    int64_t errors() const { return errors_; }

private:
    int32_t speedIndex(int32_t i) const { return ratio_ == 1.0 ? i : static_cast<int32_t>(std::floor(i * ratio_)); }

    const Recording& rec_;
    WayWayRequest r_;
    StoredSection range_;
    ChunkValues depth_, speed_;
    double seconds_, ratio_;
    std::vector<double> speeds_, steps_;
    const double* z_ = nullptr;
    int64_t errors_ = 0;
};

// Calls f(i, n, reader) for each chunk of the section; false when a value is missing.
template <typename F>
bool ForEachChunk(StepReader& reader, StoredSection range, F f)
{
    if (!reader.speedCovers())
        return false;
    for (int32_t i = range.first; i <= range.last; i += WalkChunk) {
        const int32_t n = std::min(WalkChunk, range.last - i + 1);
        if (!reader.load(i, n))
            return false;
        f(i, n, reader);
    }
    return true;
}

// Sums and extremes in four lanes each, which need not wait for each other.
VK_LANES WayWayChunk Summary(int32_t i, int32_t n, double start, const double* z, const double* h)
{
    constexpr int Lanes = 4;
    double sum[Lanes] = {0, 0, 0, 0}, low[Lanes], high[Lanes];
    for (int j = 0; j < Lanes; ++j)
        low[j] = high[j] = z[0];
    int32_t k = 0;
    for (; k + Lanes <= n; k += Lanes)
        for (int j = 0; j < Lanes; ++j) {
            const double y = z[k + j];
            sum[j] += h[k + j];
            low[j] = y < low[j] ? y : low[j];
            high[j] = y > high[j] ? y : high[j];
        }
    for (; k < n; ++k) {
        sum[0] += h[k];
        low[0] = std::min(low[0], z[k]);
        high[0] = std::max(high[0], z[k]);
    }
    return {i,
            n,
            start,
            (sum[0] + sum[1]) + (sum[2] + sum[3]),
            z[0],
            z[n - 1],
            std::min(std::min(low[0], low[1]), std::min(low[2], low[3])),
            std::max(std::max(high[0], high[1]), std::max(high[2], high[3]))};
}

void Add(WayWayColumn& c, double first, double last, double low, double high)
{
    if (!c.any)
        c = {true, first, last, low, high};
    c.last = last;
    c.min = std::min(c.min, low);
    c.max = std::max(c.max, high);
}

}  // namespace

bool WayWayChannelsPresent(const Recording& rec, int depthSlot, int speedSlot)
{
    const auto holds = [&](int s) { return s >= 0 && s < SlotCount && HoldsData(rec, s); };
    return depthSlot != speedSlot && holds(depthSlot) && holds(speedSlot);
}

StoredSection WayWaySamples(const ChannelView& depth, double f4, double f5)
{
    if (!(depth.interval() > 0))
        return {};
    return StoredPart(depth, IndexOf(f4, depth.interval()), IndexOf(f5, depth.interval()) + 1);
}

WayWaySums SumWayWay(const Recording& rec, const WayWayRequest& r)
{
    WayWaySums sums;
    sums.range = WayWaySamples(ChannelView(rec, r.depthSlot), r.f4, r.f5);
    if (sums.range.count() <= 0)
        return sums;
    // A long section in parts of whole chunks, each walked on a core of its
    // own; the chunks are those of one walk, so the sums are too.
    const int64_t chunks = (sums.range.count() + WalkChunk - 1) / WalkChunk;
    const int parts = PartsFor(sums.range.count(), PartSamples);
    struct Part {
        bool enough = false;
        int64_t errors = 0;
        std::vector<WayWayChunk> chunks;
    };
    std::vector<Part> walked(static_cast<std::size_t>(parts));
    InParallel(parts, [&](int k) {
        const int64_t first = chunks * k / parts, last = chunks * (k + 1) / parts;  // chunks first .. last - 1
        const StoredSection part{
            static_cast<int32_t>(sums.range.first + first * WalkChunk),
            static_cast<int32_t>(std::min<int64_t>(sums.range.last, sums.range.first + last * WalkChunk - 1))};
        StepReader reader(rec, r, sums.range);
        Part& mine = walked[static_cast<std::size_t>(k)];
        mine.enough = ForEachChunk(reader, part, [&](int32_t i, int32_t n, const StepReader& read) {
            mine.chunks.push_back(Summary(i, n, 0, read.depths(), read.steps()));
        });
        mine.errors = reader.errors();
    });
    sums.enough = true;
    double distance = 0;
    for (Part& p : walked) {
        sums.enough = sums.enough && p.enough;
        sums.speedErrors += p.errors;
        for (WayWayChunk& c : p.chunks) {
            c.start = distance;
            distance += c.length;
            sums.chunks.push_back(c);
        }
    }
    sums.distance = distance;
    return sums;
}

int DistanceColumn(double d, double distance, int width)
{
    if (!(distance > 0))
        return 0;
    return static_cast<int>(std::lround(std::clamp(d / distance, 0.0, 1.0) * width));
}

std::vector<WayWayColumn> TraceWayWay(const Recording& rec, const WayWayRequest& r, const WayWaySums& sums, int width)
{
    std::vector<WayWayColumn> columns(static_cast<std::size_t>(std::max(width, 0) + 1));
    if (!sums.enough)
        return columns;
    const auto column = [&](double d) -> WayWayColumn& {
        return columns[static_cast<std::size_t>(DistanceColumn(d, sums.distance, width))];
    };
    StepReader reader(rec, r, sums.range);
    for (const WayWayChunk& c : sums.chunks) {
        if (DistanceColumn(c.start, sums.distance, width) == DistanceColumn(c.start + c.length, sums.distance, width)) {
            Add(column(c.start), c.zFirst, c.zLast, c.zMin, c.zMax);
            continue;
        }
        if (!reader.load(c.first, c.count))
            break;
        const double *z = reader.depths(), *h = reader.steps();
        double walked = c.start;
        // The column as DistanceColumn gives it, without rounding each sample:
        // round(t) passes col where t reaches col + 0.5.
        int col = DistanceColumn(c.start, sums.distance, width);
        for (int32_t k = 0; k < c.count; ++k) {
            walked += h[k];
            const double t = std::clamp(walked / sums.distance, 0.0, 1.0) * width;
            while (col < width && t >= col + 0.5)
                ++col;
            Add(columns[static_cast<std::size_t>(col)], z[k], z[k], z[k], z[k]);
        }
    }
    return columns;
}

bool ExportWayWay(const Recording& rec, const WayWayRequest& r, const std::string& path)
{
    const StoredSection range = WayWaySamples(ChannelView(rec, r.depthSlot), r.f4, r.f5);
    SafeFileWriter out(path);
    std::string text;
    constexpr std::size_t Flush = 1 << 20;
    StepReader reader(rec, r, range);
    double walked = 0;
    const bool enough = ForEachChunk(reader, range, [&](int32_t, int32_t n, const StepReader& read) {
        const double *z = read.depths(), *h = read.steps();
        for (int32_t k = 0; k < n; ++k) {
            walked += h[k];
            char line[64];
            const int length = std::snprintf(line, sizeof line, "%8.2f\t%8.2f\r\n", walked, z[k]);
            text.append(line, static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(sizeof line) - 1)));
        }
        if (text.size() >= Flush) {
            out.write(text);
            text.clear();
        }
    });
    out.write(text);
    if (!enough || range.count() <= 0)
        out.fail();
    return out.commit();
}

std::string WayWayClickCaption(int dive, double distance, double depth)
{
    char text[96];
    std::snprintf(text, sizeof text, "Dive%d  %.2f   %.2f", dive, distance, depth);
    return text;
}

std::string WayWayTagText(double distance, double depth)
{
    char text[80];
    std::snprintf(text, sizeof text, "%.2f; %.2f", distance, depth);
    return text;
}

}  // namespace vk

#pragma once

// Alternating maxima and minima of a channel, found with a hysteresis: a
// maximum counts once the values have fallen h below it, a minimum once they
// have risen h above it. Frequency tags, wiggles, bouts and the envelope use it.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/store/Stretches.h"

namespace vk {

struct Extremum {
    int32_t index = 0;
    double value = 0;
    double peakToPeak = 0;  // value - the previous extremum's value
    double frequency = 0;   // of a maximum between two minima: 1 / their distance in s
    double integral = 0;    // of that maximum: sum of value x interval over the two minima's stretch, value x s
    int32_t type = 0;       // 1 maximum, -1 minimum
};

using ValueAt = std::function<double(int32_t)>;

// The next extremum after `from` up to `to` with hysteresis h; type 0 when the
// stretch ends first. On a plateau the extremum sits in its middle.
Extremum NextExtremum(const ValueAt& value, int32_t from, int32_t to, double h);
// The same with any reader of values, called directly (for passes over whole channels).
template <typename Value>
Extremum NextExtremumOf(const Value& value, int32_t from, int32_t to, double h);

namespace detail {
// h or more apart, and apart at all: a hysteresis of 0 tags every change.
inline bool Apart(double high, double low, double h)
{
    return high - low >= h && high > low;
}

}  // namespace detail

template <typename Value>
Extremum NextExtremumOf(const Value& value, int32_t from, int32_t to, double h)
{
    Extremum e;
    if (from > to)
        return e;
    double hi = value(from), lo = hi;
    int32_t hiAt = from, loAt = from;
    int32_t i = from;
    while (!detail::Apart(hi, lo, h)) {
        if (++i > to)
            return e;
        const double v = value(i);
        if (v > hi) {
            hi = v;
            hiAt = i;
        }
        if (v < lo) {
            lo = v;
            loAt = i;
        }
    }
    const bool rising = loAt < hiAt;  // the minimum came first
    double peak = rising ? hi : lo;
    int32_t peakAt = rising ? hiAt : loAt;
    int32_t plateau = 0;
    for (int32_t k = peakAt + 1;; ++k) {
        if (k > to)
            return e;
        const double v = value(k);
        if (rising ? v > peak : v < peak) {
            peak = v;
            peakAt = k;
            plateau = 0;
        } else if (v == peak) {
            ++plateau;
        } else if (rising ? detail::Apart(peak, v, h) : detail::Apart(v, peak, h)) {
            break;
        }
    }
    e.index = peakAt + plateau / 2;
    e.value = peak;
    e.type = rising ? 1 : -1;
    return e;
}

// A maximum between minima at samples a and b: the integral of the values
// from a to b (value x s) and the frequency of that one wave (0 for no time).
template <typename Value>
void SetWave(Extremum& top, const Value& value, int32_t a, int32_t b, double intervalMs)
{
    double sum = 0;
    for (int32_t k = a; k <= b; ++k)
        sum += value(k);
    top.integral = sum * intervalMs / 1000.0;
    const double seconds = (b - a) * intervalMs / 1000.0;
    top.frequency = seconds > 0 ? 1.0 / seconds : 0.0;
}

// All extrema from p to q, with peak-to-peak values, integrals and frequencies.
std::vector<Extremum> FindExtrema(const ValueAt& value, int32_t p, int32_t q, double h, double intervalMs);
// The same with any reader of values, called directly (for passes over whole
// channels); `reached(at)` hears how far the search has come.
template <typename Value, typename Reached = void (*)(int32_t)>
std::vector<Extremum> FindExtremaOf(
    const Value& value, int32_t p, int32_t q, double h, double intervalMs, Reached reached = [](int32_t) {})
{
    std::vector<Extremum> list;
    int32_t at = p;
    while (true) {
        reached(at);
        Extremum e = NextExtremumOf(value, at, q, h);
        if (e.type == 0)
            break;
        list.push_back(e);
        const std::size_t n = list.size();
        if (n >= 3 && e.type == -1 && list[n - 2].type == 1 && list[n - 3].type == -1) {
            SetWave(list[n - 2], value, list[n - 3].index, e.index, intervalMs);
        }
        // A plateau's middle can lie before where the search stopped; never go back.
        at = e.index > at ? e.index : at + 1;
    }
    for (std::size_t k = 1; k < list.size(); ++k)
        list[k].peakToPeak = list[k].value - list[k - 1].value;
    return list;
}

// FindExtremaOf stretch by stretch over the slot's samples p .. q (runs
// without a missing value): the stand-in value of a missing sample is never
// taken for an extremum, and no wave spans a gap. Without gaps it is
// FindExtremaOf itself.
template <typename Value, typename Reached = void (*)(int32_t)>
std::vector<Extremum> FindExtremaInStretches(
    const Recording& rec, int slot, const Value& value, int32_t p, int32_t q, double h, double intervalMs,
    Reached reached = [](int32_t) {})
{
    if (rec.at(slot).missing.empty())
        return FindExtremaOf(value, p, q, h, intervalMs, reached);
    std::vector<Extremum> all;
    ForEachStretch(rec, slot, StoredPart(ChannelView(rec, slot), p, q), [&](int32_t lo, int32_t hi) {
        std::vector<Extremum> part = FindExtremaOf(value, std::max(lo, p), std::min(hi, q), h, intervalMs, reached);
        auto next = part.begin();
        // Across a gap the tags still alternate: of two of a kind the more extreme stays.
        if (!all.empty() && next != part.end() && next->type == all.back().type) {
            if ((next->type == 1) == (next->value > all.back().value)) {
                all.back() = *next;
                all.back().peakToPeak = all.size() > 1 ? all.back().value - all[all.size() - 2].value : 0;
            }
            ++next;
        }
        if (!all.empty() && next != part.end())
            next->peakToPeak = next->value - all.back().value;
        all.insert(all.end(), next, part.end());
    });
    return all;
}

}  // namespace vk

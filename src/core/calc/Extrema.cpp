#include "core/calc/Extrema.h"

namespace vk {

namespace {

// h or more apart, and apart at all: a hysteresis of 0 tags every change.
bool Apart(double high, double low, double h)
{
    return high - low >= h && high > low;
}

}  // namespace

Extremum NextExtremum(const ValueAt& value, int32_t from, int32_t to, double h)
{
    Extremum e;
    if (from > to)
        return e;
    double hi = value(from), lo = hi;
    int32_t hiAt = from, loAt = from;
    int32_t i = from;
    while (!Apart(hi, lo, h)) {
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
        } else if (rising ? Apart(peak, v, h) : Apart(v, peak, h)) {
            break;
        }
    }
    e.index = peakAt + plateau / 2;
    e.value = peak;
    e.type = rising ? 1 : -1;
    return e;
}

std::vector<Extremum> FindExtrema(const ValueAt& value, int32_t p, int32_t q, double h, double intervalMs)
{
    std::vector<Extremum> list;
    int32_t at = p;
    while (true) {
        Extremum e = NextExtremum(value, at, q, h);
        if (e.type == 0)
            break;
        list.push_back(e);
        const std::size_t n = list.size();
        if (n >= 3 && e.type == -1 && list[n - 2].type == 1 && list[n - 3].type == -1) {
            Extremum& top = list[n - 2];
            const int32_t a = list[n - 3].index, b = e.index;
            double sum = 0;
            for (int32_t k = a; k <= b; ++k)
                sum += value(k);
            top.integral = sum * intervalMs / 1000.0;
            const double seconds = (b - a) * intervalMs / 1000.0;
            top.frequency = seconds > 0 ? 1.0 / seconds : 0.0;
        }
        // A plateau's middle can lie before where the search stopped; never go back.
        at = e.index > at ? e.index : at + 1;
    }
    for (std::size_t k = 1; k < list.size(); ++k)
        list[k].peakToPeak = list[k].value - list[k - 1].value;
    return list;
}

}  // namespace vk

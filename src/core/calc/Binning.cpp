#include "core/calc/Binning.h"

#include <algorithm>
#include <cmath>

namespace vk {

int Bins::binOf(double y) const
{
    if (!(width > 0))
        return -1;
    const double b = std::floor((y - minBin) / width);
    if (!(b >= 0))  // below the table, or NaN
        return -1;
    return b >= BinCount - 1 ? BinCount - 1 : static_cast<int>(b);
}

double Bins::median(int64_t total) const
{
    const int64_t half = total / 2;
    int64_t running = 0;
    for (int i = 0; i < BinCount - 2; ++i) {
        running += counts[static_cast<std::size_t>(i)];
        if (running > half)
            return lowerEdge(i);
    }
    return lowerEdge(BinCount - 2);
}

double HistogramMedian(const std::vector<double>& values)
{
    if (values.empty())
        return 0;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return BinnedMedian(static_cast<int64_t>(values.size()), *lo, *hi, [&](Bins& bins) {
        for (const double v : values)
            bins.add(v);
    });
}

}  // namespace vk

#pragma once

// Values sorted into 256 bins of one width: the histogram, and the median
// estimate of the statistics and of the dive results.

#include <array>
#include <cstdint>
#include <vector>

namespace vk {

inline constexpr int BinCount = 256;

struct Bins {
    double minBin = 0;  // lower edge of bin 0
    double width = 1;
    std::array<int64_t, BinCount> counts{};

    // The bin of y: floor((y - minBin) / width), the last bin for all above;
    // -1 below bin 0 (not counted), and for a width that is not positive.
    int binOf(double y) const;
    // Counts n values y.
    void add(double y, int64_t n = 1)
    {
        if (const int b = binOf(y); b >= 0)
            counts[static_cast<std::size_t>(b)] += n;
    }
    double lowerEdge(int bin) const { return minBin + bin * width; }
    // The lower edge of the first bin at which the running count exceeds
    // total / 2 (whole division), or of bin 254 at the latest.
    double median(int64_t total) const;
};

// The median estimate of values: 254 bins between their least and greatest
// (one value: itself; a spread under 1e-6: the middle of least and greatest).
// `values(bins)` adds every value to the bins it is given.
template <typename AddValues>
double BinnedMedian(int64_t total, double least, double greatest, AddValues values)
{
    constexpr double Flat = 1e-6;
    if (total <= 1 || greatest - least < Flat)
        return total == 1 ? least : (greatest + least) / 2;
    Bins bins;
    bins.minBin = least;
    bins.width = (greatest - least) / (BinCount - 2);
    values(bins);
    return bins.median(total);
}

// BinnedMedian of a list of values; 0 for none.
double HistogramMedian(const std::vector<double>& values);

}  // namespace vk

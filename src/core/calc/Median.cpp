#include "core/calc/Median.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vk {

double HistogramMedian(const std::vector<double>& values)
{
    if (values.empty())
        return 0;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double low = *lo, high = *hi;
    if (high - low < 1e-6)
        return (high + low) / 2;
    const double width = (high - low) / 254;
    std::array<int32_t, 256> classes{};
    for (const double v : values)
        classes[static_cast<std::size_t>(std::clamp(static_cast<int>((v - low) / width), 0, 255))]++;
    const double half = values.size() / 2.0;
    int32_t running = 0;
    for (int i = 0; i <= 254; ++i) {
        running += classes[static_cast<std::size_t>(i)];
        if (running > half)
            return low + i * width;
    }
    return low + 254 * width;
}

}  // namespace vk

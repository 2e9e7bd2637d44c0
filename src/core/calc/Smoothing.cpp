#include "core/calc/Smoothing.h"

#include <algorithm>

namespace vk {

void RunningMean(std::vector<double>& x, int width)
{
    const int half = std::max(width, 1) / 2;
    const std::size_t n = x.size();
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        prefix[i + 1] = prefix[i] + x[i];
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t h = std::min({static_cast<std::size_t>(half), i, n - 1 - i});
        x[i] = (prefix[i + h + 1] - prefix[i - h]) / static_cast<double>(2 * h + 1);
    }
}

void Difference(std::vector<double>& x)
{
    if (x.empty())
        return;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        x[i] = x[i + 1] - x[i];
    x.pop_back();
}

}  // namespace vk

#include "core/calc/SlidingRange.h"

#include <algorithm>

namespace vk {

namespace {

inline double Greater(double a, double b)
{
    return a > b ? a : b;
}
inline double Less(double a, double b)
{
    return a < b ? a : b;
}

}  // namespace

void SlidingRange(const double* y, int32_t count, int32_t width, WindowRanges& out)
{
    if (count <= 0 || width < 1)
        return;
    const auto n = static_cast<std::size_t>(count + width - 1);
    for (std::vector<double>* v : {&out.mostFromStart, &out.leastFromStart, &out.mostToEnd, &out.leastToEnd})
        v->resize(n);
    double *hiUp = out.mostFromStart.data(), *loUp = out.leastFromStart.data();
    double *hiDown = out.mostToEnd.data(), *loDown = out.leastToEnd.data();
    for (std::size_t b0 = 0; b0 < n; b0 += static_cast<std::size_t>(width)) {
        const std::size_t b1 = std::min(n, b0 + static_cast<std::size_t>(width));
        hiUp[b0] = loUp[b0] = y[b0];
        for (std::size_t j = b0 + 1; j < b1; ++j) {
            hiUp[j] = Greater(y[j], hiUp[j - 1]);
            loUp[j] = Less(y[j], loUp[j - 1]);
        }
        hiDown[b1 - 1] = loDown[b1 - 1] = y[b1 - 1];
        for (std::size_t j = b1 - 1; j-- > b0;) {
            hiDown[j] = Greater(y[j], hiDown[j + 1]);
            loDown[j] = Less(y[j], loDown[j + 1]);
        }
    }
    out.most.resize(static_cast<std::size_t>(count));
    out.least.resize(static_cast<std::size_t>(count));
    const auto last = static_cast<std::size_t>(width - 1);
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        out.most[k] = Greater(hiDown[k], hiUp[k + last]);
        out.least[k] = Less(loDown[k], loUp[k + last]);
    }
}

}  // namespace vk

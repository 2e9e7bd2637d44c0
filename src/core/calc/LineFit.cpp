#include "core/calc/LineFit.h"

#include <cmath>

namespace vk {

LineFit FitLine(const ChannelSeries& series, int32_t from, int32_t to)
{
    LineFit fit;
    const double n = to - from + 1;
    if (n < 2)
        return fit;
    const double seconds = series.interval() / 1000.0;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int32_t i = from; i <= to; ++i) {
        const double x = (i - from) * seconds, y = series(i);
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
    }
    const double vx = n * sxx - sx * sx, vy = n * syy - sy * sy, cov = n * sxy - sx * sy;
    if (vx > 0)
        fit.gradient = cov / vx;
    if (vx > 0 && vy > 0)
        fit.correlation = cov / std::sqrt(vx * vy);
    return fit;
}

}  // namespace vk

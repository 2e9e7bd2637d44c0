#include "core/calc/LineFit.h"

#include <cmath>

namespace vk {

FittedLine LineOf(const LineSums& s, double delta, double centre, double shift)
{
    FittedLine line;
    if (s.n < 2)
        return line;
    const double sxx = delta * delta * (s.suu - s.su * s.su / s.n);
    const double syy = s.sdd - s.sd * s.sd / s.n;
    const double sxy = delta * (s.sud - s.su * s.sd / s.n);
    if (sxx > 0)
        line.a = sxy / sxx;
    const double meanX = delta * (centre + s.su / s.n), meanY = shift + s.sd / s.n;
    line.b = meanY - line.a * meanX;
    if (sxx * syy > 0)
        line.cc = sxy / std::sqrt(sxx * syy);
    return line;
}

LineFit FitLine(const ChannelSeries& series, int32_t from, int32_t to)
{
    if (to - from + 1 < 2)
        return {};
    const double centre = (static_cast<double>(from) + to) / 2, shift = series(from);
    LineSums sums;
    for (int32_t i = from; i <= to; ++i)
        sums.add(i - centre, series(i) - shift);
    const FittedLine line = LineOf(sums, series.interval() / 1000.0, centre, shift);
    return {line.a, line.cc};
}

}  // namespace vk

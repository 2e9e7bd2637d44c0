#include "core/view/PixelMap.h"

#include <cmath>
#include <limits>

namespace vk {

namespace {

// Pixel coordinates far outside any strip stay finite for the painter.
int Clamp(double p)
{
    constexpr double limit = 1 << 24;
    if (!(p > -limit))
        return -(1 << 24);
    if (p > limit)
        return 1 << 24;
    return static_cast<int>(p);
}

}  // namespace

DisplayRange DisplayRangeOf(const ChannelDescriptor& d)
{
    DisplayRange r{d.Min - d.yOffset, d.Max - d.yOffset};
    const double m = (r.hi - r.lo) / 16.0;
    r.lo -= m;
    r.hi += m;
    return r;
}

int ValueToRow(double v, const DisplayRange& r, int height, DrawDirection direction)
{
    const int p = Clamp(std::round((v - r.lo) * height / (r.hi - r.lo)));
    return direction == DrawDirection::Upwards ? height - p : p;
}

double RowToValue(int row, const DisplayRange& r, int height, DrawDirection direction)
{
    const double y = static_cast<double>(row) / height;
    return (direction == DrawDirection::Upwards ? 1.0 - y : y) * (r.hi - r.lo) + r.lo;
}

int SampleColumn(double t, double f1, double f2, int width)
{
    return Clamp(std::floor((t - f1) * width / (f2 - f1)));
}

int LineColumn(double t, double f1, double f2, int width)
{
    return Clamp(std::round((t - f1) * width / (f2 - f1)));
}

double ColumnToTime(double x, double f1, double f2, int width)
{
    return x / width * (f2 - f1) + f1;
}

}  // namespace vk

#include "core/view/Overlays.h"

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

constexpr int MaxLines = 4096;  // a grid finer than the pixels draws no more than this

bool InsideStrip(int row, int height)
{
    return row > 1 && row < height - 1;
}

}  // namespace

std::vector<int> GridRows(const ChannelDescriptor& d, int height)
{
    std::vector<int> rows;
    const DisplayRange r = DisplayRangeOf(d);
    const double step = d.GridDist;
    if (!(step > 0) || r.empty())
        return rows;
    const double y0 = d.Min - d.yOffset, y1 = d.Max - d.yOffset;
    double v = step * std::trunc(y0 / step);
    for (int n = 0; n < MaxLines; ++n) {
        const int row = ValueToRow(v, r, height, DirectionOf(d));
        if (InsideStrip(row, height))
            rows.push_back(row);
        v += step;
        if (v >= y1)
            break;
    }
    return rows;
}

std::vector<int> SubsidiaryRows(const SubsidiaryLines& lines, const ChannelDescriptor& d, int height)
{
    std::vector<int> rows;
    const DisplayRange r = DisplayRangeOf(d);
    if (lines[0].flag == 0.0 || r.empty())
        return rows;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const SubsidiaryLine& line = lines[k];
        if (line.flag == 0.0 || !(line.value > r.lo && line.value < r.hi))
            continue;
        const int row = ValueToRow(line.value, r, height, DirectionOf(d));
        if (InsideStrip(row, height) && std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    }
    return rows;
}

Extent CursorExtent(int height)
{
    return {height / 24, height - height / 24};
}

Extent BCursorExtent(int height, int position, int length)
{
    return {position * height / 10, std::min(height, (position + length) * height / 10)};
}

Extent ShCursorExtent(int height)
{
    return {height / 24 + height / 2, height - height / 24};
}

Extent WiggleMarkExtent(int height)
{
    return {height - height / 4, height - height / 24};
}

Extent StopMarkExtent(int height)
{
    return {height / 5, height / 3};
}

}  // namespace vk

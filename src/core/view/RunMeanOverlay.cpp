#include "core/view/RunMeanOverlay.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/view/PixelMap.h"

namespace vk {

std::vector<ColumnRange> RunMeanColumns(const Recording& rec, int slot, int32_t n, const LinePositions& at, int width)
{
    std::vector<ColumnRange> columns(static_cast<std::size_t>(std::max(width, 0)));
    const ChannelView channel(rec, slot);
    if (n <= 0 || width <= 0 || channel.interval() <= 0 || !(at.F2 > at.F1))
        return columns;
    // The section's indexes that the window shows, each with n values before it.
    const double interval = channel.interval();
    const int64_t first = std::max<int64_t>({static_cast<int64_t>(std::ceil(std::max(at.F4, at.F1) / interval)),
                                             int64_t{n} + 1, ChannelView(rec, slot).firstStored() + int64_t{n} - 1});
    const int64_t last =
        std::min<int64_t>(static_cast<int64_t>(std::floor(std::min(at.F5, at.F2) / interval)), channel.last());
    if (first > last)
        return columns;
    const ChannelSeries series(rec, slot);
    double sum = 0;
    int32_t missing = 0;
    auto take = [&](int64_t i, int sign) {
        const PhysValue v = series.read(static_cast<int32_t>(i));
        if (v.status == StatusMissing)
            missing += sign;
        else
            sum += sign * v.value;
    };
    for (int64_t i = first - n + 1; i <= first; ++i)
        take(i, 1);
    for (int64_t i = first;; ++i) {
        const int x = SampleColumn(static_cast<double>(i) * interval, at.F1, at.F2, width);
        if (missing == 0 && x >= 0 && x < width) {
            const double mean = sum / n;
            ColumnRange& c = columns[static_cast<std::size_t>(x)];
            c.lo = c.any ? std::min(c.lo, mean) : mean;
            c.hi = c.any ? std::max(c.hi, mean) : mean;
            c.any = true;
        }
        if (i == last)
            break;
        take(i + 1, 1);
        take(i + 1 - n, -1);
    }
    return columns;
}

const std::vector<ColumnRange>& RunMeanOverlay::columns(const Recording& rec, int slot, const LinePositions& at,
                                                        int width)
{
    const int32_t n = rec.desc(slot).RunMean;
    if (!valid_ || n != n_ || width != width_ || !(at == at_)) {
        columns_ = n > 0 ? RunMeanColumns(rec, slot, n, at, width) : std::vector<ColumnRange>{};
        valid_ = true;
        n_ = n;
        width_ = width;
        at_ = at;
    }
    return columns_;
}

}  // namespace vk

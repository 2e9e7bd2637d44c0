#include "core/view/Curve.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/view/PixelMap.h"

namespace vk {

namespace {

// Values of the channel are a straight function of the raw words (no
// difference, no polynomial, no workshop): the envelope of the raw words then
// gives the extremes of the values.
bool LinearInRaw(const Recording& rec, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    return !d.Derivation && !d.bApplyPolynom && rec.workshop == nullptr;
}

Curve SamplePoints(const Recording& rec, const CurveRequest& q)
{
    Curve c;
    const ChannelDescriptor& d = rec.desc(q.slot);
    const ChannelView channel(rec, q.slot);
    const int64_t k0 = static_cast<int64_t>(std::floor(q.f1 / channel.interval()));
    const int64_t k1 = static_cast<int64_t>(std::floor(q.f2 / channel.interval())) + 1;
    const bool thin = Thinned(q.f1, q.f2);
    const DisplayRange range = DisplayRangeOf(d);
    int lastX = 0, lastRow = 0;
    bool any = false, gap = false;
    for (int64_t k = std::max<int64_t>(k0, 0); k <= k1 && k <= INT32_MAX; ++k) {
        const PhysValue v = ReadValue(rec, static_cast<int32_t>(k), q.slot);
        if (v.status == -2)
            break;
        if (v.status == StatusMissing)
            gap = true;
        if (v.status != 0)
            continue;
        const int x = SampleColumn(static_cast<double>(k) * channel.interval(), q.f1, q.f2, q.width);
        const int row = ValueToRow(v.value, range, q.height, q.direction);
        if (thin && any && !gap && x <= lastX && row == lastRow)
            continue;
        c.points.push_back({x, v.value, gap});
        lastX = x;
        lastRow = row;
        any = true;
        gap = false;
    }
    return c;
}

// The first index whose sample column is at least c.
int64_t FirstIndexOfColumn(int c, const CurveRequest& q, double rate)
{
    auto k = static_cast<int64_t>(std::ceil((static_cast<double>(c) * (q.f2 - q.f1) / q.width + q.f1) / rate));
    while (SampleColumn(static_cast<double>(k) * rate, q.f1, q.f2, q.width) >= c)
        --k;
    while (SampleColumn(static_cast<double>(k) * rate, q.f1, q.f2, q.width) < c)
        ++k;
    return k;
}

Curve EnvelopeColumns(const Recording& rec, const CurveRequest& q)
{
    Curve c;
    const ChannelView channel(rec, q.slot);
    const double rate = channel.interval();
    const int64_t origin = channel.firstStored();
    const int64_t k0 = std::max<int64_t>(static_cast<int64_t>(std::floor(q.f1 / rate)), 0);
    // The last index with a value: the channel's end, or where its blocks end.
    const int64_t kEnd = std::min<int64_t>(
        {static_cast<int64_t>(std::floor(q.f2 / rate)) + 1, channel.last(), origin + q.envelope->count() - 1});
    if (kEnd < k0)
        return c;
    const Calibration calibration = channel.calibration();
    auto valueOf = [&](double raw) { return calibration.value(raw); };
    const int cFirst = SampleColumn(static_cast<double>(k0) * rate, q.f1, q.f2, q.width);
    const int cLast = SampleColumn(static_cast<double>(kEnd) * rate, q.f1, q.f2, q.width);
    c.columns.reserve(static_cast<std::size_t>(cLast - cFirst + 1));
    int64_t a = k0;
    int64_t lastValue = -1;  // the last index with a value drawn
    const bool gaps = AnyMissing(rec, q.slot, k0, kEnd + 1);
    for (int x = cFirst; x <= cLast && a <= kEnd; ++x) {
        const int64_t b = std::min(FirstIndexOfColumn(x + 1, q, rate), kEnd + 1);  // this column: a .. b-1
        if (b <= a)
            continue;
        RawExtremes e;
        if (a < origin)
            e.add(uint16_t{0});  // before the origin the channel reads raw 0
        if (b > origin)
            e.add(q.envelope->range(rec.store, q.slot, std::max(a, origin) - origin, b - origin));
        if (e.empty()) {  // nothing but missing values
            a = b;
            continue;
        }
        double lo = valueOf(e.min), hi = valueOf(e.max);
        if (lo > hi)
            std::swap(lo, hi);
        // The first and last sample with a value, for the steps between columns.
        const int64_t first = gaps ? AfterMissing(rec, q.slot, static_cast<int32_t>(a)) : a;
        const int64_t last = gaps ? BeforeMissing(rec, q.slot, static_cast<int32_t>(b - 1)) : b - 1;
        const bool broken = gaps && AnyMissing(rec, q.slot, lastValue < 0 ? k0 : lastValue + 1, first);
        c.columns.push_back({x, ReadValue(rec, static_cast<int32_t>(first), q.slot).value,
                             ReadValue(rec, static_cast<int32_t>(last), q.slot).value, lo, hi, broken});
        lastValue = last;
        a = b;
    }
    return c;
}

}  // namespace

Curve ComputeCurve(const Recording& rec, const CurveRequest& q)
{
    const ChannelView channel(rec, q.slot);
    if (!(q.f2 - q.f1 >= 1.0) || q.width <= 0 || channel.interval() <= 0)
        return {};
    const double perPixel = (q.f2 - q.f1) / channel.interval() / q.width;
    if (q.envelope && perPixel >= ColumnsFrom && LinearInRaw(rec, q.slot))
        return EnvelopeColumns(rec, q);
    return SamplePoints(rec, q);
}

}  // namespace vk

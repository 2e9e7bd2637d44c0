#include "core/files/Outliers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>

#include "core/store/NumberText.h"
#include "core/store/Parallel.h"

namespace vk {

namespace {

constexpr double BulkShare = 0.001;  // of the values left out at each end when the bulk is measured
constexpr double BoundSpans = 10;    // how many spans of the bulk beyond it a value may lie

bool Outside(double v, const OutlierBounds& b)
{
    return !std::isnan(v) && !(v >= b.low && v <= b.high);
}

}  // namespace

namespace {

template <typename Visit>
void EachValue(std::span<const textload::KeptValues> kept, Visit visit)
{
    for (const textload::KeptValues& k : kept)
        k.forEach([&visit](double v) {
            if (!std::isnan(v))
                visit(static_cast<float>(v));
        });
}

// The `keep` greatest values seen (by `before`, a strict order): values
// beyond the current cut are gathered and, at twice as many as kept, cut
// back to the greatest, so that a rising record costs no more than a flat one.
template <typename T, typename Before>
class Greatest {
public:
    explicit Greatest(std::size_t keep) : keep_(keep) { values_.reserve(2 * keep); }
    void take(T v)
    {
        if (!cutOnce_ || before_(cut_, v)) {
            values_.push_back(v);
            if (values_.size() == 2 * keep_)
                cutBack();
        }
    }
    // The greatest `keep` of the values seen (all of them when fewer), in no order.
    std::vector<T> values() &&
    {
        if (values_.size() > keep_)
            cutBack();
        return std::move(values_);
    }

private:
    void cutBack()
    {
        const auto nth = values_.begin() + static_cast<std::ptrdiff_t>(keep_ - 1);
        std::nth_element(values_.begin(), nth, values_.end(), [this](T a, T b) { return before_(b, a); });
        values_.resize(keep_);
        cut_ = *nth;
        cutOnce_ = true;
    }
    std::size_t keep_;
    std::vector<T> values_;
    T cut_ = 0;  // below it (by `before`) no value can be among the greatest, once cut back
    bool cutOnce_ = false;
    Before before_;
};

// The ends of one part's values: its greatest and least `keep` values (all
// when fewer), its least and greatest.
struct PartEnds {
    std::vector<float> high, low;
    float least = INFINITY, greatest = -INFINITY;
};

// The ends of the values that each(visit) visits (false: it could not visit
// them all), as floats by asFloat. A value's float rises with the value, so
// the floats of the ends found are the ends of the values' floats.
template <typename T, typename Each, typename AsFloat>
std::optional<PartEnds> EndsFrom(std::size_t keep, Each&& each, AsFloat&& asFloat)
{
    Greatest<T, std::less<T>> high(keep);
    Greatest<T, std::greater<T>> low(keep);
    constexpr T Far =
        std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity() : std::numeric_limits<T>::max();
    T least = Far, greatest = -Far;
    if (!each([&](T v) {
            high.take(v);
            low.take(v);
            least = std::min(least, v);
            greatest = std::max(greatest, v);
        }))
        return std::nullopt;
    auto asFloats = [&](std::vector<T> values) {
        std::vector<float> floats(values.size());
        std::transform(values.begin(), values.end(), floats.begin(), asFloat);
        return floats;
    };
    PartEnds ends;
    ends.high = asFloats(std::move(high).values());
    ends.low = asFloats(std::move(low).values());
    if (least <= greatest) {
        ends.least = asFloat(least);
        ends.greatest = asFloat(greatest);
    }
    return ends;
}

// On the values' digits where every value is kept as its digits (whole
// numbers in the values' order, no division a value), else on their floats.
PartEnds EndsOf(const textload::KeptValues& kept, std::size_t keep)
{
    int decimals = 0;
    std::optional<PartEnds> ends = EndsFrom<int64_t>(
        keep, [&](auto visit) { return kept.forEachDigits(decimals, visit); },
        [&](int64_t digits) {
            return static_cast<float>(static_cast<double>(digits) / detail::PowersOfTen[decimals]);
        });
    if (!ends)
        ends = EndsFrom<float>(
            keep,
            [&](auto visit) {
                EachValue({&kept, 1}, visit);
                return true;
            },
            [](float v) { return v; });
    return std::move(*ends);
}

// The value of the given rank (0 = the first by `before`) among the parts' values.
template <typename Before>
float OfRank(const std::vector<PartEnds>& parts, std::vector<float> PartEnds::*side, std::size_t rank)
{
    std::vector<float> all;
    for (const PartEnds& p : parts)
        all.insert(all.end(), (p.*side).begin(), (p.*side).end());
    const auto nth = all.begin() + static_cast<std::ptrdiff_t>(rank);
    std::nth_element(all.begin(), nth, all.end(), Before());
    return *nth;
}

}  // namespace

std::optional<OutlierBounds> FindOutliers(const std::vector<textload::KeptValues>& kept)
{
    std::size_t n = 0;
    for (const textload::KeptValues& k : kept)
        n += k.numbers();
    if (n == 0)
        return std::nullopt;
    // At least one value left out at each end: in a short file one absurd
    // value is more than the share. The bulk's ends exactly as a sort finds
    // them, in one pass over each part (side by side): each part's greatest
    // and least `trimmed` + 1 values hold those of them all.
    const std::size_t trimmed =
        std::min(std::max<std::size_t>(1, static_cast<std::size_t>(BulkShare * n)), (n - 1) / 2);
    std::vector<PartEnds> parts(kept.size());
    InParallel(static_cast<int>(kept.size()), [&](int k) {
        parts[static_cast<std::size_t>(k)] = EndsOf(kept[static_cast<std::size_t>(k)], trimmed + 1);
    });
    float least = INFINITY, greatest = -INFINITY;
    for (const PartEnds& p : parts) {
        least = std::min(least, p.least);
        greatest = std::max(greatest, p.greatest);
    }
    OutlierBounds b;
    b.bulkLow = OfRank<std::less<float>>(parts, &PartEnds::low, trimmed);
    b.bulkHigh = OfRank<std::greater<float>>(parts, &PartEnds::high, trimmed);
    if (!std::isfinite(b.bulkLow) || !std::isfinite(b.bulkHigh))
        return std::nullopt;  // the bulk itself is absurd: nothing to tell apart
    const double span = b.bulkHigh > b.bulkLow ? b.bulkHigh - b.bulkLow : std::max(std::fabs(b.bulkHigh), 1.0);
    b.low = b.bulkLow - BoundSpans * span;
    b.high = b.bulkHigh + BoundSpans * span;
    // A value outside the bounds: the least or the greatest is.
    const bool any = Outside(least, b) || Outside(greatest, b);
    return any ? std::optional(b) : std::nullopt;
}

void RangeWithout(const std::vector<textload::KeptValues>& kept, const OutlierBounds& b, double& smallest,
                  double& largest)
{
    smallest = Unreached;
    largest = -Unreached;
    EachValue(kept, [&](float v) {
        if (!Outside(v, b)) {
            smallest = std::min(smallest, static_cast<double>(v));
            largest = std::max(largest, static_cast<double>(v));
        }
    });
}

OutlierLines FindOutlierLines(const std::string& path, int64_t linesBefore, const textload::LineRules& rules,
                              const OutlierBounds& b, std::size_t listed)
{
    OutlierLines found;
    LineReader reader;
    if (!reader.open(path))
        return found;
    std::string_view line;
    for (int64_t n = 0; n < linesBefore && reader.next(line); ++n) {
    }
    for (int64_t n = linesBefore + 1; reader.next(line); ++n) {
        const textload::ClassifiedLine c = rules.classify(line);
        if (c.kind != textload::LineKind::Value || !Outside(c.value, b))
            continue;
        ++found.count;
        if (found.first.size() < listed)
            found.first.push_back(n);
    }
    return found;
}

std::string LineList(const std::vector<int64_t>& lines, int64_t count)
{
    std::string text;
    for (const int64_t n : lines)
        text += (text.empty() ? "" : ", ") + std::to_string(n);
    if (count > static_cast<int64_t>(lines.size()))
        text += " ...";
    return text;
}

}  // namespace vk

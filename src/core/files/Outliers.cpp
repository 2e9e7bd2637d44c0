#include "core/files/Outliers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
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

// The same found on the values' digits where every value is kept as its
// digits: whole numbers in the values' order, no division a value. A float
// of a value rises with the value, so the floats of the ends found are the
// ends of the values' floats.
std::optional<PartEnds> EndsOfDigits(const textload::KeptValues& kept, std::size_t keep)
{
    Greatest<int64_t, std::less<int64_t>> high(keep);
    Greatest<int64_t, std::greater<int64_t>> low(keep);
    int64_t least = INT64_MAX, greatest = INT64_MIN;
    int decimals = 0;
    if (!kept.forEachDigits(decimals, [&](int64_t digits) {
            high.take(digits);
            low.take(digits);
            least = std::min(least, digits);
            greatest = std::max(greatest, digits);
        }))
        return std::nullopt;
    const double scale = detail::PowersOfTen[decimals];
    auto asFloat = [scale](int64_t digits) { return static_cast<float>(static_cast<double>(digits) / scale); };
    auto asFloats = [&](std::vector<int64_t> digits) {
        std::vector<float> values(digits.size());
        std::transform(digits.begin(), digits.end(), values.begin(), asFloat);
        return values;
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

PartEnds EndsOf(const textload::KeptValues& kept, std::size_t keep)
{
    if (std::optional<PartEnds> ends = EndsOfDigits(kept, keep))
        return std::move(*ends);
    Greatest<float, std::less<float>> high(keep);
    Greatest<float, std::greater<float>> low(keep);
    PartEnds ends;
    EachValue({&kept, 1}, [&](float v) {
        high.take(v);
        low.take(v);
        ends.least = std::min(ends.least, v);
        ends.greatest = std::max(ends.greatest, v);
    });
    ends.high = std::move(high).values();
    ends.low = std::move(low).values();
    return ends;
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

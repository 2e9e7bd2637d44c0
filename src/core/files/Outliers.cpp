#include "core/files/Outliers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

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

constexpr int HalfBits = 16;
constexpr std::size_t Buckets = std::size_t{1} << HalfBits;

// A float's bits in an order that sorts as the floats do (NaN left aside).
uint32_t OrderedBits(float v)
{
    uint32_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return (u & 0x80000000u) ? ~u : (u | 0x80000000u);
}

float FromOrderedBits(uint32_t u)
{
    u = (u & 0x80000000u) ? (u & 0x7fffffffu) : ~u;
    float v = 0;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

template <typename Visit>
void EachValue(const std::vector<textload::KeptValues>& kept, Visit visit)
{
    for (const textload::KeptValues& k : kept)
        for (const float v : k.values)
            if (!std::isnan(v))
                visit(v);
}

// The values of the column apart from NaN: how many, the least and greatest,
// and their counts by the upper half of their ordered bits.
struct ValueCounts {
    std::size_t n = 0;
    float least = INFINITY, greatest = -INFINITY;
    std::vector<std::size_t> upper = std::vector<std::size_t>(Buckets, 0);
};

ValueCounts CountValues(const std::vector<textload::KeptValues>& kept)
{
    ValueCounts c;
    EachValue(kept, [&c](float v) {
        ++c.n;
        c.least = std::min(c.least, v);
        c.greatest = std::max(c.greatest, v);
        ++c.upper[OrderedBits(v) >> HalfBits];
    });
    return c;
}

// The values of the two ranks (0 = the least) exactly as a sort would give
// them, without a copy of the values: the bucket of the upper half of the
// ordered bits that holds each rank, then within it the lower half, both
// ranks in one more pass.
std::array<float, 2> ValuesOfRank(const std::vector<textload::KeptValues>& kept, const ValueCounts& counts,
                                  const std::array<std::size_t, 2>& ranks)
{
    std::array<std::size_t, 2> bucket{}, before{};
    for (std::size_t r = 0; r < 2; ++r)
        while (before[r] + counts.upper[bucket[r]] <= ranks[r])
            before[r] += counts.upper[bucket[r]++];
    std::array<std::vector<std::size_t>, 2> lower{std::vector<std::size_t>(Buckets, 0),
                                                  std::vector<std::size_t>(Buckets, 0)};
    EachValue(kept, [&](float v) {
        const uint32_t bits = OrderedBits(v);
        for (std::size_t r = 0; r < 2; ++r)
            if ((bits >> HalfBits) == bucket[r])
                ++lower[r][bits & (Buckets - 1)];
    });
    std::array<float, 2> found{};
    for (std::size_t r = 0; r < 2; ++r) {
        std::size_t low = 0;
        while (before[r] + lower[r][low] <= ranks[r])
            before[r] += lower[r][low++];
        found[r] = FromOrderedBits(static_cast<uint32_t>(bucket[r] << HalfBits | low));
    }
    return found;
}

}  // namespace

std::optional<OutlierBounds> FindOutliers(const std::vector<textload::KeptValues>& kept)
{
    const ValueCounts counts = CountValues(kept);
    const std::size_t n = counts.n;
    if (n == 0)
        return std::nullopt;
    // At least one value left out at each end: in a short file one absurd
    // value is more than the share.
    const std::size_t trimmed = std::min(std::max<std::size_t>(1, static_cast<std::size_t>(BulkShare * n)), (n - 1) / 2);
    const std::array<float, 2> bulk = ValuesOfRank(kept, counts, {trimmed, n - 1 - trimmed});
    OutlierBounds b;
    b.bulkLow = bulk[0];
    b.bulkHigh = bulk[1];
    if (!std::isfinite(b.bulkLow) || !std::isfinite(b.bulkHigh))
        return std::nullopt;  // the bulk itself is absurd: nothing to tell apart
    const double span = b.bulkHigh > b.bulkLow ? b.bulkHigh - b.bulkLow : std::max(std::fabs(b.bulkHigh), 1.0);
    b.low = b.bulkLow - BoundSpans * span;
    b.high = b.bulkHigh + BoundSpans * span;
    // A value outside the bounds: the least or the greatest is.
    const bool any = Outside(counts.least, b) || Outside(counts.greatest, b);
    return any ? std::optional(b) : std::nullopt;
}

void DropOutliers(std::vector<textload::KeptValues>& kept, const OutlierBounds& b, double& smallest,
                  double& largest)
{
    smallest = Unreached;
    largest = -Unreached;
    for (textload::KeptValues& k : kept)
        for (float& v : k.values) {
            if (Outside(v, b)) {
                v = NAN;
            } else if (!std::isnan(v)) {
                smallest = std::min(smallest, static_cast<double>(v));
                largest = std::max(largest, static_cast<double>(v));
            }
        }
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

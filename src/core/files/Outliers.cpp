#include "core/files/Outliers.h"

#include <algorithm>
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

// The values of rank `ranks` (0 = the least) among those that are not NaN,
// exactly as a sort would give them, without a copy of the values: counted
// by the upper half of their ordered bits, then, within the bucket that holds
// each rank, by the lower half.
std::vector<float> ValuesOfRank(const std::vector<textload::KeptValues>& kept, const std::vector<std::size_t>& ranks)
{
    std::vector<std::size_t> upper(Buckets, 0);
    EachValue(kept, [&upper](float v) { ++upper[OrderedBits(v) >> HalfBits]; });
    std::vector<float> found;
    for (const std::size_t rank : ranks) {
        std::size_t bucket = 0, before = 0;
        while (before + upper[bucket] <= rank)
            before += upper[bucket++];
        std::vector<std::size_t> lower(Buckets, 0);
        EachValue(kept, [&lower, bucket](float v) {
            const uint32_t bits = OrderedBits(v);
            if ((bits >> HalfBits) == bucket)
                ++lower[bits & (Buckets - 1)];
        });
        std::size_t low = 0;
        while (before + lower[low] <= rank)
            before += lower[low++];
        found.push_back(FromOrderedBits(static_cast<uint32_t>(bucket << HalfBits | low)));
    }
    return found;
}

}  // namespace

std::optional<OutlierBounds> FindOutliers(const std::vector<textload::KeptValues>& kept)
{
    std::size_t n = 0;
    EachValue(kept, [&n](float) { ++n; });
    if (n == 0)
        return std::nullopt;
    // At least one value left out at each end: in a short file one absurd
    // value is more than the share.
    const std::size_t trimmed = std::min(std::max<std::size_t>(1, static_cast<std::size_t>(BulkShare * n)), (n - 1) / 2);
    const std::vector<float> bulk = ValuesOfRank(kept, {trimmed, n - 1 - trimmed});
    OutlierBounds b;
    b.bulkLow = bulk[0];
    b.bulkHigh = bulk[1];
    if (!std::isfinite(b.bulkLow) || !std::isfinite(b.bulkHigh))
        return std::nullopt;  // the bulk itself is absurd: nothing to tell apart
    const double span = b.bulkHigh > b.bulkLow ? b.bulkHigh - b.bulkLow : std::max(std::fabs(b.bulkHigh), 1.0);
    b.low = b.bulkLow - BoundSpans * span;
    b.high = b.bulkHigh + BoundSpans * span;
    bool any = false;
    EachValue(kept, [&any, &b](float v) { any = any || Outside(v, b); });
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

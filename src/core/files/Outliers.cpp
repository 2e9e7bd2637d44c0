#include "core/files/Outliers.h"

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

constexpr double BulkShare = 0.001;  // of the values left out at each end when the bulk is measured
constexpr double BoundSpans = 10;    // how many spans of the bulk beyond it a value may lie

bool Outside(double v, const OutlierBounds& b)
{
    return !std::isnan(v) && !(v >= b.low && v <= b.high);
}

}  // namespace

std::optional<OutlierBounds> FindOutliers(const std::vector<textload::KeptValues>& kept)
{
    std::vector<float> values;
    for (const textload::KeptValues& k : kept)
        for (const float v : k.values)
            if (!std::isnan(v))
                values.push_back(v);
    if (values.empty())
        return std::nullopt;
    // At least one value left out at each end: in a short file one absurd
    // value is more than the share.
    const std::size_t n = values.size();
    const std::size_t trimmed = std::min(std::max<std::size_t>(1, static_cast<std::size_t>(BulkShare * n)), (n - 1) / 2);
    auto nth = [&values](std::size_t k) {
        std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
        return static_cast<double>(values[k]);
    };
    OutlierBounds b;
    b.bulkLow = nth(trimmed);
    b.bulkHigh = nth(n - 1 - trimmed);
    if (!std::isfinite(b.bulkLow) || !std::isfinite(b.bulkHigh))
        return std::nullopt;  // the bulk itself is absurd: nothing to tell apart
    const double span = b.bulkHigh > b.bulkLow ? b.bulkHigh - b.bulkLow : std::max(std::fabs(b.bulkHigh), 1.0);
    b.low = b.bulkLow - BoundSpans * span;
    b.high = b.bulkHigh + BoundSpans * span;
    const bool any = std::any_of(values.begin(), values.end(), [&b](float v) { return Outside(v, b); });
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

#pragma once

// Values far beyond the bulk of a channel's values: one absurd number (a
// logger's write error, 1e308) stretches the range of an auto-scaled channel
// so far that every other value falls into one of its 65536 steps. The bulk
// is what lies between the 0.1 % and the 99.9 % quantile; a value more than
// ten times that span beyond it is an outlier.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/files/TextLoaderPasses.h"

namespace vk {

struct OutlierBounds {
    double bulkLow, bulkHigh;  // the 0.1 % and 99.9 % quantiles
    double low, high;          // values outside are outliers
};

// The bounds from the values kept by the range scan (NaN, a missing value, is
// passed over); nullopt when no value lies outside them.
std::optional<OutlierBounds> FindOutliers(const std::vector<textload::KeptValues>& kept);

// The range of the values left when the outliers are taken as missing (as
// the store then takes them); the values are kept as they are.
void RangeWithout(const std::vector<textload::KeptValues>& kept, const OutlierBounds& b, double& smallest,
                  double& largest);

// The lines (counted from 1 in the file) whose value lies outside the bounds:
// their count and the first `listed` of them.
struct OutlierLines {
    int64_t count = 0;
    std::vector<int64_t> first;
};
OutlierLines FindOutlierLines(const std::string& path, int64_t linesBefore, const textload::LineRules& rules,
                              const OutlierBounds& b, std::size_t listed);

// "12, 480, 1033" and " ..." when there are more.
std::string LineList(const std::vector<int64_t>& lines, int64_t count);

}  // namespace vk

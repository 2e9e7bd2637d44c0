#pragma once

#include <array>

namespace vk {

// Horizontal lines of a strip: entry 0's flag switches them all, entries 1..9 are the lines.
struct SubsidiaryLine {
    double value = 0.0;
    double flag = 0.0;  // 1.0 on, 0.0 off

    bool operator==(const SubsidiaryLine&) const = default;
};
constexpr int SubsidiaryLineCount = 10;
using SubsidiaryLines = std::array<SubsidiaryLine, SubsidiaryLineCount>;

}  // namespace vk

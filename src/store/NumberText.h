#pragma once

// Numbers as the program's files write them: the first comma of a number is
// its decimal point, and the setup file writes reals with 15 digits and a
// four-digit exponent.

#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// The text without leading and trailing blanks and control characters.
std::string_view TrimEnds(std::string_view text);

// A decimal number, blanks around it allowed and the first comma taken as the
// decimal point. Fails on anything else, and on values that are not finite.
bool ParseDecimal(std::string_view text, double& value);

// A decimal integer that fits int64, blanks around it allowed.
bool ParseInteger(std::string_view text, int64_t& value);

// " 1.00000000000000E+0003": sign or blank, 15 significant digits, 4-digit exponent.
std::string FormatSetupReal(double value);

}  // namespace vk

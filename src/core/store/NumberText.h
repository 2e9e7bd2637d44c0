#pragma once

// Numbers as the program's files write them: the first comma of a number is
// its decimal point, and the setup file writes reals with 15 digits and a
// four-digit exponent.

#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// The text without leading and trailing blanks and control characters.
inline std::string_view TrimEnds(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// A decimal number, blanks around it allowed and the first comma taken as the
// decimal point. Fails on anything else, and on values that are not finite.
bool ParseDecimal(std::string_view text, double& value);

// A decimal integer that fits int64, blanks around it allowed.
bool ParseInteger(std::string_view text, int64_t& value);

// A number as a field shows it: up to 15 significant digits, no trailing zeros.
std::string GeneralText(double value);

// "6.1" for FixedText(6.08, 1): that many decimals.
std::string FixedText(double value, int decimals);
// "2.5", "10": up to six significant digits, as a bound or depth in a text.
std::string ShortText(double value);

// " 1.00000000000000E+0003": sign or blank, 15 significant digits, 4-digit exponent.
std::string FormatSetupReal(double value);
// The same appended to `text`.
void AppendSetupReal(std::string& text, double value);

namespace detail {
inline constexpr double PowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
}

// The quick way through a plain decimal ("-12.345", "12,5") at the start of
// [p, end): reads sign, digits and one point or comma, and stops at the first
// other character, returned in `stop`. The digits as an integer below 2^53 and
// a power of ten up to 10^22 are both exact, so one division rounds exactly as
// a full conversion would. False (nothing decided) for exponents, long digit
// strings and text without digits: the caller then takes the full way.
// `decimals` tells the digits after the point. A `delimiter` ends the number
// even where it could be a point or a sign: "12,5" of a comma-separated line is 12.
[[gnu::always_inline]] inline bool QuickDecimal(const char* p, const char* end, double& value, const char*& stop,
                                                int& decimals, int64_t& signedDigits, char delimiter = '\0')
{
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+') && *p != delimiter)
        negative = *p++ == '-';
    uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool point = false, any = false;
    for (; p < end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - '0';
        if (digit < 10) {
            if (digits == 19)
                return false;
            mantissa = mantissa * 10 + digit;
            digits += mantissa != 0;
            fraction += point;
            any = true;
        } else if ((*p == '.' || *p == ',') && !point && *p != delimiter) {
            point = true;
        } else {
            break;
        }
    }
    if (!any || mantissa > (uint64_t{1} << 53) || fraction > 22)
        return false;
    const double v = static_cast<double>(mantissa) / detail::PowersOfTen[fraction];
    value = negative ? -v : v;
    stop = p;
    decimals = fraction;
    signedDigits = negative ? -static_cast<int64_t>(mantissa) : static_cast<int64_t>(mantissa);
    return true;
}

inline bool QuickDecimal(const char* p, const char* end, double& value, const char*& stop)
{
    int decimals = 0;
    int64_t digits = 0;
    return QuickDecimal(p, end, value, stop, decimals, digits);
}

}  // namespace vk

#include "core/store/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vk {

namespace {

// from_chars takes no leading '+'.
std::string_view DropPlus(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

bool ConvertWhole(const char* first, const char* last, double& value)
{
    double v = 0.0;
    const auto [end, error] = std::from_chars(first, last, v, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

}  // namespace

bool ParseDecimal(std::string_view text, double& value)
{
    text = TrimEnds(text);
    const char* stop = nullptr;
    double quick = 0.0;
    if (QuickDecimal(text.data(), text.data() + text.size(), quick, stop) && stop == text.data() + text.size()) {
        value = quick;
        return true;
    }
    text = DropPlus(text);
    if (text.empty())
        return false;
    // from_chars reads "inf" and "nan", which no logger means as numbers.
    const char lead = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (lead != '.' && lead != ',' && (lead < '0' || lead > '9'))
        return false;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return ConvertWhole(text.data(), text.data() + text.size(), value);
    char copy[1100];
    if (text.size() > sizeof copy)
        return false;
    std::memcpy(copy, text.data(), text.size());
    copy[comma] = '.';
    return ConvertWhole(copy, copy + text.size(), value);
}

bool ParseInteger(std::string_view text, int64_t& value)
{
    text = DropPlus(TrimEnds(text));
    int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return false;
    value = v;
    return true;
}

void AppendSetupReal(std::string& text, double value)
{
    if (std::isnan(value)) {
        text += " NAN";
        return;
    }
    if (std::isinf(value)) {
        text += value > 0 ? " INF" : "-INF";
        return;
    }
    constexpr int Decimals = 14;  // "1.00000000000000e+03", as printf's %.14e gives it
    char digits[40];
    const std::to_chars_result r =
        std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::scientific, Decimals);
    const char* e = std::find(digits, r.ptr, 'e');
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
    // " 1.00000000000000E+0003": the sign or a blank, the digits, four exponent digits.
    char out[48];
    char* o = out;
    *o++ = std::signbit(value) && value != 0 ? '-' : ' ';
    o = std::copy(static_cast<const char*>(digits), e, o);
    *o++ = 'E';
    *o++ = exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    for (int place = 1000; place > 0; place /= 10)
        *o++ = static_cast<char>('0' + magnitude / place % 10);
    text.append(out, static_cast<std::size_t>(o - out));
}

std::string FormatSetupReal(double value)
{
    std::string text;
    AppendSetupReal(text, value);
    return text;
}

std::string FixedText(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string ShortText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string GeneralText(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace vk

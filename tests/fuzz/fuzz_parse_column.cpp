// ParseColumn on arbitrary lines, and the quick decimal path checked against
// a full conversion of the same text.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/files/ParseColumn.h"

namespace {

// The full way: first comma to a point, no '+', the whole text, finite.
bool Reference(std::string text, double& value)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.erase(0, 1);
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ')
            return false;  // inner control characters never make a number
    if (const auto comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.erase(0, 1);
    if (text.empty() || text.find_first_of("iInN") != std::string::npos)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static const char delimiters[] = {'\t', ' ', ';', ',', '/', '-', '\\'};
    const int column = data[0] % 8;
    const char delimiter = delimiters[data[1] % sizeof delimiters];
    const std::string_view line(reinterpret_cast<const char*>(data + 2), size - 2);
    const vk::ColumnField field = vk::ParseColumn(line, column, delimiter);
    if (line.size() < 200) {
        // The column's text converted the full way gives the same number.
        double full = 0.0;
        const bool converts = vk::ParseDecimal(vk::ColumnText(line, column, delimiter), full);
        if (converts != (field.kind == vk::ColumnKind::Value) || (converts && full != field.value))
            __builtin_trap();
    }

    if (line.size() < 64) {
        double quick = 0.0, full = 0.0;
        const bool parsed = vk::ParseDecimal(line, quick);
        const bool expected = Reference(std::string(line), full);
        if (parsed != expected || (parsed && quick != full && !(std::isnan(quick) && std::isnan(full))))
            __builtin_trap();
    }
    return 0;
}

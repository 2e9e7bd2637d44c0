#pragma once

// One column of a logger text line. Inline: the text loader calls it for every
// line of files with tens of millions of them.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/store/NumberText.h"

namespace vk {

enum class ColumnKind { Value, MissingValue, MissingColumn };

struct ColumnField {
    ColumnKind kind = ColumnKind::MissingValue;
    double value = 0.0;
    int decimals = -1;   // digits after the point of a plain decimal; -1 for any other number
    int64_t digits = 0;  // of a plain decimal, signed: value = digits / 10^decimals
};

namespace detail {

constexpr std::size_t MaxFieldLength = 255;

// Start of column `column` with blank-separated columns, or nullptr when the
// line ends first. A blank before a non-blank starts a column, and so does a
// TAB, whose following blanks are passed over.
const char* FindBlankColumn(const char* p, const char* end, int column);

// The field from p to the next delimiter or TAB (at most 255 characters) as a number.
ColumnField ConvertField(const char* p, const char* end, char delimiter);

// The first `c` from p on, or end. Eight bytes at a time: the fields before the
// wanted column are passed over without a branch per character.
[[gnu::always_inline]] inline const char* FindByte(const char* p, const char* end, char c)
{
    constexpr uint64_t Ones = 0x0101010101010101u, Highs = 0x8080808080808080u;
    const uint64_t pattern = Ones * static_cast<unsigned char>(c);
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        const uint64_t x = word ^ pattern;  // a zero byte where c stands
        // The lowest flagged byte is the first zero; flags above it may be false.
        const uint64_t zeros = (x - Ones) & ~x & Highs;
        if (zeros)
            return p + std::countr_zero(zeros) / 8;
    }
    while (p < end && *p != c)
        ++p;
    return p;
}

// The field at p: most fields are plain decimals ending at the delimiter, the TAB or the line end.
[[gnu::always_inline]] inline ColumnField FieldAt(const char* p, const char* end, char delimiter)
{
    ColumnField field;
    const char* stop = nullptr;
    const char* limit = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), MaxFieldLength);
    if (QuickDecimal(p, limit, field.value, stop, field.decimals, field.digits, delimiter) &&
        (stop == limit || *stop == delimiter || *stop == '\t')) {
        field.kind = ColumnKind::Value;
        return field;
    }
    return ConvertField(p, limit, delimiter);
}

}  // namespace detail

// Reads column `column` (0 and 1 both mean the first) of one text line. The
// line is trimmed first, so empty fields at its end do not exist. A blank
// delimiter means columns separated by runs of blanks or by TABs.
inline ColumnField ParseColumn(std::string_view line, int column, char delimiter)
{
    line = TrimEnds(line);
    if (line.empty())
        return {};
    const char* p = line.data();
    const char* end = p + line.size();
    if (column > 1) {
        if (delimiter != ' ') {
            for (int k = 1; k < column; ++k) {
                p = detail::FindByte(p, end, delimiter);
                if (p == end)
                    return {ColumnKind::MissingColumn, 0.0};
                ++p;
            }
            if (p < end && *p == delimiter)
                return {};
            while (p < end && *p == ' ')
                ++p;
        } else {
            p = detail::FindBlankColumn(p, end, column);
            if (!p)
                return {};
        }
    }
    return detail::FieldAt(p, end, delimiter);
}

// Several columns of one line (`columns` ascending) in one walk along it:
// out[k] is what ParseColumn(line, columns[k], delimiter) gives. Blank-separated
// columns are read one by one.
inline void ParseColumns(std::string_view line, const int* columns, std::size_t n, char delimiter, ColumnField* out)
{
    if (delimiter == ' ') {
        for (std::size_t k = 0; k < n; ++k)
            out[k] = ParseColumn(line, columns[k], delimiter);
        return;
    }
    line = TrimEnds(line);
    if (line.empty()) {
        std::fill(out, out + n, ColumnField{});
        return;
    }
    const char* p = line.data();
    const char* end = p + line.size();
    int at = 1;  // the column p stands at the start of
    for (std::size_t k = 0; k < n; ++k) {
        const int column = std::max(columns[k], 1);
        for (; at < column; ++at) {
            p = detail::FindByte(p, end, delimiter);
            if (p == end) {
                std::fill(out + k, out + n, ColumnField{ColumnKind::MissingColumn, 0.0});
                return;
            }
            ++p;
        }
        if (column == 1) {
            out[k] = detail::FieldAt(p, end, delimiter);
            continue;
        }
        if (p < end && *p == delimiter) {
            out[k] = {};
            continue;
        }
        const char* q = p;
        while (q < end && *q == ' ')
            ++q;
        out[k] = detail::FieldAt(q, end, delimiter);
    }
}

namespace detail {
constexpr int ShortRest = 16;  // bytes after the last wanted column looked through one by one
}

// ParseColumns the quick way for a line at p in a buffer of whole lines
// (`end` just after an LF), read up to its LF at once: true when every wanted
// column holds a plain decimal ended by the delimiter, a TAB or the line's end,
// the line starts with its first column and is no longer than `maxLine`;
// `next` is then the start of the next line. False decides nothing: the line
// takes the full way. The delimiter must not be a blank.
[[gnu::always_inline]] inline bool QuickColumns(const char* p, const char* end, const int* columns, std::size_t n,
                                                char delimiter, std::size_t maxLine, ColumnField* out,
                                                const char*& next)
{
    const char* const line = p;
    if (static_cast<unsigned char>(*p) <= ' ')  // empty, or blanks and control characters to trim
        return false;
    int at = 1;            // the column p stands at the start of
    const char* read = p;  // the end of the last number read
    for (std::size_t k = 0; k < n; ++k) {
        for (const int column = std::max(columns[k], 1); at < column; ++at) {
            while (*p != delimiter && *p != '\n')
                ++p;
            if (*p == '\n')  // too few columns
                return false;
            ++p;
        }
        if (*p == delimiter || *p == ' ')  // an empty field, or blanks before it
            return false;
        ColumnField& f = out[k];
        const char* stop;
        if (!QuickDecimal(p, end, f.value, stop, f.decimals, f.digits, delimiter) ||
            static_cast<std::size_t>(stop - p) > detail::MaxFieldLength)
            return false;
        if (*stop != delimiter && *stop != '\t' && *stop != '\n' && !(*stop == '\r' && stop[1] == '\n'))
            return false;
        f.kind = ColumnKind::Value;
        read = stop;
    }
    // Mostly the wanted columns end the line or nearly: no call for a few bytes.
    const char* lineEnd = read;
    for (int k = 0; k < detail::ShortRest && *lineEnd != '\n'; ++k)
        ++lineEnd;
    if (*lineEnd != '\n')
        lineEnd = static_cast<const char*>(std::memchr(lineEnd, '\n', static_cast<std::size_t>(end - lineEnd)));
    if (static_cast<std::size_t>(lineEnd - line) > maxLine)  // cut where it is read
        return false;
    next = lineEnd + 1;
    return true;
}

// The number of columns of a line as ParseColumn reads them (0 for an empty line).
int CountColumns(std::string_view line, char delimiter);

// The text of a column as ParseColumn finds it (up to the next delimiter or
// TAB, blanks around it left out); empty when the line has no such column.
std::string_view ColumnText(std::string_view line, int column, char delimiter);

}  // namespace vk

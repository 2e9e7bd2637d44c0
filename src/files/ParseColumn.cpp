#include "files/ParseColumn.h"

#include <algorithm>

#include "store/NumberText.h"

namespace vk {

namespace {

constexpr std::size_t MaxFieldLength = 255;

// Start of column `column` with a non-blank delimiter, or nullptr when the line
// has fewer columns.
const char* FindDelimitedColumn(const char* p, const char* end, int column, char delimiter)
{
    for (int k = 1; k < column; ++k) {
        while (p < end && *p != delimiter)
            ++p;
        if (p == end)
            return nullptr;
        ++p;
    }
    return p;
}

// Start of column `column` with blank-separated columns, or nullptr when the
// line ends first. A blank before a non-blank starts a column, and so does a
// TAB, whose following blanks are passed over.
const char* FindBlankColumn(const char* p, const char* end, int column)
{
    for (int k = 1; k < column;) {
        if (p == end)
            return nullptr;
        if (*p == '\t') {
            ++k;
            ++p;
            while (p < end && *p == ' ')
                ++p;
        } else if (*p == ' ' && p + 1 < end && p[1] != ' ' && p[1] != '\t') {
            ++k;
            ++p;
        } else {
            ++p;
        }
    }
    return p;
}

}  // namespace

ColumnField ParseColumn(std::string_view line, int column, char delimiter)
{
    line = TrimEnds(line);
    if (line.empty())
        return {};
    const char* p = line.data();
    const char* end = p + line.size();
    if (column > 1) {
        if (delimiter != ' ') {
            p = FindDelimitedColumn(p, end, column, delimiter);
            if (!p)
                return {ColumnKind::MissingColumn, 0.0};
            if (p < end && *p == delimiter)
                return {};
            while (p < end && *p == ' ')
                ++p;
        } else {
            p = FindBlankColumn(p, end, column);
            if (!p)
                return {};
        }
    }
    const char* limit = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), MaxFieldLength);
    const char* q = p;
    while (q < limit && *q != delimiter && *q != '\t')
        ++q;
    ColumnField field;
    if (q > p && ParseDecimal(std::string_view(p, static_cast<std::size_t>(q - p)), field.value))
        field.kind = ColumnKind::Value;
    return field;
}

}  // namespace vk

#include "core/files/ParseColumn.h"

namespace vk::detail {

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

ColumnField ConvertField(const char* p, const char* limit, char delimiter)
{
    const char* q = p;
    while (q < limit && *q != delimiter && *q != '\t')
        ++q;
    ColumnField field;
    if (q > p && ParseDecimal(std::string_view(p, static_cast<std::size_t>(q - p)), field.value))
        field.kind = ColumnKind::Value;
    return field;
}

}  // namespace vk::detail

namespace vk {

int CountColumns(std::string_view line, char delimiter)
{
    line = TrimEnds(line);
    if (line.empty())
        return 0;
    if (delimiter != ' ')
        return 1 + static_cast<int>(std::count(line.begin(), line.end(), delimiter));
    int columns = 1;
    while (detail::FindBlankColumn(line.data(), line.data() + line.size(), columns + 1))
        ++columns;
    return columns;
}

}  // namespace vk

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

std::string_view ColumnText(std::string_view line, int column, char delimiter)
{
    line = TrimEnds(line);
    const char* p = line.data();
    const char* end = p + line.size();
    if (column > 1) {
        if (delimiter != ' ') {
            for (int k = 1; k < column && p != end; ++k) {
                p = detail::FindByte(p, end, delimiter);
                if (p != end)
                    ++p;
                else
                    return {};
            }
        } else {
            p = detail::FindBlankColumn(p, end, column);
            if (!p)
                return {};
        }
    }
    const char* stop = p;
    while (stop < end && *stop != delimiter && *stop != '\t')
        ++stop;
    return TrimEnds(std::string_view(p, static_cast<std::size_t>(stop - p)));
}

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

#pragma once

#include <string_view>

namespace vk {

enum class ColumnKind { Value, MissingValue, MissingColumn };

struct ColumnField {
    ColumnKind kind = ColumnKind::MissingValue;
    double value = 0.0;
};

// Reads column `column` (0 and 1 both mean the first) of one text line. The
// line is trimmed first, so empty fields at its end do not exist. A blank
// delimiter means columns separated by runs of blanks or by TABs.
ColumnField ParseColumn(std::string_view line, int column, char delimiter);

}  // namespace vk

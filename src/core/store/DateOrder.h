#pragma once

namespace vk {

// Which field of a written date holds the day. A dotted date is day first; a
// date that starts with a four-digit year is year first; a slashed or dashed
// date with the year last is told by its lines. Stored by these numbers.
enum class DateOrder { Unknown = 0, DayFirst = 1, MonthFirst = 2, YearFirst = 3 };

}  // namespace vk

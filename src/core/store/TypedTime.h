#pragma once

// A date or a clock time as a user types it into a field: with any of the
// usual separators or as bare digits.

#include <optional>
#include <string_view>

#include "core/store/TimeBase.h"

namespace vk {

// "07.01.2026", "7.1.26", "07/01/2026", "07012026", "070126", "2026-01-07",
// "20260107": the year, month and day of the result; nullopt for anything
// else or a day the month does not have. Two-digit years as EncodeTime reads them.
std::optional<CalendarTime> ParseTypedDate(std::string_view text);

// "06:30:49", "6:30", "6.30.49", "063049", "0630", "6": the hour, minute and
// second of the result; nullopt for anything else.
std::optional<CalendarTime> ParseTypedClock(std::string_view text);

}  // namespace vk

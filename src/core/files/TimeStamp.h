#pragma once

// Time stamps as loggers write them: a date ("07.01.2026", "07/01/2026",
// "01/07/2026", "2026-01-07", "2026/01/07", two-digit years), a time of day
// ("06:30", "06:30:49", "06:30:49.250"), both in one field (ISO 8601 with "T"
// or a blank, "Z" or an offset such as "+02:00"), or seconds since the start.

#include <optional>
#include <string_view>
#include <vector>

#include "core/store/DateOrder.h"

namespace vk {

// A date's three numbers in the order of the text.
struct WrittenDate {
    int first = 0, second = 0, third = 0;
    DateOrder order = DateOrder::Unknown;  // what the writing alone tells
    bool operator==(const WrittenDate&) const = default;
};

// A date and a time of day as written, with the offset from UTC where one is given.
struct WrittenStamp {
    std::optional<WrittenDate> date;
    std::optional<double> timeOfDay;   // ms since midnight
    std::optional<int> offsetMinutes;  // "Z" is 0
};

std::optional<WrittenDate> ReadDate(std::string_view text);
// HH:MM, HH:MM:SS, HH:MM:SS.fff (a comma for the point too); ms since midnight.
std::optional<double> ReadTimeOfDay(std::string_view text);
// A date, a time of day, or both in one field (a "T" or blanks between them),
// with an optional "Z" or offset (+hh, +hhmm, +hh:mm) after the time.
std::optional<WrittenStamp> ReadStamp(std::string_view text);

// The order of a column's dates: a first field above 12 makes them day
// first, a second above 12 month first; else the way the date changes from
// one day to the next (the day counts up, the month stays). Unknown when the
// dates cannot tell (no change of date, or as many changes fit both).
// `dates` in the order of the lines; repeats may be left in.
DateOrder OrderOfDates(const std::vector<WrittenDate>& dates);

// The day, month and year of a date in the given order (the date's own
// order where it has one); nullopt when the order is unknown or a field
// is out of range. Two-digit years follow the program's calendar.
struct DayMonthYear {
    int day = 0, month = 0, year = 0;
};
std::optional<DayMonthYear> FieldsOf(const WrittenDate& date, DateOrder order);

// The time of a stamp in ms of the program's calendar, on its own clock:
// an offset is not applied here (the caller keeps a file on one clock).
// A stamp without a date gets `day` (ms of a midnight); nullopt when the
// stamp holds no time, the order is unknown or a field is out of range.
std::optional<double> TimeOfStamp(const WrittenStamp& stamp, DateOrder order, double day = 0.0);

}  // namespace vk

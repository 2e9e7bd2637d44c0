#pragma once

#include <cstdint>
#include <string>

namespace vk {

// Calendar fields of a time; year has four digits after decoding.
struct CalendarTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    bool operator==(const CalendarTime&) const = default;
};

// Milliseconds of the program's calendar (1 January 1982 00:00:00 = 31622400000).
// Two-digit years are accepted: 0..81 mean 2000..2081, 82..99 mean 1982..1999.
// Every year divisible by 4 is a leap year, in both directions.
double EncodeTime(int year, int month, int day, int hour, int minute, int second);
double EncodeTime(const CalendarTime& t);

// The reverse; a value above 1e28 (a missing time) gives an all-zero result.
CalendarTime DecodeTime(double ms);

// The years a date of the program is shown in (four digits).
inline constexpr int FirstCalendarYear = 1900, LastCalendarYear = 9999;
// Whether the time lies within them.
bool ShownInCalendar(double ms);

// "dd<sep>mm<sep>yyyy hh:mm:ss", as the setup and result files show a time.
// "07.01.2026" (with the separator given) and "06:30:49" (whole seconds).
std::string DateText(double ms, char dateSeparator);
std::string ClockText(double ms);
std::string FormatDateTime(double ms, char dateSeparator);

}  // namespace vk

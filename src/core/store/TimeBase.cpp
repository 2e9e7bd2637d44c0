#include "core/store/TimeBase.h"

#include <cmath>
#include <cstdio>

namespace vk {

namespace {

constexpr double MsPerDay = 86400000.0;

// Days of the months before month m (1..12), with February as given.
int DaysBeforeMonth(int month, int february)
{
    static const int normal[12] = {0, 31, 31, 62, 92, 123, 153, 184, 215, 245, 276, 306};
    if (month < 1)
        month = 1;
    if (month > 12)
        month = 12;
    return normal[month - 1] + (month > 2 ? february : 0);
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Years counted from 1981, so that 1982 is 1.
int64_t YearIndex(int year)
{
    if (year >= 0 && year <= 81)
        return year + 19;
    if (year >= 82 && year <= 99)
        return year - 81;
    return year - 1981;
}

int February(int64_t fullYear)
{
    return (fullYear % 4 == 0) ? 29 : 28;
}

// Day number of 1 January of year index a, minus one.
int64_t DaysBeforeYear(int64_t a)
{
    return 365 * a + FloorDiv(a, 4);
}

}  // namespace

double EncodeTime(int year, int month, int day, int hour, int minute, int second)
{
    const int64_t a = YearIndex(year);
    const int64_t days = DaysBeforeYear(a) + DaysBeforeMonth(month, February(a + 1981)) + day;
    return ((static_cast<double>(days) * 24 + hour) * 3600 + minute * 60.0 + second) * 1000.0;
}

double EncodeTime(const CalendarTime& t)
{
    return EncodeTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

CalendarTime DecodeTime(double ms)
{
    CalendarTime t;
    if (!(ms <= 1e28) || ms < -1e28)
        return t;
    const double dayNumber = std::floor(ms / MsPerDay);
    if (std::fabs(dayNumber) > 1e12)  // beyond any calendar year an int32 holds
        return t;
    double rest = ms - dayNumber * MsPerDay;
    if (rest < 0)
        rest = 0;
    if (rest >= MsPerDay)
        rest = MsPerDay - 1;
    const auto days = static_cast<int64_t>(dayNumber);

    int64_t a = FloorDiv(days - 1, 365);
    while (DaysBeforeYear(a) + 1 > days)
        --a;
    while (DaysBeforeYear(a + 1) + 1 <= days)
        ++a;
    const int64_t year = a + 1981;
    const int64_t dayOfYear = days - DaysBeforeYear(a);  // 1-based
    const int february = February(year);
    int month = 12;
    while (month > 1 && DaysBeforeMonth(month, february) >= dayOfYear)
        --month;

    t.year = static_cast<int32_t>(year);
    t.month = month;
    t.day = static_cast<int32_t>(dayOfYear - DaysBeforeMonth(month, february));
    const auto totalMs = static_cast<int64_t>(rest);
    t.hour = static_cast<int32_t>(totalMs / 3600000);
    t.minute = static_cast<int32_t>(totalMs / 60000 % 60);
    t.second = static_cast<int32_t>(totalMs / 1000 % 60);
    t.millisecond = static_cast<int32_t>(totalMs % 1000);
    return t;
}

bool ShownInCalendar(double ms)
{
    static const double first = EncodeTime(FirstCalendarYear, 1, 1, 0, 0, 0);
    static const double after = EncodeTime(LastCalendarYear, 12, 31, 23, 59, 59) + 1000.0;
    return ms >= first && ms < after;
}

std::string DateText(double ms, char dateSeparator)
{
    const CalendarTime t = DecodeTime(ms);
    char text[32];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%04d", t.day, dateSeparator, t.month, dateSeparator, t.year);
    return text;
}

std::string ClockText(double ms)
{
    const CalendarTime t = DecodeTime(ms);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string FormatDateTime(double ms, char dateSeparator)
{
    return DateText(ms, dateSeparator) + " " + ClockText(ms);
}

}  // namespace vk

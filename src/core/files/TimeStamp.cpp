#include "core/files/TimeStamp.h"

#include <cmath>
#include <cstddef>

#include "core/store/TimeBase.h"

namespace vk {

namespace {

constexpr double MsPerSecond = 1000.0, MsPerMinute = 60000.0, MsPerHour = 3600000.0;
constexpr int MonthsPerYear = 12, LongestMonth = 31;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits from `at` on: their value and how many there were (at most `most`).
struct Digits {
    int value = 0, count = 0;
};
Digits ReadDigits(std::string_view s, std::size_t& at, int most = 9)
{
    Digits d;
    while (at < s.size() && IsDigit(s[at]) && d.count < most) {
        d.value = d.value * 10 + (s[at] - '0');
        ++d.count;
        ++at;
    }
    return d;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '"' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A date at the start of s; `at` is left after it.
std::optional<WrittenDate> DateAt(std::string_view s, std::size_t& at)
{
    const Digits a = ReadDigits(s, at, 4);
    if (a.count == 0 || at >= s.size())
        return std::nullopt;
    const char sep = s[at];
    if (sep != '.' && sep != '/' && sep != '-')
        return std::nullopt;
    ++at;
    const Digits b = ReadDigits(s, at, 2);
    if (b.count == 0 || at >= s.size() || s[at] != sep)
        return std::nullopt;
    ++at;
    const Digits c = ReadDigits(s, at, 4);
    if (c.count == 0 || (at < s.size() && IsDigit(s[at])))
        return std::nullopt;
    WrittenDate d{a.value, b.value, c.value, DateOrder::Unknown};
    if (a.count == 4) {
        if (c.count > 2)
            return std::nullopt;
        d.order = DateOrder::YearFirst;
    } else if (a.count > 2 || (c.count != 2 && c.count != 4)) {
        return std::nullopt;
    } else if (sep == '.') {
        d.order = DateOrder::DayFirst;
    }
    return d;
}

// A time of day at s[at..]; `at` is left after it.
std::optional<double> TimeAt(std::string_view s, std::size_t& at)
{
    const Digits h = ReadDigits(s, at, 2);
    if (h.count == 0 || at >= s.size() || s[at] != ':')
        return std::nullopt;
    ++at;
    const Digits m = ReadDigits(s, at, 2);
    if (m.count != 2)
        return std::nullopt;
    double seconds = 0.0;
    if (at < s.size() && s[at] == ':') {
        ++at;
        const Digits sec = ReadDigits(s, at, 2);
        if (sec.count != 2)
            return std::nullopt;
        seconds = sec.value;
        if (at < s.size() && (s[at] == '.' || s[at] == ',')) {
            ++at;
            double scale = 0.1;
            const std::size_t start = at;
            while (at < s.size() && IsDigit(s[at])) {
                seconds += (s[at] - '0') * scale;
                scale /= 10;
                ++at;
            }
            if (at == start)
                return std::nullopt;
        }
    }
    if (h.value > 23 || m.value > 59 || seconds >= 60.0)
        return std::nullopt;
    // Whole milliseconds where the text gives them, so that sums stay exact.
    const double ms = std::round(seconds * MsPerSecond * 1000.0) / 1000.0;
    return h.value * MsPerHour + m.value * MsPerMinute + ms;
}

// "Z", "+hh", "+hhmm", "+hh:mm" (or "-") at s[at..], the rest of the field.
std::optional<int> OffsetAt(std::string_view s, std::size_t at, bool& valid)
{
    valid = true;
    if (at == s.size())
        return std::nullopt;
    if (s.substr(at) == "Z" || s.substr(at) == "z")
        return 0;
    const char sign = s[at];
    if (sign != '+' && sign != '-') {
        valid = false;
        return std::nullopt;
    }
    ++at;
    const Digits h = ReadDigits(s, at, 2);
    if (at < s.size() && s[at] == ':')
        ++at;
    const Digits m = ReadDigits(s, at, 2);
    if (h.count != 2 || (m.count != 0 && m.count != 2) || at != s.size() || h.value > 23 || m.value > 59) {
        valid = false;
        return std::nullopt;
    }
    const int minutes = h.value * 60 + m.value;
    return sign == '-' ? -minutes : minutes;
}

// Whether going from date a to date b is one day on, read in the given order.
bool NextDay(const WrittenDate& a, const WrittenDate& b, DateOrder order)
{
    const auto x = FieldsOf(a, order), y = FieldsOf(b, order);
    if (!x || !y)
        return false;
    if (y->year == x->year && y->month == x->month)
        return y->day == x->day + 1;
    const bool nextMonth = (y->year == x->year && y->month == x->month + 1) ||
                           (y->year == x->year + 1 && x->month == MonthsPerYear && y->month == 1);
    return nextMonth && y->day == 1 && x->day >= 28;
}

}  // namespace

std::optional<WrittenDate> ReadDate(std::string_view text)
{
    text = Trimmed(text);
    std::size_t at = 0;
    auto d = DateAt(text, at);
    return d && at == text.size() ? d : std::nullopt;
}

std::optional<double> ReadTimeOfDay(std::string_view text)
{
    text = Trimmed(text);
    std::size_t at = 0;
    auto t = TimeAt(text, at);
    return t && at == text.size() ? t : std::nullopt;
}

std::optional<WrittenStamp> ReadStamp(std::string_view text)
{
    text = Trimmed(text);
    WrittenStamp stamp;
    std::size_t at = 0;
    if (auto d = DateAt(text, at)) {
        stamp.date = d;
        if (at == text.size())
            return stamp;
        if (text[at] != 'T' && text[at] != ' ')
            return std::nullopt;
        while (at < text.size() && (text[at] == 'T' || text[at] == ' '))
            ++at;
    } else {
        at = 0;
    }
    const auto t = TimeAt(text, at);
    if (!t)
        return std::nullopt;
    stamp.timeOfDay = t;
    bool valid = true;
    stamp.offsetMinutes = OffsetAt(text, at, valid);
    if (!valid)
        return std::nullopt;
    return stamp;
}

DateOrder OrderOfDates(const std::vector<WrittenDate>& dates)
{
    int dayFirst = 0, monthFirst = 0;
    const WrittenDate* previous = nullptr;
    for (const WrittenDate& d : dates) {
        if (d.order != DateOrder::Unknown)
            return d.order;
        if (d.first > MonthsPerYear)
            return DateOrder::DayFirst;
        if (d.second > MonthsPerYear)
            return DateOrder::MonthFirst;
        if (previous && !(*previous == d)) {
            dayFirst += NextDay(*previous, d, DateOrder::DayFirst);
            monthFirst += NextDay(*previous, d, DateOrder::MonthFirst);
        }
        previous = &d;
    }
    if (dayFirst == monthFirst)
        return DateOrder::Unknown;
    return dayFirst > monthFirst ? DateOrder::DayFirst : DateOrder::MonthFirst;
}

std::optional<DayMonthYear> FieldsOf(const WrittenDate& date, DateOrder order)
{
    if (date.order != DateOrder::Unknown)
        order = date.order;
    DayMonthYear f;
    switch (order) {
    case DateOrder::DayFirst: f = {date.first, date.second, date.third}; break;
    case DateOrder::MonthFirst: f = {date.second, date.first, date.third}; break;
    case DateOrder::YearFirst: f = {date.third, date.second, date.first}; break;
    case DateOrder::Unknown: return std::nullopt;
    }
    if (f.month < 1 || f.month > MonthsPerYear || f.day < 1 || f.day > LongestMonth)
        return std::nullopt;
    return f;
}

std::optional<double> TimeOfStamp(const WrittenStamp& stamp, DateOrder order, double day)
{
    if (!stamp.timeOfDay && !stamp.date)
        return std::nullopt;
    if (stamp.date) {
        const auto f = FieldsOf(*stamp.date, order);
        if (!f)
            return std::nullopt;
        day = EncodeTime(f->year, f->month, f->day, 0, 0, 0);
    }
    return day + stamp.timeOfDay.value_or(0.0);
}

}  // namespace vk

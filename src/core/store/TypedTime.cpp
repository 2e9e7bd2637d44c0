#include "core/store/TypedTime.h"

#include <string>
#include <vector>

namespace vk {

namespace {

constexpr int MinYear = 1900, MaxYear = 9999;

// The runs of digits of the text; nullopt when something else than a digit,
// a separator or a blank is in it.
std::optional<std::vector<std::string>> DigitRuns(std::string_view text, std::string_view separators)
{
    std::vector<std::string> runs;
    bool inRun = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (!inRun)
                runs.emplace_back();
            runs.back() += c;
            inRun = true;
        } else if (c == ' ' || separators.find(c) != std::string_view::npos) {
            inRun = false;
        } else {
            return std::nullopt;
        }
    }
    return runs;
}

int Number(const std::string& digits)
{
    return digits.size() > 4 ? -1 : std::stoi(digits);
}

int FullYear(const std::string& digits)
{
    const int y = Number(digits);
    if (digits.size() > 2)
        return y;
    return y < 82 ? 2000 + y : 1900 + y;  // as EncodeTime reads two digits
}

std::optional<CalendarTime> Date(int year, int month, int day)
{
    static constexpr int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1 || day > days[month - 1] ||
        (month == 2 && day == 29 && !(year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))))
        return std::nullopt;
    CalendarTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

}  // namespace

std::optional<CalendarTime> ParseTypedDate(std::string_view text)
{
    const auto runs = DigitRuns(text, "./-,");
    if (!runs)
        return std::nullopt;
    const std::vector<std::string>& r = *runs;
    if (r.size() == 3) {
        if (r[0].size() == 4)  // 2026-01-07
            return Date(Number(r[0]), Number(r[1]), Number(r[2]));
        if (r[0].size() <= 2 && r[1].size() <= 2 && (r[2].size() == 2 || r[2].size() == 4))
            return Date(FullYear(r[2]), Number(r[1]), Number(r[0]));
        return std::nullopt;
    }
    if (r.size() != 1)
        return std::nullopt;
    const std::string& d = r[0];
    if (d.size() == 6)  // ddmmyy
        return Date(FullYear(d.substr(4)), Number(d.substr(2, 2)), Number(d.substr(0, 2)));
    if (d.size() != 8)
        return std::nullopt;
    if (auto date = Date(Number(d.substr(4)), Number(d.substr(2, 2)), Number(d.substr(0, 2))))  // ddmmyyyy
        return date;
    return Date(Number(d.substr(0, 4)), Number(d.substr(4, 2)), Number(d.substr(6)));  // yyyymmdd
}

std::optional<CalendarTime> ParseTypedClock(std::string_view text)
{
    const auto runs = DigitRuns(text, ":.");
    if (!runs || runs->empty())
        return std::nullopt;
    std::vector<std::string> r = *runs;
    if (r.size() == 1 && r[0].size() > 2) {  // hhmm or hhmmss
        const std::string d = r[0];
        if (d.size() != 4 && d.size() != 6)
            return std::nullopt;
        r.clear();
        for (std::size_t at = 0; at < d.size(); at += 2)
            r.push_back(d.substr(at, 2));
    }
    if (r.size() > 3)
        return std::nullopt;
    int fields[3] = {0, 0, 0};
    static constexpr int limits[3] = {24, 60, 60};
    for (std::size_t k = 0; k < r.size(); ++k) {
        if (r[k].size() > 2)
            return std::nullopt;
        fields[k] = Number(r[k]);
        if (fields[k] >= limits[k])
            return std::nullopt;
    }
    CalendarTime t;
    t.hour = fields[0];
    t.minute = fields[1];
    t.second = fields[2];
    return t;
}

}  // namespace vk

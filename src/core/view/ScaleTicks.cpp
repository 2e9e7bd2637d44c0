#include "core/view/ScaleTicks.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/store/TimeBase.h"

namespace vk {

double YTickStep(double range, int height)
{
    const double e = std::log10(range);
    const double f = std::floor(e);
    const double k = height <= 24 ? 5 : height < 50 ? 4 : height < 100 ? 3 : height >= 350 ? 1 : 2;
    const double g = (e - f) * k;
    const double p = std::pow(10.0, f);
    const double factor = g < 0.03 ? 0.025 : g < 0.12 ? 0.05 : g < 0.3 ? 0.1 : g < 0.6 ? 0.2 : g < 0.8 ? 0.25 : 0.5;
    return p * factor;
}

YScale YScaleTicks(const DisplayRange& range, int height, DrawDirection direction)
{
    YScale s;
    const double r = std::fabs(range.hi - range.lo);
    if (!(r > 0) || !std::isfinite(r) || height <= 0)
        return s;
    s.step = YTickStep(r, height);
    s.decimals = r < 1 ? 3 : r < 100 ? 2 : r < 1000 ? 1 : 0;
    const double first = (std::trunc(range.lo / s.step) + (range.lo >= 0 ? 1 : 0)) * s.step;
    for (int n = 0; n < 1000; ++n) {
        const double v = first + n * s.step;
        if (!(v < range.hi))
            break;
        s.ticks.push_back({v, ValueToRow(v, range, height, direction), n % 2 == 0});
    }
    return s;
}

int TimeLevelStep(TimeLevel level, double n)
{
    switch (level) {
    case TimeLevel::Years: return 1;
    case TimeLevel::Months: return n >= 126144100 ? 0 : n > 69210000 ? 6 : n > 34560000 ? 4 : n > 17280000 ? 2 : 1;
    case TimeLevel::Days: return n >= 17280000 ? 0 : n > 8640000 ? 7 : n > 4320000 ? 4 : n > 2160000 ? 2 : 1;
    case TimeLevel::Hours:
        return n >= 720000 ? 0 : n > 540000 ? 12 : n > 360000 ? 8 : n > 180000 ? 4 : n > 90000 ? 2 : 1;
    case TimeLevel::Minutes: return n >= 21600 ? 0 : n > 10800 ? 15 : n > 4800 ? 10 : n > 2400 ? 5 : n > 1200 ? 2 : 1;
    case TimeLevel::Seconds: return n >= 240 ? 0 : n > 180 ? 15 : n > 120 ? 10 : n > 60 ? 5 : n > 25 ? 2 : 1;
    }
    return 0;
}

namespace {

constexpr double MsPerDay = 86400000.0;
const char* const MonthNames[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const Units[6] = {"", "", "d", "h", "m", "s"};
constexpr double LevelMs[6] = {365.25 * MsPerDay, 30.4 * MsPerDay, MsPerDay, 3600000.0, 60000.0, 1000.0};
constexpr int MinLabelSpacing = 28;  // pixels

// Calls add(time, level, number) for every tick of `level` from a to b (absolute ms).
template <typename Add>
void LevelTicks(TimeLevel level, int step, double a, double b, Add&& add)
{
    const CalendarTime start = DecodeTime(a);
    switch (level) {
    case TimeLevel::Years:
        for (int y = start.year; y <= start.year + 10000; ++y) {
            const double t = EncodeTime(y, 1, 1, 0, 0, 0);
            if (t > b)
                break;
            if (t >= a)
                add(t, y);
        }
        break;
    case TimeLevel::Months:
        for (int y = start.year, m = start.month;; ++m) {
            if (m > 12) {
                m = 1;
                ++y;
            }
            const double t = EncodeTime(y, m, 1, 0, 0, 0);
            if (t > b)
                break;
            if (t >= a && (m - 1) % step == 0)
                add(t, m);
        }
        break;
    default: {
        // Days, hours, minutes, seconds: fixed lengths from the day's start.
        const int index = static_cast<int>(level);
        const double unit = LevelMs[index];
        const double dayStart = EncodeTime(start.year, start.month, start.day, 0, 0, 0);
        for (double t = dayStart; t <= b; t += unit) {
            if (t < a)
                continue;
            const CalendarTime c = DecodeTime(t);
            const int number = level == TimeLevel::Days      ? c.day
                               : level == TimeLevel::Hours   ? c.hour
                               : level == TimeLevel::Minutes ? c.minute
                                                             : c.second;
            const bool onStep = level == TimeLevel::Days ? (number - 1) % step == 0 : number % step == 0;
            if (onStep)
                add(t, number);
        }
    }
    }
}

}  // namespace

TimeScale TimeScaleTicks(double globalStart, double f1, double f2, int width, double density)
{
    TimeScale scale;
    if (!(f2 - f1 > 1.0) || width <= 0)
        return scale;
    const double n = std::round(std::floor((f2 - f1) / 1000.0) * density);
    const double a = globalStart + f1, b = globalStart + f2;
    const double pixelsPerMs = width / (f2 - f1);
    std::map<int, TimeTick> byColumn;  // the coarsest level wins a column
    std::map<int, bool> firstOfLevel;
    for (int l = 0; l <= static_cast<int>(TimeLevel::Seconds); ++l) {
        const auto level = static_cast<TimeLevel>(l);
        const int step = TimeLevelStep(level, n);
        if (step == 0)
            break;
        scale.finest = l;
        const bool labels = LevelMs[l] * step * pixelsPerMs >= MinLabelSpacing;
        LevelTicks(level, step, a, b, [&](double t, int number) {
            const int x = LineColumn(t - globalStart, f1, f2, width);
            if (byColumn.count(x))
                return;
            std::string label;
            if (labels) {
                label = level == TimeLevel::Months ? MonthNames[number - 1] : std::to_string(number);
                if (!firstOfLevel[l]) {
                    label += Units[l];
                    firstOfLevel[l] = true;
                }
            }
            byColumn[x] = {x, level, label};
        });
    }
    for (auto& [x, tick] : byColumn)
        scale.ticks.push_back(tick);
    return scale;
}

}  // namespace vk

#include "core/view/Readouts.h"

#include "core/store/Channel.h"

#include <cmath>
#include <cstdio>

namespace vk {

std::string FormatReadout(double value, int significant, int decimals)
{
    char text[64];
    if (!std::isfinite(value))
        return {};
    if (std::fabs(value) >= std::pow(10.0, significant)) {
        std::snprintf(text, sizeof text, "%.*E", significant - 1, value);
        return text;
    }
    // The significant digits, then the decimals.
    const int digits = value == 0 ? 1 : static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    const double scale = std::pow(10.0, significant - digits);
    const double rounded = digits < significant ? std::round(value * scale) / scale : std::round(value);
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
    return text;
}

std::string FormatClock(double ms)
{
    const CalendarTime t = DecodeTime(ms);
    if (t.millisecond == 0)
        return ClockText(ms);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
    return text;
}

std::string FormatDate(double ms)
{
    return DateText(ms, '.');
}

std::string FormatDuration(double ms)
{
    const bool negative = ms < 0;
    auto total = static_cast<long long>(std::llround(std::fabs(ms)));
    const long long millis = total % 1000;
    total /= 1000;
    const long long days = total / 86400;
    char text[64];
    int n = std::snprintf(text, sizeof text, "%s", negative ? "-" : "");
    if (days > 0)
        n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%lld d ", days);
    n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%02lld:%02lld:%02lld", total / 3600 % 24,
                       total / 60 % 60, total % 60);
    if (millis != 0)
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%03lld", millis);
    return text;
}

std::optional<double> ValueAtTime(const Recording& rec, int slot, double t, bool interpolate)
{
    const double rate = ChannelView(rec, slot).interval();
    if (!(rate > 0) || !(t >= 0) || t / rate > INT32_MAX - 1)
        return std::nullopt;
    const auto i = static_cast<int32_t>(std::floor(t / rate));
    const PhysValue a = ReadValue(rec, i, slot);
    if (a.status != 0)
        return std::nullopt;
    const double fraction = t / rate - i;
    if (!interpolate || fraction == 0.0)
        return a.value;
    const PhysValue b = ReadValue(rec, i + 1, slot);
    if (b.status != 0)
        return std::nullopt;
    return a.value + (b.value - a.value) * fraction;
}

CursorReadouts MakeCursorReadouts(const Recording& rec, const ViewState& view, int timeAxisMode, bool interpolate)
{
    CursorReadouts r;
    const int slot = view.active;
    const double f4 = view.at.F4, f5 = view.at.F5;
    if (const auto v = ValueAtTime(rec, slot, f4, interpolate))
        r.leftValue = FormatReadout(*v);
    if (const auto v = ValueAtTime(rec, slot, f5, interpolate))
        r.rightValue = FormatReadout(*v);
    if (timeAxisMode == 0) {
        const double start = rec.time.GlobalStart;
        r.leftTime = FormatClock(start + f4);
        r.leftDate = FormatDate(start + f4);
        r.rightTime = FormatClock(start + f5);
        r.rightDate = FormatDate(start + f5);
        r.difference = FormatDuration(f5 - f4);
    } else {
        const double rate = ChannelView(rec, slot).interval();
        const auto i4 = static_cast<long long>(std::floor(f4 / rate));
        const auto i5 = static_cast<long long>(std::floor(f5 / rate));
        r.leftDate = std::to_string(i4);
        r.rightDate = std::to_string(i5);
        r.difference = std::to_string(i5 - i4);
    }
    return r;
}

}  // namespace vk

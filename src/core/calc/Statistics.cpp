#include "core/calc/Statistics.h"

#include <cmath>
#include <cstdio>

#include "core/calc/WorkSection.h"
#include "core/setup/Workbench.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/Readouts.h"

namespace vk {

namespace {

constexpr double IncreaseOfZero = 9999900;  // y_i4 = 0: the ratio taken as 100000
constexpr int Significant = 10, Decimals = 5, LevelDecimals = 2;
constexpr const char* CannotWrite = " Invalid name or number. Output canceled.";

std::string Number(double v, int decimals = Decimals)
{
    return FormatReadout(v, Significant, decimals);
}

// A field of the export row: width 10, 4 decimals.
std::string Field(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%10.4f", v);
    return text;
}

// A span as hours:minutes:seconds, the hours running on past a day.
std::string HoursMinutesSeconds(double ms)
{
    const auto total = static_cast<long long>(std::llround(ms / 1000));
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

}  // namespace

Statistics ComputeStatistics(const Recording& rec, int slot, const StatisticsRequest& request)
{
    Statistics s;
    const ChannelView channel(rec, slot);
    s.interval = channel.interval();
    s.upperLevel = request.levels.upper;
    s.lowerLevel = request.levels.lower;
    s.section = SectionSamples(channel, request.f4, request.f5);
    const SectionScan scan(rec, slot, s.section, request.levels, true);
    const ValueMoments& m = scan.moments();
    if (m.n == 0)
        return s;
    s.any = true;
    s.n = m.n;
    const double n = static_cast<double>(m.n), seconds = s.interval * request.factor / 1000;
    s.min = m.min;
    s.max = m.max;
    s.sum = m.sum();
    s.absSum = m.sumAbs;
    s.mean = m.mean();
    s.stdDev = std::sqrt(m.squares() / n);
    s.median = BinnedMedian(m.n, m.min, m.max, [&](Bins& bins) { scan.addTo(bins); });
    s.base = (m.first + m.last) / 2;
    s.integralToBase = seconds * (m.sd + n * (m.shift - s.base));
    s.integralToZero = seconds * s.sum;
    // x_k = k x interval for the k-th sample, k = 1 at the first.
    const FittedLine line = LineOf(scan.line(), s.interval / 1000, scan.centre() - s.section.first + 1, m.shift);
    s.a = line.a;
    s.b = line.b;
    s.cc = line.cc;
    // A cursor whose neighbour has no value takes the section's end value.
    s.dy = ValueAtTime(rec, slot, request.f5, true).value_or(m.last) -
           ValueAtTime(rec, slot, request.f4, true).value_or(m.first);
    s.dx = (request.f5 - request.f4) * request.factor / 1000;
    s.gradient = s.dx != 0 ? s.dy / s.dx : 0;
    s.increase = m.first == 0 ? IncreaseOfZero : m.last / m.first * 100 - 100;
    s.countAbove = m.above;
    s.countBelow = m.below;
    auto duration = [&](int64_t count) {
        return std::round(static_cast<double>(count) * s.interval * request.factor) / 1000;
    };
    s.durationAbove = duration(m.above);
    s.durationBelow = duration(m.below);
    return s;
}

double LineValueAt(const Statistics& s, int32_t i)
{
    return s.a * (i - s.section.first + 1) * s.interval / 1000 + s.b;
}

StatisticsWords StatisticsWordsOf(const Recording& rec, int slot)
{
    StatisticsWords w;
    const std::string& caption = rec.desc(slot).Caption;
    const std::size_t open = caption.rfind('['), close = caption.rfind(']');
    if (open != std::string::npos && close != std::string::npos && close > open + 1)
        w.unit = caption.substr(open + 1, close - open - 1);
    w.depth = ChannelView(rec, slot).direction() == DrawDirection::Downwards;
    return w;
}

std::vector<std::string> StatisticsLines(const Statistics& s, const StatisticsWords& words)
{
    auto v = [&](double x, int decimals = Decimals) { return s.any ? Number(x, decimals) : std::string(); };
    const std::string unit = words.unit.empty() ? "" : " " + words.unit;
    const std::string inUnit = words.unit.empty() ? "" : " [" + words.unit + "]";
    const std::string timesSeconds = words.unit.empty() ? "" : " " + words.unit + "*s";  // of the integrals
    // Larger depths lie deeper: "above" a depth in numbers is deeper in the water.
    const std::string more = words.depth ? " Time deeper than " : " Duration above ";
    const std::string less = words.depth ? " Time shallower than " : " Duration below ";
    return {"Linear Regression  y = ax + b",
            " a = " + v(s.a),
            " b = " + v(s.b) + unit,
            " cc = " + v(s.cc),
            "",
            " Differences dy = " + v(s.dy) + unit + "   dx = " + v(s.dx) + " s",
            " Gradient dy/dx = " + v(s.gradient) + (words.unit.empty() ? " per s" : " " + words.unit + "/s"),
            " Increase in % = " + v(s.increase),
            " Sum, abs Sum" + inUnit + " : " + v(s.sum) + "  " + v(s.absSum),
            " Min., Max., Mean" + inUnit + " : " + v(s.min) + "  " + v(s.max) + "  " + v(s.mean),
            " Std. Dev., Median" + inUnit + " : " + v(s.stdDev) + "   " + v(s.median),
            " Integral to base =" + v(s.base) + "((F4+F5)/2) =  " + v(s.integralToBase) + timesSeconds,
            " Integral to 0.0  = " + v(s.integralToZero) + timesSeconds,
            more + Number(s.upperLevel, LevelDecimals) + unit + " = " + v(s.durationAbove, LevelDecimals) + " s",
            less + Number(s.lowerLevel, LevelDecimals) + unit + " = " + v(s.durationBelow, LevelDecimals) + " s"};
}

std::string StatisticsHeader(char sep)
{
    std::string h = std::string("Time(F4)") + sep + sep + "Time(F5)" + sep + sep + "Duration";
    for (const char* name :
         {"Min(y)", "Max(y)", "Mean(y)", "StdDev(y)", "Median(y)", "A", "B", "CC", "dy", "dx", "Gradient", "Sum(y)",
          "Sum(abs(y))", "Raise", "Integral(F4)", "Integral(0)", "Dur. Above", "Dur. Below", "Comment"})
        h += sep + std::string(name);
    return h;
}

std::string StatisticsRow(const Statistics& s, const Recording& rec, const StatisticsRequest& request, char sep,
                          char dateSep, const std::string& comment)
{
    auto when = [&](double t) {
        const double ms = rec.time.GlobalStart + std::trunc(t * request.factor);
        return DateText(ms, dateSep) + sep + ClockText(ms) + sep;
    };
    std::string row = "\n" + when(request.f4) + when(request.f5);
    if (request.f5 > request.f4)  // else the duration's field stays empty
        row += HoursMinutesSeconds((request.f5 - request.f4) * request.factor);
    row += sep;
    for (const double v : {s.min, s.max, s.mean, s.stdDev, s.median, s.a, s.b, s.cc, s.dy, s.dx, s.gradient, s.sum,
                           s.absSum, s.increase, s.integralToBase, s.integralToZero})
        row += Field(v) + sep;
    char durations[80];
    std::snprintf(durations, sizeof durations, "%.2f%c%.2f", s.durationAbove, sep, s.durationBelow);
    return row + durations + sep + comment;
}

ExportOutcome ExportStatistics(Workbench& wb, VkDialogs& ui, const Statistics& s, const StatisticsRequest& request)
{
    std::string& last = wb.calc.statisticsFile;
    const std::optional<std::string> file =
        ui.input("Confirm", " Export statistics to...", last.empty() ? wb.settings.StatisticsFile : last);
    if (!file)
        return ExportOutcome::Cancelled;
    last = *file;
    const Settings& set = wb.settings;
    if (!AppendLines(*file, StatisticsHeader(set.OutDlmt),
                     StatisticsRow(s, wb.rec, request, set.OutDlmt, set.DateSep, wb.dive.comment))) {
        ui.message(*file + CannotWrite, Severity::Error);
        return ExportOutcome::Failed;
    }
    wb.dive.comment.clear();
    return ExportOutcome::Written;
}

}  // namespace vk

#include "core/files/TimeGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/store/TimeBase.h"

namespace vk {

namespace {

// Steps seen before the interval is settled: enough that a few pauses
// among them do not sway the median, few enough to keep.
constexpr std::size_t SettlingSteps = 1000;
// How close a measured interval must come to whole hertz or whole ms to be taken as such.
constexpr double SnapShare = 0.002;
constexpr double MsPerSecond = 1000.0;

// "07.01.2026 06:30:49", with ".250" where the time has a fraction of a second.
std::string TimeText(double ms)
{
    std::string text = FormatDateTime(ms, '.');
    if (const int fraction = DecodeTime(ms).millisecond; fraction != 0) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, ".%03d", fraction);
        text += buffer;
    }
    return text;
}

}  // namespace

double SnappedInterval(double measured)
{
    if (!(measured > 0))
        return measured;
    const double hertz = MsPerSecond / measured, wholeHertz = std::round(hertz);
    if (wholeHertz >= 1 && std::fabs(hertz - wholeHertz) <= SnapShare * hertz)
        return MsPerSecond / wholeHertz;
    const double wholeMs = std::round(measured);
    if (wholeMs >= 1 && std::fabs(measured - wholeMs) <= SnapShare * measured)
        return wholeMs;
    return measured;
}

void TimeGridBuilder::add(double ms, int64_t line)
{
    if (grid_.problem)
        return;
    if (!settled_) {
        if (!first_.empty()) {
            const Timed& last = first_.back();
            if (ms <= last.ms) {
                grid_.problem = TimeProblem{ms < last.ms ? TimeProblem::Kind::Backwards : TimeProblem::Kind::Repeated,
                                            last.line, line, last.ms, ms};
                return;
            }
        }
        first_.push_back({ms, line});
        if (first_.size() > SettlingSteps)
            settleInterval();
        return;
    }
    step(ms, line);
}

// The interval from the steps seen so far: the mean of those near their
// median (a pause among them does not count), snapped to whole hertz or ms.
void TimeGridBuilder::settleInterval()
{
    settled_ = true;
    grid_.start = first_.front().ms;
    lastMs_ = first_.front().ms;
    lastLine_ = first_.front().line;
    if (first_.size() < 2)
        return;
    std::vector<double> steps;
    steps.reserve(first_.size() - 1);
    for (std::size_t k = 1; k < first_.size(); ++k)
        steps.push_back(first_[k].ms - first_[k - 1].ms);
    std::vector<double> sorted = steps;
    // The lower median: a pause among few steps must not pass for the interval.
    const std::size_t middle = (sorted.size() - 1) / 2;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(middle), sorted.end());
    const double median = sorted[middle];
    double sum = 0.0;
    int64_t n = 0;
    for (double s : steps)
        if (std::fabs(s - median) <= IntervalTolerance * median) {
            sum += s;
            ++n;
        }
    grid_.interval = SnappedInterval(sum / static_cast<double>(n));
    const std::vector<Timed> kept = std::move(first_);
    first_.clear();
    for (std::size_t k = 1; k < kept.size() && !grid_.problem; ++k)
        step(kept[k].ms, kept[k].line);
}

void TimeGridBuilder::step(double ms, int64_t line)
{
    const double gap = ms - lastMs_;
    if (gap <= 0) {
        grid_.problem = TimeProblem{gap < 0 ? TimeProblem::Kind::Backwards : TimeProblem::Kind::Repeated, lastLine_,
                                    line, lastMs_, ms};
        return;
    }
    // Positions count from the start, so that rounding never adds up along a long file.
    const double at = (ms - grid_.start) / grid_.interval;
    const auto position = static_cast<int64_t>(std::llround(at));
    if (position <= position_ || std::fabs(at - static_cast<double>(position)) > IntervalTolerance) {
        grid_.problem = TimeProblem{TimeProblem::Kind::Irregular, lastLine_, line, lastMs_, ms};
        return;
    }
    if (position > position_ + 1)
        grid_.gaps.push_back({position_ + 1, position - position_ - 1});
    position_ = position;
    lastMs_ = ms;
    lastLine_ = line;
}

TimeGrid TimeGridBuilder::finish()
{
    if (!settled_ && !first_.empty())
        settleInterval();
    grid_.positions = first_.empty() && !settled_ ? 0 : position_ + 1;
    return grid_;
}

TimeGrid GridOfTimes(const std::vector<double>& times)
{
    TimeGridBuilder builder;
    for (std::size_t k = 0; k < times.size(); ++k)
        builder.add(times[k], static_cast<int64_t>(k) + 1);
    return builder.finish();
}

std::string ProblemText(const TimeProblem& p)
{
    const std::string lines = "lines " + std::to_string(p.lineBefore) + " and " + std::to_string(p.line);
    switch (p.kind) {
    case TimeProblem::Kind::Backwards:
        return "The time goes backwards between " + lines + ": " + TimeText(p.before) + ", then " + TimeText(p.at) +
               ".";
    case TimeProblem::Kind::Repeated: return "The time " + TimeText(p.at) + " stands on both " + lines + ".";
    case TimeProblem::Kind::Irregular: break;
    }
    return "The step from " + TimeText(p.before) + " to " + TimeText(p.at) + " between " + lines +
           " is not a whole number of sampling intervals.";
}

}  // namespace vk

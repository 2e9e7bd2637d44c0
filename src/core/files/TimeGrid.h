#pragma once

// The sampling grid of a file whose lines carry their times: the start, the
// interval (the common step, exact: 62.5 ms for 16 Hz), and the gaps where
// lines are missing, so that each line's value lands at the position of its
// time and never shifts the values after a pause.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk {

// A step counts as k intervals when it lies within this share of one
// interval from k intervals; further off it is irregular.
inline constexpr double IntervalTolerance = 0.1;

// The first line whose time does not fit the grid.
struct TimeProblem {
    enum class Kind { Backwards, Repeated, Irregular };
    Kind kind = Kind::Irregular;
    int64_t lineBefore = 0, line = 0;  // line numbers in the file, from 1
    double before = 0.0, at = 0.0;     // their times, ms
};

// Missing samples: `count` of them from sample position `position` on.
struct TimeGap {
    int64_t position = 0, count = 0;
    bool operator==(const TimeGap&) const = default;
};

struct TimeGrid {
    double start = 0.0;     // the first line's time, ms
    double interval = 0.0;  // ms; 0 with fewer than two lines
    int64_t positions = 0;  // samples from the first line's to the last's, gaps included
    std::vector<TimeGap> gaps;
    std::optional<TimeProblem> problem;
};

// Takes the lines' times in file order and works out the grid as it goes;
// it keeps the first lines until it has seen enough steps to know the
// interval, then only the gaps.
class TimeGridBuilder {
public:
    void add(double ms, int64_t line);
    TimeGrid finish();

private:
    void settleInterval();
    void step(double ms, int64_t line);

    struct Timed {
        double ms;
        int64_t line;
    };
    std::vector<Timed> first_;  // until the interval is settled
    TimeGrid grid_;
    double lastMs_ = 0.0;
    int64_t lastLine_ = 0, position_ = 0;
    bool settled_ = false;
};

// The whole grid of a list of times (lines numbered from 1).
TimeGrid GridOfTimes(const std::vector<double>& times);

// The text of a problem, naming its lines and times.
std::string ProblemText(const TimeProblem& problem);

// The interval itself where the measured one is a whole number of hertz or
// of milliseconds within rounding of the stamps (62.49 ms becomes 62.5).
double SnappedInterval(double measured);

}  // namespace vk

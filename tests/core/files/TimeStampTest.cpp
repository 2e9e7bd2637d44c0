#include <gtest/gtest.h>

#include <cmath>

#include "core/files/TimeGrid.h"
#include "core/files/TimeStamp.h"
#include "core/store/TimeBase.h"

namespace vk {

namespace {

double Ms(int y, int mo, int d, int h, int mi, int s, double ms = 0)
{
    return EncodeTime(y, mo, d, h, mi, s) + ms;
}

// The time of one field, its date order told by the field alone (or given).
std::optional<double> TimeOf(const char* text, DateOrder order = DateOrder::Unknown)
{
    const auto stamp = ReadStamp(text);
    return stamp ? TimeOfStamp(*stamp, order) : std::nullopt;
}

}  // namespace

TEST(TimeStamp, EveryCommonFormReadsToItsTime)
{
    const double t = Ms(2026, 1, 7, 6, 30, 49);
    EXPECT_EQ(TimeOf("2026-01-07T06:30:49"), t);
    EXPECT_EQ(TimeOf("2026-01-07 06:30:49"), t);
    EXPECT_EQ(TimeOf("2026-01-07T06:30:49.250Z"), t + 250);
    EXPECT_EQ(TimeOf("\"2026/01/07 06:30:49\""), t);  // quoted, year first with slashes
    EXPECT_EQ(TimeOf("07.01.2026 06:30:49"), t);      // dotted: day first
    EXPECT_EQ(TimeOf("07.01.26 06:30:49"), t);        // two-digit year
    EXPECT_EQ(TimeOf("07/01/2026 06:30:49", DateOrder::DayFirst), t);
    EXPECT_EQ(TimeOf("01/07/2026 06:30:49", DateOrder::MonthFirst), t);
    EXPECT_EQ(TimeOf("07/01/2026 06:30:49"), std::nullopt);  // slashed: the lines must tell
    EXPECT_EQ(TimeOf("2026-01-07T06:30"), Ms(2026, 1, 7, 6, 30, 0));
    EXPECT_EQ(TimeOf("2026-01-07"), Ms(2026, 1, 7, 0, 0, 0));
    EXPECT_EQ(ReadTimeOfDay("06:30:49,5"), 6 * 3600000.0 + 30 * 60000.0 + 49500.0);  // decimal comma
    EXPECT_EQ(ReadTimeOfDay("00:00:00.0625"), 62.5);                                 // 16 Hz, exact

    // Offsets are read and kept apart from the clock time.
    const auto east = ReadStamp("2026-01-07T06:30:49+02:00");
    ASSERT_TRUE(east);
    EXPECT_EQ(east->offsetMinutes, 120);
    EXPECT_EQ(TimeOfStamp(*east, DateOrder::Unknown), t);
    EXPECT_EQ(ReadStamp("2026-01-07 06:30:49-0530")->offsetMinutes, -330);
    EXPECT_EQ(ReadStamp("2026-01-07T06:30:49Z")->offsetMinutes, 0);
    EXPECT_FALSE(ReadStamp("2026-01-07T06:30:49")->offsetMinutes);

    // A time alone lands on the day it is given.
    EXPECT_EQ(TimeOfStamp(*ReadStamp("06:30:49"), DateOrder::Unknown, Ms(2026, 1, 7, 0, 0, 0)), t);

    // Not times: numbers, words, fields out of range, trailing rubbish.
    for (const char* text : {"", "12.5", "depth", "25:00", "06:61", "06:30:49x", "2026-13-07", "32.01.2026",
                             "2026-01-07X06:30", "06:30:49+2", "1.2.3.4"})
        EXPECT_EQ(TimeOf(text, DateOrder::DayFirst), std::nullopt) << text;
}

TEST(TimeStamp, DayFirstAndMonthFirstToldApartByTheLines)
{
    auto dates = [](std::initializer_list<const char*> texts) {
        std::vector<WrittenDate> list;
        for (const char* t : texts)
            list.push_back(*ReadDate(t));
        return list;
    };
    // A field above 12 tells at once.
    EXPECT_EQ(OrderOfDates(dates({"05/01/2002", "13/01/2002"})), DateOrder::DayFirst);
    EXPECT_EQ(OrderOfDates(dates({"01/05/2002", "01/13/2002"})), DateOrder::MonthFirst);
    // Else how the date changes after a day of lines: 05/01 -> 06/01 is the
    // next day when the day comes first, a month on when it does not.
    EXPECT_EQ(OrderOfDates(dates({"05/01/2002", "05/01/2002", "06/01/2002", "07/01/2002"})), DateOrder::DayFirst);
    EXPECT_EQ(OrderOfDates(dates({"01/05/2002", "01/06/2002", "01/06/2002", "01/07/2002"})), DateOrder::MonthFirst);
    // Over a month's end.
    EXPECT_EQ(OrderOfDates(dates({"31/01/2002", "01/02/2002"})), DateOrder::DayFirst);
    EXPECT_EQ(OrderOfDates(dates({"01/31/2002", "02/01/2002"})), DateOrder::MonthFirst);
    // One day of lines, or 01/01 -> 02/02 style changes: the file cannot tell.
    EXPECT_EQ(OrderOfDates(dates({"05/01/2002", "05/01/2002"})), DateOrder::Unknown);
    EXPECT_EQ(OrderOfDates({}), DateOrder::Unknown);
    // Dotted and year-first dates carry their order.
    EXPECT_EQ(OrderOfDates(dates({"05.01.2002"})), DateOrder::DayFirst);
    EXPECT_EQ(OrderOfDates(dates({"2002-01-05"})), DateOrder::YearFirst);
}

TEST(TimeGrid, IntervalStartAndGapsFromTheTimes)
{
    // 1 s lines with three lines missing after the fifth, and one after the tenth.
    std::vector<double> times;
    const double start = Ms(2002, 1, 5, 11, 32, 0);
    for (int k = 0; k < 15; ++k)
        if (!(k >= 5 && k < 8) && k != 13)
            times.push_back(start + k * 1000.0);
    const TimeGrid grid = GridOfTimes(times);
    EXPECT_FALSE(grid.problem);
    EXPECT_EQ(grid.start, start);
    EXPECT_EQ(grid.interval, 1000.0);
    EXPECT_EQ(grid.positions, 15);
    EXPECT_EQ(grid.gaps, (std::vector<TimeGap>{{5, 3}, {13, 1}}));

    // 16 Hz written to the millisecond: the exact interval, a long pause still placed right.
    std::vector<double> fast;
    for (int k = 0; k < 3000; ++k)
        if (k < 1500 || k >= 2500)
            fast.push_back(std::round(k * 62.5));
    const TimeGrid sixteen = GridOfTimes(fast);
    EXPECT_FALSE(sixteen.problem);
    EXPECT_EQ(sixteen.interval, 62.5);
    EXPECT_EQ(sixteen.gaps, (std::vector<TimeGap>{{1500, 1000}}));
    EXPECT_EQ(sixteen.positions, 3000);

    EXPECT_EQ(SnappedInterval(40.0004), 40.0);   // 25 Hz
    EXPECT_EQ(SnappedInterval(31.2501), 31.25);  // 32 Hz
    EXPECT_EQ(SnappedInterval(5000.3), 5000.0);  // every 5 s
    EXPECT_EQ(SnappedInterval(333.3334), 1000.0 / 3);
    EXPECT_EQ(GridOfTimes({start}).interval, 0.0);  // one line: no interval
    EXPECT_EQ(GridOfTimes({}).positions, 0);
}

TEST(TimeGrid, BackwardsRepeatedAndIrregularStepsNameTheirLines)
{
    const double t = Ms(2002, 1, 5, 11, 32, 0);
    const TimeGrid back = GridOfTimes({t, t + 1000, t + 2000, t + 1000, t + 4000});
    ASSERT_TRUE(back.problem);
    EXPECT_EQ(back.problem->kind, TimeProblem::Kind::Backwards);
    EXPECT_EQ(ProblemText(*back.problem),
              "The time goes backwards between lines 3 and 4: 05.01.2002 11:32:02, then 05.01.2002 11:32:01.");

    const TimeGrid twice = GridOfTimes({t, t + 1000, t + 1000});
    ASSERT_TRUE(twice.problem);
    EXPECT_EQ(ProblemText(*twice.problem), "The time 05.01.2002 11:32:01 stands on both lines 2 and 3.");

    // Past the settling steps, too: a half-interval step is irregular.
    std::vector<double> times;
    for (int k = 0; k < 2000; ++k)
        times.push_back(t + k * 1000.0 + (k >= 1500 ? 500.0 : 0.0));
    const TimeGrid odd = GridOfTimes(times);
    ASSERT_TRUE(odd.problem);
    EXPECT_EQ(odd.problem->kind, TimeProblem::Kind::Irregular);
    EXPECT_EQ(odd.problem->line, 1501);
    EXPECT_EQ(ProblemText(*odd.problem),
              "The step from 05.01.2002 11:56:59 to 05.01.2002 11:57:00.500 between lines "
              "1500 and 1501 is not a whole number of sampling intervals.");
}

}  // namespace vk

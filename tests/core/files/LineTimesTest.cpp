#include <gtest/gtest.h>

#include "core/files/LineTimes.h"
#include "core/store/TimeBase.h"
#include "support/TempDir.h"

namespace vk {

namespace {

struct LineTimesFile : ::testing::Test {
    test::TempDir dir;
    ChannelDescriptor d;
    SkipStrings skips;

    LineTimes read(std::string_view text, int timeColumn, int dateColumn = 0, char delimiter = ';')
    {
        d.NameIn = dir.write("log.csv", text);
        d.HeaderText = 1;
        d.ColumnValue = std::max(timeColumn, dateColumn) + 1;
        d.InDelimiter = delimiter;
        d.TimeColumn = timeColumn;
        d.DateColumn = dateColumn;
        return ReadLineTimes(d, 0, skips);
    }
};

}  // namespace

// A stamp per line, a pause of three lines, a status line and a skipped line
// that make no sample: the grid starts at the first line and leaves room
// for the pause.
TEST_F(LineTimesFile, StampsGiveStartIntervalAndPauses)
{
    skips.Skip1Enbld = true;
    skips.Skip1Str = "#";
    const LineTimes t = read(
        "time;depth\n"
        "2026-01-07T06:00:00Z;1.5\n"
        "2026-01-07T06:00:05Z;2.5\n"
        "# logger paused\n"
        "2026-01-07T06:00:25Z;3.5\n"
        "\n"
        "2026-01-07T06:00:30Z;4.5\n",
        1);
    EXPECT_EQ(t.error, "");
    EXPECT_FALSE(t.grid.problem);
    EXPECT_EQ(t.grid.start, EncodeTime(2026, 1, 7, 6, 0, 0));
    EXPECT_EQ(t.grid.interval, 5000.0);
    EXPECT_EQ(t.grid.positions, 7);
    EXPECT_EQ(t.grid.gaps, (std::vector<TimeGap>{{2, 3}}));

    // Offsets keep the file on its first line's clock across a change of offset.
    const LineTimes summer = read(
        "time;depth\n"
        "2026-03-29T01:59:58+01:00;1\n"
        "2026-03-29T01:59:59+01:00;1\n"
        "2026-03-29T03:00:00+02:00;1\n",
        1);
    EXPECT_FALSE(summer.grid.problem);
    EXPECT_EQ(summer.grid.positions, 3);
    EXPECT_EQ(summer.grid.start, EncodeTime(2026, 3, 29, 1, 59, 58));
}

// Dates and times in columns of their own; slashed dates read by how the day
// changes (month first here), the clock across midnight.
TEST_F(LineTimesFile, DateAndTimeColumnsAndTheOrderOfTheDates)
{
    const LineTimes t = read(
        "date;time;depth\n"
        "01/05/2002;23:59:58;1\n"
        "01/05/2002;23:59:59;1\n"
        "01/06/2002;00:00:00;1\n"
        "01/06/2002;00:00:01;1\n",
        2, 1);
    EXPECT_EQ(t.error, "");
    EXPECT_EQ(t.order, DateOrder::MonthFirst);
    EXPECT_EQ(t.grid.start, EncodeTime(2002, 1, 5, 23, 59, 58));
    EXPECT_EQ(t.grid.positions, 4);

    // One day of slashed dates cannot tell: the user must say.
    const LineTimes unknown = read("date;time;depth\n01/05/2002;10:00:00;1\n01/05/2002;10:00:01;1\n", 2, 1);
    EXPECT_TRUE(unknown.orderUnknown);
    d.dateOrder = DateOrder::DayFirst;
    const LineTimes told = ReadLineTimes(d, 0, skips);
    EXPECT_FALSE(told.orderUnknown);
    EXPECT_EQ(told.grid.start, EncodeTime(2002, 5, 1, 10, 0, 0));
}

// A clock without a date starts on the day of StartTime and turns at
// midnight; a plain number counts seconds from StartTime.
TEST_F(LineTimesFile, ClockAloneAndSecondsSinceTheStart)
{
    d.StartTime = EncodeTime(2002, 1, 5, 0, 0, 0);
    const LineTimes clock = read("time depth\n23:59:59 1\n00:00:00 1\n00:00:01 1\n", 1, 0, ' ');
    EXPECT_EQ(clock.grid.start, EncodeTime(2002, 1, 5, 23, 59, 59));
    EXPECT_EQ(clock.grid.positions, 3);
    EXPECT_FALSE(clock.grid.problem);

    d.StartTime = EncodeTime(2002, 1, 5, 11, 32, 0);
    const LineTimes seconds = read("s;depth\n0;1\n0.5;1\n1.5;1\n", 1);
    EXPECT_EQ(seconds.grid.start, d.StartTime);
    EXPECT_EQ(seconds.grid.interval, 500.0);
    EXPECT_EQ(seconds.grid.gaps, (std::vector<TimeGap>{{2, 1}}));
}

TEST_F(LineTimesFile, ALineWithoutATimeIsNamed)
{
    const LineTimes t = read("time;depth\n2026-01-07T06:00:00;1\nsensor reset;2\n", 1);
    EXPECT_EQ(t.error, " Line 3 of log.csv has no time in column 1: \"sensor reset\".");
    d.NameIn = dir.file("none.csv");
    EXPECT_EQ(ReadLineTimes(d, 0, skips).error, "   Can't open : " + d.NameIn);
}

}  // namespace vk

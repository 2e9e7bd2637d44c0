#include <gtest/gtest.h>

#include "core/store/TimeBase.h"
#include "core/store/TypedTime.h"

namespace vk {

TEST(TimeBase, EncodeFollowsTheProgramCalendar)
{
    EXPECT_EQ(EncodeTime(1982, 1, 1, 0, 0, 0), 31622400000.0);
    EXPECT_EQ(EncodeTime(1982, 1, 1, 1, 2, 3), 31622400000.0 + 3723000.0);
    // Two-digit years: 84 is 1984 (February with 29 days), 5 is 2005.
    EXPECT_EQ(EncodeTime(84, 3, 1, 0, 0, 0), EncodeTime(1984, 3, 1, 0, 0, 0));
    EXPECT_EQ(EncodeTime(1984, 3, 1, 0, 0, 0) - EncodeTime(1984, 2, 28, 0, 0, 0), 2 * 86400000.0);
    EXPECT_EQ(EncodeTime(1983, 3, 1, 0, 0, 0) - EncodeTime(1983, 2, 28, 0, 0, 0), 86400000.0);
    EXPECT_EQ(EncodeTime(5, 6, 7, 0, 0, 0), EncodeTime(2005, 6, 7, 0, 0, 0));
    EXPECT_EQ(EncodeTime(81, 1, 1, 0, 0, 0), EncodeTime(2081, 1, 1, 0, 0, 0));
    EXPECT_EQ(EncodeTime(82, 1, 1, 0, 0, 0), 31622400000.0);
    // Consecutive days one day apart across year ends.
    EXPECT_EQ(EncodeTime(1985, 1, 1, 0, 0, 0) - EncodeTime(1984, 12, 31, 0, 0, 0), 86400000.0);
}

TEST(TimeBase, DecodeReversesEncodeOverACentury)
{
    static const int monthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int year = 1982; year <= 2090; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int days = monthDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
            for (int day = 1; day <= days; ++day) {
                const CalendarTime expected{year, month, day, 23, 59, 58, 0};
                ASSERT_EQ(DecodeTime(EncodeTime(expected)), expected) << year << "-" << month << "-" << day;
            }
        }
    }
    EXPECT_EQ(DecodeTime(31622400000.0 + 1234.0).millisecond, 234);
    EXPECT_EQ(DecodeTime(2e28), CalendarTime{});
    EXPECT_EQ(FormatDateTime(EncodeTime(2002, 1, 5, 11, 32, 0), '.'), "05.01.2002 11:32:00");
    EXPECT_EQ(FormatDateTime(31622400000.0, '/'), "01/01/1982 00:00:00");
}

}  // namespace vk

namespace vk {

TEST(TypedTime, DatesAndClockTimesAsUsersTypeThem)
{
    const auto date = [](std::string_view text) {
        const auto t = ParseTypedDate(text);
        return t ? std::to_string(t->year) + "-" + std::to_string(t->month) + "-" + std::to_string(t->day) : "none";
    };
    for (const char* text : {"07.01.2026", "7.1.2026", "7.1.26", "07/01/2026", "07012026", "070126", "2026-01-07",
                             "20260107", " 07 01 2026 "})
        EXPECT_EQ(date(text), "2026-1-7") << text;
    EXPECT_EQ(date("1.1.90"), "1990-1-1");  // two digits from 82 on are the 1900s
    EXPECT_EQ(date("29.02.2024"), "2024-2-29");
    for (const char* text :
         {"", "31.02.2026", "29.02.2100", "13.13.2026", "7.1", "0701202", "07.01.2026 06:30", "1.1.123456", "x"})
        EXPECT_EQ(date(text), "none") << text;

    const auto clock = [](std::string_view text) {
        const auto t = ParseTypedClock(text);
        return t ? std::to_string(t->hour) + ":" + std::to_string(t->minute) + ":" + std::to_string(t->second) : "none";
    };
    for (const char* text : {"06:30:49", "6:30:49", "6.30.49", "063049", "6 30 49"})
        EXPECT_EQ(clock(text), "6:30:49") << text;
    EXPECT_EQ(clock("0630"), "6:30:0");
    EXPECT_EQ(clock("6"), "6:0:0");
    EXPECT_EQ(clock("23:59:59"), "23:59:59");
    for (const char* text : {"", "24:00", "6:60", "06304", "1:2:3:4", "6:30pm", "123:4"})
        EXPECT_EQ(clock(text), "none") << text;
}

}  // namespace vk

#include <gtest/gtest.h>

#include "core/store/CommonStart.h"
#include "support/ScriptedDialogs.h"

namespace vk {

TEST(CommonStart, DelaysCountFromTheEarliestUsedSlot)
{
    Recording rec;
    ScriptedDialogs ui;
    const double t0 = EncodeTime(2002, 1, 5, 11, 32, 0);
    rec.desc(0).StartTime = t0 + 10000;
    rec.desc(0).SampRate = 1000;
    rec.desc(1).StartTime = t0;
    rec.desc(1).SampRate = 4000;
    rec.desc(2).StartTime = t0 - 1e9;  // not used: does not count
    rec.at(2).ChannelUsed = false;
    rec.desc(2).SmpDelay = 99;

    ASSERT_TRUE(SettleCommonStart(rec, ui));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(rec.desc(0).SmpDelay, 10);
    EXPECT_EQ(rec.desc(0).CorrSmpDelay, 10);
    EXPECT_EQ(rec.desc(1).SmpDelay, 0);
    EXPECT_EQ(rec.desc(2).SmpDelay, 99);
    EXPECT_EQ(rec.time.GlobalStart, t0);
    EXPECT_EQ(rec.time.Start, (CalendarTime{2002, 1, 5, 11, 32, 0, 0}));

    // A time offset moves the origin and turns the rest into skipped samples.
    rec.time.TimeOffset = 20000;
    ASSERT_TRUE(SettleCommonStart(rec, ui));
    EXPECT_EQ(rec.desc(0).CorrSmpDelay, 0);
    EXPECT_EQ(rec.at(0).SkipCount, 10);
    EXPECT_EQ(rec.desc(1).CorrSmpDelay, 0);
    EXPECT_EQ(rec.at(1).SkipCount, 5);
    EXPECT_EQ(rec.time.GlobalStart, t0 + 20000);
}

TEST(CommonStart, RefusesIllegalTimingAndAsksAboutDistantStarts)
{
    Recording rec;
    rec.at(2).ChannelUsed = false;
    ScriptedDialogs ui;
    rec.desc(1).SampRate = 0;
    EXPECT_FALSE(SettleCommonStart(rec, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Illegal sampl. rate"});

    rec.desc(1).SampRate = 1000;
    rec.desc(1).StartTime = rec.desc(0).StartTime + 400 * 86400000.0;
    ui.shown.clear();
    ui.answers = {Answer::No};
    EXPECT_FALSE(SettleCommonStart(rec, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{
                              " Start times differs much! \r\n(May origin from info in file header)\r\nContinue? "});
    ui.shown.clear();
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(SettleCommonStart(rec, ui));
    EXPECT_EQ(rec.desc(1).SmpDelay, 400 * 86400);

    rec.desc(1).SampRate = 1;  // 400 days in ms do not fit an int32 sample count
    ui.shown.clear();
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(SettleCommonStart(rec, ui));
    EXPECT_EQ(ui.texts().back(), "Illegal start time");
}

}  // namespace vk

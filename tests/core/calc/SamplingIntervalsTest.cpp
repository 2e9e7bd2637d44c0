#include <gtest/gtest.h>

#include "../process/ProcessFixture.h"
#include "core/calc/SamplingIntervals.h"

namespace vk {

namespace {

using test::ProcessFixture;

// The message for the answer, or the last text shown.
std::string Answered(ProcessFixture& f, const std::string& answer)
{
    f.ui.inputs.push_back(answer);
    NoUndo none;
    ViewContext cx{f.rec, f.view, f.ui, none};
    SuggestSamplingIntervals(cx);
    return f.ui.texts().empty() ? "" : f.ui.texts().back();
}

}  // namespace

TEST_F(ProcessFixture, SynchronizeReportsFourIntervalsAndRefusesWhatIsNoPair)
{
    rec.desc(1).SampRate = 2000;
    view.at.F4 = 5000;   // channel 1: index 5; channel 2: index 2
    view.at.F5 = 50000;  // channel 1: index 50; channel 2: index 25
    EXPECT_EQ(Answered(*this, "1 2"), "SI 1=10000.000 or SI 1=  100.000 or SI 2=  200.000 or SI 2=25000.000");
    EXPECT_EQ(Answered(*this, "1 1"), "Channels must be different");
    EXPECT_EQ(Answered(*this, "0 2"), "Invalid channel number");
    EXPECT_EQ(Answered(*this, "1 4"), "Invalid channel number");
    EXPECT_EQ(Answered(*this, "one 2"), "Invalid channel number");
    EXPECT_EQ(Answered(*this, "1 2 3"), " Too many channels selected");
    view.at.F4 = 0;  // index 0: no interval
    EXPECT_EQ(Answered(*this, "2 1"), "SI 2=      --- or SI 2=    0.000 or SI 1=    0.000 or SI 1=      ---");
    rec.desc(1).StartTime += 1000;
    const std::size_t shown = ui.texts().size();
    Answered(*this, "1 2");
    EXPECT_EQ(ui.texts().size(), shown);
    EXPECT_EQ(ui.helpPages, std::vector<std::string>{"ESIdiff.rtf"});
}

}  // namespace vk

#include <gtest/gtest.h>

#include "core/store/FatalError.h"
#include "support/ScriptedDialogs.h"

namespace vk {

TEST(FatalError, ShowsTheCodesMessageAndHaltsOnRequest)
{
    ScriptedDialogs ui;
    ReportFatalError(ui, 13, false);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{" Illegal calibration. Ymin=Ymax"});
    EXPECT_EQ(ui.halts, 0);

    ui.shown.clear();
    ReportFatalError(ui, 0, true);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"  User abort.", "     Program halts. "}));
    EXPECT_EQ(ui.halts, 1);

    EXPECT_EQ(FatalErrorText(3), "  Illegal sampling interval. Only integers allowed.");
    EXPECT_EQ(FatalErrorText(4), "");
    EXPECT_EQ(FatalErrorText(-1), "");
}

}  // namespace vk

#include <gtest/gtest.h>

#include "core/view/ChartStyle.h"
#include "core/view/RedrawRequest.h"

namespace vk {

TEST(ChartStyle, OkStoresWhatTheDialogShows)
{
    Recording rec;
    ViewState view;
    ChannelDescriptor& d = rec.desc(0);
    d.Caption = "Depth";
    // Styles with a button, and those without (kept by OK).
    EXPECT_EQ(RadiosOf(-3).shape, 3);
    EXPECT_TRUE(RadiosOf(-3).inverted);
    for (const int style : {0, 5, 6, 9, -7}) {
        d.GrRepr = style;
        ChartStyleChoice c = CurrentChartStyle(rec, view, 0);
        EXPECT_EQ(c.radios.shape, 0) << style;
        ApplyChartStyle(rec, view, 0, c);
        EXPECT_EQ(d.GrRepr, style);
    }
    ChartStyleChoice c = CurrentChartStyle(rec, view, 0);
    c.radios = {2, true};
    c.lenF8F9 = 8;
    c.posF8F9 = 12;  // held to 9
    uint32_t request = ApplyChartStyle(rec, view, 0, c);
    EXPECT_EQ(d.GrRepr, -2);
    EXPECT_EQ(d.LenF8F9, 8);
    EXPECT_EQ(d.PosF8F9, 9);
    EXPECT_EQ(request, 324u);  // the strip, its lines and its y scale
    // The caption place or the time axis: every strip and the read-outs too.
    c.caption = CaptionPlace::Bottom;
    c.dateAndTime = false;
    request = ApplyChartStyle(rec, view, 0, c);
    EXPECT_EQ(view.caption, CaptionPlace::Bottom);
    EXPECT_EQ(view.timeAxisMode, 1);
    EXPECT_TRUE(request & redraw::AllStrips);
    EXPECT_TRUE(request & redraw::Readouts);

    // A name of at most 255 bytes, never cut inside a character.
    EXPECT_EQ(CutCaption(std::string(300, 'a')).size(), 255u);
    std::string name(254, 'a');
    name += "\xC3\xA9\xC3\xA9";  // two two-byte letters from byte 254 on
    EXPECT_EQ(CutCaption(name), std::string(254, 'a'));
}

}  // namespace vk

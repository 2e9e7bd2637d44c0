#pragma once

// One channel drawn against another over the work section: the checks before
// the plot opens, the value ranges, the point cloud as an image of colour
// indexes, and the ellipse with its tolerance band that the user lays over
// the cloud (for instance two horizontal sensor axes should lie on a circle).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/setup/CalcChoices.h"
#include "core/store/Recording.h"
#include "core/store/Stretches.h"

namespace vk {

enum class PlotCheck { Ok, ChannelMissing, IntervalsDiffer };

// The two plotted channels and the colour channel (slots) must hold data,
// the plotted two with one sampling interval.
PlotCheck CheckPlotChannels(const Recording& rec, int slotA, int slotB, int colourSlot);
std::string PlotCheckText(PlotCheck check);

// The colour channel's slot from its typed number (below 1 counts as 1; -1
// when it is no channel number) and the threshold (not positive gives 1).
int ColourSlotOf(const std::string& typed);
double ThresholdOf(double typed);

// The samples of the work section: trunc(F4 / interval) .. trunc(F5 / interval) + 1,
// cut to what the channel stores.
StoredSection PlotSamples(const ChannelView& channel, double f4, double f5);

struct ValueSpan {
    double min = 0, max = 0;
    bool any = false;
};
// Minimum and maximum of the channel's values from the sample of F4 to that of F5.
ValueSpan SectionSpan(const Recording& rec, int slot, double f4, double f5);

// The values the image shows: each span widened by an eighth of itself on both sides.
struct PlotFrame {
    double xmin = 0, xrange = 0, ymin = 0, yrange = 0;
    bool tooSmall() const { return !(xrange > 0) || !(yrange > 0); }
};
PlotFrame PlotFrameOf(const ValueSpan& a, const ValueSpan& b);

// Pixel of a value and the value of a pixel in an image width x height.
int PlotColumn(const PlotFrame& f, double a, int width);
int PlotRow(const PlotFrame& f, double b, int height);
double PlotValueX(const PlotFrame& f, double x, int width);
double PlotValueY(const PlotFrame& f, double y, int height);

// Each pixel: 0 empty, 1 colour 1, 2 colour 2; each sample a dot of radius 1,
// later samples over earlier ones.
struct CloudImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct CloudRequest {
    int slotA = 0, slotB = 1;
    int colourSlot = 0;  // read at each sample's time; -1 for none (all colour 2)
    double threshold = 100;
    double f4 = 0, f5 = 0;
};

CloudImage PaintCloud(const Recording& rec, const CloudRequest& request, const PlotFrame& frame, int width, int height);

// The ellipse: its box, the box moved outwards and inwards by the band along
// its diagonals, and the six handles as 6-pixel squares (top-left corners).
enum PlotHandle : int { NoHandle = 0, HandleLeft, HandleRight, HandleTop, HandleBottom, HandleOuter, HandleInner };
inline constexpr int HandleSize = 6;

struct PixelBox {
    double left = 0, top = 0, right = 0, bottom = 0;
};
PixelBox OuterBox(const EllipseState& e);
PixelBox InnerBox(const EllipseState& e);

struct HandleCorner {
    int x = 0, y = 0;
};
// Indexed by PlotHandle - 1.
std::array<HandleCorner, 6> HandleCorners(const EllipseState& e);
PlotHandle HandleAt(const EllipseState& e, int x, int y);
// Releasing a handle dragged by (dx, dy).
EllipseState MoveHandle(EllipseState e, PlotHandle h, int dx, int dy);
// "Reset circle": box 100,100 .. 200,200 and a band of 30.
EllipseState ResetEllipse();

}  // namespace vk

#include "core/view/WindowLayout.h"

#include <cmath>

namespace vk {

namespace {

int Px(double v)
{
    return static_cast<int>(std::lround(v));
}

Box FromEdges(int left, int top, int right, int bottom)
{
    return {left, top, right - left, bottom - top};
}

}  // namespace

WindowLayout ComputeLayout(int w, int h, const std::array<bool, SlotCount>& loaded, std::array<uint8_t, SlotCount>& heights)
{
    WindowLayout l;
    const int right = Px(0.8 * w);
    l.total = FromEdges(2, Px(0.04 * h), right, Px(0.09 * h));
    l.totalTimeScale = FromEdges(2, Px(0.092 * h), right, Px(0.142 * h));
    l.timeScale = FromEdges(2, Px(0.77 * h), right, Px(0.815 * h));
    l.readoutTop = Px(0.83 * h);

    int sum = 0;
    for (int s = 0; s < 3; ++s)
        if (loaded[static_cast<std::size_t>(s)])
            sum += heights[static_cast<std::size_t>(s)];
    if (sum == 0)
        for (int s = 0; s < 3; ++s)
            if (loaded[static_cast<std::size_t>(s)]) {
                heights[static_cast<std::size_t>(s)] = 1;
                ++sum;
            }
    double top = 0.15 * h;
    for (int s = 0; s < 3; ++s) {
        const auto i = static_cast<std::size_t>(s);
        if (!loaded[i] || heights[i] == 0)
            continue;
        const double height = 0.6 * h * heights[i] / sum;
        l.strips[i] = FromEdges(2, Px(top), right, Px(top + height));
        l.yScales[i] = FromEdges(Px(0.8 * w) + 2, Px(top), Px(0.9 * w) - 2, Px(top + height));
        top += height + 0.005 * h;
    }
    return l;
}

WindowLayout LayoutOfRecording(Recording& rec, int screenWidth, int screenHeight)
{
    std::array<bool, SlotCount> loaded{};
    std::array<uint8_t, SlotCount> heights{};
    for (int s = 0; s < SlotCount; ++s) {
        loaded[static_cast<std::size_t>(s)] = rec.at(s).ChannelUsed;
        heights[static_cast<std::size_t>(s)] = rec.desc(s).WndSze;
    }
    const WindowLayout layout = ComputeLayout(screenWidth, screenHeight, loaded, heights);
    for (int s = 0; s < SlotCount; ++s)
        rec.desc(s).WndSze = heights[static_cast<std::size_t>(s)];
    return layout;
}

void SetStripHeights(Recording& rec, const std::array<int, SlotCount>& heights)
{
    for (int s = 0; s < SlotCount; ++s)
        if (rec.at(s).ChannelUsed)
            rec.desc(s).WndSze = static_cast<uint8_t>(heights[static_cast<std::size_t>(s)]);
}

}  // namespace vk

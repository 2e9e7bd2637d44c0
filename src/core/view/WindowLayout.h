#pragma once

// Where the parts of the graph window go: fractions of the screen's width W and
// height H, rounded to whole pixels.

#include <array>
#include <cstdint>

#include "core/store/Recording.h"

namespace vk {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Box&) const = default;
};

struct WindowLayout {
    Box total;  // the total window (overview)
    Box totalTimeScale;
    std::array<Box, SlotCount> strips{};  // height 0: no strip for that channel
    std::array<Box, SlotCount> yScales{};
    Box timeScale;
    int readoutTop = 0;
};

// The layout for a screen of W x H pixels. `loaded` tells which slots hold a
// channel; `heights` are their relative heights (WndSze), set to 1 for every
// loaded channel when they are all 0 (heights is updated then).
WindowLayout ComputeLayout(int screenWidth, int screenHeight, const std::array<bool, SlotCount>& loaded,
                           std::array<uint8_t, SlotCount>& heights);

// The column at which a strip's caption starts: half the width less the name's length.
// The layout of the recording's strips on a screen; a channel whose height
// the layout settles (WndSze) keeps it.
WindowLayout LayoutOfRecording(Recording& rec, int screenWidth, int screenHeight);

// "&Win height ...": each used channel's strip takes the relative height
// chosen (1 .. 9); a channel not in use keeps its own.
void SetStripHeights(Recording& rec, const std::array<int, SlotCount>& heights);

inline int CaptionColumn(int width, int characters)
{
    return width / 2 - characters;
}

}  // namespace vk

#pragma once

// "&Style ...": how the active channel is drawn, its name, its B-cursors, and
// for all channels where captions stand and how times read.

#include <string>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

// The style's radio buttons: shape 1 solid line, 2 vertical bars, 3 dots, 4
// points, and the scale; shape 0 (no button) for the styles 0 and 5 .. 9,
// which OK then keeps.
struct StyleRadios {
    int shape = 0;
    bool inverted = false;
};
StyleRadios RadiosOf(int style);

struct ChartStyleChoice {
    StyleRadios radios;
    CaptionPlace caption = CaptionPlace::Top;
    std::string name;
    int lenF8F9 = 4, posF8F9 = 5;  // 0 .. 9
    bool dateAndTime = true;
};

// The choice the dialog opens with.
ChartStyleChoice CurrentChartStyle(const Recording& rec, const ViewState& view, int slot);

// OK: the choice stored; returns the redraw request (the strip, its lines and
// y scale; all strips and the read-outs when the caption place or the time
// axis changed).
uint32_t ApplyChartStyle(Recording& rec, ViewState& view, int slot, const ChartStyleChoice& c);

// A channel name as the descriptor keeps it: at most 255 bytes, cut between characters.
std::string CutCaption(const std::string& text);

}  // namespace vk

#pragma once

// What a command of the graph window works on and what it leaves: the view's
// part. The setup layer adds the settings and the dive state (CommandContext).

#include <cstdint>

#include "core/store/Recording.h"
#include "core/store/UndoSink.h"
#include "core/view/ViewState.h"

namespace vk {

class VkDialogs;

// The samples a command changed, so that the window updates its envelopes
// over that range only.
struct SampleChange {
    int slot = -1;             // none
    int64_t from = 0, to = 0;  // channel indexes from .. to - 1
    bool length = false;       // the channel's length changed: all of it anew
    bool any() const { return slot >= 0; }
};

struct CommandResult {
    uint32_t redraw = 0;  // the redraw request, run once at the end
    SampleChange changed;

    CommandResult() = default;
    CommandResult(uint32_t bits) : redraw(bits) {}  // a command that only redraws
    CommandResult(uint32_t bits, SampleChange c) : redraw(bits), changed(c) {}
};

// The recording, the borders and cursors, the seam and the undo sink: what a
// command of the view works on.
struct ViewContext {
    Recording& rec;
    ViewState& view;
    VkDialogs& ui;
    UndoSink& undo;  // one Undo takes back every step the command records here
};

}  // namespace vk

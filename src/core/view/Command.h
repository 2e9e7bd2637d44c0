#pragma once

// What a command of the graph window works on and what it leaves: the view's
// part. The setup layer adds the settings and the dive state (CommandContext).

#include <algorithm>
#include <array>
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
    bool length = false;       // the length or the missing values changed: all of it anew
    bool any() const { return slot >= 0; }
};

// The changes of one command (an Undo may take back several steps): one
// range per slot, covering every change to it.
struct SampleChanges {
    std::array<SampleChange, SlotCount> bySlot;

    void add(const SampleChange& c)
    {
        if (!c.any())
            return;
        SampleChange& s = bySlot[static_cast<std::size_t>(CheckSlot(c.slot))];
        if (!s.any()) {
            s = c;
            return;
        }
        s.from = std::min(s.from, c.from);
        s.to = std::max(s.to, c.to);
        s.length = s.length || c.length;
    }
};

struct CommandResult {
    uint32_t redraw = 0;  // the redraw request, run once at the end
    SampleChanges changed;

    CommandResult() = default;
    CommandResult(uint32_t bits) : redraw(bits) {}  // a command that only redraws
    CommandResult(uint32_t bits, const SampleChange& c) : redraw(bits) { changed.add(c); }
    CommandResult(uint32_t bits, const SampleChanges& c) : redraw(bits), changed(c) {}

    // Another command's result joined to this one.
    void add(const CommandResult& o)
    {
        redraw |= o.redraw;
        for (const SampleChange& c : o.changed.bySlot)
            changed.add(c);
    }
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

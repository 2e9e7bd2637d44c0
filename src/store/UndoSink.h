#pragma once

// Where commands record their undo steps before they change anything. The
// undo stack implements it; until a stack is attached, NoUndo records nothing.

#include <cstdint>
#include <string>

namespace vk {

// Kinds of undo steps, as the stack file keeps them.
enum UndoKind : int {
    UndoZoom = 1,        // the view: borders, cursors, a channel's range
    UndoSingleValue = 3, // one sample changed by the mouse
    UndoBaseline = 129,  // a channel's baseline offset
};

class UndoSink {
public:
    virtual ~UndoSink() = default;
    // Records the state that `kind` can restore, with the redraw request that
    // undoing it needs and the channel it concerns.
    virtual void Push(int kind, uint32_t redraw, int slot) = 0;
};

class NoUndo : public UndoSink {
public:
    void Push(int, uint32_t, int) override {}
};

}  // namespace vk

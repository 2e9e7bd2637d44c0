#pragma once

// Where commands record their undo steps before they change anything. The
// undo stack implements it; until a stack is attached, NoUndo records nothing.

#include <cstdint>
#include <string>

#include "core/store/UndoKind.h"

namespace vk {

class UndoSink {
public:
    virtual ~UndoSink() = default;
    // Records the state that `kind` can restore, with the redraw request that
    // undoing it needs and the channel it concerns.
    virtual void Push(UndoKind kind, int slot, uint32_t redraw) = 0;
    // The same with the raw samples from .. to - 1 of the slot kept.
    virtual void PushRange(UndoKind kind, int slot, int32_t /*from*/, int32_t /*to*/, uint32_t redraw)
    {
        Push(kind, slot, redraw);
    }
};

class NoUndo : public UndoSink {
public:
    void Push(UndoKind, int, uint32_t) override {}
};

}  // namespace vk

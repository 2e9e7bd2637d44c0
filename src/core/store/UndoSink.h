#pragma once

// Where commands record their undo steps before they change anything. The
// undo stack implements it; until a stack is attached, NoUndo records nothing.

#include <cstdint>
#include <string>

namespace vk {

// Kinds of undo steps, as the stack file keeps them.
enum UndoKind : int {
    UndoZoom = 1,           // the view: borders, cursors, a channel's range
    UndoSingleValue = 3,    // one sample changed by the mouse
    UndoSpline = 0,         // samples replaced by a line or curve (splines, burnished dives)
    UndoSmooth = 6,         // a smoothing: kernels, running mean, low pass, flat baseline
    UndoReplace = 7,        // values replaced by a value or a line
    UndoPeaks = 8,          // peaks replaced by lines
    UndoExtremes = 9,       // words at either end of the raw range replaced
    UndoCompensation = 26,  // a sensor-inertia compensation
    UndoDiveAnalysis = 29,  // a dive written: the view before the next search
    UndoSection = 10,       // plus the code of a section operation: its samples
    UndoPolynomial = 50,    // a channel's whole descriptor (the polynomial dialog)
    UndoBaseline = 129,     // a channel's baseline offset
    UndoArithmetic = 130,   // a channel's calibration
    UndoDerived = 133,      // a channel computed anew: its samples, calibration and range
};

class UndoSink {
public:
    virtual ~UndoSink() = default;
    // Records the state that `kind` can restore, with the redraw request that
    // undoing it needs and the channel it concerns.
    virtual void Push(int kind, uint32_t redraw, int slot) = 0;
    // The same with the raw samples from .. to - 1 of the slot kept.
    virtual void PushRange(int32_t /*from*/, int32_t /*to*/, uint32_t redraw, int kind, int slot)
    {
        Push(kind, redraw, slot);
    }
};

class NoUndo : public UndoSink {
public:
    void Push(int, uint32_t, int) override {}
};

}  // namespace vk

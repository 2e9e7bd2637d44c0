#pragma once

// The work section's arithmetic: one operation on every sample of a channel
// between the cursors F4 and F5. Add, divide and multiply over the whole
// channel change its calibration instead of its samples.

#include <cstdint>

#include "core/view/Command.h"

#include "core/store/Channel.h"

namespace vk {

// The operations; a per-sample run records the undo kind SectionUndoKind(code).
enum SectionCode : int {
    SectionNegativeToZero = 4,  // "&Del. < 0"
    SectionDeletePoints = 6,    // point editing, a command of its own
    SectionAdd = 8,
    SectionDivide = 9,
    SectionMultiply = 10,
    SectionRamp = 11,      // add a ramp of the given height
    SectionEqualize = 12,  // tilt the section until its ends are equal
    SectionConstant = 13,
    SectionSine = 14,
    SectionCosine = 15,
    SectionInsertPoints = 16,  // point editing, a command of its own
};

// The undo kind of an operation's samples.
UndoKind SectionUndoKind(int code);

// Where a ramp or a tilt is zero.
enum RampAnchor : int { RampNone = 0, RampZeroAtF4 = 1, RampZeroAtF5 = 2 };

// Indexes of the first sample at or after F4 and the last at or before F5;
// the section is first .. last, both included.
struct WorkSection {
    int64_t first = 0, last = -1;
    int64_t count() const { return last - first + 1; }
};
WorkSection SectionIndexes(const ChannelView& channel, double f4, double f5);

// Runs `code` on the section F4 .. F5 of `slot`. Add, divide, multiply and set
// constant ask their number; `parameter` is the ramp's height. Refused while
// a polynomial is applied (the help page says why), for a section of fewer
// than two samples, and for a divisor or factor near 0 ("invalid operator").
// The changed samples get one undo step; results beyond the raw range are
// clamped and leave the range-excess hint.
CommandResult ApplySectionOperation(ViewContext& cx, int code, int variant, int slot, double parameter, double f5,
                                    double f4);

}  // namespace vk

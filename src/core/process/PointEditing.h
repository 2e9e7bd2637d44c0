#pragma once

// Inserting and deleting samples at the cursors: the channel after F4 moves
// later or earlier, and its length changes.

#include "core/view/Command.h"

namespace vk {


// Asks how many copies of the sample at F4 to insert right after it.
// Refused while a polynomial is applied, for a negative count, beyond the
// slot's capacity (" Rejected! Size exceeds limit.") and with F4 past the
// channel's last sample.
CommandResult InsertPoints(ViewContext& cx, int slot, double f5, double f4);

// Asks, then deletes the samples from F4 up to the one before F5: the sample
// at F5 takes F4's place. Two undo steps, taken back by one Undo.
CommandResult DeletePoints(ViewContext& cx, int slot, double f5, double f4);

}  // namespace vk

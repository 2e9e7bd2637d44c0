#pragma once

// Laying a stored section over the active channel from F4 on ("Overwrite"):
// what would be written, for the preview, and writing it.

#include <cstdint>
#include <vector>

#include "core/setup/SectionBuffers.h"
#include "core/view/Command.h"

namespace vk {


// The words an overwrite writes: at destination indexes first .. first +
// words.size() - 1 of `slot`. A word the merge keeps is the destination's own.
struct SectionOverwrite {
    int slot = 0;
    int32_t first = 0;
    std::vector<uint16_t> words;
    bool empty() const { return words.empty(); }
};

// The overwrite of `buffer` onto `slot` from F4, read now: the source words
// first .. last of the buffer's channel, all read before any is written (the
// two may overlap), placed from the sample at F4 of `slot`, and cut at its
// last sample.
SectionOverwrite PlanOverwrite(const Recording& rec, const SectionBuffer& buffer, bool merge, int slot, double f4);

// Writes the plan: one undo step over the samples written, the channel marked.
CommandResult FixOverwrite(ViewContext& cx, const SectionOverwrite& plan);

}  // namespace vk

#pragma once

// Moving a run of a slot's stored samples to other positions: insert,
// delete, the clock-drift shifts, the section copy and their undo steps.
// Positions are places in the store (ChannelView::stored).

#include <cstdint>

#include "core/store/SampleStore.h"

namespace vk {

// The words at positions a .. b (both included) move to a + k .. b + k, as
// memmove would: overlapping runs are copied in the order that reads every
// word before it is overwritten. Block by block, with a plain copy within
// each. Positions outside the allocated blocks are not touched (a word moved
// from there reads 0). False, and nothing moved, for a run outside 0 ..
// Capacity - 1 at either end.
bool MoveSamples(SampleStore& store, int slot, int64_t a, int64_t b, int64_t k);

// The words at positions from .. from + count - 1, block by block (0 where
// no block is allocated), and the same written back.
void ReadWords(const SampleStore& store, int slot, int64_t from, int64_t count, uint16_t* out);
void WriteWords(SampleStore& store, int slot, int64_t from, int64_t count, const uint16_t* in);

}  // namespace vk

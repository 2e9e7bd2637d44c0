#pragma once

namespace vk {

// A recording has three channel slots: 0 depth, 1 temperature, 2 auxiliary.
constexpr int SlotCount = 3;
constexpr int DepthSlot = 0;

// Returns the slot when it lies in 0..2 and throws std::out_of_range otherwise:
// a wrong slot is a programming fault and must never wrap to another channel.
int CheckSlot(int slot);

}  // namespace vk

#include "core/store/Slot.h"

#include <stdexcept>
#include <string>

namespace vk {

int CheckSlot(int slot)
{
    if (slot < 0 || slot >= SlotCount)
        throw std::out_of_range("channel slot " + std::to_string(slot) + " outside 0..2");
    return slot;
}

}  // namespace vk

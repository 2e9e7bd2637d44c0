#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/store/PageMemory.h"
#include "core/store/Slot.h"

namespace vk {

// Raw 16-bit samples of the slots in blocks of 16384. One table serves all
// slots: block k of slot s is entry k * SlotCount + s. A block exists only where it was
// allocated; every lookup checks that, so no caller ever gets a missing block.
class SampleStore {
public:
    static constexpr int32_t BlockSamples = 16384;
    static constexpr int BlockShift = 14;
    static constexpr int32_t BlockMask = BlockSamples - 1;
    static constexpr int RowsPerSlot = 2400;
    static constexpr int TableEntries = RowsPerSlot * SlotCount;
    static constexpr int32_t Capacity = RowsPerSlot * BlockSamples;  // 39321600 samples per slot

    // Allocates rows 0..rows-1 for the slots asked for. Returns false when
    // memory ran out (with none allocated, or under the address sanitizer the
    // rows allocated until then).
    bool Allocate(const std::array<bool, SlotCount>& slots, int rows = RowsPerSlot);
    void Release();

    // Table entries walked by the last allocation (7200 after a full one).
    int tableCount() const { return static_cast<int>(table_.size()); }
    // A store over the same blocks that owns none of them: for engines that
    // read on other threads while this store lives and keeps its blocks.
    SampleStore Borrow() const;

    // The block of slot s at row k, or nullptr where none was allocated.
    uint16_t* block(int slot, int row)
    {
        const int entry = row * SlotCount + slot;
        return (row >= 0 && entry < tableCount()) ? table_[static_cast<std::size_t>(entry)] : nullptr;
    }
    const uint16_t* block(int slot, int row) const { return const_cast<SampleStore*>(this)->block(slot, row); }

    // Samples the slot can hold: its blocks from row 0 without a gap.
    int32_t capacity(int slot) const;

private:
    std::vector<uint16_t*> table_;                    // nullptr where no block was allocated
    std::vector<PageMemory> slotPages_;               // each slot's blocks one after another
    std::vector<std::unique_ptr<uint16_t[]>> owned_;  // blocks of their own, under the address sanitizer
};

}  // namespace vk

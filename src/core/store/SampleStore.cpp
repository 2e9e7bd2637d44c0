#include "core/store/SampleStore.h"

#include <algorithm>
#include <new>

namespace vk {

bool SampleStore::Allocate(const std::array<bool, SlotCount>& slots, int rows)
{
    Release();
    table_.reserve(TableEntries);
    owned_.reserve(TableEntries);
    for (int row = 0; row < std::min(rows, RowsPerSlot); ++row) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::unique_ptr<uint16_t[]> block;
            if (slots[static_cast<std::size_t>(slot)]) {
                // Not value-initialised: pages stay untouched until a loader writes them.
                block.reset(new (std::nothrow) uint16_t[BlockSamples]);
                if (!block)
                    return false;
            }
            table_.push_back(block.get());
            owned_.push_back(std::move(block));
        }
    }
    return true;
}

void SampleStore::Release()
{
    table_.clear();
    table_.shrink_to_fit();
    owned_.clear();
    owned_.shrink_to_fit();
}

SampleStore SampleStore::Borrow() const
{
    SampleStore s;
    s.table_ = table_;
    return s;
}

int32_t SampleStore::capacity(int slot) const
{
    int rows = 0;
    while (rows < RowsPerSlot && block(slot, rows) != nullptr)
        ++rows;
    return rows * BlockSamples;
}

}  // namespace vk

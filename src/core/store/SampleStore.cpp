#include "core/store/SampleStore.h"

#include <algorithm>
#include <new>

namespace vk {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool BlocksOfTheirOwn = true;  // so that the sanitizer catches a read past a block
#else
constexpr bool BlocksOfTheirOwn = false;
#endif

}  // namespace

bool SampleStore::Allocate(const std::array<bool, SlotCount>& slots, int rows)
{
    Release();
    rows = std::clamp(rows, 0, RowsPerSlot);
    table_.reserve(TableEntries);
    if (BlocksOfTheirOwn)
        owned_.reserve(TableEntries);
    // A slot's blocks in pages of their own, untouched (not counted in the
    // process's memory) until a loader writes them; an allocation of the
    // heap would touch a page for its header in every block.
    std::array<uint16_t*, SlotCount> base{};
    for (int slot = 0; slot < SlotCount && !BlocksOfTheirOwn; ++slot) {
        if (!slots[static_cast<std::size_t>(slot)] || rows == 0)
            continue;
        try {
            slotPages_.emplace_back(static_cast<std::size_t>(rows) * BlockSamples * sizeof(uint16_t));
        } catch (const std::bad_alloc&) {
            Release();
            return false;
        }
        base[static_cast<std::size_t>(slot)] = reinterpret_cast<uint16_t*>(slotPages_.back().data());
    }
    for (int row = 0; row < rows; ++row) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            uint16_t* block = nullptr;
            if (slots[static_cast<std::size_t>(slot)]) {
                if (BlocksOfTheirOwn) {
                    owned_.emplace_back(new (std::nothrow) uint16_t[BlockSamples]);
                    block = owned_.back().get();
                    if (!block)
                        return false;
                } else {
                    block = base[static_cast<std::size_t>(slot)] + static_cast<std::ptrdiff_t>(row) * BlockSamples;
                }
            }
            table_.push_back(block);
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
    slotPages_.clear();
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

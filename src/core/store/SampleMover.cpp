#include "core/store/SampleMover.h"

#include <algorithm>
#include <cstring>

namespace vk {

namespace {

// Copies n words from position `from` to position `to`, where neither run
// crosses a block border.
void CopyRun(SampleStore& store, int slot, int64_t from, int64_t to, int64_t n)
{
    const uint16_t* src = store.block(slot, static_cast<int>(from >> SampleStore::BlockShift));
    uint16_t* dst = store.block(slot, static_cast<int>(to >> SampleStore::BlockShift));
    if (!dst)
        return;
    uint16_t* out = dst + (to & SampleStore::BlockMask);
    if (src)
        std::memmove(out, src + (from & SampleStore::BlockMask), static_cast<std::size_t>(n) * sizeof(uint16_t));
    else
        std::fill(out, out + n, uint16_t{0});
}

// Words left in the block of position p from p on, or up to p (going down).
int64_t RoomAbove(int64_t p)
{
    return SampleStore::BlockSamples - (p & SampleStore::BlockMask);
}
int64_t RoomBelow(int64_t p)
{
    return (p & SampleStore::BlockMask) + 1;
}

}  // namespace

bool MoveSamples(SampleStore& store, int slot, int64_t a, int64_t b, int64_t k)
{
    if (a > b || k == 0)
        return true;
    if (a < 0 || a + k < 0 || b >= SampleStore::Capacity || b + k >= SampleStore::Capacity)
        return false;
    if (k < 0) {  // down: from the low end up
        for (int64_t p = a; p <= b;) {
            const int64_t n = std::min({b - p + 1, RoomAbove(p), RoomAbove(p + k)});
            CopyRun(store, slot, p, p + k, n);
            p += n;
        }
    } else {  // up: from the high end down
        for (int64_t p = b; p >= a;) {
            const int64_t n = std::min({p - a + 1, RoomBelow(p), RoomBelow(p + k)});
            CopyRun(store, slot, p - n + 1, p - n + 1 + k, n);
            p -= n;
        }
    }
    return true;
}

void ReadWords(const SampleStore& store, int slot, int64_t from, int64_t count, uint16_t* out)
{
    for (int64_t p = from, end = from + count; p < end;) {
        const int64_t n = std::min(end - p, RoomAbove(p));
        const uint16_t* block = store.block(slot, static_cast<int>(p >> SampleStore::BlockShift));
        if (block)
            std::copy(block + (p & SampleStore::BlockMask), block + (p & SampleStore::BlockMask) + n, out);
        else
            std::fill(out, out + n, uint16_t{0});
        out += n;
        p += n;
    }
}

void WriteWords(SampleStore& store, int slot, int64_t from, int64_t count, const uint16_t* in)
{
    for (int64_t p = from, end = from + count; p < end;) {
        const int64_t n = std::min(end - p, RoomAbove(p));
        if (uint16_t* block = store.block(slot, static_cast<int>(p >> SampleStore::BlockShift)))
            std::copy(in, in + n, block + (p & SampleStore::BlockMask));
        in += n;
        p += n;
    }
}

}  // namespace vk

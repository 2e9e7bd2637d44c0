#include "core/store/RawRange.h"

#include <algorithm>
#include <cstdio>

#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/LittleEndian.h"

namespace vk {

namespace {

struct PositionRange {
    int64_t from = 0, to = 0;  // positions, to excluded
    int64_t count() const { return std::max<int64_t>(to - from, 0); }
};

PositionRange Clamp(const Recording& rec, int32_t first, int32_t end, int slot)
{
    const ChannelView channel(rec, slot);
    PositionRange r;
    r.from = std::max<int64_t>(channel.stored(first), 0);
    // The last stored sample belongs to the range.
    r.to = std::min<int64_t>({channel.stored(end), channel.storedCount(), rec.store.capacity(slot)});
    return r;
}

// Calls chunk(position, length) over the range in pieces that never cross a block.
template <typename Chunk>
bool ForEachChunk(const PositionRange& r, Chunk&& chunk)
{
    for (int64_t p = r.from; p < r.to;) {
        const int64_t blockEnd = (p | SampleStore::BlockMask) + 1;
        const int64_t length = std::min(blockEnd, r.to) - p;
        if (!chunk(p, static_cast<std::size_t>(length)))
            return false;
        p += length;
    }
    return true;
}

}  // namespace

int64_t RawRangeCount(const Recording& rec, int32_t first, int32_t end, int slot)
{
    return Clamp(rec, first, end, slot).count();
}

bool WriteRawRange(const Recording& rec, const std::string& path, int32_t first, int32_t end, RawRangeMode mode,
                   int slot)
{
    const PositionRange r = Clamp(rec, first, end, slot);
    File file(path, mode == RawRangeMode::Append ? File::Mode::Append : File::Mode::Truncate);
    if (!file.isOpen())
        return false;
    const int64_t before = file.size();
    const bool ok = ForEachChunk(r, [&](int64_t p, std::size_t length) {
        const uint16_t* block = rec.store.block(slot, static_cast<int>(p >> SampleStore::BlockShift));
        return block && file.write(block + (p & SampleStore::BlockMask), length * sizeof(uint16_t));
    });
    if (!ok)
        file.truncate(before);  // a full disk leaves the stack as it was
    return ok;
}

bool PopRawRange(Recording& rec, const std::string& path, int32_t first, int32_t end, int slot)
{
    const PositionRange r = Clamp(rec, first, end, slot);
    File file(path, File::Mode::ReadWrite);
    if (!file.isOpen())
        return false;
    const int64_t size = file.size();
    const int64_t bytes = r.count() * static_cast<int64_t>(sizeof(uint16_t));
    if (size <= 0 || size < bytes)
        return false;
    int64_t offset = size - bytes;
    const bool ok = ForEachChunk(r, [&](int64_t p, std::size_t length) {
        uint16_t* block = rec.store.block(slot, static_cast<int>(p >> SampleStore::BlockShift));
        if (!block || !file.readAt(offset, block + (p & SampleStore::BlockMask), length * sizeof(uint16_t)))
            return false;
        offset += static_cast<int64_t>(length * sizeof(uint16_t));
        return true;
    });
    if (!ok)
        return false;
    if (size == bytes) {
        file.close();
        return std::remove(path.c_str()) == 0;
    }
    return file.truncate(size - bytes);
}

}  // namespace vk

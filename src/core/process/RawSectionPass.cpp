#include "core/process/RawSectionPass.h"

#include <algorithm>
#include <vector>

#include "core/store/Channel.h"
#include "core/store/SampleMover.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr int32_t ChunkLength = 4096;      // positions rewritten at a time
constexpr int64_t ProgressFrom = 1000000;  // passes this long show progress
constexpr int64_t ProgressStep = 1 << 20;  // positions between two reports

// The words of positions from .. to - 1, those outside lo .. hi taking the nearer end word.
void ReadClamped(const Recording& rec, int slot, int64_t from, int64_t to, int32_t lo, int32_t hi, uint16_t* out)
{
    const int64_t inFrom = std::max<int64_t>(from, lo), inTo = std::min<int64_t>(to, int64_t{hi} + 1);
    if (inFrom >= inTo)
        return;
    ReadWords(rec.store, slot, ChannelView(rec, slot).stored(inFrom), inTo - inFrom, out + (inFrom - from));
    std::fill(out, out + (inFrom - from), out[inFrom - from]);
    std::fill(out + (inTo - from), out + (to - from), out[inTo - 1 - from]);
}

}  // namespace

PassProgress::PassProgress(VkDialogs& ui, int64_t total) : ui_(ui), total_(total), shown_(total >= ProgressFrom) {}

PassProgress::~PassProgress()
{
    if (shown_)
        ui_.progress(0, 0);
}

void PassProgress::report(int64_t done)
{
    ui_.progress(done, total_);
    next_ = done + ProgressStep;
}

void RewriteRaw(Recording& rec, int slot, StoredSection section, int behind, int ahead, const ChunkRule& rule,
                VkDialogs& progress)
{
    PassProgress progressOf(progress, section.count());
    std::vector<uint16_t> buffer(static_cast<std::size_t>(behind + ChunkLength + ahead)), out(ChunkLength);
    ForEachStretch(rec, slot, section, [&](int32_t lo, int32_t hi) {
        const int32_t x1 = std::min(hi, section.last);
        bool start = true;
        for (int32_t x0 = std::max(lo, section.first); x0 <= x1; x0 += ChunkLength) {
            const int32_t count = std::min(ChunkLength, x1 - x0 + 1);
            const int keep = behind + ahead;
            if (start) {
                ReadClamped(rec, slot, int64_t{x0} - behind, int64_t{x0} + count + ahead, lo, hi, buffer.data());
            } else {  // the words before the chunk are written already: their former values are carried over
                std::copy(buffer.end() - keep, buffer.end(), buffer.begin());
                ReadClamped(rec, slot, int64_t{x0} + ahead, int64_t{x0} + count + ahead, lo, hi, buffer.data() + keep);
            }
            rule(RawChunk{buffer.data() + behind, x0, count, lo, hi, start}, out.data());
            WriteWords(rec.store, slot, ChannelView(rec, slot).stored(x0), count, out.data());
            start = false;
            progressOf.at(int64_t{x0} + count - section.first);
        }
    });
}

}  // namespace vk

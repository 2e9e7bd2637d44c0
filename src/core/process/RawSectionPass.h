#pragma once

// One pass over a section of a channel's raw words that rewrites them from
// their former values: the filters' common frame. The section is taken
// stretch by stretch, a stretch being a run of stored samples without a
// missing value; each chunk of positions sees the former words around it,
// read before anything near them was written, and reads beyond a stretch's
// ends give its end word. Missing positions are neither read nor written.

#include <cstdint>
#include <functional>

#include "core/store/Recording.h"
#include "core/store/Stretches.h"

namespace vk {

class VkDialogs;

// The former words around a chunk of positions x0 .. x0 + count - 1 of a stretch lo .. hi.
struct RawChunk {
    const uint16_t* r;  // r[i] = the former word at x0 + i, for -behind <= i < count + ahead
    int32_t x0, count;
    int32_t lo, hi;
    bool stretchStart;  // the first chunk of its stretch
};

// Computes out[0 .. count - 1], the new words of the chunk's positions.
using ChunkRule = std::function<void(const RawChunk&, uint16_t* out)>;

// The progress of a pass over `total` positions, shown through the seam when
// the pass is long (a million positions or more); the bar goes at the end.
class PassProgress {
public:
    PassProgress(VkDialogs& ui, int64_t total);
    ~PassProgress();
    PassProgress(const PassProgress&) = delete;
    PassProgress& operator=(const PassProgress&) = delete;
    // `done` positions of the total are through; cheap enough for every one.
    void at(int64_t done)
    {
        if (shown_ && done >= next_)
            report(done);
    }

private:
    void report(int64_t done);
    VkDialogs& ui_;
    int64_t total_, next_ = 0;
    bool shown_;
};

// Rewrites the stored positions first .. last with `rule`, which may look
// `behind` words before and `ahead` words after each chunk. Progress goes
// to `progress` when the section is long.
void RewriteRaw(Recording& rec, int slot, StoredSection section, int behind, int ahead, const ChunkRule& rule,
                VkDialogs& progress);

}  // namespace vk

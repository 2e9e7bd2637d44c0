#include "core/process/PeakElimination.h"

#include <algorithm>
#include <cmath>

#include "core/calc/SlidingRange.h"
#include "core/process/RawLine.h"
#include "core/process/RawSectionPass.h"
#include "core/process/SectionOperation.h"
#include "core/store/Channel.h"
#include "core/store/ChunkValues.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr int32_t ChunkLength = 4096;  // values read at a time

bool InRelation(Relation r, double y, double threshold)
{
    switch (r) {
    case Relation::Less: return y < threshold;
    case Relation::Greater: return y > threshold;
    default: return y == threshold;
    }
}

// The value y(j) that ends a run of values in relation: NaN (missing) ends it too.
bool EndsRun(Relation r, double y, double threshold)
{
    if (std::isnan(y))
        return true;
    switch (r) {
    case Relation::Less: return y > threshold;
    case Relation::Greater: return y < threshold;
    default: return y != threshold;
    }
}

CommandResult Changed(Recording& rec, int slot, int64_t from, int64_t to, bool any)
{
    if (!any)
        return redraw::SampleEdit;
    rec.at(slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{slot, from, to, false}};
}

}  // namespace

CommandResult EliminateExtremes(ViewContext& cx, int slot, double f5, double f4)
{
    Recording& rec = cx.rec;
    const WorkSection w = SectionIndexes(ChannelView(rec, slot), f4, f5);
    const StoredSection section = StoredPart(ChannelView(rec, slot), std::max<int64_t>(w.first, 1), w.last);
    if (section.first >= section.last)
        return {};
    cx.undo.PushRange(UndoKind::Extremes, slot, section.first, section.last + 1, redraw::SampleEdit);
    auto replaced = std::make_shared<bool>(false);
    auto former = std::make_shared<uint16_t>(0);
    RewriteRaw(
        rec, slot, section, 1, 0,
        [=](const RawChunk& c, uint16_t* out) {
            uint16_t before = c.stretchStart ? c.r[-1] : *former;  // the word before, as already cleaned
            for (int32_t i = 0; i < c.count; ++i) {
                const uint16_t r = c.r[i];
                const bool extreme = r == 0 || r == 65535;
                out[i] = extreme ? before : r;
                *replaced = *replaced || (extreme && before != r);
                before = out[i];
            }
            *former = before;
        },
        cx.ui);
    return Changed(rec, slot, section.first, int64_t{section.last} + 1, *replaced);
}

CommandResult EliminatePeaks(ViewContext& cx, int slot, int32_t length, double amplitude, double f5, double f4)
{
    Recording& rec = cx.rec;
    const ChannelView channel(rec, slot);
    if (channel.interval() > 0 && length >= channel.storedCount()) {
        cx.ui.message(" A peak of " + std::to_string(length) + " points is longer than the channel's " +
                          std::to_string(channel.storedCount()) + " points: nothing deleted.",
                      Severity::Warning);
        return {};
    }
    if (channel.interval() <= 0 || length < 1)
        return {};
    const StoredSection section =
        StoredPart(channel, std::max<int64_t>(static_cast<int64_t>(std::trunc(f4 / channel.interval())), 1),
                   static_cast<int64_t>(std::trunc(f5 / channel.interval())));
    if (int64_t{section.first} + length >= section.last)
        return {};  // no window of the peak's length fits the section
    cx.undo.PushRange(UndoKind::Peaks, slot, section.first, section.last + 1, redraw::SampleEdit);

    double x = std::fabs(amplitude);
    bool any = false;
    ChunkValues values(rec, slot, ChunkLength, length, 0);
    WindowRanges range;  // of each window k .. k + length - 1: a peak needs a spread of x in it
    PassProgress progress(cx.ui, section.count());
    int32_t k = section.first;
    while (int64_t{k} + length < section.last) {
        progress.at(k - section.first);
        const int32_t count = std::min<int32_t>(ChunkLength, section.last - length - k);
        const double* y = values.load(k, count) - k;  // y[j] for j = k .. k + count + length - 1
        SlidingRange(y + k, count, length, range);
        const int32_t k0 = k, end = k + count;
        while (k < end) {
            if (range.most[static_cast<std::size_t>(k - k0)] - range.least[static_cast<std::size_t>(k - k0)] < x) {
                ++k;
                continue;
            }
            const double yk = y[k], ykL = y[k + length];
            int32_t i = k;
            while (i < k + length && !(std::fabs(y[i] - yk) >= x && std::fabs(y[i] - ykL) >= x))
                ++i;
            if (i < k + length && DrawRawLine(rec, slot, k, k + length)) {
                x = 0.9 * std::fabs(y[i] - yk);
                any = true;
                k += length + 1;
            } else {
                ++k;
            }
        }
    }
    return Changed(rec, slot, section.first, int64_t{section.last} + 1, any);
}

CommandResult ReplaceValues(ViewContext& cx, Relation relation, bool interpolate, int slot, double f5, double f4,
                            double replacement, double threshold)
{
    Recording& rec = cx.rec;
    if (!interpolate && RefuseWhilePolynomial(rec, cx.ui, slot, true))
        return {};
    const ChannelView channel(rec, slot);
    if (channel.interval() <= 0)
        return {};
    // The first and the last moment count one time unit inwards.
    if (f4 == 0)
        f4 = 1;
    if (f5 == rec.time.LongestSpan)
        f5 -= 1;
    if (!(f4 < f5))
        return {};
    const WorkSection w = SectionIndexes(channel, f4, f5);
    const StoredSection section = StoredPart(channel, w.first, w.last);
    if (section.first > section.last)
        return {};
    cx.undo.PushRange(UndoKind::Replace, slot, section.first, section.last + 1, redraw::SampleEdit);

    bool report = true, any = false;
    const uint16_t word = PhysToRaw(rec, slot, report, replacement);  // the range-excess hint at most once
    ChunkValues values(rec, slot, ChunkLength, 0, 0);
    PassProgress progress(cx.ui, section.count());
    const int32_t last = section.last;
    int32_t i = section.first + 1;
    while (i <= last) {
        progress.at(i - section.first);
        const int32_t count = std::min(ChunkLength, last - i + 1);
        const double* y = values.load(i, count) - i;
        const int32_t end = i + count;
        for (; i < end; ++i) {
            if (!InRelation(relation, y[i], threshold))
                continue;
            if (!interpolate) {
                WriteRaw(rec, i, word, slot);
                any = true;
                continue;
            }
            // The run from i on; it ends at the first value that breaks it, or after the section.
            int32_t j = i + 1;
            while (j <= last && !EndsRun(relation, ReadValue(rec, j, slot).value, threshold) &&
                   !IsMissing(rec, slot, j))
                ++j;
            any = DrawRawLine(rec, slot, i - 1, j) || any;
            if (j >= channel.last()) {
                i = last + 1;
                break;
            }
            i = j;
            break;  // the values from j on are read afresh
        }
    }
    return Changed(rec, slot, section.first, int64_t{section.last} + 1, any);
}

}  // namespace vk

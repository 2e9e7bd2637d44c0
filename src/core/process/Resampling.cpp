#include "core/process/Resampling.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/process/BentMiddle.h"
#include "core/store/Channel.h"
#include "core/store/NumberInput.h"
#include "core/store/SampleMover.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* NoCapacity = "Not enough capacity for this operation.";
constexpr const char* IntervalTooSmall = "Command rejected. Sampl. int. too small.";
constexpr const char* IntervalTooLarge = "Command rejected. Sampl. int. too large.";
constexpr int64_t Chunk = 4096;  // words worked on at a time

template <int N>
void EveryNth(const uint16_t* in, int64_t count, uint16_t* out)
{
    for (int64_t k = 0; k < count; ++k)
        out[k] = in[N * k];
}

uint16_t& Word(SampleStore& store, int slot, int64_t position)
{
    return store.block(slot, static_cast<int>(position >> SampleStore::BlockShift))[position & SampleStore::BlockMask];
}

// The store place of the slot's last sample (its stored samples less one).
int64_t LastPosition(const Recording& rec, int slot)
{
    return ChannelView(rec, slot).storedCount() - 1;
}

// Whole numbers as the warning writes them: a decimal without trailing zeros.
std::string Decimal(double v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

void ResampleGaps(Recording& rec, int slot, int64_t up, int64_t down, int64_t reach)
{
    GapList& gaps = rec.at(slot).missing;
    gaps = ResampledGaps(gaps, up, down, reach, LastPosition(rec, slot));
}

CommandResult Resampled(Recording& rec, int slot)
{
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, 0, ChannelView(rec, slot).count(), true}};
}

// The expand warning, when the factor does not divide the interval; true to
// go on. `set` is the interval the operation will set.
bool TimeStaysExact(VkDialogs& ui, int32_t interval, int32_t n, int32_t set)
{
    if (interval % n == 0)
        return true;
    const double exact = static_cast<double>(interval) / n;
    const std::string text =
        "Warning: This expand factor leads to corruption of time. \n"
        "When expanding the data channel by a factor of " +
        std::to_string(n) + " the resulting sampl. interval should be changed to " + Decimal(exact) +
        "\nSince the sampl. interval must be an integer this value will be rounded to " + std::to_string(set) +
        "\nThis means that the time scale will be not correct after performing the data expansion "
        "by this expand factor.\nDo you want to continue although?";
    return ui.ask(text, Buttons::YesNo, Severity::Warning) == Answer::Yes;
}

}  // namespace

GapList ResampledGaps(const GapList& gaps, int64_t up, int64_t down, int64_t reach, int64_t last)
{
    GapList moved;
    for (const GapRange& g : gaps.ranges()) {
        const int64_t from = std::max<int64_t>(0, (int64_t{g.from} * up + down - 1) / down - reach);
        const int64_t to = std::min<int64_t>(last + 1, (int64_t{g.to - 1} * up) / down + reach + 1);
        if (from < to)
            moved.add(static_cast<int32_t>(from), static_cast<int32_t>(to));
    }
    return moved;
}

bool ReduceChannel(Recording& rec, UndoSink& undo, int slot, int32_t n)
{
    if (n < 2 || !rec.at(slot).ChannelUsed)
        return false;
    Channel channel(rec, slot);
    undo.PushRange(UndoKind::Reduce, slot, 0, channel.last() + 1, redraw::Everything);
    const int64_t last = LastPosition(rec, slot);
    const int32_t dataCnt = channel.last() / n, origin = channel.firstStored() / n;
    const int64_t kept = std::min<int64_t>(int64_t{dataCnt} - origin, last / n);
    // Forward, a chunk at a time: each chunk's words are read before any of them is written.
    std::vector<uint16_t> in, out;
    for (int64_t i0 = 1; i0 <= kept; i0 += Chunk) {
        const int64_t count = std::min<int64_t>(Chunk, kept - i0 + 1);
        in.resize(static_cast<std::size_t>(n * (count - 1) + 1));
        out.resize(static_cast<std::size_t>(count));
        ReadWords(rec.store, slot, n * i0, static_cast<int64_t>(in.size()), in.data());
        if (n == 2)  // the common case, with a step the compiler can work eight words at a time
            EveryNth<2>(in.data(), count, out.data());
        else
            for (int64_t k = 0; k < count; ++k)
                out[static_cast<std::size_t>(k)] = in[static_cast<std::size_t>(n * k)];
        WriteWords(rec.store, slot, i0, count, out.data());
    }
    channel.setInterval(channel.interval() * n);
    channel.setExtent(origin, kept + 1);
    ResampleGaps(rec, slot, 1, n, 0);
    return true;
}

bool ExpandChannel(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, int32_t n, const StepProgress& progress)
{
    Channel channel(rec, slot);
    if (n < 2)
        return true;
    if (channel.interval() < n) {
        ui.message(IntervalTooSmall, Severity::Error);
        return false;
    }
    const int64_t last = LastPosition(rec, slot);
    if (n * last + 1 > rec.store.capacity(slot) || int64_t{n} * channel.last() > INT32_MAX) {
        ui.message(NoCapacity, Severity::Error);
        return false;
    }
    undo.PushRange(UndoKind::Expand, slot, 0, channel.last() + 1, redraw::Everything);
    StepReporter steps(progress, last);
    // From the end down, a chunk at a time, so that no word is overwritten
    // before it is read: old position f goes to n f, and n - 1 words on the
    // line to the next follow it.
    Word(rec.store, slot, n * last) = Word(rec.store, slot, last);
    std::vector<uint16_t> in, out;
    for (int64_t f1 = last - 1; f1 >= 0; f1 -= Chunk) {
        const int64_t f0 = std::max<int64_t>(0, f1 - Chunk + 1), count = f1 - f0 + 1;
        in.resize(static_cast<std::size_t>(count + 1));
        out.resize(static_cast<std::size_t>(n * count));
        ReadWords(rec.store, slot, f0, count + 1, in.data());
        if (n == 2) {  // the common case in whole numbers: half the rise, a tie to even
            for (int64_t k = 0; k < count; ++k) {
                const int32_t here = in[static_cast<std::size_t>(k)];
                out[static_cast<std::size_t>(2 * k)] = static_cast<uint16_t>(here);
                out[static_cast<std::size_t>(2 * k + 1)] =
                    static_cast<uint16_t>(here + HalfToEven(in[static_cast<std::size_t>(k + 1)] - here));
            }
        } else {
            for (int64_t k = 0; k < count; ++k) {
                const uint16_t here = in[static_cast<std::size_t>(k)];
                const double rise = static_cast<double>(in[static_cast<std::size_t>(k + 1)]) - here;
                uint16_t* o = out.data() + n * k;
                o[0] = here;
                for (int32_t i = 1; i < n; ++i)
                    o[i] = LineWord(here, rise, i, n);
            }
        }
        WriteWords(rec.store, slot, n * f0, n * count, out.data());
        steps.at(last - f0);
    }
    channel.setInterval(static_cast<int32_t>(std::nearbyint(static_cast<double>(channel.interval()) / n)));
    channel.spreadPositions(n);
    ResampleGaps(rec, slot, n, 1, n - 1);  // the line from a missing word, or to it
    AdjustLength(rec, slot, 0);
    return true;
}

bool DoublePoints(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, const StepProgress& progress)
{
    Channel channel(rec, slot);
    const int64_t c = LastPosition(rec, slot);
    if (2 * c + 1 > rec.store.capacity(slot) || int64_t{2} * channel.last() > INT32_MAX) {
        ui.message(NoCapacity, Severity::Error);
        return false;
    }
    undo.PushRange(UndoKind::Expand, slot, 0, channel.last() + 1, redraw::Everything);
    StepReporter steps(progress, c);
    // old(m) at 2m; between old(m - 1) and old(m) the bent midpoint, from
    // old(m - 2) .. old(m + 1). From the end down, a chunk at a time: each
    // chunk reads its old words before the chunk above has reached them.
    std::vector<uint16_t> in, out;
    for (int64_t m1 = c; m1 >= 1; m1 -= Chunk) {
        const int64_t m0 = std::max<int64_t>(1, m1 - Chunk + 1);
        const int64_t lo = std::max<int64_t>(0, m0 - 2), hi = std::min(c, m1 + 1);
        in.resize(static_cast<std::size_t>(hi - lo + 1));
        ReadWords(rec.store, slot, lo, hi - lo + 1, in.data());
        // out[2 (m - m0)] is the new word 2m - 1 and out[2 (m - m0) + 1] old(m):
        // bent for m = 2 .. c - 1, from old(m - 2) .. old(m + 1); at the ends
        // (m = 1 and m = c) the spread's copy of old(m).
        const int64_t count = m1 - m0 + 1;
        out.resize(static_cast<std::size_t>(2 * count));
        const int64_t b0 = std::max<int64_t>(m0, 2), b1 = std::min(m1, c - 1);
        if (b0 <= b1)
            BentPairs(in.data() + (b0 - 2 - lo), b1 - b0 + 1, out.data() + 2 * (b0 - m0));
        for (const int64_t m : {m0, m1})
            if (m < b0 || m > b1)
                out[static_cast<std::size_t>(2 * (m - m0))] = out[static_cast<std::size_t>(2 * (m - m0) + 1)] =
                    in[static_cast<std::size_t>(m - lo)];
        WriteWords(rec.store, slot, 2 * m0 - 1, 2 * count, out.data());
        steps.at(c - m0);
    }
    channel.setInterval(std::floor(channel.interval() / 2));  // as the warning before it says
    channel.spreadPositions(2);
    ResampleGaps(rec, slot, 2, 1, 3);  // a new word is made from two old ones on either side
    AdjustLength(rec, slot, 0);
    return true;
}

CommandResult ReduceCommand(ViewContext& cx, int slot)
{
    const std::optional<int32_t> n =
        AskInteger(cx.ui, "Thin out data", "Thin-out-factor (each n-th point remain):", "1");
    if (!n)
        return {};
    if (*n >= 2 && ChannelView(cx.rec, slot).interval() * *n > INT32_MAX) {
        cx.ui.message(IntervalTooLarge, Severity::Error);
        return {};
    }
    if (!ReduceChannel(cx.rec, cx.undo, slot, *n))
        return {};
    return Resampled(cx.rec, slot);
}

CommandResult ExpandCommand(ViewContext& cx, int slot, const StepProgress& progress)
{
    const std::optional<int32_t> n = AskInteger(cx.ui, "Expand data", "Expand-factor (insert n-1 points):", "");
    const auto interval = static_cast<int32_t>(ChannelView(cx.rec, slot).interval());
    if (!n || *n < 2 ||
        !TimeStaysExact(cx.ui, interval, *n, static_cast<int32_t>(std::nearbyint(static_cast<double>(interval) / *n))))
        return {};
    if (!ExpandChannel(cx.rec, cx.ui, cx.undo, slot, *n, progress))
        return {};
    return Resampled(cx.rec, slot);
}

CommandResult DoublePointsCommand(ViewContext& cx, int slot, const StepProgress& progress)
{
    const char* question =
        "This operation doubles the amount of data points.\nThere will inserted an additonal \n"
        "point between two points by nonlinear interpolation\nContinue?";
    if (cx.ui.ask(question, Buttons::YesNo) != Answer::Yes)
        return {};
    const auto interval = static_cast<int32_t>(ChannelView(cx.rec, slot).interval());
    if (interval < 2) {
        cx.ui.message(IntervalTooSmall, Severity::Error);
        return {};
    }
    if (!TimeStaysExact(cx.ui, interval, 2, interval / 2) || !DoublePoints(cx.rec, cx.ui, cx.undo, slot, progress))
        return {};
    return Resampled(cx.rec, slot);
}

}  // namespace vk

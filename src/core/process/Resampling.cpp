#include "core/process/Resampling.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>

#include "core/store/NumberInput.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* NoCapacity = "Not enough capacity for this operation.";
constexpr const char* IntervalTooSmall = "Command rejected. Sampl. int. too small.";
constexpr int ProgressSteps = 16;

uint16_t& Word(SampleStore& store, int slot, int64_t position)
{
    return store.block(slot, static_cast<int>(position >> SampleStore::BlockShift))[position & SampleStore::BlockMask];
}

// The last stored position of the slot (its stored samples less one).
int64_t LastPosition(const ChannelDescriptor& d)
{
    return int64_t{d.DataCnt} - d.CorrSmpDelay;
}

// Whole numbers as the warning writes them: a decimal without trailing zeros.
std::string Decimal(double v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

// Reports about 16 times over `total` steps, and hides the bar when it ends.
class Steps {
public:
    Steps(const StepProgress& p, int64_t total)
            : p_(p), total_(total), every_(std::max<int64_t>(1, total / ProgressSteps))
    {
        if (p_)
            p_(0, total_);
    }
    ~Steps()
    {
        if (p_)
            p_(0, 0);
    }
    void at(int64_t done)
    {
        if (p_ && done % every_ == 0)
            p_(done, total_);
    }

private:
    const StepProgress& p_;
    int64_t total_, every_;
};

// Where values are missing after a change of density: a new position is
// missing when an old one it is made from is. Old positions from .. to - 1
// become from * up / down - reach .. (to - 1) * up / down + reach, cut to the channel.
void ResampleGaps(Recording& rec, int slot, int64_t up, int64_t down, int64_t reach)
{
    GapList& gaps = rec.at(slot).missing;
    const int64_t last = LastPosition(rec.desc(slot));
    GapList moved;
    for (const GapRange& g : gaps.ranges()) {
        const int64_t from = std::max<int64_t>(0, (int64_t{g.from} * up + down - 1) / down - reach);
        const int64_t to = std::min<int64_t>(last + 1, (int64_t{g.to - 1} * up) / down + reach + 1);
        if (from < to)
            moved.add(static_cast<int32_t>(from), static_cast<int32_t>(to));
    }
    gaps = moved;
}

CommandResult Resampled(Recording& rec, int slot)
{
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, 0, int64_t{rec.desc(slot).DataCnt} + 1, true}};
}

// The expand warning, when the factor does not divide the interval; true to go on.
bool TimeStaysExact(VkDialogs& ui, int32_t interval, int32_t n)
{
    if (interval % n == 0)
        return true;
    const double exact = static_cast<double>(interval) / n;
    const std::string text =
        "Warning: This expand factor leads to corruption of time. \n"
        "When expanding the data channel by a factor of " +
        std::to_string(n) + " the resulting sampl. interval should be changed to " + Decimal(exact) +
        "\nSince the sampl. interval must be an integer this value will be rounded to " +
        std::to_string(static_cast<int64_t>(std::nearbyint(exact))) +
        "\nThis means that the time scale will be not correct after performing the data expansion "
        "by this expand factor.\nDo you want to continue although?";
    return ui.ask(text, Buttons::YesNo, Severity::Warning) == Answer::Yes;
}

}  // namespace

bool ReduceChannel(Recording& rec, UndoSink& undo, int slot, int32_t n)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (n < 2 || !rec.at(slot).ChannelUsed)
        return false;
    undo.PushRange(0, d.DataCnt + 1, redraw::Everything, UndoReduce, slot);
    const int64_t last = LastPosition(d);
    const int32_t dataCnt = d.DataCnt / n, origin = d.CorrSmpDelay / n;
    const int64_t kept = std::min<int64_t>(int64_t{dataCnt} - origin, last / n);
    for (int64_t i = 1; i <= kept; ++i)
        Word(rec.store, slot, i) = Word(rec.store, slot, n * i);
    d.SampRate *= n;
    d.DataCnt = origin + static_cast<int32_t>(kept);
    d.CorrSmpDelay = origin;
    ResampleGaps(rec, slot, 1, n, 0);
    return true;
}

bool ExpandChannel(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, int32_t n, const StepProgress& progress)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (n < 2)
        return true;
    if (d.SampRate < n) {
        ui.message(IntervalTooSmall, Severity::Error);
        return false;
    }
    const int64_t last = LastPosition(d);
    if (n * last + 1 > rec.store.capacity(slot) || int64_t{n} * d.DataCnt > INT32_MAX) {
        ui.message(NoCapacity, Severity::Error);
        return false;
    }
    undo.PushRange(0, d.DataCnt + 1, redraw::Everything, UndoExpand, slot);
    Steps steps(progress, last);
    // From the end down, so that no word is overwritten before it is read:
    // old position f goes to n f, and n - 1 words on the line to the next follow it.
    uint16_t next = Word(rec.store, slot, last);
    Word(rec.store, slot, n * last) = next;
    for (int64_t f = last - 1; f >= 0; --f) {
        const uint16_t here = Word(rec.store, slot, f);
        const double rise = static_cast<double>(next) - here;
        for (int32_t i = n - 1; i >= 1; --i)
            Word(rec.store, slot, n * f + i) = static_cast<uint16_t>(here + std::nearbyint(rise * i / n));
        Word(rec.store, slot, n * f) = here;
        next = here;
        steps.at(last - f);
    }
    d.SampRate = static_cast<int32_t>(std::nearbyint(static_cast<double>(d.SampRate) / n));
    d.DataCnt *= n;
    d.CorrSmpDelay *= n;
    ResampleGaps(rec, slot, n, 1, n - 1);  // the line from a missing word, or to it
    AdjustLength(rec, slot, 0);
    return true;
}

bool DoublePoints(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, const StepProgress& progress)
{
    ChannelDescriptor& d = rec.desc(slot);
    const int64_t c = LastPosition(d);
    if (2 * c + 1 > rec.store.capacity(slot) || int64_t{2} * d.DataCnt > INT32_MAX) {
        ui.message(NoCapacity, Severity::Error);
        return false;
    }
    undo.PushRange(0, d.DataCnt + 1, redraw::Everything, UndoExpand, slot);
    Steps steps(progress, c);
    // old(m) at 2m; between old(m - 1) and old(m) the bent midpoint, from
    // old(m - 2) .. old(m + 1). The old words ahead are kept, as the new
    // ones overwrite them.
    auto old = [&](int64_t m) { return static_cast<int64_t>(Word(rec.store, slot, m)); };
    int64_t y1 = old(c), y2 = 0;  // old(m) and old(m + 1) for the m at hand
    for (int64_t m = c; m >= 1; --m) {
        const int64_t y0 = old(m - 1);  // old(m - 1): still in place, 2m - 2 >= m - 1 is written later
        Word(rec.store, slot, 2 * m) = static_cast<uint16_t>(y1);
        int64_t between = y1;     // the spread's copy, where the neighbours do not reach
        const int64_t i = m - 1;  // the new word 2i + 1 lies between old(i) = y0 and old(i + 1) = y1
        if (i >= 1 && i <= c - 2) {
            const int64_t a = old(i - 1), b = y0, e = y1, g3 = y2;
            const int64_t d1 = b - a, d2 = e - b, d3 = g3 - e;
            const int64_t mid = (b + static_cast<int64_t>(std::nearbyint(d2 * 0.5))) & 0xFFFF;
            const int64_t r = d2 - d1, u = d3 - d2;
            int64_t v = 0;
            if (r != 0 && u != 0) {
                int64_t g = 0;
                if ((r > 0) == (u > 0))
                    g = r > 0 ? std::min(r, u) : std::max(r, u);
                else
                    g = (r + u) / 8;
                v = g / 4;
                const int64_t h = std::llabs(d2 / 2);
                if (std::llabs(v) > h)
                    v = v < 0 ? -h : h;
            }
            between = std::clamp<int64_t>(mid - v, 0, 65535);
        }
        Word(rec.store, slot, 2 * m - 1) = static_cast<uint16_t>(between);
        y2 = y1;
        y1 = y0;
        steps.at(c - m);
    }
    d.SampRate /= 2;
    d.DataCnt *= 2;
    d.CorrSmpDelay *= 2;
    ResampleGaps(rec, slot, 2, 1, 3);  // a new word is made from two old ones on either side
    AdjustLength(rec, slot, 0);
    return true;
}

CommandResult ReduceCommand(ViewContext& cx, int slot)
{
    const std::optional<int32_t> n =
        AskInteger(cx.ui, "Thin out data", "Thin-out-factor (each n-th point remain):", "1");
    if (!n || !ReduceChannel(cx.rec, cx.undo, slot, *n))
        return {};
    return Resampled(cx.rec, slot);
}

CommandResult ExpandCommand(ViewContext& cx, int slot, const StepProgress& progress)
{
    const std::optional<int32_t> n = AskInteger(cx.ui, "Expand data", "Expand-factor (insert n-1 points):", "");
    if (!n || *n < 2 || !TimeStaysExact(cx.ui, cx.rec.desc(slot).SampRate, *n))
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
    const int32_t interval = cx.rec.desc(slot).SampRate;
    if (interval < 2) {
        cx.ui.message(IntervalTooSmall, Severity::Error);
        return {};
    }
    if (!TimeStaysExact(cx.ui, interval, 2) || !DoublePoints(cx.rec, cx.ui, cx.undo, slot, progress))
        return {};
    return Resampled(cx.rec, slot);
}

}  // namespace vk

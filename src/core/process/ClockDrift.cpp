#include "core/process/ClockDrift.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/store/SampleMover.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr double MostSamples = 2e9;
constexpr const char* TooLarge = " Too large";
constexpr const char* Rejected =
    " Operation rejected.\n Adjust the original sampling rate (in the start menu)\n"
    " in order to correct for clock drift.";
constexpr const char* NoCapacity = "Not enough capacity for this operation.";
constexpr const char* NegativeField = "The drift is given in whole hours, minutes and seconds, none of them negative.";

}  // namespace

CommandResult CorrectClockDrift(ViewContext& cx, int slot, const ClockDrift& drift, const StepProgress& progress)
{
    Recording& rec = cx.rec;
    ChannelDescriptor& d = rec.desc(slot);
    if (drift.hours < 0 || drift.minutes < 0 || drift.seconds < 0) {
        cx.ui.message(NegativeField, Severity::Error);
        return {};
    }
    if (d.SampRate <= 0 || d.DataCnt <= d.CorrSmpDelay)
        return {};
    // The drift in samples.
    const double D =
        (drift.hours * 3600.0 + drift.minutes * 60.0 + drift.seconds) * 1000.0 / static_cast<double>(d.SampRate);
    if (D > MostSamples) {
        cx.ui.message(TooLarge, Severity::Error);
        return {};
    }
    // The drift must be shorter than the record: samples against samples (a
    // drift in milliseconds against a count of samples would refuse 100 s on
    // a day sampled every second).
    if (D >= static_cast<double>(d.DataCnt - d.CorrSmpDelay)) {
        cx.ui.message(Rejected, Severity::Error);
        return {};
    }
    // The working factor: the expanded channel, and for a late clock the
    // samples inserted at that density, must fit into the slot.
    const int64_t last = int64_t{d.DataCnt} - d.CorrSmpDelay, capacity = rec.store.capacity(slot);
    int64_t f = std::min<int64_t>((capacity - 1) / last, d.SampRate);
    auto inserted = [&](int64_t factor) { return drift.clockAhead ? 0 : std::llround(factor * D); };
    while (f >= 1 && f * last + inserted(f) + 1 > capacity)
        --f;
    if (f < 1) {
        cx.ui.message(NoCapacity, Severity::Error);
        return {};
    }
    const auto P = static_cast<int64_t>(std::llround(static_cast<double>(f) * D));
    const int64_t K = f * d.DataCnt / (P + 1);
    const int64_t s = d.SampRate / f;
    const std::string question = std::string(drift.clockAhead ? "Cut " : "Insert ") + std::to_string(s) +
                                 " msec\nevery " + std::to_string(std::llround(static_cast<double>(s * K) / 60000)) +
                                 " minutes";
    if (cx.ui.ask(question, Buttons::OkCancel) != Answer::Ok)
        return {};

    cx.undo.PushRange(0, d.DataCnt + 1, redraw::Everything, UndoClockDrift, slot);
    const int32_t formerInterval = d.SampRate;
    NoUndo inner;  // the expansion and reduction record nothing of their own
    if (!ExpandChannel(rec, cx.ui, inner, slot, static_cast<int32_t>(f), progress))
        return {};
    // At f times the density: one sample cut (or repeated) at every multiple of K.
    const int64_t end = int64_t{d.DataCnt} - d.CorrSmpDelay;
    {
        StepReporter steps(progress, P);
        if (drift.clockAhead) {
            for (int64_t k = 1; k < P; ++k) {
                MoveSamples(rec.store, slot, k * K, std::min((k + 1) * K, end), -k);
                steps.at(k);
            }
            if (P > 0)
                MoveSamples(rec.store, slot, P * K, end, -P);
            AdjustLength(rec, slot, static_cast<int32_t>(-P));
        } else {
            for (int64_t k = P; k >= 1; --k) {
                MoveSamples(rec.store, slot, k * K - 1, k == P ? end : (k + 1) * K, k);
                steps.at(P - k);
            }
            AdjustLength(rec, slot, static_cast<int32_t>(P));
        }
    }
    // The missing values move with their samples: each position by the cuts
    // (or repeats) before it.
    GapList moved;
    int64_t previousEnd = 0;
    for (const GapRange& g : rec.at(slot).missing.ranges()) {
        auto shifted = [&](int64_t x) {
            const int64_t k = std::min(P, K > 0 ? x / K : 0);
            return std::clamp<int64_t>(drift.clockAhead ? x - k : x + k, 0, int64_t{d.DataCnt} - d.CorrSmpDelay + 1);
        };
        const int64_t from = std::max(shifted(g.from), previousEnd), to = std::max(shifted(g.to), from + 1);
        moved.add(static_cast<int32_t>(from), static_cast<int32_t>(to));
        previousEnd = to;
    }
    rec.at(slot).missing = moved;
    ReduceChannel(rec, inner, slot, static_cast<int32_t>(f));
    d.SampRate = formerInterval;
    AdjustLength(rec, slot, 0);
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, 0, int64_t{d.DataCnt} + 1, true}};
}

}  // namespace vk

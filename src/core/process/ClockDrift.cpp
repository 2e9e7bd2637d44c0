#include "core/process/ClockDrift.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/store/Channel.h"
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

constexpr int64_t Chunk = 4096;  // corrected words made at a time

// The corrections at f times the density: P cuts (clock ahead) or repeats
// (clock back), one every K expanded positions. Ahead, the k-th cut drops
// expanded position kK - 1; back, the first repeats position K - 1 and the
// k-th (k >= 2) position kK, as moving the runs between them apart does.
struct Corrections {
    int64_t f, P, K;
    bool ahead;

    // The corrected position from which on k corrections lie behind.
    int64_t start(int64_t k) const
    {
        if (ahead)
            return k * (K - 1);
        return k == 1 ? K : k * (K + 1);
    }
    // The corrections that lie before corrected position y.
    int64_t before(int64_t y) const
    {
        if (ahead)
            return K > 1 ? std::min(P, y / (K - 1)) : P;
        return y < K ? 0 : std::min(P, std::max<int64_t>(1, y / (K + 1)));
    }
    // The expanded position whose word lands at corrected position y, when j corrections lie before it.
    int64_t source(int64_t y, int64_t j) const { return ahead ? y + j : y - j; }
};

// Corrected words i0 .. i1: word i is the corrected, expanded channel's word
// at f i, made from the two stored words around its expanded position.
// Sources lie at or after i (ahead) or at or before it (back), so ahead runs
// up and back runs down without reading a word already written.
// Words i .. end, between two corrections, come from the expanded positions
// f p + q, f (p + 1) + q, ...: stored words p, p + 1, ... and q / f of the way on.
struct Run {
    int64_t i, end, p;
    int32_t q;
};

void CorrectChunk(Recording& rec, int slot, const Corrections& c, int64_t last, int64_t i0, int64_t i1,
                  std::vector<Run>& runs, std::vector<uint16_t>& words, std::vector<uint16_t>& out)
{
    runs.clear();
    int64_t j = c.before(c.f * i0);
    for (int64_t i = i0; i <= i1;) {
        while (j < c.P && c.f * i >= c.start(j + 1))
            ++j;
        const int64_t end = j < c.P ? std::min(i1, (c.start(j + 1) - 1) / c.f) : i1;
        const int64_t x = c.source(c.f * i, j), p = x / c.f;
        runs.push_back({i, end, p, static_cast<int32_t>(x - p * c.f)});
        i = end + 1;
    }
    const int64_t first = runs.front().p, lastRead = std::min(last, runs.back().p + (i1 - runs.back().i) + 1);
    words.resize(static_cast<std::size_t>(lastRead - first + 1));
    ReadWords(rec.store, slot, first, lastRead - first + 1, words.data());
    out.resize(static_cast<std::size_t>(i1 - i0 + 1));
    const auto f = static_cast<int32_t>(c.f);
    for (const Run& r : runs) {
        const uint16_t* w = words.data() + (r.p - first);
        uint16_t* o = out.data() + (r.i - i0);
        const int64_t n = r.end - r.i + 1;
        if (r.q == 0) {
            std::copy(w, w + n, o);
        } else {
            for (int64_t k = 0; k < n; ++k)
                o[k] = LineWord(w[k], static_cast<double>(w[k + 1]) - w[k], r.q, f);
        }
    }
    WriteWords(rec.store, slot, i0, i1 - i0 + 1, out.data());
}

// The missing values move with their samples: expanded, each position moved
// by the corrections before it, reduced again.
GapList CorrectedGaps(const GapList& gaps, const Corrections& c, int64_t last, int64_t kept)
{
    const int64_t expandedEnd = c.f * last + (c.ahead ? -c.P : c.P);
    GapList moved;
    int64_t previousEnd = 0;
    const GapList expanded = ResampledGaps(gaps, c.f, 1, c.f - 1, c.f * last);
    for (const GapRange& g : expanded.ranges()) {
        auto shifted = [&](int64_t x) {
            const int64_t k = std::min(c.P, c.K > 0 ? x / c.K : 0);
            return std::clamp<int64_t>(c.ahead ? x - k : x + k, 0, expandedEnd + 1);
        };
        const int64_t from = std::max(shifted(g.from), previousEnd), to = std::max(shifted(g.to), from + 1);
        moved.add(static_cast<int32_t>(from), static_cast<int32_t>(to));
        previousEnd = to;
    }
    return ResampledGaps(moved, 1, c.f, 0, kept);
}

}  // namespace

CommandResult CorrectClockDrift(ViewContext& cx, int slot, const ClockDrift& drift, const StepProgress& progress)
{
    Recording& rec = cx.rec;
    Channel channel(rec, slot);
    if (drift.hours < 0 || drift.minutes < 0 || drift.seconds < 0) {
        cx.ui.message(NegativeField, Severity::Error);
        return {};
    }
    if (channel.interval() <= 0 || channel.storedCount() <= 1)
        return {};
    // The drift in samples.
    const double D = (drift.hours * 3600.0 + drift.minutes * 60.0 + drift.seconds) * 1000.0 /
                     static_cast<double>(channel.interval());
    if (D > MostSamples) {
        cx.ui.message(TooLarge, Severity::Error);
        return {};
    }
    // The drift must be shorter than the record: samples against samples (a
    // drift in milliseconds against a count of samples would refuse 100 s on
    // a day sampled every second).
    if (D >= static_cast<double>(channel.storedCount() - 1)) {
        cx.ui.message(Rejected, Severity::Error);
        return {};
    }
    // The working factor: the expanded channel, and for a late clock the
    // samples inserted at that density, must fit into the slot.
    const int64_t last = channel.storedCount() - 1, capacity = rec.store.capacity(slot);
    int64_t f = std::min<int64_t>((capacity - 1) / last, channel.interval());
    auto inserted = [&](int64_t factor) { return drift.clockAhead ? 0 : std::llround(factor * D); };
    while (f >= 1 && f * last + inserted(f) + 1 > capacity)
        --f;
    if (f < 1) {
        cx.ui.message(NoCapacity, Severity::Error);
        return {};
    }
    const auto P = static_cast<int64_t>(std::llround(static_cast<double>(f) * D));
    // The corrections are spread over the stored samples (a late-starting
    // channel counted from index 0 would put the last ones past its end).
    const int64_t K = f * last / (P + 1);
    if (K < 1) {
        cx.ui.message(Rejected, Severity::Error);
        return {};
    }
    const int64_t s = channel.interval() / f;
    const std::string question = std::string(drift.clockAhead ? "Cut " : "Insert ") + std::to_string(s) +
                                 " msec\nevery " + std::to_string(std::llround(static_cast<double>(s * K) / 60000)) +
                                 " minutes";
    if (cx.ui.ask(question, Buttons::OkCancel) != Answer::Ok)
        return {};

    cx.undo.PushRange(UndoKind::ClockDrift, slot, 0, channel.last() + 1, redraw::Everything);
    // Expanding by f, cutting or repeating, and reducing by f again keeps
    // every f-th word of the corrected expansion: only those are made.
    const Corrections c{f, P, K, drift.clockAhead};
    const int64_t kept = (f * last + (c.ahead ? -P : P)) / f;
    {
        StepReporter steps(progress, kept);
        std::vector<Run> runs;
        std::vector<uint16_t> words, out;
        if (c.ahead) {
            for (int64_t i0 = 0; i0 <= kept; i0 += Chunk) {
                CorrectChunk(rec, slot, c, last, i0, std::min(kept, i0 + Chunk - 1), runs, words, out);
                steps.at(i0);
            }
        } else {
            for (int64_t i1 = kept; i1 >= 0; i1 -= Chunk) {
                CorrectChunk(rec, slot, c, last, std::max<int64_t>(0, i1 - Chunk + 1), i1, runs, words, out);
                steps.at(kept - i1);
            }
        }
    }
    rec.at(slot).missing = CorrectedGaps(rec.at(slot).missing, c, last, kept);
    channel.setExtent(channel.firstStored(), kept + 1);
    AdjustLength(rec, slot, 0);
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, 0, channel.count(), true}};
}

}  // namespace vk

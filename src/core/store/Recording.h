#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/store/ChannelDescriptor.h"
#include "core/store/GapList.h"
#include "core/store/SampleStore.h"
#include "core/store/Slot.h"
#include "core/store/TimeBase.h"

namespace vk {

class VkDialogs;

// Alert codes left for the graph window's "Hint" button.
enum HintCode : int {
    HintNone = 0,
    HintTooFewPoints = 1,  // the dive search found fewer than 11 points
    HintRangeExcess = 3,   // a value fell outside the raw range and was clamped
    HintInvertData = 4,    // the data lie mostly below zero
    HintRunMean = 5,       // a running mean wider than 200 was cut to 200
    HintSurface = 6,       // the surface or the threshold would spoil the dive search
};

struct SlotData {
    ChannelDescriptor desc;
    bool ChannelUsed = true;
    int32_t SkipCount = 0;       // leading samples or value lines the loader passes over
    std::string HeadCmt1 = " ";  // comment lines of a binary file's information header
    std::string HeadCmt2 = " ";
    bool ChannelModified = false;  // samples or calibration changed since loading
    int32_t wholeSaves = 0;        // times the whole channel was saved since loading
    GapList missing{};             // stored positions whose value the data file did not give
};

struct RecordingTime {
    double GlobalStart = 0.0;  // common start of the recording, ms
    double TimeOffset = 0.0;
    CalendarTime Start;        // calendar fields of GlobalStart
    double LongestSpan = 0.0;  // largest SampRate * DataCnt of the used slots
};

// Answers the value reads of one slot while a workshop buffer is active.
class WorkshopReader {
public:
    virtual ~WorkshopReader() = default;
    virtual int slot() const = 0;
    virtual int32_t firstIndex() const = 0;
    virtual double valueAt(int32_t position) const = 0;
};

// The recording being worked on: three slots and their samples, one per program run.
struct Recording {
    std::array<SlotData, SlotCount> slots{SlotData{DefaultDescriptor(0)}, SlotData{DefaultDescriptor(1)},
                                          SlotData{DefaultDescriptor(2)}};
    RecordingTime time;
    SampleStore store;
    int pendingHint = HintNone;   // set through SetHint
    std::string pendingHintText;  // the hint in words, shown beside the button (empty: the page says it)
    const WorkshopReader* workshop = nullptr;

    SlotData& at(int slot) { return slots[static_cast<std::size_t>(CheckSlot(slot))]; }
    const SlotData& at(int slot) const { return slots[static_cast<std::size_t>(CheckSlot(slot))]; }
    ChannelDescriptor& desc(int slot) { return at(slot).desc; }
    const ChannelDescriptor& desc(int slot) const { return at(slot).desc; }
};

// Status of a value read: 0 ok, -1 no block or polynomial pole, -2 index
// clamped, StatusMissing a sample the data file gave no value for.
constexpr int StatusMissing = -3;
struct PhysValue {
    double value = 0.0;
    int status = 0;
};

// A recording over the same samples, for reading on another thread: its own
// descriptors, gaps and hint, no workshop, the samples borrowed from `rec`,
// which must outlive it and not be released meanwhile.
Recording ReadingCopy(const Recording& rec);

// Leaves a hint for the "Hint" button, with its words or none (so no words
// of an earlier hint stay beside a later one).
void SetHint(Recording& rec, int code, std::string text = {});

void ReleaseStore(Recording& rec);

PhysValue ReadPhys(const Recording& rec, int32_t index, int slot);

// ReadPhys for a slot's descriptor at hand; inline for the engines that read every sample.
inline PhysValue ReadPhysOf(const SampleStore& store, const ChannelDescriptor& d, int slot, int32_t index)
{
    PhysValue result;
    int64_t i = index;
    if (i < 0) {
        result.status = -2;
        i = 0;
    }
    if (i > d.DataCnt) {
        result.status = -2;
        i = d.DataCnt;
    }
    const int64_t p = i - d.CorrSmpDelay;
    double raw = 0.0;
    if (p >= 0) {
        const uint16_t* block =
            p < SampleStore::Capacity ? store.block(slot, static_cast<int>(p >> SampleStore::BlockShift)) : nullptr;
        if (!block) {
            result.status = -1;
            return result;
        }
        raw = block[p & SampleStore::BlockMask];
    }
    result.value = raw * d.CoeffA + d.CoeffB - d.yOffset;
    return result;
}
// The value a reader sees: the active workshop's for its slot, else the channel's.
PhysValue ReadValue(const Recording& rec, int32_t index, int slot);
// The channel's own value (difference and polynomial applied), never a workshop's.
PhysValue ReadChannelValue(const Recording& rec, int32_t index, int slot);
uint16_t ReadRaw(const Recording& rec, int32_t index, int slot);
void WriteRaw(Recording& rec, int32_t index, uint16_t raw, int slot);

double RawToPhys(const Recording& rec, uint16_t raw, int slot);

// r rounded to the nearest raw word, ties to even. Where that lies outside
// 0..65535, or r is NaN, the result is clamped and `inside` cleared. Inline
// and without branches, so that per-sample loops stay plain passes.
inline uint16_t RoundRaw(double r, bool& inside)
{
    constexpr double Shift = 4503599627370496.0;    // 2^52: adding it drops the fraction, ties to even
    inside = inside & (r >= -0.5) & (r < 65535.5);  // false for NaN
    double c = r > 0.0 ? r : 0.0;                   // NaN gives 0
    c = c < 65535.0 ? c : 65535.0;
    return static_cast<uint16_t>(static_cast<int32_t>((c + Shift) - Shift));
}
// The raw word of physical value x in a channel of calibration d (clamped as RoundRaw).
inline uint16_t PhysToRawOf(const ChannelDescriptor& d, double x, bool& inside)
{
    return d.CoeffA == 0.0 ? 0 : RoundRaw((x + d.yOffset - d.CoeffB) / d.CoeffA, inside);
}
// Physical value to raw word. Outside the raw range the result is clamped; with
// report set, the range-excess hint is left once and report is cleared.
uint16_t PhysToRaw(Recording& rec, int slot, bool& report, double x);

bool CheckPolynomial(Recording& rec, int slot);
// A polynomial other than the identity is applied to the slot's values, so
// that they differ from what the samples hold (sets bSet as CheckPolynomial).
bool PolynomialApplied(Recording& rec, int slot);
// The help page that explains why processing is refused then.
inline constexpr const char* PolynomialHelpPage = "ErrPoly.rtf";
// A value read from the channel can be written back through PhysToRaw: no
// polynomial applied, and the channel is not read as differences.
bool ValuesWriteBack(Recording& rec, int slot);
// True, after the page that explains it, when processing the slot is refused:
// while a polynomial is applied, and for a command that writes values back
// (`writesValues`) also while the channel is read as differences.
bool RefuseWhilePolynomial(Recording& rec, VkDialogs& ui, int slot, bool writesValues = false);
void SetScaling(Recording& rec, int slot);
void SetRangeFromCoefficients(Recording& rec, int slot);

// The slot is in use, has a sampling interval and at least one sample stored.
bool HoldsData(const Recording& rec, int slot);
// HoldsData, and at least one of the samples is a value (not missing).
bool HoldsValues(const Recording& rec, int slot);

// Index i of the slot had no value in its data file.
bool IsMissing(const Recording& rec, int slot, int64_t index);
// Some index of from .. to - 1 had no value.
bool AnyMissing(const Recording& rec, int slot, int64_t from, int64_t to);

// Lengthens (n > 0) or shortens a channel by n samples; the recording's total
// duration grows to SampRate x DataCnt when that is longer, and never shrinks.
void AdjustLength(Recording& rec, int slot, int32_t n);

// The polynomial of a descriptor applied to x; false at a pole (x unchanged).
bool ApplyPolynomial(const ChannelDescriptor& d, double& x);

}  // namespace vk

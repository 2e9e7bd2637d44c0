#include "core/store/Recording.h"

#include <algorithm>
#include <cmath>

#include "core/store/VkDialogs.h"

namespace vk {

namespace {

// The stored raw word at position p of a slot, or nullptr where no block is.
template <typename Rec>
auto SampleAt(Rec& rec, int slot, int64_t position) -> decltype(rec.store.block(slot, 0))
{
    if (position < 0 || position >= SampleStore::Capacity)
        return nullptr;
    auto* block = rec.store.block(slot, static_cast<int>(position >> SampleStore::BlockShift));
    return block ? block + (position & SampleStore::BlockMask) : nullptr;
}

}  // namespace

void ReleaseStore(Recording& rec)
{
    rec.store.Release();
}

PhysValue ReadPhys(const Recording& rec, int32_t index, int slot)
{
    return ReadPhysOf(rec.store, rec.desc(slot), slot, index);
}

bool ApplyPolynomial(const ChannelDescriptor& d, double& x)
{
    const double x2 = x * x, x3 = x2 * x, x4 = x3 * x, x5 = x4 * x;
    const double num = d.Poly_A + d.Poly_C * x + d.Poly_E * x2 + d.Poly_G * x3 + d.Poly_I * x4 + d.Poly_K * x5;
    const double den = 1.0 + d.Poly_B * x + d.Poly_D * x2 + d.Poly_F * x3 + d.Poly_H * x4 + d.Poly_J * x5;
    if (std::fabs(den) < 1e-12)
        return false;
    x = num / den;
    return true;
}

Recording ReadingCopy(const Recording& rec)
{
    Recording copy;
    copy.slots = rec.slots;
    copy.time = rec.time;
    copy.store = rec.store.Borrow();
    copy.pendingHint = rec.pendingHint;
    copy.pendingHintText = rec.pendingHintText;
    return copy;
}

void SetHint(Recording& rec, int code, std::string text)
{
    rec.pendingHint = code;
    rec.pendingHintText = std::move(text);
}

PhysValue ReadValue(const Recording& rec, int32_t index, int slot)
{
    if (rec.workshop && rec.workshop->slot() == slot)
        return {rec.workshop->valueAt(index - rec.workshop->firstIndex()), 0};
    return ReadChannelValue(rec, index, slot);
}

PhysValue ReadChannelValue(const Recording& rec, int32_t index, int slot)
{
    const SlotData& s = rec.at(slot);
    const ChannelDescriptor& d = s.desc;
    PhysValue v = ReadPhysOf(rec.store, d, slot, index);
    const int32_t before = index > INT32_MIN ? index - 1 : index;
    if (v.status == 0 && !s.missing.empty() &&
        (IsMissing(rec, slot, index) || (d.Derivation && IsMissing(rec, slot, before))))
        v.status = StatusMissing;
    if (d.Derivation)
        v.value -= ReadPhysOf(rec.store, d, slot, before).value;
    if (d.bApplyPolynom && !ApplyPolynomial(d, v.value))
        v.status = -1;
    return v;
}

uint16_t ReadRaw(const Recording& rec, int32_t index, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    if (index > d.DataCnt)
        return 0;
    const uint16_t* sample = SampleAt(rec, slot, int64_t{index} - d.CorrSmpDelay);
    return sample ? *sample : 0;
}

void WriteRaw(Recording& rec, int32_t index, uint16_t raw, int slot)
{
    uint16_t* sample = SampleAt(rec, slot, int64_t{index} - rec.desc(slot).CorrSmpDelay);
    if (sample)
        *sample = raw;
}

double RawToPhys(const Recording& rec, uint16_t raw, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    const double r = raw;
    if (d.KindEqu == 'A' || d.KindEqu == 'D' || d.KindEqu == 'M')
        return d.CoeffA * r + d.CoeffC * r * r + d.CoeffB - d.yOffset;
    return r - d.yOffset;
}

uint16_t PhysToRaw(Recording& rec, int slot, bool& report, double x)
{
    bool inside = true;
    const uint16_t r = PhysToRawOf(rec.desc(slot), x, inside);
    if (!inside && report) {
        SetHint(rec, HintRangeExcess);
        report = false;
    }
    return r;
}

bool CheckPolynomial(Recording& rec, int slot)
{
    ChannelDescriptor& d = rec.desc(slot);
    const bool identity = d.Poly_C == 1.0 && d.Poly_A == 0.0 && d.Poly_B == 0.0 && d.Poly_D == 0.0 && d.Poly_E == 0.0 &&
                          d.Poly_F == 0.0 && d.Poly_G == 0.0 && d.Poly_H == 0.0 && d.Poly_I == 0.0 && d.Poly_J == 0.0 &&
                          d.Poly_K == 0.0;
    d.bSet = !identity;
    return !identity;
}

bool PolynomialApplied(Recording& rec, int slot)
{
    return rec.desc(slot).bApplyPolynom && CheckPolynomial(rec, slot);
}

bool ValuesWriteBack(Recording& rec, int slot)
{
    return !PolynomialApplied(rec, slot) && !rec.desc(slot).Derivation;
}

bool RefuseWhilePolynomial(Recording& rec, VkDialogs& ui, int slot, bool writesValues)
{
    const bool refused = writesValues ? !ValuesWriteBack(rec, slot) : PolynomialApplied(rec, slot);
    if (refused)
        ui.helpPage(PolynomialHelpPage);
    return refused;
}

void SetScaling(Recording& rec, int slot)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (d.HighRng < d.LowRng)
        std::swap(d.HighRng, d.LowRng);
    if (std::fabs(d.HighRng - d.LowRng) < 1e-10) {
        d.HighRng += 1.0;
        d.LowRng -= 1.0;
    }
    d.CoeffA = (d.HighRng - d.LowRng) / 65535.0;
    d.CoeffB = d.LowRng;
    d.CoeffC = 0.0;
    d.Min = d.LowRng;
    d.Max = d.HighRng;
    d.yOffset = 0.0;
}

bool HoldsData(const Recording& rec, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    return rec.at(slot).ChannelUsed && d.SampRate > 0 && d.DataCnt >= d.CorrSmpDelay && d.DataCnt >= 0 &&
           rec.store.block(slot, 0) != nullptr;
}

bool HoldsValues(const Recording& rec, int slot)
{
    if (!HoldsData(rec, slot))
        return false;
    const ChannelDescriptor& d = rec.desc(slot);
    return rec.at(slot).missing.missing() < int64_t{d.DataCnt} - d.CorrSmpDelay + 1;
}

bool IsMissing(const Recording& rec, int slot, int64_t index)
{
    const GapList& gaps = rec.at(slot).missing;
    if (gaps.empty())
        return false;
    const int64_t p = index - rec.desc(slot).CorrSmpDelay;
    return p >= 0 && p <= INT32_MAX && gaps.at(static_cast<int32_t>(p)) != nullptr;
}

bool AnyMissing(const Recording& rec, int slot, int64_t from, int64_t to)
{
    const int64_t origin = rec.desc(slot).CorrSmpDelay;
    return rec.at(slot).missing.overlaps(from - origin, to - origin);
}

void AdjustLength(Recording& rec, int slot, int32_t n)
{
    ChannelDescriptor& d = rec.desc(slot);
    d.DataCnt += n;
    rec.time.LongestSpan = std::max(rec.time.LongestSpan, static_cast<double>(d.SampRate) * d.DataCnt);
}

void SetRangeFromCoefficients(Recording& rec, int slot)
{
    ChannelDescriptor& d = rec.desc(slot);
    d.Min = RawToPhys(rec, 0, slot);
    d.Max = RawToPhys(rec, 65535, slot);
    d.LowRng = d.Min;
    d.HighRng = d.Max;
}

}  // namespace vk

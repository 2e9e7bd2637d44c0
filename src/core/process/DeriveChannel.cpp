#include "core/process/DeriveChannel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

#include "core/store/ChannelSeries.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* NoChannel = "Error. One of the channels does not exist";
constexpr const char* TimeBasePage = "ESIdiff.txt";
constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
constexpr double ConstantSpan = 1024.0;  // the range fitted to a series without spread
constexpr int64_t ProgressStep = int64_t{1} << 20;

// One channel's values around the position j being computed, from j - behind
// to j + ahead, each read before j is written: a result written into this
// channel never reads its own new values. Reads beyond the stored samples give
// the nearest stored value; a missing value is NaN.
class ValueWindow {
public:
    static constexpr int Size = 8;

    ValueWindow(const Recording& rec, int slot, int32_t start, int ahead, int behind)
            : series_(rec, slot),
              lo_(rec.desc(slot).CorrSmpDelay),
              hi_(rec.desc(slot).DataCnt),
              next_(start - behind),
              ahead_(ahead)
    {
        if (ahead + behind + 1 > Size)
            throw std::logic_error("ValueWindow: too wide");
    }

    void advance(int32_t j)
    {
        for (; next_ <= j + ahead_; ++next_)
            ring_[Index(next_)] = read(next_);
    }
    double operator[](int32_t i) const { return ring_[Index(i)]; }

private:
    static std::size_t Index(int32_t i) { return static_cast<uint32_t>(i) & (Size - 1); }
    double read(int32_t i) const
    {
        const PhysValue v = series_.read(std::clamp(i, lo_, hi_));
        return v.status == 0 || v.status == -2 ? v.value : NoValue;
    }

    ChannelSeries series_;
    int32_t lo_, hi_;
    int32_t next_;
    int ahead_;
    std::array<double, Size> ring_{};
};

// v(j) for j = start, start + 1, ... in that order; both passes use one of
// these, so they compute the very same values.
class DerivedValues {
public:
    DerivedValues(const Recording& rec, int code, int lag, int source, int second, int32_t start)
            : code_(code),
              span_(code == DeriveDifferentiate ? lag + 1 : 1),
              start_(start),
              j_(start),
              a_(rec, source, start, span_, code == DeriveDifferentiate ? span_ : 1)
    {
        if (code <= DeriveAbsSum)
            b_.emplace(rec, second, start, 1, 0);
    }

    double next()
    {
        const int32_t j = j_++;
        a_.advance(j);
        if (b_)
            b_->advance(j);
        switch (code_) {
        case DeriveSubtract: return (*b_)[j] - a_[j];
        case DeriveAdd: return a_[j] + (*b_)[j];
        case DeriveAbsSum: return std::fabs(a_[j] + (*b_)[j]);
        case DeriveIntegrate: {
            const double y = a_[j];
            if (std::isnan(y))
                return NoValue;  // missing here; the sum goes on past it
            sum_ += y;
            return sum_;
        }
        case DeriveDifferentiate: return (a_[j + span_] - a_[j - span_]) / 2;
        default: {  // DeriveCompass
            if (j == start_)
                return a_[j];
            const double d = a_[j] - a_[j - 1];
            return d > 180 ? d - 360 : d < -180 ? d + 360 : d;
        }
        }
    }

private:
    int code_;
    int span_;
    int32_t start_, j_;
    ValueWindow a_;
    std::optional<ValueWindow> b_;
    double sum_ = 0;
};

bool KnownCode(int code)
{
    return (code >= DeriveSubtract && code <= DeriveAbsSum) || (code >= DeriveIntegrate && code <= DeriveCompass);
}

std::string ChannelNumber(int slot)
{
    return std::to_string(slot + 1);
}

// False, after a notice naming what differs, when two slots differ in
// sampling interval or start time.
bool SameTimeBase(const Recording& rec, VkDialogs& ui, int a, int b)
{
    const ChannelDescriptor &da = rec.desc(a), &db = rec.desc(b);
    std::string differs;
    if (da.SampRate != db.SampRate)
        differs = "Channel " + ChannelNumber(a) + " is sampled every " + std::to_string(da.SampRate) + " ms, channel " +
                  ChannelNumber(b) + " every " + std::to_string(db.SampRate) + " ms";
    else if (da.StartTime != db.StartTime)
        differs = "Channel " + ChannelNumber(a) + " starts at " + FormatDateTime(da.StartTime, '.') + ", channel " +
                  ChannelNumber(b) + " at " + FormatDateTime(db.StartTime, '.');
    if (differs.empty())
        return true;
    ui.message(differs + ". Channels can only be combined with the same sampling interval and start time; " +
                       TimeBasePage + " in the help explains why.",
               Severity::Warning);
    ui.helpPage(TimeBasePage);
    return false;
}

struct Fit {
    double min = 1e33, max = -1e33;
    GapList gaps;  // positions of the result without a value
};

}  // namespace

bool DerivationAllowed(Recording& rec, VkDialogs& ui, int code, int source, int result, int second)
{
    if (code > DeriveAbsSum)
        second = source;
    const std::array<int, 3> involved{source, second, result};
    for (int s : involved)
        if (s < 0 || s >= SlotCount || !HoldsData(rec, s)) {
            ui.message(NoChannel, Severity::Error);
            return false;
        }
    for (int s : involved)
        if (PolynomialApplied(rec, s)) {
            ui.helpPage(PolynomialHelpPage);
            return false;
        }
    return SameTimeBase(rec, ui, source, second) && SameTimeBase(rec, ui, source, result);
}

CommandResult DeriveChannel(ViewContext& cx, int code, int lag, int source, int result, int second)
{
    if (!KnownCode(code) || lag < 0 || lag > 2)
        throw std::logic_error("DeriveChannel: no operation " + std::to_string(code));
    Recording& rec = cx.rec;
    if (!DerivationAllowed(rec, cx.ui, code, source, result, second))
        return {};
    if (code > DeriveAbsSum)
        second = source;

    ChannelDescriptor& d = rec.desc(result);
    const int32_t origin = d.CorrSmpDelay;
    const auto end = static_cast<int32_t>(
            std::min<double>(std::trunc(rec.time.LongestSpan / rec.desc(source).SampRate), d.DataCnt));
    if (end < origin)
        return {};
    const int64_t total = 2 * (int64_t{end} - origin + 1);
    auto progress = [&](int64_t done) {
        if (done % ProgressStep == 0)
            cx.ui.progress(done, total);
    };

    Fit fit;
    {
        DerivedValues values(rec, code, lag, source, second, origin);
        for (int32_t j = origin; j <= end; ++j) {
            const double v = values.next();
            if (std::isfinite(v)) {
                fit.min = std::min(fit.min, v);
                fit.max = std::max(fit.max, v);
            } else {
                fit.gaps.add(j - origin, j - origin + 1);
            }
            progress(j - origin);
        }
    }
    if (fit.min > fit.max)  // not one value
        fit.min = fit.max = 0;
    if (fit.max - fit.min < 1e-31) {
        fit.max += ConstantSpan;
        fit.min = fit.max - ConstantSpan;
    }
    const double gain = (fit.max - fit.min) / 65535.0;

    cx.undo.PushRange(origin, end + 1, redraw::Everything, UndoDerived, result);
    {
        DerivedValues values(rec, code, lag, source, second, origin);
        uint16_t* block = nullptr;
        bool inside = true;
        for (int32_t j = origin; j <= end; ++j) {
            const double v = values.next();
            const int64_t p = j - origin;
            if (!block || (p & SampleStore::BlockMask) == 0)
                block = rec.store.block(result, static_cast<int>(p >> SampleStore::BlockShift));
            if (block)  // a missing value keeps the stand-in of the low end
                block[p & SampleStore::BlockMask] = std::isfinite(v) ? RoundRaw((v - fit.min) / gain, inside) : 0;
            progress(total / 2 + p);
        }
    }
    cx.ui.progress(0, 0);

    d.CoeffA = gain;
    d.CoeffB = fit.min;
    d.CoeffC = 0;
    d.yOffset = 0;
    d.Min = fit.min;
    d.Max = fit.max;
    SlotData& slot = rec.at(result);
    const bool gapsChanged = !(slot.missing == fit.gaps);
    slot.missing = std::move(fit.gaps);
    slot.ChannelModified = true;
    return {redraw::Everything, SampleChange{result, origin, int64_t{end} + 1, gapsChanged}};
}

}  // namespace vk

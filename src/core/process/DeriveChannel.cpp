#include "core/process/DeriveChannel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/store/Channel.h"
#include "core/store/ChunkValues.h"
#include "core/store/NumberText.h"
#include "core/store/RawRuns.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* NoChannel = "Error. One of the channels does not exist";
constexpr const char* TimeBasePage = "ESIdiff.txt";
constexpr const char* TooLarge = "The results grow beyond the range of numbers; the channel is left as it was.";
constexpr double ConstantSpan = 1024.0;  // the range fitted to a series without spread
constexpr int32_t ChunkLength = 1024;    // values computed at a time: the buffers stay in the first-level cache
static_assert(SampleStore::BlockSamples % ChunkLength == 0);
constexpr int ChunksPerProgress = 1024;

// A stretch of a chunk's values, each short of `lift`: the lift is added
// where the values are used, rather than in a pass of its own.
struct Piece {
    int32_t begin, count;
    double lift;
};
constexpr int IntegrateRuns = 4;
struct Pieces {
    std::array<Piece, IntegrateRuns> piece;
    int count;
    const Piece* begin() const { return piece.data(); }
    const Piece* end() const { return piece.data() + count; }
};

// v(j) chunk by chunk from the start on; both passes use one of these, so
// they compute the very same values.
class DerivedValues {
public:
    DerivedValues(const Recording& rec, int code, int lag, int source, int second, int32_t start)
            : code_(code),
              span_(code == DeriveDifferentiate ? lag + 1 : 1),
              start_(start),
              a_(rec, source, ChunkLength, code == DeriveDifferentiate ? span_ : 0,
                 code == DeriveDifferentiate ? span_
                 : code == DeriveCompass     ? 1
                                             : 0)
    {
        if (code <= DeriveAbsSum)
            b_.emplace(rec, second, ChunkLength, 0, 0);
    }

    Pieces compute(int32_t j0, int32_t count, double* v)
    {
        const double* a = a_.load(j0, count);
        const double* b = b_ ? b_->load(j0, count) : nullptr;
        switch (code_) {
        case DeriveSubtract:
            for (int32_t i = 0; i < count; ++i)
                v[i] = b[i] - a[i];
            break;
        case DeriveAdd:
            for (int32_t i = 0; i < count; ++i)
                v[i] = a[i] + b[i];
            break;
        case DeriveAbsSum:
            for (int32_t i = 0; i < count; ++i)
                v[i] = std::fabs(a[i] + b[i]);
            break;
        case DeriveIntegrate: return integrate(a, count, v, a_.holes());
        case DeriveDifferentiate:
            for (int32_t i = 0; i < count; ++i)
                v[i] = (a[i + span_] - a[i - span_]) / 2;
            break;
        default:  // DeriveCompass
            for (int32_t i = 0; i < count; ++i) {
                const double d = a[i] - a[i - 1];
                const double folded = d > 180 ? d - 360 : d;
                v[i] = folded < -180 ? folded + 360 : folded;
            }
            if (j0 == start_)
                v[0] = a[0];
            break;
        }
        return Whole(count);
    }

private:
    static Pieces Whole(int32_t count) { return {{Piece{0, count, 0.0}}, 1}; }

    // The running sum; a missing value adds nothing and has none. A full
    // chunk is summed as four runs side by side, each from 0, each run
    // lifted by the sum before it: the additions then do not wait on one
    // another. The order is fixed, so both passes get the very same sums.
    Pieces integrate(const double* a, int32_t count, double* v, bool holes)
    {
        if (count != ChunkLength) {
            for (int32_t i = 0; i < count; ++i) {
                const bool missing = std::isnan(a[i]);
                sum_ += missing ? 0.0 : a[i];
                v[i] = missing ? NoValue : sum_;
            }
            return Whole(count);
        }
        constexpr int32_t Run = ChunkLength / IntegrateRuns;
        double run[IntegrateRuns] = {};
        if (holes) {
            for (int32_t i = 0; i < Run; ++i)
                for (int k = 0; k < IntegrateRuns; ++k) {
                    const double y = a[k * Run + i];
                    const bool missing = std::isnan(y);
                    run[k] += missing ? 0.0 : y;
                    v[k * Run + i] = missing ? NoValue : run[k];
                }
        } else {  // the same sums without the checks
            for (int32_t i = 0; i < Run; ++i)
                for (int k = 0; k < IntegrateRuns; ++k)
                    v[k * Run + i] = run[k] += a[k * Run + i];
        }
        Pieces pieces{{}, IntegrateRuns};
        for (int k = 0; k < IntegrateRuns; ++k) {
            pieces.piece[static_cast<std::size_t>(k)] = Piece{k * Run, Run, sum_};
            sum_ += run[k];
        }
        return pieces;
    }

    int code_;
    int span_;
    int32_t start_;
    ChunkValues a_;
    std::optional<ChunkValues> b_;
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
    const double ia = ChannelView(rec, a).interval(), ib = ChannelView(rec, b).interval();
    std::string differs;
    if (ia != ib)
        differs = "Channel " + ChannelNumber(a) + " is sampled every " + GeneralText(ia) + " ms, channel " +
                  ChannelNumber(b) + " every " + GeneralText(ib) + " ms";
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

    // Widens the range to the values of the pieces; true when one of them is
    // NaN. Rounding keeps order, so the least of the lifted values is the
    // least value lifted.
    bool take(const double* v, const Pieces& pieces)
    {
        bool nan = false;
        for (const Piece& p : pieces) {
            double least = std::numeric_limits<double>::infinity(), most = -least;
            nan |= WidenRange(v + p.begin, p.count, least, most);
            if (least <= most) {
                min = std::min(min, least + p.lift);
                max = std::max(max, most + p.lift);
            }
        }
        return nan;
    }
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
        if (RefuseWhilePolynomial(rec, ui, s))
            return false;
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
    const ChannelView channel(rec, result);
    const int32_t origin = channel.firstStored();
    const auto end = static_cast<int32_t>(
        std::min<double>(std::trunc(rec.time.LongestSpan / ChannelView(rec, source).interval()), channel.last()));
    if (end < origin)
        return {};
    const int64_t total = 2 * (int64_t{end} - origin + 1);
    int chunks = 0;
    auto progress = [&](int64_t done) {
        if (++chunks % ChunksPerProgress == 0)
            cx.ui.progress(done, total);
    };
    std::vector<double> v(ChunkLength);

    Fit fit;
    {
        DerivedValues values(rec, code, lag, source, second, origin);
        for (int32_t j0 = origin; j0 <= end; j0 += ChunkLength) {
            const int32_t count = std::min(ChunkLength, end - j0 + 1);
            if (fit.take(v.data(), values.compute(j0, count, v.data())))
                for (int32_t i = 0; i < count; ++i)
                    if (std::isnan(v[static_cast<std::size_t>(i)]))
                        fit.gaps.add(j0 + i - origin, j0 + i - origin + 1);
            progress(j0 + count - origin);
        }
    }
    if (fit.min > fit.max)  // not one value
        fit.min = fit.max = 0;
    if (!std::isfinite(fit.max - fit.min)) {
        cx.ui.message(TooLarge, Severity::Error);
        return {};
    }
    if (fit.max - fit.min < 1e-31) {
        fit.max += ConstantSpan;
        fit.min = fit.max - ConstantSpan;
    }
    const double gain = (fit.max - fit.min) / 65535.0;
    const double perStep = 65535.0 / (fit.max - fit.min);

    cx.undo.PushRange(UndoKind::Derived, result, origin, end + 1, redraw::Everything);
    {
        DerivedValues values(rec, code, lag, source, second, origin);
        for (int32_t j0 = origin; j0 <= end; j0 += ChunkLength) {
            const int32_t count = std::min(ChunkLength, end - j0 + 1);
            const Pieces pieces = values.compute(j0, count, v.data());
            // A chunk lies within one block: both start at the origin.
            const int64_t p0 = int64_t{j0} - origin;
            uint16_t* block = rec.store.block(result, static_cast<int>(p0 >> SampleStore::BlockShift));
            if (!block)
                continue;
            uint16_t* out = block + (p0 & SampleStore::BlockMask);
            // NaN gives 0, the stand-in of a missing value.
            for (const Piece& p : pieces)
                RawOfValues(v.data() + p.begin, p.count, out + p.begin, {p.lift, fit.min, perStep});
            progress(total / 2 + j0 + count - origin);
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

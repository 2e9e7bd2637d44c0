#include "core/process/SectionOperation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/store/Channel.h"
#include "core/store/NumberInput.h"
#include "core/store/RawRuns.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr double TinyOperand = 1e-6;  // divisors and factors closer to 0 are refused
constexpr const char* InvalidOperator = "invalid operator";
constexpr const char* NoValueAtEnds = "There is no value at F4 or at F5: the ends cannot be equalized.";

bool RunsHere(int code)
{
    return code == SectionNegativeToZero || (code >= SectionAdd && code <= SectionCosine);
}

bool ChangesCalibration(int code)
{
    return code == SectionAdd || code == SectionDivide || code == SectionMultiply;
}

// The operand of the codes that ask for one; nullopt when the user cancels or
// types no number.
std::optional<double> AskOperand(VkDialogs& ui, int code)
{
    switch (code) {
    case SectionAdd: return AskNumber(ui, "Summe", "Add to work. section", "0");
    case SectionDivide: return AskNumber(ui, "Division", "Divide work.section by", "1");
    case SectionMultiply: return AskNumber(ui, "Multiply ", "Multiply work. section with", "1");
    case SectionConstant: return AskNumber(ui, "Set constant", "Set values = ", "");
    default: return 0.0;
    }
}

// Calls run(words, n, k) for every run of stored samples of indexes first ..
// last that have values and lie in one block; k is the index of words[0]
// less first.
template <typename Run>
void ForEachRun(Recording& rec, int slot, const WorkSection& w, Run&& run)
{
    const int64_t origin = ChannelView(rec, slot).firstStored();
    const GapList& gaps = rec.at(slot).missing;
    const int64_t end = w.last - origin + 1;
    for (int64_t p = w.first - origin; p < end;) {
        int64_t stop = end;
        if (const GapRange* g = gaps.empty() ? nullptr : gaps.after(static_cast<int32_t>(p))) {
            if (g->from <= p) {  // no values here: the stand-ins stay
                p = g->to;
                continue;
            }
            stop = std::min<int64_t>(stop, g->from);
        }
        while (p < stop) {
            const int64_t length = std::min(stop, (p | SampleStore::BlockMask) + 1) - p;
            if (uint16_t* block = rec.store.block(slot, static_cast<int>(p >> SampleStore::BlockShift))) {
                run(block + (p & SampleStore::BlockMask), static_cast<int32_t>(length),
                    static_cast<int32_t>(p + origin - w.first));
            }
            p += length;
        }
    }
}

// Stores op(raw) for every sample of the section that has a value.
template <typename Op>
void Transform(Recording& rec, int slot, const WorkSection& w, Op&& op)
{
    ForEachRun(rec, slot, w, [&](uint16_t* r, int32_t n, int32_t) {
        for (int32_t i = 0; i < n; ++i)
            r[i] = op(r[i]);
    });
}

// The new raw word of each of the 65536 raw words, for the operations whose
// result depends on the word alone, and whether it had to be clamped.
struct WordTable {
    std::vector<uint16_t> word = std::vector<uint16_t>(65536);
    std::vector<uint8_t> clamped = std::vector<uint8_t>(65536);
};

template <typename F>
WordTable Tabulate(F&& f)
{
    WordTable t;
    for (std::size_t r = 0; r < t.word.size(); ++r) {
        bool inside = true;
        t.word[r] = f(static_cast<double>(r), inside);
        t.clamped[r] = inside ? 0 : 1;
    }
    return t;
}

// The calibration after add, divide or multiply by s over the whole channel;
// nullopt when a number would not be finite.
std::optional<ChannelDescriptor> ScaledCalibration(const ChannelDescriptor& d, int code, double s)
{
    ChannelDescriptor c = d;
    if (code == SectionAdd) {
        c.CoeffB += s;
    } else {
        for (double* v : {&c.CoeffA, &c.CoeffB, &c.CoeffC, &c.yOffset})
            *v = code == SectionMultiply ? *v * s : *v / s;
    }
    for (double v : {c.CoeffA, c.CoeffB, c.CoeffC, c.yOffset})
        if (!std::isfinite(v))
            return std::nullopt;
    return c;
}

}  // namespace

WorkSection SectionIndexes(const ChannelView& channel, double f4, double f5)
{
    WorkSection w;
    if (channel.interval() <= 0)
        return w;
    w.first = static_cast<int64_t>(std::ceil(f4 / channel.interval()));
    w.last = static_cast<int64_t>(std::floor(f5 / channel.interval()));
    return w;
}

UndoKind SectionUndoKind(int code)
{
    switch (code) {
    case SectionNegativeToZero: return UndoKind::NegativeToZero;
    case SectionDeletePoints: return UndoKind::DeletedSamples;
    case SectionAdd: return UndoKind::Add;
    case SectionDivide: return UndoKind::Divide;
    case SectionMultiply: return UndoKind::Multiply;
    case SectionRamp: return UndoKind::Ramp;
    case SectionEqualize: return UndoKind::Equalize;
    case SectionConstant: return UndoKind::Constant;
    case SectionSine: return UndoKind::Sine;
    case SectionCosine: return UndoKind::Cosine;
    default: throw std::invalid_argument("section operation " + std::to_string(code) + " has no undo kind");
    }
}

CommandResult ApplySectionOperation(ViewContext& cx, int code, int variant, int slot, double parameter, double f5,
                                    double f4)
{
    if (!RunsHere(code))  // point editing has engines of its own
        throw std::logic_error("ApplySectionOperation: no operation " + std::to_string(code));
    Recording& rec = cx.rec;
    if (RefuseWhilePolynomial(rec, cx.ui, slot))
        return {};
    ChannelDescriptor& d = rec.desc(slot);
    const ChannelView channel(rec, slot);
    WorkSection w = SectionIndexes(channel, f4, f5);
    w.first = std::max<int64_t>(w.first, channel.firstStored());  // nothing is stored before the origin
    w.last = std::min<int64_t>(w.last, channel.last());
    if (w.count() < 2)
        return {};
    // The values the samples stand for (a linear calibration; the polynomial is off).
    const Calibration calibration = channel.calibration();
    const double a = calibration.a, b = calibration.b - calibration.offset;

    const std::optional<double> operand = AskOperand(cx.ui, code);
    if (!operand)
        return {};
    double s = *operand;
    if (code == SectionRamp)
        s = parameter;
    if (code == SectionEqualize) {
        if (IsMissing(rec, slot, w.first) || IsMissing(rec, slot, w.last)) {
            cx.ui.message(NoValueAtEnds, Severity::Warning);
            return {};
        }
        const auto first = static_cast<int32_t>(w.first), last = static_cast<int32_t>(w.last);
        s = (static_cast<double>(ReadRaw(rec, last, slot)) - ReadRaw(rec, first, slot)) * a;
    }
    if ((code == SectionAdd || code == SectionRamp) && s == 0)
        return {};
    if ((code == SectionDivide || code == SectionMultiply) && std::fabs(s) < TinyOperand) {
        cx.ui.message(InvalidOperator, Severity::Error);
        return {};
    }

    if (ChangesCalibration(code) && f4 == 0 && f5 == rec.time.LongestSpan) {
        const auto scaled = ScaledCalibration(d, code, s);
        if (!scaled) {
            cx.ui.message(InvalidOperator, Severity::Error);
            return {};
        }
        cx.undo.Push(UndoKind::Calibration, slot, redraw::SampleEdit);
        d = *scaled;
        rec.at(slot).ChannelModified = true;
        return redraw::SampleEdit;
    }

    // Raw-domain arithmetic (no quadratic term): z is the raw position of physical zero.
    const bool linear = calibration.linear();
    const double z = -b / a, shift = s / a;
    if (!(std::isfinite(z) && std::isfinite(shift))) {
        cx.ui.message(InvalidOperator, Severity::Error);
        return {};
    }

    cx.undo.PushRange(SectionUndoKind(code), slot, static_cast<int32_t>(w.first), static_cast<int32_t>(w.last + 1),
                      redraw::SampleEdit);
    bool inside = true, unreported = true;
    const uint16_t zero = PhysToRawOf(d, 0.0, unreported);  // physical zero, clamped without a hint
    if (code == SectionRamp || code == SectionEqualize) {
        // y + k x slope in raw steps: k x step added to the raw word; with
        // the ramp 0 at F5, (n - k) x step.
        const double n = static_cast<double>(w.last - w.first), step = shift / n;
        const double sign = code == SectionRamp ? 1.0 : -1.0;
        const bool atF5 = variant == RampZeroAtF5;
        ForEachRun(rec, slot, w, [&](uint16_t* r, int32_t length, int32_t k0) {
            const double k = k0;
            inside &= AddRampToRaw(r, length, atF5 ? n - k : sign * k, atF5 ? -1.0 : sign, step);
        });
    } else {
        // The others depend on the raw word alone: each of the 65536 is worked out once.
        const WordTable table = Tabulate([&](double r, bool& in) -> uint16_t {
            const double y = r * a + b;
            switch (code) {
            case SectionNegativeToZero: return (a > 0 ? r < zero : r > zero) ? zero : static_cast<uint16_t>(r);
            case SectionAdd: return linear ? RoundRaw(r + shift, in) : PhysToRawOf(d, y + s, in);
            case SectionDivide: return linear ? RoundRaw(z + (r - z) / s, in) : PhysToRawOf(d, y / s, in);
            case SectionMultiply: return linear ? RoundRaw(z + (r - z) * s, in) : PhysToRawOf(d, y * s, in);
            case SectionConstant: return PhysToRawOf(d, s, in);
            case SectionSine: return PhysToRawOf(d, std::sin(y), in);
            default: return PhysToRawOf(d, std::cos(y), in);  // SectionCosine
            }
        });
        uint8_t clamped = 0;
        Transform(rec, slot, w, [&](uint16_t r) {
            clamped |= table.clamped[r];
            return table.word[r];
        });
        inside = clamped == 0;
    }
    if (!inside)
        SetHint(rec, HintRangeExcess);
    rec.at(slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{slot, w.first, w.last + 1}};
}

}  // namespace vk

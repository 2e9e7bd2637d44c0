#include "core/process/UndoStack.h"

#include "core/store/SampleMover.h"

#include <cstdio>
#include <new>

#include "core/store/RawRange.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

bool KeepsRange(int kind)
{
    return kind == 0 || kind == 3 || (kind >= 6 && kind <= 27);
}

// One sample kept in the step itself; sample 0 as well as any other.
bool SingleValue(int32_t from, int32_t to)
{
    return from == to && from >= 0;
}

bool KeepsRangeAndImage(int kind)
{
    return kind == 2 || kind == 4 || kind == 5;
}

// Kinds whose commands move samples to other positions, and with them the
// positions of missing values.
bool MovesSamples(int kind)
{
    return KeepsRangeAndImage(kind) || kind == 131 || kind == 132;
}

// Kinds whose steps keep where values were missing: those that move samples,
// a channel computed anew from others, and values written by hand or by the
// spline (they fill gaps).
bool KeepsGaps(int kind)
{
    return MovesSamples(kind) || kind == UndoDerived || kind == UndoSpline || kind == UndoSingleValue;
}

// Kinds whose steps keep the channel's displayed range.
bool KeepsDisplayRange(int kind)
{
    return kind < 128 || kind == UndoDerived;
}

}  // namespace

const char* UndoCaption(int kind)
{
    switch (kind) {
    case 0: return " Spline";
    case 1: return " Zoom";
    case 2: return " Expand";
    case 3: return " sing. val.";
    case 4: return " Clockdrft";
    case 5: return " Reduce";
    case 6: return "  Smooth";
    case 7: return "  Repl<0";
    case 8: return " ElimPeak";
    case 9: return " ElimExtr";
    case 14: return " Skip<0";
    case 16: return " Del pnts";
    case 18: return " Add";
    case 19: return " Div";
    case 20: return " Mult";
    case 21:
    case 22: return " Ramp";
    case 23: return " Set const";
    case 24: return " sin";
    case 25: return " cos";
    case 26: return " Compensation";
    case 27: return " SecOvwr.";
    case 50: return " Polynom.";
    case 129: return " baselne";
    case 130: return " Arithm.";
    case 131: return " Ins. pnt";
    case 132: return " Del. pnt";
    case 133: return " Bi-Chnl";
    default: return "";
    }
}

TUndo::TUndo(Recording& rec, ViewState& view, std::string stackFile)
        : rec_(rec), view_(view), file_(std::move(stackFile))
{
}

TUndo::~TUndo()
{
    std::remove(file_.c_str());
}

void TUndo::fail()
{
    broken_ = true;
    enabled_ = false;
}

void TUndo::UpdateCaption()
{
    if (items_.empty() || items_.back().kind == 29)  // the dive analysis leaves the caption
        return;
    captionTail_ = UndoCaption(items_.back().kind);
}

void TUndo::dropZoomSteps()
{
    while (items_.size() > 1 && items_.back().kind == UndoZoom)
        items_.pop_back();
}

void TUndo::Push(int32_t from, int32_t to, uint32_t redraw, int kind, int slot)
{
    if (broken_ || !enabled_)
        return;
    try {
        const ChannelDescriptor& d = rec_.desc(slot);
        Step s;
        s.slot = slot;
        s.kind = kind;
        s.redraw = redraw;
        s.from = from;
        s.to = to;
        if (kind < 128)
            s.view = view_.at;
        if (KeepsDisplayRange(kind)) {
            s.min = d.Min;
            s.max = d.Max;
        }
        if (KeepsGaps(kind))
            s.missing = rec_.at(slot).missing;
        bool ok = true;
        if (KeepsRange(kind) && SingleValue(from, to)) {
            s.single = ReadRaw(rec_, from, slot);
        } else if (KeepsRange(kind) && to > 0) {
            ok = WriteRawRange(rec_, file_, from, to, RawRangeMode::Append, slot);
        } else if (KeepsRangeAndImage(kind)) {
            ok = WriteRawRange(rec_, file_, from, to, RawRangeMode::Append, slot) && AppendDescriptor(file_, d);
        } else if (kind == UndoPolynomial) {
            ok = AppendDescriptor(file_, d);
        } else if (kind == UndoBaseline) {
            s.yOffset = d.yOffset;
        } else if (kind == UndoArithmetic || kind == UndoDerived) {
            s.coeffA = d.CoeffA;
            s.coeffB = d.CoeffB;
            s.coeffC = d.CoeffC;
            s.yOffset = d.yOffset;
            if (kind == UndoDerived)
                ok = WriteRawRange(rec_, file_, from, to, RawRangeMode::Append, slot);
        }
        if (!ok) {
            fail();
            return;
        }
        items_.push_back(s);
    } catch (const std::bad_alloc&) {
        fail();
        return;
    }
    if (!(skipZoom_ && kind == UndoZoom))
        UpdateCaption();
}

void TUndo::PushJoined(int32_t from, int32_t to, uint32_t redraw, int kind, int slot)
{
    const std::size_t before = items_.size();
    Push(from, to, redraw, kind, slot);
    if (items_.size() > before && before > 0)
        items_.back().withBelow = true;
}

bool TUndo::popRange(const Step& s)
{
    // A range whose words are no longer all in the file is not restored.
    if (RawRangeCount(rec_, s.from, s.to, s.slot) > 0)
        PopRawRange(rec_, file_, s.from, s.to, s.slot);
    return true;
}

bool TUndo::undo(const Step& s, SampleChanges& changed)
{
    ChannelDescriptor& d = rec_.desc(s.slot);
    const SampleChange whole{s.slot, 0, int64_t{d.DataCnt} + 1, true};
    if (KeepsGaps(s.kind)) {
        GapList& gaps = rec_.at(s.slot).missing;
        if (!(gaps == s.missing))
            changed.add(whole);
        gaps = s.missing;
    }
    if (s.kind < 128) {
        view_.at.F1 = s.view.F1;
        view_.at.F2 = s.view.F2;
        view_.at.F4 = s.view.F4;
        view_.at.F5 = s.view.F5;
        view_.at.B1 = s.view.B1;
        view_.at.B2 = s.view.B2;
    }
    if (KeepsDisplayRange(s.kind)) {
        d.Min = s.min;
        d.Max = s.max;
    }
    if (KeepsRange(s.kind)) {
        if (SingleValue(s.from, s.to)) {
            WriteRaw(rec_, s.from, s.single, s.slot);
            changed.add({s.slot, s.from, int64_t{s.from} + 1});
        } else if (s.to >= 1) {
            changed.add({s.slot, s.from, s.to});
            return popRange(s);
        }
    } else if (KeepsRangeAndImage(s.kind)) {
        if (!PopDescriptor(file_, d))
            return false;
        popRange(s);
        AdjustLength(rec_, s.slot, 0);
        changed.add({s.slot, 0, int64_t{d.DataCnt} + 1, true});
    } else if (s.kind == UndoPolynomial) {
        return PopDescriptor(file_, d);
    } else if (s.kind == UndoBaseline) {
        d.yOffset = s.yOffset;
    } else if (s.kind == UndoArithmetic || s.kind == UndoDerived) {
        d.CoeffA = s.coeffA;
        d.CoeffB = s.coeffB;
        d.CoeffC = s.coeffC;
        d.yOffset = s.yOffset;
        if (s.kind == UndoDerived) {
            changed.add({s.slot, s.from, s.to});
            return popRange(s);
        }
    } else if (s.kind == 131) {
        // n points were inserted at p: move the rest back.
        const int32_t p = s.from, n = s.to;
        const int64_t origin = d.CorrSmpDelay;
        MoveSamples(rec_.store, s.slot, int64_t{p} + n - origin, int64_t{d.DataCnt} - origin, -int64_t{n});
        d.DataCnt -= n;
        changed.add(whole);
    } else if (s.kind == 132) {
        // n points were deleted at p: make room again; the step below holds them.
        const int32_t p = s.from, n = s.to;
        const int64_t origin = d.CorrSmpDelay;
        MoveSamples(rec_.store, s.slot, int64_t{p} + 1 - origin, int64_t{d.DataCnt} - origin, n);
        AdjustLength(rec_, s.slot, n);
        changed.add({s.slot, 0, int64_t{d.DataCnt} + 1, true});
    }
    return true;
}

TUndo::PopResult TUndo::Pop()
{
    PopResult result;
    if (broken_ || !enabled_)
        return result;
    if (skipZoom_)
        dropZoomSteps();
    if (!items_.empty()) {
        const Step s = items_.back();
        result.undone = true;
        result.slot = s.slot;
        result.redraw = s.redraw | (skipZoom_ ? redraw::SkipZoomExtra : 0u);
        view_.active = s.slot;
        bool ok = undo(s, result.changed);
        items_.pop_back();
        // One Undo takes back a whole deletion: the shifted samples are the step below.
        // (A command's deletion joins its two steps; the loop below takes them then.)
        if (ok && s.kind == 132 && !s.withBelow && !items_.empty() && items_.back().kind == 16 &&
            items_.back().slot == s.slot) {
            ok = undo(items_.back(), result.changed);
            items_.pop_back();
        }
        // And a whole command: its joined steps go with the step below them.
        for (bool joined = s.withBelow; ok && joined && !items_.empty();) {
            const Step below = items_.back();
            ok = undo(below, result.changed);
            items_.pop_back();
            result.redraw |= below.redraw;
            result.slot = below.slot;
            view_.active = below.slot;
            joined = below.withBelow;
        }
        if (!ok)
            fail();
        if (skipZoom_)
            dropZoomSteps();
    }
    captionTail_ = " nothing";
    UpdateCaption();
    return result;
}

void TUndo::SetOptions(bool enabled, bool skipZoom)
{
    enabled_ = enabled && !broken_;
    skipZoom_ = skipZoom;
    if (enabled_ && skipZoom_) {
        dropZoomSteps();
        UpdateCaption();
    }
}

}  // namespace vk

#include "core/process/UndoStack.h"

#include "core/store/Channel.h"
#include "core/store/SampleMover.h"

#include <cstdio>
#include <new>

#include "core/store/RawRange.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// One sample kept in the step itself; sample 0 as well as any other.
bool SingleValue(int32_t from, int32_t to)
{
    return from == to && from >= 0;
}

}  // namespace

UndoStack::UndoStack(Recording& rec, ViewState& view, std::string stackFile)
        : rec_(rec), view_(view), file_(std::move(stackFile))
{
}

UndoStack::~UndoStack()
{
    std::remove(file_.c_str());
}

void UndoStack::fail()
{
    broken_ = true;
    enabled_ = false;
}

void UndoStack::UpdateCaption()
{
    if (items_.empty() || items_.back().kind == UndoKind::DiveAnalysis)  // the dive analysis leaves the caption
        return;
    captionTail_ = Describe(items_.back().kind).caption;
}

void UndoStack::dropZoomSteps()
{
    while (items_.size() > 1 && items_.back().kind == UndoKind::View)
        items_.pop_back();
}

void UndoStack::PushRange(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw)
{
    const UndoKindInfo& keeps = Describe(kind);
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
        s.modified = rec_.at(slot).ChannelModified;
        s.wholeSaves = rec_.at(slot).wholeSaves;
        if (keeps.keepsView)
            s.view = view_.at;
        if (keeps.keepsDisplayRange) {
            s.min = d.Min;
            s.max = d.Max;
        }
        if (keeps.keepsGaps)
            s.missing = rec_.at(slot).missing;
        bool ok = true;
        if (keeps.keepsSamples && SingleValue(from, to)) {
            s.single = ReadRaw(rec_, from, slot);
        } else if (keeps.keepsSamples && to > 0) {
            ok = WriteRawRange(rec_, file_, from, to, RawRangeMode::Append, slot);
        } else if (keeps.keepsDescriptor) {
            ok = WriteRawRange(rec_, file_, from, to, RawRangeMode::Append, slot) && AppendDescriptor(file_, d);
        } else if (kind == UndoKind::Polynomial) {
            ok = AppendDescriptor(file_, d);
        } else if (kind == UndoKind::Baseline) {
            s.yOffset = d.yOffset;
        } else if (kind == UndoKind::Calibration || kind == UndoKind::Derived) {
            s.coeffA = d.CoeffA;
            s.coeffB = d.CoeffB;
            s.coeffC = d.CoeffC;
            s.yOffset = d.yOffset;
            if (kind == UndoKind::Derived)
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
    if (!(skipZoom_ && kind == UndoKind::View))
        UpdateCaption();
}

void UndoStack::PushJoined(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw)
{
    const std::size_t before = items_.size();
    PushRange(kind, slot, from, to, redraw);
    if (items_.size() > before && before > 0)
        items_.back().withBelow = true;
}

bool UndoStack::popRange(const Step& s)
{
    // A range whose words are no longer all in the file is not restored.
    if (RawRangeCount(rec_, s.from, s.to, s.slot) > 0)
        PopRawRange(rec_, file_, s.from, s.to, s.slot);
    return true;
}

bool UndoStack::undo(const Step& s, SampleChanges& changed)
{
    ChannelDescriptor& d = rec_.desc(s.slot);
    Channel channel(rec_, s.slot);
    const SampleChange whole{s.slot, 0, channel.count(), true};
    const UndoKindInfo& keeps = Describe(s.kind);
    // Undone back to the file as loaded, or as saved since: nothing to ask about on closing.
    // A zoom changes no values.
    SlotData& data = rec_.at(s.slot);
    if (s.kind != UndoKind::View)
        data.ChannelModified = data.wholeSaves == s.wholeSaves ? s.modified : true;
    if (keeps.keepsGaps) {
        GapList& gaps = rec_.at(s.slot).missing;
        if (!(gaps == s.missing))
            changed.add(whole);
        gaps = s.missing;
    }
    if (keeps.keepsView) {
        view_.at.F1 = s.view.F1;
        view_.at.F2 = s.view.F2;
        view_.at.F4 = s.view.F4;
        view_.at.F5 = s.view.F5;
        view_.at.B1 = s.view.B1;
        view_.at.B2 = s.view.B2;
    }
    if (keeps.keepsDisplayRange) {
        d.Min = s.min;
        d.Max = s.max;
    }
    if (keeps.keepsSamples) {
        if (SingleValue(s.from, s.to)) {
            WriteRaw(rec_, s.from, s.single, s.slot);
            changed.add({s.slot, s.from, int64_t{s.from} + 1});
        } else if (s.to >= 1) {
            changed.add({s.slot, s.from, s.to});
            return popRange(s);
        }
    } else if (keeps.keepsDescriptor) {
        if (!PopDescriptor(file_, d))
            return false;
        popRange(s);
        AdjustLength(rec_, s.slot, 0);
        changed.add({s.slot, 0, channel.count(), true});
    } else if (s.kind == UndoKind::Polynomial) {
        return PopDescriptor(file_, d);
    } else if (s.kind == UndoKind::Baseline) {
        d.yOffset = s.yOffset;
    } else if (s.kind == UndoKind::Calibration || s.kind == UndoKind::Derived) {
        d.CoeffA = s.coeffA;
        d.CoeffB = s.coeffB;
        d.CoeffC = s.coeffC;
        d.yOffset = s.yOffset;
        if (s.kind == UndoKind::Derived) {
            changed.add({s.slot, s.from, s.to});
            return popRange(s);
        }
    } else if (s.kind == UndoKind::InsertPoints) {
        // n points were inserted at p: move the rest back.
        const int32_t p = s.from, n = s.to;
        MoveSamples(rec_.store, s.slot, channel.stored(int64_t{p} + n), channel.stored(channel.last()), -int64_t{n});
        channel.setLast(channel.last() - n);
        changed.add(whole);
    } else if (s.kind == UndoKind::DeletePoints) {
        // n points were deleted at p: make room again; the step below holds them.
        const int32_t p = s.from, n = s.to;
        MoveSamples(rec_.store, s.slot, channel.stored(int64_t{p} + 1), channel.stored(channel.last()), n);
        AdjustLength(rec_, s.slot, n);
        changed.add({s.slot, 0, channel.count(), true});
    }
    return true;
}

UndoStack::PopResult UndoStack::Pop()
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
        if (ok && s.kind == UndoKind::DeletePoints && !s.withBelow && !items_.empty() &&
            items_.back().kind == UndoKind::DeletedSamples && items_.back().slot == s.slot) {
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

void UndoStack::SetOptions(bool enabled, bool skipZoom)
{
    enabled_ = enabled && !broken_;
    skipZoom_ = skipZoom;
    if (enabled_ && skipZoom_) {
        dropZoomSteps();
        UpdateCaption();
    }
}

}  // namespace vk

#pragma once

// Undo: every command that changes a channel or the view pushes one step
// before it changes anything; "Undo" takes back the newest. Small state lives
// in the step, sample ranges and descriptor images in the stack file.

#include <cstdint>
#include <string>
#include <vector>

#include "core/store/Recording.h"
#include "core/store/UndoSink.h"
#include "core/view/Command.h"
#include "core/view/ViewState.h"

namespace vk {

class UndoStack : public UndoSink {
public:
    // from and to of a step that keeps no samples (from = to = 0 keeps sample 0).
    static constexpr int32_t NoRange = -1;

    // `stackFile` is "Undo.bin" in a folder of this run's own.
    UndoStack(Recording& rec, ViewState& view, std::string stackFile);
    ~UndoStack() override;  // releases the stack and deletes the file
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    // Records a step: by its kind (Describe) the view, a sample range
    // (from .. to-1; a single value when from = to), a descriptor image or
    // calibration values. A failure switches undo off; the command goes on.
    void Push(UndoKind kind, int slot, uint32_t redraw) override { PushRange(kind, slot, NoRange, NoRange, redraw); }
    void PushRange(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw) override;
    // A step that one Undo takes back together with the step below it (a
    // command that changes more than one thing records its later steps so).
    void PushJoined(UndoKind kind, int slot, uint32_t redraw) { PushJoined(kind, slot, NoRange, NoRange, redraw); }
    void PushJoined(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw);

    struct PopResult {
        bool undone = false;
        uint32_t redraw = 0;
        int slot = -1;          // becomes the active channel
        SampleChanges changed;  // the samples restored
    };
    PopResult Pop();

    // The options dialog: "Skip Zoom (x and y) when go back" and "Disable Undo".
    void SetOptions(bool enabled, bool skipZoom);

    // "Undo" followed by the caption of the newest step (" nothing" after the last).
    std::string MenuCaption() const { return "Undo" + captionTail_; }
    bool enabled() const { return enabled_; }
    bool broken() const { return broken_; }
    bool skipZoom() const { return skipZoom_; }
    int top() const { return static_cast<int>(items_.size()); }
    const std::string& stackFile() const { return file_; }

private:
    struct Step {
        int slot = 0;
        UndoKind kind = UndoKind::View;
        uint32_t redraw = 0;
        int32_t from = 0, to = 0;
        uint16_t single = 0;
        LinePositions view;  // F1, F2, F4, F5 and the B-cursors
        double min = 0, max = 0;
        double coeffA = 0, coeffB = 0, coeffC = 0, yOffset = 0;
        GapList missing;         // steps that move samples or rewrite a channel: where values were missing
        bool modified = false;   // the channel differed from its file before the step
        int32_t wholeSaves = 0;  // and had been saved whole this often
        bool withBelow = false;  // undone together with the step below
    };

    void UpdateCaption();
    void dropZoomSteps();
    void fail();
    bool popRange(const Step& s);
    bool undo(const Step& s, SampleChanges& changed);

    Recording& rec_;
    ViewState& view_;
    std::string file_;
    std::vector<Step> items_;
    bool enabled_ = true;
    bool broken_ = false;
    bool skipZoom_ = false;
    std::string captionTail_;
};

// The undo sink of one command: its first step is a step of its own, every
// later one is joined to it, so one Undo takes back the whole command.
class CommandSteps : public UndoSink {
public:
    static constexpr int32_t NoRange = -1;
    explicit CommandSteps(UndoStack& stack) : stack_(stack) {}
    void Push(UndoKind kind, int slot, uint32_t redraw) override { PushRange(kind, slot, NoRange, NoRange, redraw); }
    void PushRange(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw) override
    {
        first_ ? stack_.PushRange(kind, slot, from, to, redraw) : stack_.PushJoined(kind, slot, from, to, redraw);
        first_ = false;
    }

private:
    UndoStack& stack_;
    bool first_ = true;
};

}  // namespace vk

#pragma once

// The kinds of undo steps, each with the number the undo stack has always
// given it, and what a step of the kind keeps. The table in UndoKind.cpp is
// the one place that knows a kind's number, caption and contents.

#include <cstdint>

namespace vk {

enum class UndoKind : int {
    Spline = 0,              // samples replaced by a line or curve (splines, burnished dives, mantle)
    View = 1,                // the view: borders, cursors, a channel's range
    Expand = 2,              // the samples and the descriptor
    SingleValue = 3,         // one sample changed by the mouse
    ClockDrift = 4,          // the samples and the descriptor
    Reduce = 5,              // the samples and the descriptor
    Smooth = 6,              // a smoothing: kernels, running mean, low pass, flat baseline
    Replace = 7,             // values replaced by a value or a line
    Peaks = 8,               // peaks replaced by lines
    Extremes = 9,            // words at either end of the raw range replaced
    NegativeToZero = 14,     // the section operations' samples, one kind each
    DeletedSamples = 16,     // the samples after a deletion, before they moved
    Add = 18,
    Divide = 19,
    Multiply = 20,
    Ramp = 21,
    Equalize = 22,
    Constant = 23,
    Sine = 24,
    Cosine = 25,
    Compensation = 26,       // a sensor-inertia compensation
    SectionOverwrite = 27,   // a section copied over another
    DiveAnalysis = 29,       // a dive written: the view before the next search
    Polynomial = 50,         // a channel's whole descriptor (the polynomial dialog)
    Baseline = 129,          // a channel's baseline offset
    Calibration = 130,       // a channel's calibration
    InsertPoints = 131,      // from = the sample copied, to = how many
    DeletePoints = 132,      // from = where, to = how many
    Derived = 133,           // a channel computed anew: its samples, calibration and range
};

// What a step of a kind keeps and does.
struct UndoKindInfo {
    UndoKind kind;
    const char* caption;     // after "Undo" in the menu; empty for none
    bool keepsView;          // borders and cursors
    bool keepsDisplayRange;  // the channel's Min and Max
    bool keepsSamples;       // the raw samples from .. to - 1 (or a single one)
    bool keepsDescriptor;    // the samples and the whole descriptor image
    bool movesSamples;       // its command moves samples, and with them the missing values
    bool keepsGaps;          // where values were missing
};

const UndoKindInfo& Describe(UndoKind kind);

// The number the undo stack gives a kind.
constexpr int UndoNumber(UndoKind kind) { return static_cast<int>(kind); }

}  // namespace vk

#pragma once

// The lines over the recording that the graph window keeps: window borders
// F1/F2 (the displayed stretch), cursors F4/F5 (the work section), B-cursors
// and Sh-cursors, with the steps of their moves. Times in ms from the start.

namespace vk {

struct LinePositions {
    double F1 = 0, F2 = 0, F4 = 0, F5 = 0, B1 = 0, B2 = 0, Sh1 = 0, Sh2 = 0;
    bool operator==(const LinePositions&) const = default;
};

// Where the strips' captions stand (for all channels).
enum class CaptionPlace { Invisible = 0, Top = 1, Bottom = 2 };

struct ViewState {
    double T = 0;         // total duration of the recording
    LinePositions at;     // where the lines are
    LinePositions saved;  // where they were when the current command began
    double borderStep = 1;
    double cursorStep = 1;
    int moveMode = 0;  // 0: the arrow keys move nothing yet
    int active = 0;    // active channel slot
    // Window-wide display settings ("&Style ..."):
    CaptionPlace caption = CaptionPlace::Top;
    int timeAxisMode = 0;     // 0 clock time and date, 1 sample numbers
    bool interpolate = true;  // cursor values between samples on the straight line
};

// The opening view of a recording of duration T: the first 120th of it.
ViewState InitialView(double T);

}  // namespace vk

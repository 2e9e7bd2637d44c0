#pragma once

// The redraw request: one bit per drawing routine. A command sets the bits it
// needs; the window runs them once, at the end, in the order below.

#include <array>
#include <cstdint>

namespace vk::redraw {

enum Bit : uint32_t {
    TotalCurve = 1,
    TotalLines = 2,
    ActiveStrip = 4,
    AllStrips = 8,
    TimeScale = 16,
    StripCursors = 32,
    ActiveCursors = 64,
    YScale = 256,
    TotalBorders = 512,
    MovedLines = 1024,
    TotalCursors = 2048,
    CursorsAndMoved = 4096,
    Readouts = 65536,
    Grid = 1048576,
    SubsidiaryLines = 2097152,
};

// The order in which the executor runs the routines of the set bits.
inline constexpr std::array<Bit, 15> Order{TotalCurve,   TotalLines,      ActiveStrip,  AllStrips,     TotalBorders,
                                           StripCursors, CursorsAndMoved, TotalCursors, ActiveCursors, MovedLines,
                                           Readouts,     TimeScale,       YScale,       Grid,          SubsidiaryLines};

// The requests of the commands, by what they change.
inline constexpr uint32_t Nothing = 0;  // a command that changed nothing to be seen
inline constexpr uint32_t ActiveChannel = ActiveStrip | ActiveCursors;  // samples of the active channel
inline constexpr uint32_t RangeChange = ActiveChannel | YScale;         // its displayed range
inline constexpr uint32_t SampleEdit = ActiveChannel | TotalCurve | TotalLines | Readouts;   // its values
inline constexpr uint32_t BorderMove = AllStrips | TimeScale | StripCursors | TotalBorders;  // the window moved
inline constexpr uint32_t WindowOnCursors = BorderMove | YScale;           // the window set to the cursors
inline constexpr uint32_t CursorMove = CursorsAndMoved | Readouts;         // F4 or F5 moved
inline constexpr uint32_t PairMove = CursorsAndMoved;                      // B- or Sh-cursors moved
inline constexpr uint32_t LineMove = MovedLines;                           // a B-cursor stepped
inline constexpr uint32_t AllMove = BorderMove | TotalCursors | Readouts;  // borders and cursors moved
inline constexpr uint32_t SkipZoomExtra = TotalBorders | TotalCursors;     // added by Undo with "Skip Zoom"

// Everything: what opening the window draws.
inline constexpr uint32_t Everything = TotalCurve | TotalLines | AllStrips | StripCursors | Readouts | TimeScale |
                                       YScale | Grid | SubsidiaryLines | ActiveStrip;

}  // namespace vk::redraw

#pragma once

// The smoothing kernels on raw words: 1-2-1, 1-2-4-10-4-2-1, 1-1-2-3-2-1-1,
// the mean of seven without their greatest and least, and the running mean of
// 2n + 1 words, optionally trimmed. Every result is computed from the former
// words; the kernels 1-2-1 .. 1-1-2-3-2-1-1 replace a word only where the
// step beside it is below a jump and the word below a level (the flat
// baseline's tests; the menu passes limits that let everything through).

#include <cstdint>

#include "core/setup/FilterChoices.h"
#include "core/view/Command.h"

namespace vk {

enum SmoothMode : int {
    Smooth121 = 4,
    Smooth12410 = 5,
    Smooth11232 = 6,
    SmoothTrimmedSeven = 7,  // "&1-1-1-1"
    SmoothRunningMean = 8,
};

// The limits the menu's kernels run with: no word is held back.
inline constexpr int32_t NoLevel = 65535;
inline constexpr int64_t NoJump = 2147483647;

// Smooths the section F4 .. F5 of `slot` with `mode`; the section's first
// sample keeps its word. `mean` is used by the running mean only, `level`
// and `jump` by modes 4 .. 6. One undo step of kind UndoKind::Smooth.
CommandResult SmoothKernel(ViewContext& cx, int slot, int mode, const RunningMeanSetting& mean, int32_t level,
                           int64_t jump, double f5, double f4);

}  // namespace vk

#pragma once

// The low pass of the Filter menu: the cosine-weighted moving average of the
// workshop over the section, asked for its half width N.

#include <cstdint>

#include "core/view/Command.h"

namespace vk {

inline constexpr int32_t LowPassMaxN = 200;

// The half width proposed for indexes a .. b: a tenth of the section, 2 .. 200.
int32_t ProposedLowPassN(int32_t a, int32_t b);

// Asks N ("Eliminate high frequencies") and smooths the section F4 .. F5 of
// `slot`, stretch by stretch: each stretch's first position keeps its value.
// Refused (the polynomial page) while the channel's values cannot be written
// back as read. One undo step of kind UndoKind::Smooth.
CommandResult LowPassCommand(ViewContext& cx, int slot, double f5, double f4);

// The same with N given (N above 200 counts as 200; 0 or less does nothing).
CommandResult LowPassSection(ViewContext& cx, int slot, int32_t n, double f5, double f4);

}  // namespace vk

#pragma once

// "Repetitive compens.": the sensor-inertia compensation dive after dive.
// The dive search frames the next dive; the section then reaches back from
// its onset to where the values last stood at the start depth, and the
// single compensation runs on it, its question offering Abort.

#include <functional>

#include "core/process/Compensation.h"
#include "core/setup/Command.h"

namespace vk {

struct CompensationHooks {
    std::function<void()> framed;  // a section placed: the window redraws it
    std::function<bool()> halted;  // pending events handled; Halt pressed?
};

// Moves F4 back from its sample while the values lie below `startDepth`
// (never past index 0), sets the lines to the times of their samples, and
// places F4 where the line between that sample and the next reaches the
// start depth.
void PlaceCompensationStart(const Recording& rec, int slot, ViewState& view, double startDepth);

// Runs until no further dive is found, Abort is answered or Halt pressed.
// Every step goes into the command's undo sink, so one Undo takes it all back.
CommandResult RepeatCompensation(CommandContext& cx, CompensationPreview* preview, const CompensationHooks& hooks);

}  // namespace vk

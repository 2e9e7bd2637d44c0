#pragma once

// "&Subtract", "&Add" and "A&bs" of the Process menu's bi-channel submenu, on
// the channels chosen in their dialog (the workbench's BiChannelChoice).

#include "core/process/DeriveChannel.h"
#include "core/setup/Command.h"

namespace vk {

// Derives the chosen result channel (`code` is DeriveSubtract, DeriveAdd or
// DeriveAbsSum). With burnished dives the depth's baseline offset is in its
// samples already: a subtraction sets it to 0 first, as a step of the command,
// and puts it back when the derivation is refused. The sum and the difference
// become the active channel.
CommandResult BiChannelCommand(CommandContext& cx, int code);

}  // namespace vk

#pragma once

// The one pattern of the graph window's commands: a core function
//
//     CommandResult Name(CommandContext& cx, ...);
//
// registered once under its menu item's name. The window runs every command
// the same way (busy cursor, saved positions, one undo for all its steps, the
// envelopes over the changed samples, one redraw), so a command only does its
// work and says what changed. Commands of the view alone take the ViewContext
// part.

#include <functional>

#include "core/setup/Workbench.h"
#include "core/view/Command.h"

namespace vk {

struct CommandContext : ViewContext {
    Workbench& wb;  // the settings, the result files and the dive state of the run

    Settings& settings() { return wb.settings; }
};

using CommandFunction = std::function<CommandResult(CommandContext&)>;

}  // namespace vk

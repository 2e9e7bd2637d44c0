#pragma once

// Start: from the descriptors the main dialog collected to a loaded recording.
// The main dialog and the batch runner call the same function.

#include <functional>

#include "core/files/TextLoader.h"
#include "core/setup/Workbench.h"

namespace vk {

class VkDialogs;

struct StartHooks {
    // Called before each used slot is loaded (the dialog brings its tab to the front).
    std::function<void(int slot)> loadingSlot;
    TextLoadOptions text;
};

enum class StartResult { Loaded, NoChannel, Stopped, LoadFailed };

// Loads the recording. A channel that names a file that is not there, or
// that holds no value once loaded, is named in one warning (with the columns
// its first data line has, for a text file); the others are loaded.
// The analysis channel drawn with depth growing downwards, as dives are seen,
// when its caption says depth and no setup file chose its style.
void DrawDepthDownwards(ChannelDescriptor& d);

StartResult StartRecording(Workbench& wb, VkDialogs& ui, const StartHooks& hooks = {});

// What that warning lists, one line per channel (each after "\r\n"); empty when all is well.
std::string ChannelProblems(const Recording& rec);

// The result file names that follow from the first used data file.
void NameResultFiles(Workbench& wb, const std::string& dataFile);

}  // namespace vk

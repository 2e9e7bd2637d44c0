#pragma once

// "Save settings in: ": the file dialog that proposes the current setup file
// (or the folder of the first data file) and writes the settings there.

namespace vk {

struct Workbench;
class VkDialogs;

// True when the settings were written; the chosen name then is the setup file.
bool SaveSettingsAs(Workbench& wb, VkDialogs& ui);

}  // namespace vk

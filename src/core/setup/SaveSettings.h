#pragma once

// "Save settings in: ": the file dialog that proposes the current setup file
// (or the folder of the first data file) and writes the settings there.

namespace vk {

struct Workbench;
class VkDialogs;

// True when the settings were written; the chosen name then is the setup file.
bool SaveSettingsAs(Workbench& wb, VkDialogs& ui);

// After a Start: the settings of the setup file started from, kept the first
// time that file is started (a later Start from it keeps the first).
void NoteSetupAtStart(Workbench& wb);

// The dive parameters or channel settings differ from those at the Start
// from the setup file (the view, display ranges and what loading works out
// do not count).
bool SetupChangedSinceStart(const Workbench& wb);

// On closing: changed settings are offered for keeping ("Save", "Save as
// ...", "Don't save"). False keeps the program open (a save failed or the
// file dialog was cancelled).
bool OfferToKeepSetup(Workbench& wb, VkDialogs& ui);

}  // namespace vk

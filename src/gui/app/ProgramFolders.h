#pragma once

// Where the program finds its files on Linux: read-only ones (help pages)
// installed beside the program under share/varnik, found from the executable
// so that a build tree works too; the last-settings file in the per-user
// configuration folder.

#include <string>

namespace vk {

// The help folder with a final '/'.
std::string HelpFolder();

// The folder of the executable with a final '/'.
std::string ProgramFolder();

// The user manual (share/varnik/manual/Manual-Kestrin.pdf beside the help).
std::string ManualPath();

// The folder the example recording is written into: "Varnik example" in the
// user's documents.
std::string ExampleFolder();

// A folder of this run's own, removed when the program ends (the undo stack lives there).
std::string RunFolder();

// The last-settings file "$VM3dvT$.&&&" in the per-user configuration folder
// (the folder is created when missing).
std::string LastSettingsPath();

}  // namespace vk

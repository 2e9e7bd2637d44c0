#pragma once

#include <string>
#include <vector>

#include "core/setup/Settings.h"
#include "core/store/Recording.h"

namespace vk {

inline constexpr const char* SetupMagicLine = "Varnik Setup File";

// Reads a setup file into the descriptors and settings. A missing file or one
// whose first line is not the magic line changes nothing (false). Bad lines are
// skipped; afterwards every yOffset is 0 and incomplete extended rows are off.
// With `unread`, each skipped line of a key this program knows (a value that
// is not a number, an index out of range) is added there as `line 195
// "Dive Threshold abc"`, so that the caller can say its value was not taken;
// keys it does not know are skipped without a word.
bool ReadSetup(const std::string& path, Recording& rec, Settings& settings,
               std::vector<std::string>* unread = nullptr);

// Why ReadSetup refuses the file, in words after its name ("does not
// exist", "is not a setup file: its first line is ..."); "" when it reads it.
std::string WhyNotASetup(const std::string& path);

// The setup file's text for the whole state, as WriteSetup writes it.
std::string SetupText(const Recording& rec, const Settings& settings);

enum class SetupWriteResult { Written, NotASetupFile, WriteFailed };

// Writes the whole state. An existing file of another kind is never
// overwritten, and a failed write leaves the old file as it was.
SetupWriteResult WriteSetup(const std::string& path, const Recording& rec, const Settings& settings);

}  // namespace vk

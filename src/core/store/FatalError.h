#pragma once

#include <string_view>

namespace vk {

class VkDialogs;

// The message of a fatal-error code; empty for a code without one.
std::string_view FatalErrorText(int code);

// Shows the code's message; with halt set, also "     Program halts. " and
// ends the program through the seam.
void ReportFatalError(VkDialogs& ui, int code, bool halt);

}  // namespace vk

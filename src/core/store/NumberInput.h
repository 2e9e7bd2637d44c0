#pragma once

// Numbers the user types: into an input box, or into a dialog's field.

#include <optional>
#include <string>

namespace vk {

class VkDialogs;

// The message for a text that is not a number.
std::string NotANumberText(const std::string& text);

// A number typed into an input box; nullopt when the user cancels, or after
// telling them that the text is not a number.
std::optional<double> AskNumber(VkDialogs& ui, const std::string& caption, const std::string& prompt,
                                const std::string& initial);

}  // namespace vk

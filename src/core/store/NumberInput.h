#pragma once

// Numbers the user types: into an input box, or into a dialog's field.

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

class VkDialogs;

// The messages for a text that is not a number, or not a whole one.
std::string NotANumberText(const std::string& text);
std::string NotAnIntegerText(const std::string& text);

// A number typed into an input box; nullopt when the user cancels, or after
// telling them that the text is not a number.
std::optional<double> AskNumber(VkDialogs& ui, const std::string& caption, const std::string& prompt,
                                const std::string& initial);
// The same for a whole number of 32 bits.
std::optional<int32_t> AskInteger(VkDialogs& ui, const std::string& caption, const std::string& prompt,
                                  const std::string& initial);

}  // namespace vk

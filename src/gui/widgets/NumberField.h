#pragma once

// A number typed into a dialog's field.

#include <optional>

class QLineEdit;

namespace vk {

class VkDialogs;

// The field's number; nullopt after telling the user that its text is not
// one ("'…' is not a valid floating point value"), with the field focused.
std::optional<double> NumberIn(QLineEdit* field, VkDialogs& ui);

}  // namespace vk

#pragma once

// Tooltips in plain words, with the unit, kept in one table per window and
// given to its fields by object name.

#include <utility>
#include <vector>

class QWidget;

namespace vk {

using FieldTips = std::vector<std::pair<const char*, const char*>>;  // object name, tooltip

// Every child of `window` named in `tips` gets its tooltip.
void ApplyFieldTips(QWidget* window, const FieldTips& tips);

}  // namespace vk

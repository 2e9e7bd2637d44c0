#pragma once

// The tooltips of the dive parameter dialog.

#include "gui/widgets/FieldTips.h"

namespace vk {

const FieldTips& DiveParameterTips();

}  // namespace vk

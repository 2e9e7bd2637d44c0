#pragma once

// The tooltips of the filter dialogs, in plain words with their units. Values
// are in the channel's own unit (m for depth, °C for temperature).

#include "gui/widgets/FieldTips.h"

namespace vk {

const FieldTips& PeakEliminationTips();
const FieldTips& RunningMeanTips();
const FieldTips& EnvelopeTips();
const FieldTips& FlatBaselineTips();
const FieldTips& CompensationTips();

}  // namespace vk

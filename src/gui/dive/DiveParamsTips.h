#pragma once

// The tooltips of the dive parameter dialogs: the main one, the shapes, the
// dive stops and the extended characteristics.

#include "gui/widgets/FieldTips.h"

namespace vk {

const FieldTips& DiveParameterTips();
const FieldTips& DiveShapeTips();
const FieldTips& ExtendedParameterTips();

// The tooltips of the numbered rows of the dive stops and extended dialogs,
// one per kind of field.
inline constexpr const char* StopCheckTip = "This stop is kept; cleared, it is removed from the dive";
inline constexpr const char* StopOnsetTip = "Start of the stop, in ms after F4 (the dive's onset)";
inline constexpr const char* StopEndTip = "End of the stop, in ms after F4 (the dive's onset)";
inline constexpr const char* ExtendedOperationTip =
    "What is worked out per dive and written as a column of the dive table (empty: nothing)";
inline constexpr const char* ExtendedChannelTip = "The channel it is worked out on, in that channel's unit";
inline constexpr const char* ExtendedSectionTip =
    "Over which part of the dive: the whole dive, descent, bottom, ascent, at the maximum depth, or the "
    "surface after it";

}  // namespace vk

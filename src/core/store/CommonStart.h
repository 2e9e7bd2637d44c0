#pragma once

#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

// Settles the common start of the used slots and each slot's delay after it
// (SmpDelay, the first stored position, SkipCount), and GlobalStart with its calendar
// fields. Returns false when the user stops or a slot's timing is illegal.
bool SettleCommonStart(Recording& rec, VkDialogs& ui);

}  // namespace vk

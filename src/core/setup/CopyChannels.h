#pragma once

// The copy buttons of the channel tabs: each copies from slot 0 to slots 1 and 2.

#include "core/store/Recording.h"

namespace vk {

enum class CopyKind {
    FileNames,            // "Copy": same file for all channels
    CountExtensions,      // "Count": same file, extension .000/.001/.002 by slot
    SampRate,             // "Copy": same sampling interval
    StartTime,            // "Copy": same start date and time
    Format,               // "Copy": same format, header, column, separator, void data
    AutoScaling,          // "Copy" (left button): same auto-scaling switch
    AutoScalingAndRange,  // "Copy" (right button): also Min and Max
    CountColumns,         // "C": column of slot 1 and 2 = the slot before plus one
};

void CopyFromFirstSlot(Recording& rec, CopyKind kind);

}  // namespace vk

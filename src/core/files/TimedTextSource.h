#pragma once

// A column of a logger text file whose lines carry their times (the setup's
// ToCreate 0 with a TimeColumn): the start and the interval come from the
// times, and a pause in the lines becomes missing values of its length.

#include "core/files/TextSource.h"

namespace vk {

class TimedTextSource : public TextSource {
public:
    const char* name() const override { return "text file with times"; }
    bool serves(const ChannelDescriptor& d) const override { return d.format == format() && d.TimeColumn > 0; }
    bool readInfo(Recording& rec, int slot, const SourceLoad& how, VkDialogs& ui) const override;
    bool sharesReading(const Recording&, int, int) const override { return false; }
    bool load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const override;
};

}  // namespace vk

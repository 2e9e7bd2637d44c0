#pragma once

// A column of a logger text file (the setup's ToCreate 0).

#include "core/files/ChannelSource.h"

namespace vk {

class TextSource : public ChannelSource {
public:
    ChannelFormat format() const override { return ChannelFormat::Text; }
    const char* name() const override { return "text file"; }
    bool serves(const ChannelDescriptor& d) const override { return d.format == format() && d.TimeColumn <= 0; }
    bool canRead(const std::string& path) const override;
    std::vector<std::string> channels(const ChannelDescriptor& d) const override;
    bool sharesReading(const Recording& rec, int a, int b) const override;
    bool load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const override;
    std::string emptyReason(const Recording& rec, int slot) const override;
    void copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const override;
};

}  // namespace vk

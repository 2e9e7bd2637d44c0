#pragma once

// Binary channel files: with their information header read (the setup's
// ToCreate 2), and channels the program makes, empty where their file does not
// exist yet and read as plain samples where it does (ToCreate 1).

#include "core/files/ChannelSource.h"

namespace vk {

class BinarySource : public ChannelSource {
public:
    ChannelFormat format() const override { return ChannelFormat::Binary; }
    const char* name() const override { return "binary file"; }
    bool canRead(const std::string& path) const override;
    std::vector<std::string> channels(const ChannelDescriptor& d) const override;
    bool readInfo(Recording& rec, int slot, const SourceLoad& how, VkDialogs& ui) const override;
    bool load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const override;
    void copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const override;
};

class CreatedSource : public BinarySource {
public:
    ChannelFormat format() const override { return ChannelFormat::Created; }
    const char* name() const override { return "new channel"; }
    bool used(const ChannelDescriptor& d) const override;
    bool createsChannel(const ChannelDescriptor& d) const override;
    bool readInfo(Recording&, int, const SourceLoad&, VkDialogs&) const override { return true; }
    // A channel to create is copied as a text channel: the main dialog shows text or binary.
    void copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const override;
};

}  // namespace vk

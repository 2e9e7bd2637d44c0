#pragma once

// A sensor of a tag archive, a NetCDF file (the setup's ToCreate 3): the
// variable archiveVariable, and for a many-axis sensor the axis ColumnValue.
// The start and the interval come from the archive.

#include "core/files/ChannelSource.h"

namespace vk {

struct ArchiveContents;
struct ArchiveChannel;

// The slot's start (the archive's, and the sensor's offset) and interval from the archive.
void TakeArchiveTiming(Recording& rec, int slot, const ArchiveContents& archive, const ArchiveChannel& channel);

class ArchiveSource : public ChannelSource {
public:
    ChannelFormat format() const override { return ChannelFormat::Archive; }
    const char* name() const override { return "tag archive"; }
    bool canRead(const std::string& path) const override;
    std::vector<std::string> channels(const ChannelDescriptor& d) const override;
    bool readInfo(Recording& rec, int slot, const SourceLoad& how, VkDialogs& ui) const override;
    bool load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const override;
    std::string emptyReason(const Recording& rec, int slot) const override;
    void copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const override;
};

}  // namespace vk

#include "core/files/BinarySources.h"

#include "core/files/BinaryChannelFile.h"
#include "core/files/PathNames.h"
#include "core/store/FileUtil.h"

namespace vk {

bool BinarySource::canRead(const std::string& path) const
{
    const ProbeResult probe = ProbeFile(path);
    return probe.opened && (probe.hasInfoHeader || probe.verdict != ProbeVerdict::LooksLikeText);
}

std::vector<std::string> BinarySource::channels(const ChannelDescriptor& d) const
{
    if (!canRead(d.NameIn))
        return {};
    return {d.Caption.empty() ? std::string("samples") : d.Caption};
}

bool BinarySource::readInfo(Recording& rec, int slot, const SourceLoad&, VkDialogs& ui) const
{
    const ChannelDescriptor& d = rec.desc(slot);
    return !(d.UseFileInfo && FileExists(d.NameIn)) || ReadFileInfo(rec, slot, ui);
}

bool BinarySource::load(Recording& rec, const std::vector<int>& slots, const SourceLoad&, VkDialogs& ui) const
{
    for (int slot : slots)
        if (!LoadBinaryChannel(rec, slot, ui))
            return false;
    return true;
}

void BinarySource::copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const
{
    to.format = ChannelFormat::Binary;
    to.UseFileInfo = from.UseFileInfo;
}

bool CreatedSource::used(const ChannelDescriptor& d) const
{
    return FileExists(d.NameIn) || !NamesNoFile(d.NameIn);
}

bool CreatedSource::createsChannel(const ChannelDescriptor& d) const
{
    return !FileExists(d.NameIn);
}

void CreatedSource::copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const
{
    SourceFor(ChannelFormat::Text).copyReading(from, to);
}

}  // namespace vk

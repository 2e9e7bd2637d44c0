#include "core/files/ChannelSource.h"

#include <stdexcept>
#include <string>

#include "core/files/ArchiveSource.h"
#include "core/files/BinarySources.h"
#include "core/files/TextSource.h"
#include "core/files/TimedTextSource.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"

namespace vk {

bool ChannelSource::used(const ChannelDescriptor& d) const
{
    return FileExists(d.NameIn);
}

const std::vector<const ChannelSource*>& AllSources()
{
    static const TextSource text;
    static const TimedTextSource timedText;
    static const BinarySource binary;
    static const CreatedSource created;
    static const ArchiveSource archive;
    // An archive first: the binary source takes any file that is not text.
    static const std::vector<const ChannelSource*> sources{&archive, &binary, &text, &timedText, &created};
    return sources;
}

const ChannelSource& SourceFor(ChannelFormat format)
{
    for (const ChannelSource* source : AllSources())
        if (source->format() == format)
            return *source;
    throw std::invalid_argument("no source reads channel format " + std::to_string(static_cast<int>(format)));
}

const ChannelSource& SourceFor(const ChannelDescriptor& d)
{
    for (const ChannelSource* source : AllSources())
        if (source->serves(d))
            return *source;
    return SourceFor(d.format);
}

void AllocateStore(Recording& rec, VkDialogs& ui)
{
    std::array<bool, SlotCount> wanted{};
    for (int s = 0; s < SlotCount; ++s)
        wanted[static_cast<std::size_t>(s)] =
            rec.at(s).ChannelUsed || SourceFor(rec.desc(s)).createsChannel(rec.desc(s));
    if (!rec.store.Allocate(wanted))
        ui.message("Insuff Memory", Severity::Error);
}

}  // namespace vk

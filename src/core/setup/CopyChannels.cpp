#include "core/setup/CopyChannels.h"

#include "core/files/ChannelSource.h"
#include "core/files/PathNames.h"

namespace vk {

void CopyFromFirstSlot(Recording& rec, CopyKind kind)
{
    const ChannelDescriptor& from = rec.desc(0);
    for (int slot = 1; slot < SlotCount; ++slot) {
        ChannelDescriptor& to = rec.desc(slot);
        switch (kind) {
        case CopyKind::FileNames: to.NameIn = from.NameIn; break;
        case CopyKind::CountExtensions: to.NameIn = from.NameIn; break;
        case CopyKind::SampRate: to.SampRate = from.SampRate; break;
        case CopyKind::StartTime:
            to.StartTime = from.StartTime;
            to.StartFields = from.StartFields;
            break;
        case CopyKind::Format:
            SourceFor(from).copyReading(from, to);
            break;
        case CopyKind::AutoScalingAndRange:
            to.LowRng = from.LowRng;
            to.HighRng = from.HighRng;
            [[fallthrough]];
        case CopyKind::AutoScaling: to.AutoScaling = from.AutoScaling; break;
        case CopyKind::CountColumns: to.ColumnValue = rec.desc(slot - 1).ColumnValue + 1; break;
        }
    }
    if (kind == CopyKind::CountExtensions)
        for (int slot = 0; slot < SlotCount; ++slot)
            rec.desc(slot).NameIn = ChangeExtension(rec.desc(slot).NameIn, SlotExtension(slot));
}

}  // namespace vk

// The Calculations menu.

#include "core/calc/SamplingIntervals.h"
#include "core/setup/Workbench.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"

namespace vk {

void RegisterCalculationsCommands(CommandTable& t, TForm3& w)
{
    // Synchronizing needs two channels; with fewer its item stays disabled.
    int loaded = 0;
    for (int s = 0; s < SlotCount; ++s)
        loaded += w.workbench().rec.at(s).ChannelUsed ? 1 : 0;
    if (loaded >= 2)
        t.add("mniSIAdjustment", [](CommandContext& cx) { return SuggestSamplingIntervals(cx); });
}

}  // namespace vk

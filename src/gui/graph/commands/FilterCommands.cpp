// The Filter menu.

#include "core/process/SectionOperation.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/commands/Commands.h"

namespace vk {

void RegisterFilterCommands(CommandTable& t, TForm3&)
{
    t.add("mniDelZero", [](CommandContext& cx) {
        return ApplySectionOperation(cx, SectionNegativeToZero, RampNone, cx.view.active, 0, cx.view.at.F5,
                                     cx.view.at.F4);
    });
}

}  // namespace vk

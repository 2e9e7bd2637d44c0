// The Protocol menu.

#include "core/setup/Workbench.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/process/ProtocolWindow.h"

namespace vk {

void RegisterProtocolCommands(CommandTable& t, GraphWindow& w)
{
    // One protocol at a time; the graph window keeps the keyboard.
    t.add("protocol.create", [&w](CommandContext& cx) {
        auto* protocol = w.findChild<ProtocolWindow*>("ListViewProtocol");
        if (!protocol)
            protocol = new ProtocolWindow(w, cx.wb, w.view(), cx.ui);
        protocol->show();
        w.activateWindow();
        return CommandResult{};
    });
}

}  // namespace vk

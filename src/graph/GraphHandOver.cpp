#include "graph/GraphHandOver.h"

#include <string>

#include "app/Workbench.h"
#include "store/VkDialogs.h"

namespace vk {

// Until the graph window exists, the loaded recording is summed up in a message.
QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, QWidget*)
{
    std::string text = " Loaded, from " + FormatDateTime(wb.rec.time.GlobalStart, '.') + ":";
    for (const SlotData& s : wb.rec.slots)
        if (s.ChannelUsed)
            text += "\r\n " + s.desc.Caption + ": " + std::to_string(s.desc.DataCnt - s.desc.CorrSmpDelay + 1) +
                    " samples";
    ui.message(text, Severity::Information);
    return nullptr;
}

}  // namespace vk

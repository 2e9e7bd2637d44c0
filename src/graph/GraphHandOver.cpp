#include "graph/GraphHandOver.h"

#include "graph/Unit3.h"

namespace vk {

QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help)
{
    auto* window = new TForm3(wb, ui, help);
    window->showMaximized();
    return window;
}

}  // namespace vk

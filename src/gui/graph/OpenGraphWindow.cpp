#include "gui/graph/OpenGraphWindow.h"

#include <QScreen>

#include "gui/graph/GraphWindow.h"

namespace vk {

QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help)
{
    auto* window = new GraphWindow(wb, ui, help);
    // The whole screen also where no window manager maximises windows.
    window->setGeometry(window->screen()->availableGeometry());
    window->showMaximized();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace vk

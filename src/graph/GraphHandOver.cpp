#include "graph/GraphHandOver.h"

#include <QScreen>

#include "graph/Unit3.h"

namespace vk {

QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help)
{
    auto* window = new TForm3(wb, ui, help);
    // The whole screen also where no window manager maximises windows.
    window->setGeometry(window->screen()->availableGeometry());
    window->showMaximized();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace vk

#include "support/GuiFixture.h"

#include <QApplication>
#include <QTest>

#include "graph/Unit3.h"

namespace vk::test {

TForm3* OpenActiveGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help)
{
    auto* window = new TForm3(wb, ui, help);
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    if (QWidget* focus = window->findChild<QWidget*>(QString("focus%1").arg(window->activeChannel())))
        focus->setFocus();
    return window;
}

}  // namespace vk::test

#include "support/GuiFixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "graph/Unit3.h"

namespace vk::test {

void Key(TForm3* window, int key, int modifiers)
{
    QWidget* focus = window->findChild<QWidget*>(QString("focus%1").arg(window->activeChannel()));
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

void WhenDialogShows(std::function<void(QWidget*)> inDialog)
{
    QTimer::singleShot(0, [inDialog] {
        if (QWidget* modal = QApplication::activeModalWidget())
            inDialog(modal);
    });
}

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

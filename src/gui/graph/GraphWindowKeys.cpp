// Keys in the graph window: those without a menu item run their commands by
// name, the others run their menu item; Tab goes to the next channel.

#include <QAction>
#include <QKeyEvent>

#include "gui/graph/GraphWindow.h"
#include "gui/process/ProtocolWindow.h"

namespace vk {

namespace {

struct KeyCommand {
    Qt::KeyboardModifiers mods;
    int key;
    const char* name;
};

// The keys that have no menu item, and the commands they run.
const KeyCommand KeyCommands[] = {
    {Qt::ShiftModifier, Qt::Key_F8, "key.sh-cursor-1"},    {Qt::ShiftModifier, Qt::Key_F9, "key.sh-cursor-2"},
    {Qt::ShiftModifier, Qt::Key_E, "key.event-counter"},  {Qt::ShiftModifier, Qt::Key_Z, "key.thumbnail"},
    {Qt::ControlModifier, Qt::Key_Left, "key.page-left"}, {Qt::ControlModifier, Qt::Key_Right, "key.page-right"},
    {Qt::NoModifier, Qt::Key_Left, "key.step-left"},      {Qt::NoModifier, Qt::Key_Right, "key.step-right"},
    {Qt::NoModifier, Qt::Key_Home, "key.home"},          {Qt::NoModifier, Qt::Key_End, "key.end"},
    {Qt::NoModifier, Qt::Key_PageUp, "key.double-step"},  {Qt::NoModifier, Qt::Key_PageDown, "key.halve-step"},
};

}  // namespace

bool GraphWindow::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::NoModifier && key == Qt::Key_Tab) {
        nextChannel();
        return true;
    }
    for (const KeyCommand& k : KeyCommands)
        if (k.mods == mods && k.key == key) {
            runCommand(k.name);
            return true;
        }
    if (QAction* a = menus_->actionForKey(QKeyCombination(mods, Qt::Key(key)).toCombined())) {
        a->trigger();
        return true;
    }
    return false;
}

void GraphWindow::keyPressEvent(QKeyEvent* event)
{
    if (refuseWhileBusy())
        return;
    // The protocol notes the key first; the key then acts as ever.
    if (auto* protocol = findChild<ProtocolWindow*>("ListViewProtocol"))
        protocol->addEntry(*event);
    if (QWidget* focus = focus_[static_cast<std::size_t>(view_.active)])
        focus->setFocus();
    if (!handleKey(event->key(), event->modifiers()))
        QMainWindow::keyPressEvent(event);
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The focus fields hand every key to the window, Tab included.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        for (QWidget* f : focus_)
            if (f && watched == f) {
                if (event->type() == QEvent::ShortcutOverride) {
                    // The window, not a menu, takes F10 and the like; Alt stays for the menu bar.
                    if (!(static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier))
                        event->accept();
                    return false;
                }
                keyPressEvent(static_cast<QKeyEvent*>(event));
                event->accept();  // handled here: not passed on to the window a second time
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vk

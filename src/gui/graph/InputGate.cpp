#include "gui/graph/InputGate.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace vk {

namespace {

// What a user does to a window, as opposed to what the window does itself.
bool UserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
    case QEvent::Drop:
    case QEvent::Close: return true;
    default: return false;
    }
}

}  // namespace

InputGate::InputGate(QWidget* halt, std::function<void()> refused) : halt_(halt), refused_(std::move(refused))
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        windows_.emplace_back(w);
        if (QWindow* handle = w->windowHandle())
            platforms_.emplace_back(handle);
    }
    qApp->installEventFilter(this);
}

InputGate::~InputGate()
{
    qApp->removeEventFilter(this);
}

bool InputGate::forHalt(QObject* watched) const
{
    return halt_ && watched == halt_;
}

bool InputGate::gated(QObject* watched) const
{
    if (watched->isWidgetType()) {
        const QWidget* top = static_cast<QWidget*>(watched)->window();
        return std::any_of(windows_.begin(), windows_.end(), [top](const QPointer<QWidget>& w) { return w == top; });
    }
    if (watched->isWindowType())
        return std::any_of(platforms_.begin(), platforms_.end(),
                           [watched](const QPointer<QWindow>& w) { return w == watched; });
    return false;
}

bool InputGate::eventFilter(QObject* watched, QEvent* event)
{
    if (!UserInput(event->type()) || (forHalt(watched) && event->type() != QEvent::Close) || !gated(watched))
        return false;
    // A close event counts as accepted unless it is ignored: the window stays.
    event->ignore();
    if (!told_ && refused_) {
        told_ = true;
        refused_();
    }
    return true;
}

}  // namespace vk

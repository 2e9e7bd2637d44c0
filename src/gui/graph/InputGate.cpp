#include "gui/graph/InputGate.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

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

bool InputGate::eventFilter(QObject* watched, QEvent* event)
{
    if (!UserInput(event->type()) || (forHalt(watched) && event->type() != QEvent::Close))
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

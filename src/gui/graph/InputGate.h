#pragma once

// While a long command runs and lets the window process pending events, only
// its "Halt" button may take the user's input: keys, clicks, the wheel, menus
// and closing any window are refused (the first refusal is told through
// `refused`). Painting, timers and mouse movement go on as usual.

#include <QObject>
#include <functional>

class QWidget;

namespace vk {

class InputGate : public QObject {
public:
    // Installed on the application for the gate's lifetime.
    InputGate(QWidget* halt, std::function<void()> refused);
    ~InputGate() override;
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool forHalt(QObject* watched) const;

    QWidget* halt_;
    std::function<void()> refused_;
    bool told_ = false;
};

}  // namespace vk

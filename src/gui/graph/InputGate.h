#pragma once

// While a long command runs and lets the window process pending events, only
// its "Halt" button may take the user's input in the windows the command runs
// over (those shown when it started): keys, clicks, the wheel, menus and
// closing them are refused (the first refusal is told through `refused`).
// Painting, timers and mouse movement go on as usual. A box or dialog the
// command opens itself is a window of its own and takes input as any other:
// gating it too would leave its question unanswerable.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;
class QWindow;

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
    bool gated(QObject* watched) const;

    QWidget* halt_;
    std::function<void()> refused_;
    std::vector<QPointer<QWidget>> windows_;     // the top-level windows shown at the start
    std::vector<QPointer<QWindow>> platforms_;  // and their platform windows
    bool told_ = false;
};

}  // namespace vk

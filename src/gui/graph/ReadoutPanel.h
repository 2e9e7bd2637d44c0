#pragma once

// The read-outs under the strips: the values, times and dates at F4, at the
// mouse click and at F5, the Diff./Alter/Crosslines checks with F5 - F4, the
// results of the framed dive, and Hint, Halt and the run's progress at the
// right. Laid out by Qt layouts, so the row follows the window's width.

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vk {

inline constexpr int ShapeButtonCount = 7;  // V, U, Y, W, parabola, L, no category

// The object name of a shape's button ("shape.v" ...), empty for no shape.
const char* ShapeButtonName(int code);

class ReadoutPanel : public QWidget {
public:
    explicit ReadoutPanel(QWidget* parent);

    // A time, date and value read-out for each of F4, the mouse and F5.
    struct Column {
        QLineEdit* value = nullptr;
        QLineEdit* time = nullptr;
        QLineEdit* date = nullptr;
    };
    Column cursorF4, mouse, cursorF5;
    QCheckBox* showDifference = nullptr;  // differences to the click before
    QCheckBox* alterData = nullptr;
    QCheckBox* crossLines = nullptr;
    QLineEdit* spanF4F5 = nullptr;
    QLineEdit* maxDepth = nullptr;
    std::array<QToolButton*, ShapeButtonCount> shapeButtons{};
    QPushButton* hint = nullptr;
    QPushButton* halt = nullptr;
    QLabel* progressText = nullptr;  // dives found, and how the last run ended
    QProgressBar* progress = nullptr;
    QLabel* hintText = nullptr;  // what the Hint is about, in words, under the row
};

}  // namespace vk

#pragma once

// "Chart Style": the active channel's drawing style, name and B-cursors, and
// for all channels the captions' place, the time read-out and interpolation.

#include <QDialog>
#include <array>
#include <functional>

#include "core/view/ChartStyle.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vk {

class ChartStyleDialog : public QDialog {
    Q_OBJECT

public:
    // `interpolate` is called at once when its box changes, OK or not.
    ChartStyleDialog(const Recording& rec, const ViewState& view, int slot, std::function<void(bool)> interpolate,
                   QWidget* parent = nullptr);
    ChartStyleChoice choice() const;

private:
    std::array<QRadioButton*, 4> shapes_{};
    QRadioButton* inverted_;
    std::array<QRadioButton*, 3> captions_{};
    QLineEdit* name_;
    QLabel* note_;
    QSpinBox* length_;
    QSpinBox* position_;
    QCheckBox* dateAndTime_;
};

}  // namespace vk

#pragma once

// "Clock drift correction": how far the logger's clock drifted, in hours,
// minutes and seconds, and whether it ran ahead or back.

#include <QDialog>

#include "core/process/ClockDrift.h"

class QLineEdit;
class QRadioButton;

namespace vk {

class VkDialogs;

class ClockDriftDialog : public QDialog {
    Q_OBJECT

public:
    ClockDriftDialog(VkDialogs& ui, QWidget* parent = nullptr);

    const ClockDrift& drift() const { return drift_; }

    // Refused, the dialog open, while a field is not a whole number.
    void accept() override;

private:
    VkDialogs& ui_;
    QLineEdit *hours_, *minutes_, *seconds_;
    QRadioButton* ahead_;
    ClockDrift drift_;
};

}  // namespace vk

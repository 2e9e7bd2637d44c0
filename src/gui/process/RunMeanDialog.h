#pragma once

// "Running Mean (1-1-1-1-....-1-1)": the half width N, which words the mean
// may replace, and the share of extreme words left out of it.

#include <QDialog>

#include "core/setup/FilterChoices.h"

class QLineEdit;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class RunMeanDialog : public QDialog {
    Q_OBJECT

public:
    RunMeanDialog(RunningMeanSetting& setting, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // Stores the fields (N above 500 becomes 500, p is kept to 0..50); refused,
    // the dialog open, while a field is not a whole number.
    void accept() override;

private:
    RunningMeanSetting& setting_;
    VkDialogs& ui_;
    QLineEdit* points_;
    QLineEdit* ignore_;
    QRadioButton* up_;
    QRadioButton* middle_;
};

}  // namespace vk

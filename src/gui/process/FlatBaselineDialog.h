#pragma once

// "Flat baseline": how strongly (a track bar and a field in step with it),
// which kernel, and whether only values below the dive threshold change.

#include <QDialog>

#include "core/setup/Settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace vk {

class HelpViewer;
class VkDialogs;

class FlatBaselineDialog : public QDialog {
    Q_OBJECT

public:
    FlatBaselineDialog(FlatBaselineSettings& settings, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // "Start smooth": stores the settings; refused, the dialog open, while the
    // field is not a whole number from 0 to 32.
    void accept() override;

private:
    bool fieldToBar();

    FlatBaselineSettings& settings_;
    VkDialogs& ui_;
    QSlider* bar_;
    QLineEdit* strength_;
    QRadioButton* waves_[3];
    QCheckBox* belowThreshold_;
};

}  // namespace vk

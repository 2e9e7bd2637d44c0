#pragma once

// "Compensate sensor inertia": the settings of the compensation, and which
// run to start: dive after dive, the work section once, or none (OK only
// stores the settings).

#include <QDialog>

#include "core/setup/Settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class CompensationDialog : public QDialog {
    Q_OBJECT

public:
    enum class Run { None, Repetitive, Single };

    CompensationDialog(CompensationSettings& settings, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // After the dialog closed with a run button or OK.
    Run run() const { return run_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Stores the fields and closes with `run`; false, the dialog open, while a field is no number.
    bool store(Run run);
    void showReference();

    CompensationSettings& settings_;
    VkDialogs& ui_;
    QLineEdit *amplitude_, *startDepth_;
    QCheckBox* invert_;
    QRadioButton *surface_, *zero_;
    QWidget *surfacePicture_, *zeroPicture_;
    QPushButton* repetitive_;
    QLabel* note_;
    Run run_ = Run::None;
};

}  // namespace vk

#pragma once

// "Add ramp": a ramp of a given height over the work section, or the section
// tilted until its ends are equal; either is zero at the cursor chosen.

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class AddRampDialog : public QDialog {
    Q_OBJECT

public:
    AddRampDialog(VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // After OK: the section operation, where it is zero and the ramp's height.
    int code() const { return code_; }
    int variant() const { return variant_; }
    double height() const { return height_; }

    void accept() override;  // refused, the dialog open, while the height is not a number

private:
    VkDialogs& ui_;
    QRadioButton* ramp_;
    QLineEdit* rampHeight_;
    QRadioButton* atF5_;
    int code_ = 0;
    int variant_ = 0;
    double height_ = 0;
};

}  // namespace vk

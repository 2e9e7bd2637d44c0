#pragma once

// "Apply a Polynom to channel ...": the rational calibration polynomial of a
// channel. The dialog edits a copy; OK hands it back, Cancel leaves the
// channel as it was.

#include <QDialog>
#include <array>

#include "core/process/PolynomialSetting.h"

class QCheckBox;
class QLineEdit;

namespace vk {

class HelpViewer;
class VkDialogs;

class PolynomialDialog : public QDialog {
    Q_OBJECT

public:
    PolynomialDialog(const Recording& rec, int slot, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // After OK: what the fields and the check box say.
    const PolynomialSetting& setting() const { return setting_; }

    void accept() override;  // refused, the dialog open, while a field is not a number

private:
    void showSetting(const PolynomialSetting& p);

    VkDialogs& ui_;
    PolynomialSetting setting_;
    std::array<QLineEdit*, 11> fields_{};  // A .. K
    QCheckBox* apply_;
};

}  // namespace vk

#pragma once

// The subsidiary lines dialog: up to nine horizontal lines at chosen values of a channel.

#include <QDialog>
#include <array>

#include "core/view/GridAndLines.h"

class QCheckBox;
class QLineEdit;

namespace vk {

class VkDialogs;

class SubsidiaryLinesDialog : public QDialog {
    Q_OBJECT

public:
    SubsidiaryLinesDialog(SubsidiaryLines& lines, VkDialogs& ui, QWidget* parent = nullptr);
    // Stores the rows; a checked row that is not a number is named, the dialog stays.
    void accept() override;

private:
    SubsidiaryLines& lines_;
    VkDialogs& ui_;
    std::array<QCheckBox*, SubsidiaryRowCount> checks_{};
    std::array<QLineEdit*, SubsidiaryRowCount> values_{};
};

}  // namespace vk

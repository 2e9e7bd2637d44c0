#pragma once

// "Extended dive characteristics": eight rows "Calc" [operation] "of channel"
// [channel] "at" [section], and the speed channel for angles and distances.

#include <QDialog>
#include <array>

#include "core/setup/DiveParameters.h"

class QCheckBox;
class QComboBox;

namespace vk {

struct Workbench;
class HelpViewer;
class VkDialogs;

class ExtendedParamsDialog : public QDialog {
    Q_OBJECT

public:
    ExtendedParamsDialog(Workbench& wb, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    void accept() override;

private:
    struct Row {
        QComboBox *operation, *channel, *section;
    };
    Workbench& wb_;
    VkDialogs& ui_;
    std::array<Row, ExtendedRowCount> rows_{};
    QCheckBox* speed_ = nullptr;
    QComboBox* speedChannel_ = nullptr;
    QCheckBox* myVk_ = nullptr;
};

}  // namespace vk

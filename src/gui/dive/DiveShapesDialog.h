#pragma once

// "Dive shapes": a track bar and a field kept in step for each shape parameter.

#include <QDialog>
#include <array>

#include "core/dive/DiveShapesRules.h"

class QLineEdit;
class QSlider;

namespace vk {

class HelpViewer;
class VkDialogs;

class DiveShapesDialog : public QDialog {
    Q_OBJECT

public:
    DiveShapesDialog(DiveParameters& p, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    void accept() override;

private:
    DiveParameters& p_;
    VkDialogs& ui_;
    std::array<QSlider*, ShapeBarCount> bars_{};
    std::array<QLineEdit*, ShapeBarCount> fields_{};
};

}  // namespace vk

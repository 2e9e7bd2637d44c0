#pragma once

// "Change Dive stops": the stops of the current dive, four rows per phase with
// times relative to F4; OK takes the checked rows back and warns about stops
// outside their phase or overlapping.

#include <QDialog>
#include <array>

#include "core/dive/DiveStops.h"

class QCheckBox;
class QLineEdit;

namespace vk {

class HelpViewer;
class VkDialogs;

class DiveStopsDialog : public QDialog {
    Q_OBJECT

public:
    DiveStopsDialog(StopTable& stops, const LinePositions& at, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    void accept() override;

private:
    struct Row {
        QCheckBox* check;
        QLineEdit *onset, *end;
    };
    StopTable& stops_;
    LinePositions at_;
    VkDialogs& ui_;
    std::array<std::array<Row, MaxStopsPerPhase>, 2> rows_{};
};

}  // namespace vk

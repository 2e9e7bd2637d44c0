#pragma once

// "Change Window Height": the share of the graph window's height each loaded
// channel's strip gets, 0 (hidden) to 10.

#include <QDialog>
#include <array>

#include "core/store/Recording.h"

class QScrollBar;

namespace vk {

class WindowHeightDialog : public QDialog {
    Q_OBJECT

public:
    // `totalSlot` is the channel of the total window: its name stands in bold.
    WindowHeightDialog(const Recording& rec, int totalSlot, QWidget* parent = nullptr);
    // The heights set, for the loaded channels (the others as they were).
    std::array<int, SlotCount> heights() const;

private:
    const Recording& rec_;
    std::array<QScrollBar*, SlotCount> bars_{};
};

}  // namespace vk

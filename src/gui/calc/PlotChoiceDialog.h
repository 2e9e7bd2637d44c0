#pragma once

// The bi-channel dialog in its plot mode: which channel goes across and which
// up, and the colours of the cloud (by a third channel against a threshold)
// and of the ellipse.

#include "gui/process/BiChannelDialog.h"

class QLineEdit;

namespace vk {

struct PlotChoice;
struct Settings;

class PlotChoiceDialog : public BiChannelDialog {
    Q_OBJECT

public:
    // OK stores the channels, the colour channel, the threshold and the
    // colours; the ellipse's colour is the colour table's "Ellipse" row.
    PlotChoiceDialog(const Recording& rec, BiChannelChoice& channels, PlotChoice& plot, Settings& settings,
                      VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    void accept() override;  // refused while the threshold is no number

private:
    void pick(int32_t& colour, const char* caption);

    PlotChoice& plot_;
    Settings& settings_;
    VkDialogs& ui_;
    QLineEdit* channel_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    int32_t colour1_, colour2_, ellipse_;
};

}  // namespace vk

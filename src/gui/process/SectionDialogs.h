#pragma once

// The Sections menu's windows: "Store section" (which buffers hold the work
// section) and "Overwrite" (a stored section laid over the active channel
// from F4, previewed while F4 moves, written by "Fix it").

#include <QDialog>
#include <array>

#include "core/setup/SectionBuffers.h"
#include "core/view/ViewState.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vk {

class HelpViewer;
class GraphWindow;
class VkDialogs;

class StoreSectionDialog : public QDialog {
    Q_OBJECT

public:
    // Ticking a box stores F4, F5 and the active channel in its buffer; OK
    // keeps the boxes' state, Cancel leaves every buffer as it was.
    StoreSectionDialog(SectionBuffers& buffers, const ViewState& view, HelpViewer& help, QWidget* parent = nullptr);
    void accept() override;

private:
    SectionBuffers& buffers_;
    SectionBuffers edited_;
    std::array<QCheckBox*, SectionBufferCount> boxes_{};
};

class SectionOverwriteDialog : public QDialog {
    Q_OBJECT

public:
    // A window beside the graph window, on top of it; the graph window keeps
    // the focus, so that F4 can be moved while the preview follows it.
    SectionOverwriteDialog(SectionBuffers& buffers, VkDialogs& ui, GraphWindow& window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void okOrFix();
    void cancel();
    void clearShown();

    SectionBuffers& buffers_;
    VkDialogs& ui_;
    GraphWindow& window_;
    std::array<QRadioButton*, SectionBufferCount> radios_{};
    QPushButton* ok_;
    QLabel* howTo_;
    bool previewing_ = false;
};

}  // namespace vk

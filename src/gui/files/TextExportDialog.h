#pragma once

// The text export dialog: which section, which channels, which file.

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace vk {

struct Workbench;
struct ViewState;
class HelpViewer;
class VkDialogs;

class TextExportDialog : public QDialog {
    Q_OBJECT

public:
    TextExportDialog(Workbench& wb, const ViewState& view, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    void accept() override;  // OK: writes the files

protected:
    void showEvent(QShowEvent* event) override;

private:
    Workbench& wb_;
    const ViewState& view_;
    VkDialogs& ui_;
    QButtonGroup* section_ = nullptr;
    QButtonGroup* channels_ = nullptr;
    QLineEdit* file_ = nullptr;
};

}  // namespace vk

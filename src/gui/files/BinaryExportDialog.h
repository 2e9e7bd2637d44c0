#pragma once

// The binary export dialog: which section, active channel or all channels in
// files of their own, the file, and the two comment lines of the header.

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

struct Workbench;
struct ViewState;
class HelpViewer;
class VkDialogs;

class BinaryExportDialog : public QDialog {
    Q_OBJECT

public:
    BinaryExportDialog(Workbench& wb, const ViewState& view, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    void accept() override;  // OK: writes the files

private:
    void channelsChosen();
    void acceptComments();
    void sameCommentForAll();

    Workbench& wb_;
    const ViewState& view_;
    VkDialogs& ui_;
    QButtonGroup* section_ = nullptr;
    QButtonGroup* channels_ = nullptr;
    QLineEdit* file_ = nullptr;
    QLineEdit* comment1_ = nullptr;
    QLineEdit* comment2_ = nullptr;
    QList<QWidget*> commentParts_;
};

}  // namespace vk

#include "gui/process/UndoOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "core/process/UndoStack.h"

namespace vk {

UndoOptionsDialog::UndoOptionsDialog(UndoStack& undo, QWidget* parent) : QDialog(parent), undo_(undo)
{
    setObjectName("undoOptionsDialog");
    setWindowTitle("Undo options");
    skipZoom_ = new QCheckBox("Skip Zoom (x and y) when go back");
    skipZoom_->setObjectName("cbxSkipZoom");
    skipZoom_->setChecked(undo.skipZoom());
    disable_ = new QCheckBox("Disable Undo");
    disable_->setObjectName("cbxDisableUndo");
    disable_->setChecked(!undo.enabled());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(skipZoom_);
    layout->addWidget(disable_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void UndoOptionsDialog::done(int result)
{
    undo_.SetOptions(!disable_->isChecked(), skipZoom_->isChecked());
    QDialog::done(result);
}

}  // namespace vk

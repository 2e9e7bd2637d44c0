#pragma once

#include <QDialog>

class QCheckBox;

namespace vk {

class UndoStack;

// "Undo options": skip zoom steps when going back, and switching undo off.
class UndoOptionsDialog : public QDialog {
    Q_OBJECT

public:
    UndoOptionsDialog(UndoStack& undo, QWidget* parent = nullptr);
    void done(int result) override;  // the options are stored however it closes

private:
    UndoStack& undo_;
    QCheckBox* skipZoom_;
    QCheckBox* disable_;
};

}  // namespace vk

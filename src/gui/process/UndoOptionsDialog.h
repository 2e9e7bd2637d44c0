#pragma once

#include <QDialog>

class QCheckBox;

namespace vk {

class TUndo;

// "Undo options": skip zoom steps when going back, and switching undo off.
class TfrmUndoOptions : public QDialog {
    Q_OBJECT

public:
    TfrmUndoOptions(TUndo& undo, QWidget* parent = nullptr);
    void done(int result) override;  // the options are stored however it closes

private:
    TUndo& undo_;
    QCheckBox* skipZoom_;
    QCheckBox* disable_;
};

}  // namespace vk

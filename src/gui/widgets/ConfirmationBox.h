#pragma once

// The small confirmation dialog with a text and up to three buttons; callers
// set the captions ("Append", "Overwrite", "Cancel").

#include <QDialog>

class QLabel;
class QPushButton;

namespace vk {

class ConfirmationBox : public QDialog {
    Q_OBJECT

public:
    enum Result { Ok = 1, Cancel = 2, Aux = 7 };

    explicit ConfirmationBox(QWidget* parent = nullptr);

    void setText(const QString& text);
    void setCaptions(const QString& ok, const QString& cancel, const QString& aux = {});
    void showAux(bool visible);
    // Shows the dialog; 1 for OK, 2 for Cancel or Escape, 7 for Aux.
    int ask();

private:
    QLabel* text_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* aux_;
};

}  // namespace vk

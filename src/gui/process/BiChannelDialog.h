#pragma once

// "Bi-channel operation": which two channels to combine and where the result
// goes. The labels follow the operation; beside each number the caption of
// its channel shows.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace vk {

class HelpViewer;
class VkDialogs;
struct BiChannelChoice;
struct Recording;

// The dialog's modes: the operations of the Bi-Channel menu.
// Plot: one channel against another (the result row and notes hidden).
enum class BiChannelMode { Subtract = 1, Add = 2, Abs = 3, Plot = 4 };

class BiChannelDialog : public QDialog {
    Q_OBJECT

public:
    // Shows `choice`; OK stores the three numbers back into it.
    BiChannelDialog(const Recording& rec, BiChannelChoice& choice, BiChannelMode mode, VkDialogs& ui, HelpViewer& help,
                  QWidget* parent = nullptr);

    BiChannelMode mode() const { return mode_; }
    void accept() override;  // refused, the dialog open, while a number is not 1..3

protected:
    // Where a mode with controls of its own adds them, above the notes.
    QVBoxLayout* extras() const { return extras_; }

private:
    void showCaption(std::size_t field);

    const Recording& rec_;
    BiChannelChoice& choice_;
    BiChannelMode mode_;
    VkDialogs& ui_;
    std::array<QLineEdit*, 3> fields_{};
    std::array<QLabel*, 3> captions_{};
    QVBoxLayout* extras_ = nullptr;
};

}  // namespace vk

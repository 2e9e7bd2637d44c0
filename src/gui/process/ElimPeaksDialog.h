#pragma once

// "Eliminate Peaks": words at the ends of the raw range, short peaks, or
// values in a relation to a number, each option with its fields (the
// fields of the options not chosen are disabled).

#include <QDialog>

#include "core/setup/FilterChoices.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class ElimPeaksDialog : public QDialog {
    Q_OBJECT

public:
    ElimPeaksDialog(PeakChoices& choices, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // Stores the chosen option and its fields (the amplitude as its absolute
    // value); refused, the dialog open, while one of them is no number.
    void accept() override;

private:
    void enableFields();

    PeakChoices& choices_;
    VkDialogs& ui_;
    QRadioButton *extremes_, *peaks_, *replace_, *byValue_, *byLine_;
    QLineEdit *amplitude_, *length_, *value_, *replacement_;
    QComboBox* relation_;
};

}  // namespace vk

#pragma once

// The envelope's dialog: the longest period joined, the least amplitude of
// an extremum, and the side the envelope covers.

#include <QDialog>

#include "core/setup/FilterChoices.h"

class QLineEdit;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class MantleDialog : public QDialog {
    Q_OBJECT

public:
    MantleDialog(MantleSetting& setting, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);

    // Stores the fields; refused, the dialog open, while a field is no number
    // or the amplitude is not above 0 or the period below 1.
    void accept() override;

private:
    MantleSetting& setting_;
    VkDialogs& ui_;
    QLineEdit* period_;
    QLineEdit* amplitude_;
    QRadioButton* above_;
};

}  // namespace vk

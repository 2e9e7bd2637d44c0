#pragma once

// "Count Events": the threshold, above or below it, and whether and where to
// store a line per event. Its choices stay for the run.

#include <QDialog>
#include <optional>

#include "core/setup/CalcChoices.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vk {

class HelpViewer;
class VkDialogs;

class CountEventsDialog : public QDialog {
    Q_OBJECT

public:
    // `folder` is where "Results to" starts (the data file's folder).
    CountEventsDialog(EventChoice& choice, std::string folder, VkDialogs& ui, HelpViewer& help, QWidget* parent = nullptr);
    void accept() override;

    // After OK: the threshold read.
    double threshold() const { return threshold_; }

private:
    void storeToggled(bool on);
    void chooseFile();

    EventChoice& choice_;
    std::string folder_;
    VkDialogs& ui_;
    double threshold_ = 0;
    QLineEdit* thresholdField_;
    QRadioButton* above_;
    QCheckBox* store_;
    QPushButton* resultsTo_;
    QLineEdit* file_;
};

}  // namespace vk

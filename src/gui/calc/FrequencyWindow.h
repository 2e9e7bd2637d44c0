#pragma once

// "Frequency": the sensitivity, the calculation of the tags and their
// results, what a left click does to the tags, and the export. Beside the
// graph window and on top of it; one at a time.

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace vk {

class GraphWindow;
struct ClickTools;

class FrequencyWindow : public QDialog {
    Q_OBJECT

public:
    FrequencyWindow(GraphWindow& window, ClickTools& tools);
    ~FrequencyWindow() override;

    void calculate();      // "Calc. frequency"
    void discardAll();     // "Discard all tags"
    void exportResults();  // "Export Results"
    void showResults();    // the memo from the tag list

protected:
    void changeEvent(QEvent* event) override;

private:
    GraphWindow& window_;
    ClickTools& tools_;
    QLineEdit* sensitivity_;
    QPlainTextEdit* memo_;
    QRadioButton* insert_;
    QRadioButton* discard_;
};

}  // namespace vk

#pragma once

// "Statistics": the statistics of the work section as lines of text, with
// OK, Help and Export.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QPushButton;

namespace vk {

class HelpViewer;

class StatisticsWindow : public QDialog {
    Q_OBJECT

public:
    // `exported` writes the row; true closes the window. Without numbers
    // (no sample in the section) Export is disabled.
    StatisticsWindow(std::vector<std::string> lines, bool numbers, HelpViewer& help, std::function<bool()> exported,
                   QWidget* parent = nullptr);

    const std::vector<std::string>& lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineHeight() const;

    std::vector<std::string> lines_;
};

}  // namespace vk

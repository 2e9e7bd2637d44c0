#pragma once

// The user-interaction seam with real message boxes, input boxes, file
// dialogs, the busy cursor and the progress text of the main dialog.

#include <QPointer>

#include "core/store/VkDialogs.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace vk {

class HelpViewer;

class QtDialogs : public VkDialogs {
public:
    // Boxes belong to the active window, else to `parent`.
    void setParent(QWidget* parent);
    void setStatusLabel(QLabel* label);
    void setProgressBar(QProgressBar* bar);

    void message(std::string_view text, Severity severity) override;
    Answer ask(std::string_view text, Buttons buttons, Severity severity) override;
    Answer askAt(std::string_view text, Buttons buttons, double across, double down) override;
    Choice confirm(std::string_view caption, std::string_view text, std::string_view first, std::string_view second,
                   std::string_view cancel) override;
    std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override;
    void progress(long long pos, long long max) override;
    void status(std::string_view text) override;
    void busy(bool on) override;
    void halt() override;
    std::optional<std::string> chooseFile(FileRequest& request) override;
    std::optional<int32_t> chooseColour(std::string_view caption, int32_t initial) override;
    bool openDocument(const std::string& path) override;
    // Help pages open in `help` once it is set.
    void setHelp(HelpViewer* help);
    void helpPage(const std::string& page) override;

private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
    QPointer<QLabel> status_;
    QPointer<QProgressBar> progress_;
    QPointer<HelpViewer> help_;
};

// Texts of the seam keep Windows line breaks ("\r\n"); boxes want "\n".
QString BoxText(std::string_view text);

}  // namespace vk

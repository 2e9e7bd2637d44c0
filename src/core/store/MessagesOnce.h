#pragma once

// Passes everything on to another seam, but each message text only once: a
// long run that meets the same condition at every step (a parameter that does
// not suit the record) tells the user once instead of at every dive.
// Questions always go through: their answer may differ each time. With a set
// kept by the caller (for the whole run), a text shown before goes to the
// status line instead of a box.

#include <set>
#include <string>

#include "core/store/VkDialogs.h"

namespace vk {

class MessagesOnce : public VkDialogs {
public:
    using Shown = std::set<std::string, std::less<>>;

    explicit MessagesOnce(VkDialogs& ui) : ui_(ui), shown_(own_) {}
    MessagesOnce(VkDialogs& ui, Shown& shown) : ui_(ui), shown_(shown), repeatsToStatus_(true) {}

    void message(std::string_view text, Severity severity) override
    {
        if (shown_.emplace(text).second)
            ui_.message(text, severity);
        else if (repeatsToStatus_)
            ui_.status(text);
    }
    Answer ask(std::string_view text, Buttons buttons, Severity severity) override
    {
        return ui_.ask(text, buttons, severity);
    }
    Answer askAt(std::string_view text, Buttons buttons, double across, double down) override
    {
        return ui_.askAt(text, buttons, across, down);
    }
    Choice confirm(std::string_view caption, std::string_view text, std::string_view first, std::string_view second,
                   std::string_view cancel) override
    {
        return ui_.confirm(caption, text, first, second, cancel);
    }
    std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override
    {
        return ui_.input(caption, prompt, initial);
    }
    void progress(long long pos, long long max) override { ui_.progress(pos, max); }
    void status(std::string_view text) override { ui_.status(text); }
    void busy(bool on) override { ui_.busy(on); }
    void halt() override { ui_.halt(); }
    std::optional<std::string> chooseFile(FileRequest& request) override { return ui_.chooseFile(request); }
    std::optional<int32_t> chooseColour(std::string_view caption, int32_t initial) override
    {
        return ui_.chooseColour(caption, initial);
    }
    bool openDocument(const std::string& path) override { return ui_.openDocument(path); }
    void helpPage(const std::string& page) override { ui_.helpPage(page); }

private:
    VkDialogs& ui_;
    Shown own_;
    Shown& shown_;
    bool repeatsToStatus_ = false;
};

}  // namespace vk

#pragma once

// The user-interaction seam of work done on another thread: what it tells
// is kept, in order, and told later on the caller's thread. It cannot ask:
// a question is answered Cancel (nothing chosen) and marks the work as
// interrupted, so that the caller does it again where the user can answer.

#include <string>
#include <vector>

#include "core/store/VkDialogs.h"

namespace vk {

class DeferredDialogs : public VkDialogs {
public:
    void message(std::string_view text, Severity severity) override
    {
        told_.push_back({std::string(text), severity, false});
    }
    void status(std::string_view text) override { told_.push_back({std::string(text), Severity::Information, true}); }
    Answer ask(std::string_view, Buttons, Severity) override { return interrupt(Answer::Cancel); }
    Choice confirm(std::string_view, std::string_view, std::string_view, std::string_view, std::string_view) override
    {
        return interrupt(Choice::Cancel);
    }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override
    {
        return interrupt(std::optional<std::string>{});
    }
    std::optional<std::string> chooseFile(FileRequest&) override { return interrupt(std::optional<std::string>{}); }
    std::optional<int32_t> chooseColour(std::string_view, int32_t) override
    {
        return interrupt(std::optional<int32_t>{});
    }
    bool openDocument(const std::string&) override { return interrupt(false); }
    void helpPage(const std::string&) override { interrupted_ = true; }
    void halt() override { interrupted_ = true; }
    void progress(long long, long long) override {}
    void busy(bool) override {}

    // Something was asked (or the program to end): the work must be done again.
    bool interrupted() const { return interrupted_; }
    // Tells what was kept, in order, and forgets it.
    void tellTo(VkDialogs& ui)
    {
        for (const Told& t : told_)
            t.status ? ui.status(t.text) : ui.message(t.text, t.severity);
        clear();
    }
    void clear()
    {
        told_.clear();
        interrupted_ = false;
    }

private:
    template <typename T>
    T interrupt(T answer)
    {
        interrupted_ = true;
        return answer;
    }
    struct Told {
        std::string text;
        Severity severity;
        bool status;
    };
    std::vector<Told> told_;
    bool interrupted_ = false;
};

}  // namespace vk

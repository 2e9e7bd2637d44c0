#pragma once

// The scripted fake of the user-interaction seam for tests.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/store/VkDialogs.h"

namespace vk {

// Records every text it is shown and answers questions from a queue. With the
// queue empty it gives the first button's answer (Ok or Yes), as a user who
// just presses Enter would.
class ScriptedDialogs : public VkDialogs {
public:
    struct Entry {
        enum class Kind { Message, Question, Input } kind;
        std::string text;
        Severity severity;
    };

    std::vector<Entry> shown;                        // messages, questions and input prompts in order
    std::deque<Answer> answers;                      // answers to the next questions
    std::deque<std::optional<std::string>> inputs;   // answers to the next input boxes
    std::deque<Choice> choices;                      // answers to the next confirmation boxes
    std::vector<std::vector<std::string>> captions;  // the buttons of each confirmation box
    std::deque<std::optional<std::string>> files;    // answers to the next file dialogs
    std::deque<int> filters;                         // the filters chosen in them
    std::vector<FileRequest> fileRequests;
    std::deque<std::optional<int32_t>> colours;  // answers to the next colour dialogs
    std::vector<std::string> colourCaptions;
    std::vector<std::string> opened;  // documents handed to the desktop
    std::vector<std::string> statusTexts;
    std::vector<std::string> helpPages;           // pages shown in the help window
    std::vector<std::string> inputInitials;       // the text each input box proposed
    std::function<void(std::string_view)> onAsk;  // called with each question before it is answered
    int progressCalls = 0;
    int busyDepth = 0;  // 0 again when every busy(true) was undone
    int halts = 0;

    void message(std::string_view text, Severity severity) override;
    Answer ask(std::string_view text, Buttons buttons, Severity severity) override;
    std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override;
    Choice confirm(std::string_view caption, std::string_view text, std::string_view first, std::string_view second,
                   std::string_view cancel) override;
    void progress(long long pos, long long max) override;
    void status(std::string_view text) override;
    void busy(bool on) override;
    void halt() override;
    std::optional<std::string> chooseFile(FileRequest& request) override;
    std::optional<int32_t> chooseColour(std::string_view caption, int32_t initial) override;
    bool openDocument(const std::string& path) override;
    void helpPage(const std::string& page) override { helpPages.push_back(page); }

    // The texts of every message and question, in order.
    std::vector<std::string> texts() const;
};

}  // namespace vk

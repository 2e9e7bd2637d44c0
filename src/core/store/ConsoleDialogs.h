#pragma once

// The user-interaction seam without a user: messages go to standard error and
// every question gets its first answer (OK or Yes), as for programs that run
// without a window; a cautious one answers what changes nothing instead
// (Cancel, No, Abort; no input).

#include "core/store/VkDialogs.h"

namespace vk {

class ConsoleDialogs : public VkDialogs {
public:
    explicit ConsoleDialogs(bool cautious = false) : cautious_(cautious) {}
    void message(std::string_view text, Severity severity) override;
    Answer ask(std::string_view text, Buttons buttons, Severity severity) override;
    std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override;
    void progress(long long, long long) override {}
    void status(std::string_view) override {}
    void busy(bool) override {}
    void halt() override;
    std::optional<std::string> chooseFile(FileRequest&) override { return std::nullopt; }
    bool openDocument(const std::string&) override { return false; }
    void helpPage(const std::string& page) override;

private:
    bool cautious_;
};

}  // namespace vk

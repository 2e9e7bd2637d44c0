#pragma once

// The user-interaction seam. Engines never call a toolkit: they tell the user
// and ask through this interface. The program implements it with real message
// boxes; tests use ScriptedDialogs.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

enum class Severity { Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoAbort, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No, Abort };

// A file to choose in the desktop's file dialog.
struct FileRequest {
    std::string title;
    std::string start;   // the file or folder the dialog starts at
    std::string filter;  // "Setup files (*.cfg);;All files (*)"
    bool save = false;   // a name to write to rather than an existing file
    int selectedFilter = 0;  // answer: which of the filters the user chose
};

class VkDialogs {
public:
    virtual ~VkDialogs() = default;

    virtual void message(std::string_view text, Severity severity = Severity::Information) = 0;
    virtual Answer ask(std::string_view text, Buttons buttons, Severity severity = Severity::Question) = 0;
    // An input box; nullopt when the user cancels.
    virtual std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                             std::string_view initial) = 0;
    // Progress of a long operation (pos of max); max 0 hides the bar.
    virtual void progress(long long pos, long long max) = 0;
    // The progress text at the foot of the main dialog.
    virtual void status(std::string_view text) = 0;
    virtual void busy(bool on) = 0;
    // Ends the program after a fatal error has been shown.
    virtual void halt() = 0;
    // The file dialog; nullopt when the user cancels.
    virtual std::optional<std::string> chooseFile(FileRequest& request) = 0;
    // Opens a document with the desktop's program for it.
    virtual bool openDocument(const std::string& path) = 0;
};

// Shows the busy cursor for its lifetime, so every exit path restores it.
class BusyCursor {
public:
    explicit BusyCursor(VkDialogs& ui) : ui_(ui) { ui_.busy(true); }
    ~BusyCursor() { ui_.busy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    VkDialogs& ui_;
};

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

    std::vector<Entry> shown;            // messages, questions and input prompts in order
    std::deque<Answer> answers;          // answers to the next questions
    std::deque<std::optional<std::string>> inputs;  // answers to the next input boxes
    std::deque<std::optional<std::string>> files;   // answers to the next file dialogs
    std::deque<int> filters;                         // the filters chosen in them
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> opened;                 // documents handed to the desktop
    std::vector<std::string> statusTexts;
    int progressCalls = 0;
    int busyDepth = 0;                   // 0 again when every busy(true) was undone
    int halts = 0;

    void message(std::string_view text, Severity severity) override;
    Answer ask(std::string_view text, Buttons buttons, Severity severity) override;
    std::optional<std::string> input(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override;
    void progress(long long pos, long long max) override;
    void status(std::string_view text) override;
    void busy(bool on) override;
    void halt() override;
    std::optional<std::string> chooseFile(FileRequest& request) override;
    bool openDocument(const std::string& path) override;

    // The texts of every message and question, in order.
    std::vector<std::string> texts() const;
};

}  // namespace vk

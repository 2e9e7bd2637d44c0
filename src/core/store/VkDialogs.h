#pragma once

// The user-interaction seam. Engines never call a toolkit: they tell the user
// and ask through this interface. The program implements it with real message
// boxes, the batch runner with ConsoleDialogs; tests use a scripted fake
// (tests/support/ScriptedDialogs.h).

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

enum class Severity { Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoAbort, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No, Abort };
// The answer of the confirmation box with captions of the caller's choosing.
enum class Choice { First, Second, Cancel };

// A file to choose in the desktop's file dialog.
struct FileRequest {
    std::string title;
    std::string start;       // the file or folder the dialog starts at
    std::string filter;      // "Setup files (*.cfg);;All files (*)"
    bool save = false;       // a name to write to rather than an existing file
    int selectedFilter = 0;  // answer: which of the filters the user chose
};

class VkDialogs {
public:
    virtual ~VkDialogs() = default;

    virtual void message(std::string_view text, Severity severity = Severity::Information) = 0;
    virtual Answer ask(std::string_view text, Buttons buttons, Severity severity = Severity::Question) = 0;
    // The same question with its box's corner at a share of the active
    // window's width and height, so that what it asks about stays in view.
    virtual Answer askAt(std::string_view text, Buttons buttons, double /*across*/, double /*down*/)
    {
        return ask(text, buttons);
    }
    // The confirmation box: `text` with three buttons captioned by the caller
    // ("Append", "Overwrite", "Cancel"); closing it is Cancel. Without one of
    // its own, a seam asks Yes (first), No (second) or Cancel.
    virtual Choice confirm(std::string_view caption, std::string_view text, std::string_view /*first*/,
                           std::string_view /*second*/, std::string_view /*cancel*/)
    {
        (void)caption;
        const Answer a = ask(text, Buttons::YesNoCancel);
        return a == Answer::Yes ? Choice::First : a == Answer::No ? Choice::Second : Choice::Cancel;
    }
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
    // The colour dialog, starting at `initial`; nullopt when the user cancels.
    // Colours are colour integers (0x00BBGGRR, 0..15 the classic palette).
    virtual std::optional<int32_t> chooseColour(std::string_view /*caption*/, int32_t /*initial*/)
    {
        return std::nullopt;
    }
    // Opens a document with the desktop's program for it.
    virtual bool openDocument(const std::string& path) = 0;
    // Shows a page of the program's help ("ErrPoly.rtf") in the help window.
    virtual void helpPage(const std::string& page) = 0;
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

}  // namespace vk

#pragma once

// The behaviour protocol: while its window is open, each digit or letter key
// typed in the graph window notes the work section (F4 .. F5) as clock times
// with the key as the behaviour's code. The rows are saved as a text file
// when the window closes.

#include <optional>
#include <string>
#include <vector>

namespace vk {

class VkDialogs;

struct ProtocolRow {
    std::string onset, ending, behaviour;
    bool operator==(const ProtocolRow&) const = default;
};

// A key as the graph window saw it: the toolkit's key code (digits and
// letters are their upper-case character codes) and what came with it.
struct ProtocolKey {
    int code = 0;
    bool keypad = false, control = false, alt = false;
};

// The behaviour code of a key: '0'..'9' or 'A'..'Z', Shift or not; none for
// any other key, a keypad key, or with Ctrl or Alt held.
std::optional<char> BehaviourCode(const ProtocolKey& key);

// The row for the work section: "dd.mm.yyyy hh:mm:ss" of GlobalStart + F4 and + F5.
ProtocolRow ProtocolEntry(double globalStart, double f4, double f5, char code, char dateSeparator);

// Onset TAB ending TAB behaviour per row, CRLF, and one empty line at the end.
std::string ProtocolText(const std::vector<ProtocolRow>& rows);

enum class ProtocolClose { Closed, Kept };

// Offers the save dialog in `folder` (".txt" added to a name without an
// extension) and writes the rows. When the user cancels or the file cannot be
// written, rows not saved are only dropped after the user agrees: Kept means
// the window and its list stay.
ProtocolClose SaveProtocol(const std::vector<ProtocolRow>& rows, const std::string& folder, VkDialogs& ui);

}  // namespace vk

#pragma once

// A modal dialog shown from inside a command: the command's busy cursor
// gives way to the arrow while the user works in the dialog.

class QDialog;

namespace vk {

// QDialog::exec() under the arrow cursor; the busy cursor comes back after.
int ExecDialog(QDialog& dialog);

// The arrow over whatever this scope shows (a message box, a file dialog).
class ArrowCursor {
public:
    ArrowCursor();
    ~ArrowCursor();
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

}  // namespace vk

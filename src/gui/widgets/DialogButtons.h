#pragma once

// The "OK", "Cancel" and "Help" buttons every dialog ends with: OK accepts,
// Cancel rejects, Help shows the dialog's page. Return in a field presses OK
// (Help is never the default).

#include <string>

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace vk {

class HelpViewer;

QDialogButtonBox* OkCancelHelp(QDialog* dialog, HelpViewer& help, std::string page);
// The same without Help.
QDialogButtonBox* OkCancel(QDialog* dialog);

// A push button of `parent` with its object name, never pressed by Return
// unless made the default.
QPushButton* NamedButton(QWidget* parent, const char* text, const char* name);

}  // namespace vk

#pragma once

// The "OK", "Cancel" and "Help" buttons every dialog ends with: OK accepts,
// Cancel rejects, Help shows the dialog's page. Return in a field presses OK
// (Help is never the default).

#include <string>

class QDialog;
class QDialogButtonBox;

namespace vk {

class HelpViewer;

QDialogButtonBox* OkCancelHelp(QDialog* dialog, HelpViewer& help, std::string page);

}  // namespace vk

#pragma once

// Opening windows in the Qt tests.

#include <QStringList>

namespace vk {
class HelpViewer;
class GraphWindow;
class VkDialogs;
struct Workbench;
}  // namespace vk

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace vk::test {

// A key pressed in the graph window, through the focus field of its active strip.
void Key(GraphWindow* window, int key, int modifiers = 0);

// Runs `inDialog` on the next modal dialog as soon as it shows; with a name,
// on the next modal dialog of that object name (others are passed over).
void WhenDialogShows(std::function<void(QWidget*)> inDialog);
void WhenDialogShows(const QString& name, std::function<void(QWidget*)> inDialog);

// The named fields of `dialog` (edit fields, check and radio buttons, lists,
// sliders) without a tooltip in words, by object name: empty when each has one.
QStringList FieldsWithoutTips(const QWidget& dialog);

// The fur-seal record copied into `folder` (its results go there) and started
// as a new user sets it up: column 3, ';', one header line, 5 s, the other
// slots empty. False when the Start failed.
bool StartFurSealCopy(Workbench& wb, const std::string& dataFolder, const std::string& folder, VkDialogs& ui);

// A graph window on the workbench, shown, active, with the keyboard focus on
// its first strip. Null when it could not be made active.
GraphWindow* OpenActiveGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help);

}  // namespace vk::test

#pragma once

// Opening windows in the Qt tests.

namespace vk {
class HelpViewer;
class TForm3;
class VkDialogs;
struct Workbench;
}  // namespace vk

namespace vk::test {

// A graph window on the workbench, shown, active, with the keyboard focus on
// its first strip. Null when it could not be made active.
TForm3* OpenActiveGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help);

}  // namespace vk::test

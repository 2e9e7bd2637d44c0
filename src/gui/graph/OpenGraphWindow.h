#pragma once

// Start hands the loaded recording to the graph window here.

class QWidget;

namespace vk {

struct Workbench;
class HelpViewer;
class VkDialogs;

// Opens the graph window on the loaded recording, maximised, and returns it.
QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, HelpViewer& help);

}  // namespace vk

#pragma once

// Start hands the loaded recording to the graph window here.

class QWidget;

namespace vk {

struct Workbench;
class VkDialogs;

// Opens the graph window on the loaded recording; returns it (or nullptr when
// no window stays open, so that the next Start is allowed).
QWidget* OpenGraphWindow(Workbench& wb, VkDialogs& ui, QWidget* owner);

}  // namespace vk

#pragma once

// Where the graph window's commands are registered, menu by menu: each entry
// names a menu item (or a key or button) and the core function it runs. The
// window runs them all through GraphWindow::runCommand.

namespace vk {

class CommandTable;
class GraphWindow;

// x-Zoom (move modes, pair commands), y-Zoom, Baseline, and the keys that move.
void RegisterViewCommands(CommandTable& table, GraphWindow& window);
// The Analysis menu, the shape buttons and Shift+E.
void RegisterAnalysisCommands(CommandTable& table, GraphWindow& window);
// File, Help, Export and Undo, every menu's help item, and Shift+Z.
void RegisterFileCommands(CommandTable& table, GraphWindow& window);
// The Process menu.
void RegisterProcessCommands(CommandTable& table, GraphWindow& window);
// The Filter menu.
void RegisterFilterCommands(CommandTable& table, GraphWindow& window);
// The Calculations menu.
void RegisterCalculationsCommands(CommandTable& table, GraphWindow& window);
// The Protocol menu.
void RegisterProtocolCommands(CommandTable& table, GraphWindow& window);

inline void RegisterCommands(CommandTable& table, GraphWindow& window)
{
    RegisterViewCommands(table, window);
    RegisterAnalysisCommands(table, window);
    RegisterFileCommands(table, window);
    RegisterProcessCommands(table, window);
    RegisterFilterCommands(table, window);
    RegisterCalculationsCommands(table, window);
    RegisterProtocolCommands(table, window);
}

}  // namespace vk

#pragma once

// Where the graph window's commands are registered, menu by menu: each entry
// names a menu item (or a key or button) and the core function it runs. The
// window runs them all through TForm3::runCommand.

namespace vk {

class CommandTable;
class TForm3;

// x-Zoom (move modes, pair commands), y-Zoom, Baseline, and the keys that move.
void RegisterViewCommands(CommandTable& table, TForm3& window);
// The Analysis menu, the shape buttons and Shift+E.
void RegisterAnalysisCommands(CommandTable& table, TForm3& window);
// File, Help, Export and Undo, every menu's help item, and Shift+Z.
void RegisterFileCommands(CommandTable& table, TForm3& window);
// The Process menu.
void RegisterProcessCommands(CommandTable& table, TForm3& window);
// The Filter menu.
void RegisterFilterCommands(CommandTable& table, TForm3& window);
// The Calculations menu.
void RegisterCalculationsCommands(CommandTable& table, TForm3& window);
// The Protocol menu.
void RegisterProtocolCommands(CommandTable& table, TForm3& window);

inline void RegisterCommands(CommandTable& table, TForm3& window)
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

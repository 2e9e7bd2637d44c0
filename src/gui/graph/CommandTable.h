#pragma once

// The graph window's commands by name, filled once when the window is made:
// each under its menu item's name, so that a misspelt name fails right there
// rather than later as an item that does nothing. Keys and buttons without a
// menu item have names of their own.

#include <map>
#include <string>

#include "core/setup/Command.h"

namespace vk {

class GraphMenus;

class CommandTable {
public:
    explicit CommandTable(const GraphMenus& menus) : menus_(menus) {}

    // A command run by its menu item and the item's key; throws
    // std::logic_error for a name no menu item has.
    void add(const std::string& item, CommandFunction command);
    // A command of a key or button without a menu item.
    void addKey(const std::string& name, CommandFunction command);

    // The command of a name, or nullptr.
    const CommandFunction* find(const std::string& name) const;
    // The commands that have menu items.
    const std::map<std::string, CommandFunction>& items() const { return items_; }

private:
    const GraphMenus& menus_;
    std::map<std::string, CommandFunction> items_, keys_;
};

}  // namespace vk

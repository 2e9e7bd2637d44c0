#include "gui/graph/CommandTable.h"

#include <stdexcept>

#include "gui/graph/GraphMenus.h"

namespace vk {

void CommandTable::add(const std::string& item, CommandFunction command)
{
    if (!menus_.action(QString::fromStdString(item)))
        throw std::logic_error("a command for a menu item that does not exist: " + item);
    items_[item] = std::move(command);
}

void CommandTable::addKey(const std::string& name, CommandFunction command)
{
    keys_[name] = std::move(command);
}

const CommandFunction* CommandTable::find(const std::string& name) const
{
    if (const auto it = items_.find(name); it != items_.end())
        return &it->second;
    if (const auto it = keys_.find(name); it != keys_.end())
        return &it->second;
    return nullptr;
}

}  // namespace vk

#include "core/files/PathNames.h"

#include <cstdio>

namespace vk {

namespace {

std::size_t NameStart(std::string_view path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? 0 : cut + 1;
}

// Position of the extension's point, or npos.
std::size_t ExtensionPoint(std::string_view path)
{
    const std::size_t name = NameStart(path);
    const std::size_t point = path.rfind('.');
    return point != std::string_view::npos && point >= name ? point : std::string_view::npos;
}

}  // namespace

std::string ChangeExtension(std::string_view path, std::string_view extension)
{
    return std::string(path.substr(0, ExtensionPoint(path))) + std::string(extension);
}

std::string InsertBeforeExtension(std::string_view path, std::string_view text)
{
    const std::size_t point = ExtensionPoint(path);
    if (point == std::string_view::npos)
        return std::string(path) + std::string(text);
    return std::string(path.substr(0, point)) + std::string(text) + std::string(path.substr(point));
}

std::string FolderOf(std::string_view path)
{
    return std::string(path.substr(0, NameStart(path)));
}

std::string BaseNameOf(std::string_view path)
{
    const std::string_view name = path.substr(NameStart(path));
    return std::string(name.substr(0, name.rfind('.')));
}

std::string SlotExtension(int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, ".%03d", slot);
    return text;
}

bool NamesNoFile(std::string_view name)
{
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ')
        name.remove_suffix(1);
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= ' ')
        name.remove_prefix(1);
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

}  // namespace vk

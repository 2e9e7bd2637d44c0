#pragma once

// File-name arithmetic on the name part of a path (after the last '/' or '\'),
// so that points in folder names never count as extensions.

#include <string>
#include <string_view>

namespace vk {

// The path with its extension (from the last point of the name on) replaced by
// `extension` (".xls"), or with `extension` appended when the name has none.
std::string ChangeExtension(std::string_view path, std::string_view extension);

// The path with `text` inserted before the last point of the name, or appended.
std::string InsertBeforeExtension(std::string_view path, std::string_view text);

// The folder part including its final separator ("" when there is none).
std::string FolderOf(std::string_view path);

// The name without folder and without extension.
std::string BaseNameOf(std::string_view path);

// A data-file name that names no file: blank, or a folder such as the
// default "c:\" (the slot is then not used).
bool NamesNoFile(std::string_view name);

// ".000", ".001", ".002": the extension of a slot's own file.
std::string SlotExtension(int slot);

}  // namespace vk

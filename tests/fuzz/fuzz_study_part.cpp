// A study part as --merge reads it: arbitrary bytes split into the three
// tables and the manifest. Whatever they hold, the check ends in "whole" or a
// reason, and a part found whole holds rows that fit their headers.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dive/StudyTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string pieces[4];
    for (std::string& piece : pieces) {
        const std::size_t end = bytes.find('\x01');
        piece = std::string(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    const std::string texts[3] = {pieces[0], pieces[1], pieces[2]};
    std::string bodies[3];
    std::vector<std::string> diveColumns;
    vk::TaskNumber task;
    const std::string problem = vk::CheckStudyPart("part", texts, pieces[3], bodies, diveColumns, task);
    if (problem.empty() && (bodies[2].empty() || bodies[2].back() != '\n'))
        __builtin_trap();
    return 0;
}

// The binary file's information header and the help pages' rich text on
// arbitrary bytes: whatever they hold, reading them never crashes, and a
// header written from what was read reads back the same (a missing interval
// is written as 1000 ms).
#include <cstdint>
#include <string_view>

#include "core/files/BinaryChannelFile.h"
#include "core/help/RtfToHtml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)vk::RtfToHtml(bytes);
    const auto header = vk::ParseInfoHeader(bytes);
    if (!header)
        return 0;
    const auto again = vk::ParseInfoHeader(vk::FormatInfoHeader(*header, ""));
    if (!again || again->sampRate != header->sampRate.value_or(1000) || again->caption != header->caption ||
        (header->startTime && !again->startTime))
        __builtin_trap();
    return 0;
}

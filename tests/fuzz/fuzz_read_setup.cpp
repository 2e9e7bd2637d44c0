// ReadSetup on arbitrary bytes. Whatever it makes of them, the setup text of
// that state read back must give the same text again.
#include <cstdint>
#include <string>
#include <unordered_set>

#include "MemoryFile.h"
#include "core/setup/SetupFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vk::fuzz::MemoryFile file;
    // Most inputs leave the state of one before them: its round trip is known
    // to hold, and checking it again would only cost time.
    static std::unordered_set<std::string> checked;
    std::string input = "Varnik Setup File\r\n";  // most inputs should reach the key parser
    input.append(reinterpret_cast<const char*>(data), size);
    file.set(input.data(), input.size());
    vk::Recording rec;
    vk::Settings settings;
    if (!vk::ReadSetup(file.path(), rec, settings))
        __builtin_trap();
    const std::string once = vk::SetupText(rec, settings);
    if (checked.count(once))
        return 0;
    file.set(once.data(), once.size());
    vk::Recording rec2;
    vk::Settings settings2;
    if (!vk::ReadSetup(file.path(), rec2, settings2) || vk::SetupText(rec2, settings2) != once)
        __builtin_trap();
    if (checked.size() < 100000)
        checked.insert(once);
    return 0;
}

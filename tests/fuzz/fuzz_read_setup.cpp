// ReadSetup on arbitrary bytes. Whatever it makes of them, writing that state
// and reading it back must give the same file again.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/setup/SetupFile.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string& Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/varnik-fuzz-XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = Folder() + "/input.cfg";
    const std::string once = Folder() + "/once.cfg";
    const std::string twice = Folder() + "/twice.cfg";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out << "Varnik Setup File\r\n";  // most inputs should reach the key parser
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    vk::Recording rec;
    vk::Settings settings;
    if (!vk::ReadSetup(input, rec, settings))
        __builtin_trap();
    std::remove(once.c_str());
    std::remove(twice.c_str());
    if (vk::WriteSetup(once, rec, settings) != vk::SetupWriteResult::Written)
        __builtin_trap();
    vk::Recording rec2;
    vk::Settings settings2;
    if (!vk::ReadSetup(once, rec2, settings2) ||
        vk::WriteSetup(twice, rec2, settings2) != vk::SetupWriteResult::Written || Slurp(once) != Slurp(twice))
        __builtin_trap();
    return 0;
}

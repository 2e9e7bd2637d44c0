// LoadTextChannel on arbitrary file contents with settings taken from the
// first bytes: it must end in success or a message, never in a crash.
#include <cstdint>
#include <string>

#include "MemoryFile.h"

#include "core/files/TextLoader.h"
#include "support/ScriptedDialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    static vk::Recording rec = [] {
        vk::Recording r;
        r.store.Allocate({true, false, false}, 1);
        return r;
    }();
    static vk::fuzz::MemoryFile file;
    file.set(data + 4, size - 4);
    static const char delimiters[] = {'\t', ' ', ';', ','};
    vk::ChannelDescriptor& d = rec.desc(0);
    d = vk::DefaultDescriptor(0);
    d.NameIn = file.path();
    d.ColumnValue = data[0] % 6;
    d.InDelimiter = delimiters[data[1] % 4];
    d.HeaderText = data[2] % 4;
    d.AutoScaling = (data[3] & 1) != 0;
    d.IgnoreEmpLine = (data[3] & 2) != 0;
    rec.at(0).ChannelUsed = true;
    rec.at(0).SkipCount = (data[3] >> 2) % 3;
    vk::SkipStrings skips{(data[3] & 32) != 0, "#", false, ""};
    vk::ScriptedDialogs ui;
    vk::LoadTextChannel(rec, 0, skips, ui, vk::TextLoadOptions{(data[3] & 64) ? 3 : 1});
    if (ui.busyDepth != 0)
        __builtin_trap();
    return 0;
}

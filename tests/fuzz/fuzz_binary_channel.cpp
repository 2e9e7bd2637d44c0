// A binary channel file of arbitrary bytes, with and without its information
// header used, and a channel to create of any length: the load ends in
// success or a message, never in a crash, and never holds more samples than
// the channel can.
#include <cstdint>
#include <cstring>

#include "MemoryFile.h"
#include "core/files/BinaryChannelFile.h"
#include "support/ScriptedDialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6)
        return 0;
    static vk::Recording rec = [] {
        vk::Recording r;
        r.store.Allocate({true, true, true}, 1);
        return r;
    }();
    static vk::fuzz::MemoryFile file;
    file.set(data + 6, size - 6);
    const int slot = 1 + data[0] % 2;
    vk::SlotData& s = rec.at(slot);
    s.desc = vk::DefaultDescriptor(slot);
    s.desc.NameIn = file.path();
    s.desc.format = data[1] % 3 == 1 ? vk::ChannelFormat::Created : vk::ChannelFormat::Binary;
    s.desc.UseFileInfo = (data[1] & 4) != 0;
    s.ChannelUsed = true;
    s.SkipCount = data[2];
    int32_t count = 0;  // the length a channel to create takes from slot 0
    std::memcpy(&count, data + 2, sizeof count);
    rec.desc(0).DataCnt = count;
    vk::ScriptedDialogs ui;
    ui.answers = {(data[1] & 8) ? vk::Answer::Ok : vk::Answer::Cancel};
    bool loaded = true;
    if (s.desc.UseFileInfo)
        loaded = vk::ReadFileInfo(rec, slot, ui);
    if (loaded && s.desc.format == vk::ChannelFormat::Created)
        s.desc.NameIn = "/proc/self/fd/-1/none";  // missing: the channel is created, never written
    if (loaded && vk::LoadBinaryChannel(rec, slot, ui) && s.desc.DataCnt >= rec.store.capacity(slot))
        __builtin_trap();
    if (ui.busyDepth != 0)
        __builtin_trap();
    return 0;
}

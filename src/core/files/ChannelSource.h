#pragma once

// Where a channel's samples come from. Each file format is a ChannelSource:
// it says whether it reads a file, which channels the file offers, and loads
// the chosen one into a slot with its missing values and its own messages.
// Start, the main dialog and the batch ask the registry (SourceFor) and never
// test a format themselves; a new format is one class and one line in
// AllSources() (ChannelSource.cpp).

#include <functional>
#include <string>
#include <vector>

#include "core/files/SkipStrings.h"
#include "core/files/TextLoader.h"
#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

// What a load needs besides the recording.
struct SourceLoad {
    const SkipStrings& skips;
    const TextLoadOptions& text;
    std::function<void(int slot)> starting;  // told before each slot after the first of a shared reading
};

class ChannelSource {
public:
    virtual ~ChannelSource() = default;

    // The format the setup names (its ToCreate) and the words a user reads for it.
    virtual ChannelFormat format() const = 0;
    virtual const char* name() const = 0;
    // Whether this source reads the slot the descriptor describes (by default: its format).
    virtual bool serves(const ChannelDescriptor& d) const { return d.format == format(); }

    // Whether the file looks like one this source reads (by its first bytes).
    virtual bool canRead(const std::string& path) const = 0;
    // The channels the slot's file offers, in words (a text file's columns,
    // a binary file's one channel); empty when the file cannot be read.
    virtual std::vector<std::string> channels(const ChannelDescriptor& d) const = 0;

    // The slot is to be loaded at Start: its file exists, or the source makes
    // the channel itself.
    virtual bool used(const ChannelDescriptor& d) const;
    // The channel is made by the program rather than read (it may hold no value).
    virtual bool createsChannel(const ChannelDescriptor&) const { return false; }
    // Before the common start is settled: what the file says of the channel
    // (start, interval, calibration). False after a message when it cannot be read.
    virtual bool readInfo(Recording&, int /*slot*/, const SourceLoad&, VkDialogs&) const { return true; }
    // Whether slot b can share the reading of slot a (both of this source).
    virtual bool sharesReading(const Recording&, int /*a*/, int /*b*/) const { return false; }
    // Loads the slots (one, or several that share one reading). False when the load fails.
    virtual bool load(Recording& rec, const std::vector<int>& slots, const SourceLoad& how, VkDialogs& ui) const = 0;
    // Why a used channel holds no value, after its file name ("" to add nothing).
    virtual std::string emptyReason(const Recording&, int /*slot*/) const { return {}; }
    // The settings of reading a file, copied from one channel to another.
    virtual void copyReading(const ChannelDescriptor& from, ChannelDescriptor& to) const = 0;
};

// The source of a channel's format; throws std::invalid_argument for a format
// no source reads (a programming fault: the setup reader refuses such values).
const ChannelSource& SourceFor(ChannelFormat format);
// The source that reads the slot a descriptor describes.
const ChannelSource& SourceFor(const ChannelDescriptor& d);
// Every source, in the order they are tried on a file of unknown format.
const std::vector<const ChannelSource*>& AllSources();

// Allocates the blocks of every slot that is used or whose source makes its
// channel; "Insuff Memory" when memory runs out.
void AllocateStore(Recording& rec, VkDialogs& ui);

}  // namespace vk

#pragma once

// The rows of the extended dialog ("Calc" [operation] "of channel" [channel]
// "at" [section]) and its speed channel list.

#include <array>
#include <string>

#include "core/setup/DiveParameters.h"
#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

extern const std::array<const char*, 11> OperationItems;  // the empty item first
extern const std::array<const char*, 6> SectionItems;

// A slot's caption, or "<Not available>" for a slot without data.
std::string ChannelItem(const Recording& rec, int slot);

// A row counts when an operation, a channel and a section are chosen and the channel is there.
bool RowEnabled(int operation, int channel, int section, bool channelAvailable);

// OK of the extended dialog: the rows, the speed analysis and its channel
// (list entry 0 is slot 1, entry 1 slot 2; -1 none chosen). Speed analysis
// without an available channel is switched off with a message.
void AcceptExtended(const std::array<ExtendedParameterRow, ExtendedRowCount>& rows, bool speed, int speedEntry,
                    const Recording& rec, DiveParameters& p, int& speedSlot, VkDialogs& ui);

}  // namespace vk

#pragma once

// Writing channels out: binary channel files that load back unchanged, and
// text files that the text loader reads again. Ranges are times in ms counted
// from GlobalStart; each slot exports its samples inside the range.

#include <string>

#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

// True when `path` may be written: it does not exist, or the user agrees to
// replace it (" already exists. Overwrite ? ").
bool ConfirmOverwrite(VkDialogs& ui, const std::string& path);

// One slot as a binary channel file with an information header.
bool ExportBinary(const Recording& rec, const std::string& path, int slot, double fromMs, double toMs);

// Every used slot into a file of its own, named with the slot's extension (.000, .001, .002).
bool ExportBinaryAll(const Recording& rec, const std::string& path, double fromMs, double toMs);

enum class TextExportMode { OneChannel = 0, AllChannels = 1 };

// A header line, then one row per sample time: the time, then the value of
// each channel ("NA" where a channel has no sample at that time).
bool ExportText(const Recording& rec, int slot, const std::string& path, TextExportMode mode, double fromMs,
                double toMs);

// The indices of a slot's samples whose times lie inside the range (first > last when none).
struct IndexRange {
    int32_t first = 0, last = -1;
};
IndexRange SamplesInRange(const Recording& rec, int slot, double fromMs, double toMs);

}  // namespace vk

#pragma once

// Loading one column of a logger text file into a channel slot.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/SkipStrings.h"
#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

enum class ProbeVerdict { LooksLikeText = 0, TooShortToJudge = 1, NotText = 2 };

struct ProbeResult {
    bool opened = false;
    bool hasInfoHeader = false;  // first line carries "Vk file info"
    ProbeVerdict verdict = ProbeVerdict::LooksLikeText;
};

// Opens the descriptor's file and looks at a sample of its bytes; tells the
// user when the file cannot be opened.
ProbeResult ProbeDataFile(const ChannelDescriptor& d, VkDialogs& ui);
// The same without telling anyone.
ProbeResult ProbeFile(const std::string& path);

// The probe at the start of a load: a file that cannot be opened marks the
// slot as not used; one with the verdict `doubtful` is questioned with its
// name followed by `question`. nullopt when the load must fail.
std::optional<ProbeResult> ProbeForLoading(SlotData& slot, VkDialogs& ui, ProbeVerdict doubtful,
                                           std::string_view question);

// The first line after the header lines (at most 100 characters), as the main
// dialog shows it; empty when the file cannot be read.
std::string PreviewLine(const std::string& path, int headerLines);
// The whole line after `skipped` lines; empty when the file cannot be read.
std::string FirstDataLine(const std::string& path, int skipped);

// What a load does with values far beyond the bulk of a file's values (see
// files/Outliers.h): ask the user, take them as missing, or refuse the file.
enum class OutlierPolicy { Ask, Missing, Refuse };

struct TextLoadOptions {
    // Parts of the file read side by side with auto-scaling; 0 chooses by file
    // size and processor count, 1 reads on the calling thread only.
    int parts = 0;
    // With auto-scaling, the values read by the range scan are scaled as they
    // are kept when that gives them back exactly; false reads the text twice.
    bool keepValues = true;
    // Values far beyond the bulk of an auto-scaled file's (see Outliers.h).
    OutlierPolicy outliers = OutlierPolicy::Ask;
    // Lines whose times go backwards, repeat or leave the sampling grid, and
    // dates that fit day first and month first alike: asked about, or the load refused.
    bool askAboutTimes = true;
};

// Loads the slot from its text file in one pass; with auto-scaling the range
// comes first and the values read are kept until it is known (the text is read
// a second time only for numbers a float cannot give back exactly). False
// when the load fails; the Start then reports it.
bool LoadTextChannel(Recording& rec, int slot, const SkipStrings& skips, VkDialogs& ui,
                     const TextLoadOptions& options = {});

// Whether slots a and b read columns of one text file in one way (header,
// lines to skip, delimiter, void lines, auto-scaling) that needs no question:
// then one reading of the file serves both.
bool ShareOneReading(const Recording& rec, int a, int b);

// Loads slots that share one reading: the file is read once for all of them,
// and every message and question comes as if each were loaded in turn
// (`starting` is told before each slot after the first). One slot is loaded
// as LoadTextChannel loads it.
bool LoadTextChannels(Recording& rec, const std::vector<int>& slots, const SkipStrings& skips, VkDialogs& ui,
                      const std::function<void(int slot)>& starting, const TextLoadOptions& options = {});

}  // namespace vk

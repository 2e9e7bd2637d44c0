#pragma once

// Binary channel files: an optional 720-byte text information header marked
// "Vk file info", then little-endian unsigned 16-bit raw samples.

#include <optional>
#include <string>
#include <string_view>

#include "core/store/Recording.h"

namespace vk {

class VkDialogs;

constexpr std::size_t InfoHeaderBytes = 720;
inline constexpr std::string_view InfoHeaderMarker = "Vk file info";

// What the information header carries.
struct InfoHeader {
    std::string caption;
    double coeffB = 0.0, coeffA = 1.0, coeffC = 0.0;
    std::optional<double> startTime;  // absent when line 4 could not be read
    std::optional<int32_t> sampRate;
    // The interval where whole milliseconds do not hold it (62.5 ms): written
    // after line 10, where older files have blanks and older readers never look.
    std::optional<double> exactInterval;
    std::string comment1 = " ", comment2 = " ";
    // Empty when line 3 holds three finite numbers; else what is wrong with it.
    // A header whose calibration cannot be read is not to be used.
    std::string calibrationProblem;
};

// Reads a header from the first bytes of a file; nullopt without the marker.
std::optional<InfoHeader> ParseInfoHeader(std::string_view bytes);

// The 720 bytes of a header; lines 6 to 8 carry `notes` (not read back).
std::string FormatInfoHeader(const InfoHeader& header, std::string_view notes);

// "DD.MM.YYYY hh:mm:ss" with one-digit day, month and hour allowed, or six
// two-digit fields at fixed places when the year is not four digits.
std::optional<double> ParseHeaderDate(std::string_view line);
std::string FormatHeaderDate(double ms);

// Takes caption, calibration, start time, interval and comments from the
// file's header into the slot when there is one; then the range follows the
// calibration.
// False (after a message naming the field) when the header's calibration
// cannot be read: the channel must not be loaded with a made-up factor.
bool ReadFileInfo(Recording& rec, int slot, VkDialogs& ui);

// Loads the slot's binary file, or creates an empty channel as long as slot 0
// when the channel is one the program makes and its file does not exist.
bool LoadBinaryChannel(Recording& rec, int slot, VkDialogs& ui);

}  // namespace vk

#pragma once

// The manifest of a folder of study tables, written after the tables: how
// many lines each table holds and a checksum of its bytes, and for a cluster
// task its number and the number of tasks. A merge takes a folder only when
// its tables are what its manifest says: a task that was killed, ran out of
// disk or never ran is found instead of joined.

#include <string>
#include <string_view>
#include <vector>

namespace vk {

inline constexpr const char* ManifestFile = "manifest.txt";

struct TaskNumber {
    long index = 0, count = 0;  // task `index` of `count`; 0 when not a task of a list
};

// FNV-1a, 64 bits, as 16 hexadecimal digits.
std::string Checksum(const std::string& text);

// The manifest of the tables `names` with the texts `texts`.
std::string ManifestText(const std::vector<std::string>& names, const std::vector<std::string>& texts,
                         TaskNumber task);

struct Manifest {
    std::vector<std::string> names;
    std::vector<long> lines;
    std::vector<std::string> sums;
    TaskNumber task;
};

// The manifest of `folder`; false with `problem` when it is missing or unreadable.
bool ReadManifest(const std::string& folder, Manifest& manifest, std::string& problem);
// The same from the manifest's text (`where` names it in the problem).
bool ParseManifest(std::string_view text, const std::string& where, Manifest& manifest, std::string& problem);

// Empty when `text` is the table `name` as `manifest` describes it, else what differs.
std::string TableAgainstManifest(const Manifest& manifest, const std::string& name, const std::string& text);

}  // namespace vk

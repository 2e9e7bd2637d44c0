#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/store/Recording.h"

namespace vk::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Writes the bytes to a file of the folder and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    static std::string read(const std::string& path);

private:
    std::string path_;
};

// The lines of a text file, without their line ends; none for a missing file.
std::vector<std::string> Lines(const std::string& path);
// The cells of a table line, split at `delimiter`; a line ending in it has an empty last cell.
std::vector<std::string> Cells(const std::string& line, char delimiter = '\t');

// A recording with its sample store allocated for all three slots; `rows`
// below 2400 gives a smaller store, as after a failed allocation.
void AllocateAll(Recording& rec, int rows = SampleStore::RowsPerSlot);

}  // namespace vk::test

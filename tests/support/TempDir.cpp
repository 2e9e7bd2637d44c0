#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vk::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "varnik-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const
{
    const std::string target = file(name);
    std::ofstream out(target, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return target;
}

std::string TempDir::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

std::vector<std::string> Cells(const std::string& line, char delimiter)
{
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, delimiter);)
        cells.push_back(cell);
    if (!line.empty() && line.back() == delimiter)
        cells.emplace_back();
    return cells;
}

void AllocateAll(Recording& rec, int rows)
{
    if (!rec.store.Allocate({true, true, true}, rows))
        throw std::runtime_error("sample store allocation failed");
}

}  // namespace vk::test

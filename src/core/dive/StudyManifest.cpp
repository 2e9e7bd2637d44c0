#include "core/dive/StudyManifest.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vk {

namespace {

constexpr const char* FirstLine = "varnik study tables";

long LineCount(const std::string& text)
{
    return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

std::string Checksum(const std::string& text)
{
    uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016" PRIx64, h);
    return digits;
}

std::string ManifestText(const std::vector<std::string>& names, const std::vector<std::string>& texts,
                         TaskNumber task)
{
    std::string m = std::string(FirstLine) + "\n";
    for (std::size_t k = 0; k < names.size() && k < texts.size(); ++k)
        m += names[k] + " " + std::to_string(LineCount(texts[k])) + " " + Checksum(texts[k]) + "\n";
    if (task.index > 0)
        m += "task " + std::to_string(task.index) + " of " + std::to_string(task.count) + "\n";
    return m;
}

bool ReadManifest(const std::string& folder, Manifest& manifest, std::string& problem)
{
    const std::string path = (std::filesystem::path(folder) / ManifestFile).string();
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseManifest(in ? std::string_view(text) : std::string_view(), path, manifest, problem);
}

bool ParseManifest(std::string_view text, const std::string& where, Manifest& manifest, std::string& problem)
{
    manifest = Manifest{};
    const std::size_t first = text.find('\n');
    if (first == std::string_view::npos || text.substr(0, first) != FirstLine) {
        problem = "no manifest (" + where + "): the task did not finish";
        return false;
    }
    std::istringstream lines{std::string(text.substr(first + 1))};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name, of, sum;
        long n = 0;
        const bool task = line.rfind("task ", 0) == 0;
        const bool read = task ? (words >> name >> manifest.task.index >> of >> manifest.task.count) && of == "of"
                               : static_cast<bool>(words >> name >> n >> sum);
        if (!read) {
            problem = "a damaged manifest (" + where + ")";
            return false;
        }
        if (task)
            continue;
        manifest.names.push_back(name);
        manifest.lines.push_back(n);
        manifest.sums.push_back(sum);
    }
    return true;
}

std::string TableAgainstManifest(const Manifest& manifest, const std::string& name, const std::string& text)
{
    const auto at = std::find(manifest.names.begin(), manifest.names.end(), name);
    if (at == manifest.names.end())
        return "its manifest does not name " + name;
    const auto k = static_cast<std::size_t>(at - manifest.names.begin());
    if (const long lines = LineCount(text); lines != manifest.lines[k])
        return name + " holds " + std::to_string(lines) + " lines where its manifest says " +
               std::to_string(manifest.lines[k]);
    if (Checksum(text) != manifest.sums[k])
        return name + " is not the file its manifest describes (the checksum differs)";
    return {};
}

}  // namespace vk

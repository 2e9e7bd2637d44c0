#include "batch/Describe.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/setup/DescribeFile.h"

namespace vk {

int DescribeFiles(const std::vector<std::string>& files, const std::string& templatePath, const std::string& outDir)
{
    int status = 0;
    for (const std::string& file : files) {
        const DescribedSetup s = DescribeFile(file, templatePath);
        if (!s.error.empty()) {
            std::fprintf(stderr, "%s\n", s.error.c_str());
            status = 1;
            continue;
        }
        if (outDir.empty()) {
            std::fwrite(s.text.data(), 1, s.text.size(), stdout);
            continue;
        }
        // Written whole under a temporary name, then renamed: never half a setup.
        const std::filesystem::path target =
            std::filesystem::path(outDir) / std::filesystem::path(file).stem().concat(".cfg");
        const std::filesystem::path temporary = std::filesystem::path(target).concat(".part");
        std::ofstream out(temporary, std::ios::binary);
        out.write(s.text.data(), static_cast<std::streamsize>(s.text.size()));
        out.close();
        std::error_code error;
        if (!out || (std::filesystem::rename(temporary, target, error), error)) {
            std::fprintf(stderr, "%s: cannot be written\n", target.string().c_str());
            std::filesystem::remove(temporary, error);
            status = 1;
            continue;
        }
        std::printf("%s\n", target.string().c_str());
    }
    return status;
}

}  // namespace vk

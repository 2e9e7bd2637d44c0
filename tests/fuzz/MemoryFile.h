#pragma once

// One file in memory for a fuzz target's inputs: the loaders read it by its
// path as any file, and nothing is left on a disk, one input after another
// or when the target ends.

#include <sys/mman.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::fuzz {

class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("varnik-fuzz", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return path_; }
    // The file's whole contents become the bytes.
    void set(const void* data, std::size_t size)
    {
        if (::ftruncate(fd_, 0) != 0 || (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            __builtin_trap();
    }

private:
    int fd_;
    std::string path_;
};

}  // namespace vk::fuzz

#pragma once

// Memory taken straight from the system in whole pages and given back to it
// the moment it is freed: the allocator's heap keeps what is freed for later
// allocations, so memory freed while another structure grows would still
// count in the process's size.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace vk {

class PageMemory {
public:
    PageMemory() = default;
    explicit PageMemory(std::size_t bytes) : size_(bytes)
    {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data_ = static_cast<uint8_t*>(p);
    }
    PageMemory(PageMemory&& o) noexcept : data_(std::exchange(o.data_, nullptr)), size_(std::exchange(o.size_, 0)) {}
    PageMemory& operator=(PageMemory&& o) noexcept
    {
        if (this != &o) {
            release();
            data_ = std::exchange(o.data_, nullptr);
            size_ = std::exchange(o.size_, 0);
        }
        return *this;
    }
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;
    ~PageMemory() { release(); }

    uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    void release()
    {
        if (data_)
            munmap(data_, size_);
        data_ = nullptr;
        size_ = 0;
    }

private:
    uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace vk

#pragma once

// Field-by-field access to fixed little-endian images (descriptor images,
// file headers): never memcpy a C++ struct into a file.

#include <bit>
#include <cstdint>
#include <cstring>

namespace vk::le {

static_assert(std::endian::native == std::endian::little,
              "sample words are written straight from memory; a big-endian port needs byte swaps");

template <typename T>
void Put(uint8_t* image, std::size_t offset, T value)
{
    std::memcpy(image + offset, &value, sizeof(T));
}

template <typename T>
T Get(const uint8_t* image, std::size_t offset)
{
    T value;
    std::memcpy(&value, image + offset, sizeof(T));
    return value;
}

}  // namespace vk::le

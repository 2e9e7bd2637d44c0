#pragma once

// The keys of the setup file as one table that both reading and writing walk,
// so that the order written and the keys understood can never drift apart.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/setup/Settings.h"
#include "core/store/ChannelDescriptor.h"

namespace vk::setup {

// The state a key reaches into.
struct Target {
    std::array<ChannelDescriptor, SlotCount>& desc;
    Settings& settings;
};

// Flags the file writes as a letter (Y, anything else is no) or as a number (0 or 1).
struct LetterFlag {
    bool* flag;
};
struct NumberFlag {
    bool* flag;
};

using FieldRef = std::variant<int32_t*, uint8_t*, double*, bool*, char*, std::string*, BottomSearchKind*,
                              OnsetCriterion*, WiggleMethod*, ChannelFormat*, DateOrder*, LetterFlag, NumberFlag>;

// The fields of one line: one, or two for "subsidline". Held in place: a
// setup file is composed and read line by line, and a list per line costs.
class FieldRefs {
public:
    FieldRefs(FieldRef a) : refs_{a, a}, count_(1) {}
    FieldRefs(FieldRef a, FieldRef b) : refs_{a, b}, count_(2) {}
    const FieldRef* begin() const { return refs_.data(); }
    const FieldRef* end() const { return refs_.data() + count_; }
    std::size_t size() const { return count_; }
    const FieldRef& operator[](std::size_t k) const { return refs_[k]; }

private:
    std::array<FieldRef, 2> refs_;
    std::size_t count_;
};

// How a key is indexed: the fields between the key and its value(s).
enum class Index { None, Slot, ColourRow, ExtendedRow, SlotAndLine };

struct Key {
    std::string_view name;
    // The fields of one line (one, or two for "subsidline") for index i, j.
    FieldRefs (*fields)(Target&, int i, int j);
    int64_t lo = std::numeric_limits<int64_t>::min();  // integer limits of the value
    int64_t hi = std::numeric_limits<int64_t>::max();
    bool longText = false;                                         // paths: not cut at 255 characters
    std::string (*suffix)(const Target&, int i, int j) = nullptr;  // written after the value, never read
    void (*read)(Target&, int i, int j) = nullptr;                 // told when a line of the key was read
    bool (*written)(const Target&, int i, int j) = nullptr;        // nullptr: always written
};

// Keys of a group are written for each index in turn: all keys of index 0, then of 1 ...
struct Group {
    Index index;
    std::vector<Key> keys;
};

const std::vector<Group>& Groups();

// The first and last index of each of an index kind's fields (one or two fields).
struct IndexRange {
    int count;
    int lo[2];
    int hi[2];
};
IndexRange RangeOf(Index index);

}  // namespace vk::setup

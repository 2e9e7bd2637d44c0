#pragma once

// Reads a text file line by line through one fixed buffer: memory stays the
// same for any file size. Lines end at LF, CR LF, or (in files without any LF
// near their start) CR. A line longer than the limit is cut at it; the rest of
// that line is passed over.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/FileUtil.h"

namespace vk {

class LineReader {
public:
    static constexpr std::size_t DefaultMaxLine = 64 * 1024;

    explicit LineReader(std::size_t maxLine = DefaultMaxLine, std::size_t bufferSize = 1 << 20);

    bool open(const std::string& path);
    bool isOpen() const { return file_.isOpen(); }
    void close() { file_.close(); }
    // Starts again at the first line.
    bool rewind();

    // The next line without its end; valid until the next call. False at the
    // end of the file or on a read error (see failed()).
    bool next(std::string_view& line);
    // True when no further line follows (reads ahead when it must).
    bool atEnd();
    bool failed() const { return failed_; }
    int64_t fileSize() const { return file_.size(); }

private:
    bool fill();

    File file_;
    std::vector<char> buffer_;
    std::size_t maxLine_;
    std::size_t begin_ = 0, end_ = 0;
    char eol_ = 0;  // 0 until the first fill decides
    bool eof_ = false;
    bool failed_ = false;
    bool skippingRest_ = false;  // inside an over-long line
};

}  // namespace vk

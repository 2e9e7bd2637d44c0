#pragma once

// Reads a text file line by line through one fixed buffer: memory stays the
// same for any file size. Lines end at LF, CR LF, or (in files without any LF
// near their start) CR. A line longer than the limit is cut at it; the rest of
// that line is passed over. A reader can also cover one byte range of a file,
// so that several of them share the work on one file.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/FileUtil.h"

namespace vk {

class LineReader {
public:
    static constexpr std::size_t DefaultMaxLine = 64 * 1024;

    explicit LineReader(std::size_t maxLine = DefaultMaxLine, std::size_t bufferSize = 1 << 20);

    bool open(const std::string& path);
    // Reads only the bytes begin .. end-1, with the line end already known.
    bool openRange(const std::string& path, int64_t begin, int64_t end, char lineEnd);
    bool isOpen() const { return file_.isOpen(); }
    void close() { file_.close(); }
    // Starts again at the first line (of the range).
    bool rewind();

    // The next line without its end; valid until the next call. False at the
    // end of the file or on a read error (see failed()).
    bool next(std::string_view& line)
    {
        // The common case inline: a whole line waiting in the buffer.
        if (!skippingRest_ && eol_ != 0) {
            char* start = buffer_.get() + begin_;
            const std::size_t available = end_ - begin_;
            if (auto* stop = static_cast<char*>(std::memchr(start, eol_, available))) {
                const auto length = static_cast<std::size_t>(stop - start);
                if (length <= maxLine_) {
                    begin_ += length + 1;
                    line = lineAt(start, length);
                    return true;
                }
            }
        }
        return nextSlow(line);
    }

    // The whole lines waiting in the buffer, each ending at LF, for a caller
    // that walks them itself; empty when none wait or the file's lines end
    // otherwise (then next() reads on). Valid until the next call; pass()
    // takes the bytes walked.
    std::string_view waitingLines() const
    {
        if (skippingRest_ || eol_ != '\n' || begin_ == end_)
            return {};
        const char* start = buffer_.get() + begin_;
        const auto* last = static_cast<const char*>(memrchr(start, '\n', end_ - begin_));
        return last ? std::string_view(start, static_cast<std::size_t>(last - start) + 1) : std::string_view();
    }
    void pass(std::size_t bytes) { begin_ += bytes; }
    // The line of `length` bytes at `start` as next() gives it: cut at the
    // limit, without the CR of a CR LF end.
    std::string_view lineAt(const char* start, std::size_t length) const
    {
        std::string_view line(start, std::min(length, maxLine_));
        if (eol_ == '\n' && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }
    std::size_t maxLine() const { return maxLine_; }

    // True when no further line follows (reads ahead when it must).
    bool atEnd();
    bool failed() const { return failed_; }
    int64_t fileSize() const { return file_.size(); }
    // File offset of the next unread byte.
    int64_t tell() const { return bufferOffset_ + static_cast<int64_t>(begin_); }
    // The line end in use ('\n' or '\r'); reads ahead to decide when it must.
    char lineEnd();

private:
    bool fill();
    bool nextSlow(std::string_view& line);

    File file_;
    std::size_t wanted_;  // the buffer's size for a file larger than it
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t maxLine_;
    std::size_t begin_ = 0, end_ = 0;
    int64_t bufferOffset_ = 0;  // file offset of buffer_[0]
    int64_t rangeBegin_ = 0;
    int64_t rangeEnd_ = -1;  // -1: to the end of the file
    char eol_ = 0;           // 0 until the first fill decides
    char knownEol_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool skippingRest_ = false;  // inside an over-long line
};

// The offset just after the first line end at or after `from` (or `end`).
int64_t NextLineStart(const std::string& path, int64_t from, int64_t end, char lineEnd);

}  // namespace vk

#include "core/files/LineReader.h"

#include <algorithm>

namespace vk {

LineReader::LineReader(std::size_t maxLine, std::size_t bufferSize)
        : wanted_(std::max(bufferSize, maxLine * 2)), maxLine_(maxLine)
{
}

bool LineReader::open(const std::string& path)
{
    return openRange(path, 0, -1, 0);
}

bool LineReader::openRange(const std::string& path, int64_t begin, int64_t end, char lineEnd)
{
    if (!file_.open(path, File::Mode::Read))
        return false;
    rangeBegin_ = begin;
    rangeEnd_ = end;
    knownEol_ = lineEnd;
    // As much as the bytes to read and one more, when they fit: a small file
    // costs a small buffer, and nothing is cleared that is read over anyway.
    const int64_t bytes = (end >= 0 ? end : file_.size()) - begin;
    const std::size_t size =
        bytes >= 0 && static_cast<uint64_t>(bytes) < wanted_ ? static_cast<std::size_t>(bytes) + 1 : wanted_;
    if (size != capacity_) {
        buffer_.reset(new char[size]);
        capacity_ = size;
    }
    return rewind();
}

bool LineReader::rewind()
{
    begin_ = end_ = 0;
    bufferOffset_ = rangeBegin_;
    eol_ = knownEol_;
    eof_ = failed_ = skippingRest_ = false;
    return file_.seek(rangeBegin_);
}

// Moves the unread rest to the front and reads more behind it.
bool LineReader::fill()
{
    if (eof_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        bufferOffset_ += static_cast<int64_t>(begin_);
        begin_ = 0;
    }
    std::size_t room = capacity_ - end_;
    if (rangeEnd_ >= 0)
        room = static_cast<std::size_t>(
            std::clamp<int64_t>(rangeEnd_ - bufferOffset_ - static_cast<int64_t>(end_), 0, static_cast<int64_t>(room)));
    const int64_t got = room > 0 ? file_.read(buffer_.get() + end_, room) : 0;
    if (got <= 0) {
        failed_ = got < 0;
        eof_ = true;
        return false;
    }
    if (eol_ == 0) {
        const char* data = buffer_.get() + end_;
        const bool hasLf = std::memchr(data, '\n', static_cast<std::size_t>(got)) != nullptr;
        const bool hasCr = std::memchr(data, '\r', static_cast<std::size_t>(got)) != nullptr;
        eol_ = (!hasLf && hasCr) ? '\r' : '\n';
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

char LineReader::lineEnd()
{
    if (eol_ == 0 && begin_ == end_)
        fill();
    return eol_ ? eol_ : '\n';
}

bool LineReader::atEnd()
{
    return begin_ == end_ && !fill();
}

bool LineReader::nextSlow(std::string_view& line)
{
    for (;;) {
        char* start = buffer_.get() + begin_;
        const std::size_t available = end_ - begin_;
        auto* stop = static_cast<char*>(std::memchr(start, eol_ ? eol_ : '\n', available));
        if (stop) {
            const std::size_t length = static_cast<std::size_t>(stop - start);
            begin_ += length + 1;
            if (skippingRest_) {
                skippingRest_ = false;
                continue;
            }
            line = lineAt(start, length);
            return true;
        }
        if (available >= maxLine_ && !skippingRest_) {
            // Hand out the cut line now and drop the rest of it as it arrives.
            line = std::string_view(start, maxLine_);
            begin_ = end_;
            skippingRest_ = true;
            return true;
        }
        if (skippingRest_)
            begin_ = end_;
        if (!fill()) {
            if (end_ > begin_ && !skippingRest_) {
                // The last line has no end mark.
                line = lineAt(buffer_.get() + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            return false;
        }
    }
}

int64_t NextLineStart(const std::string& path, int64_t from, int64_t end, char lineEnd)
{
    File file(path, File::Mode::Read);
    char chunk[4096];
    while (file.isOpen() && from < end) {
        const auto length = static_cast<std::size_t>(std::min<int64_t>(sizeof chunk, end - from));
        if (!file.readAt(from, chunk, length))
            break;
        if (const void* stop = std::memchr(chunk, lineEnd, length))
            return from + (static_cast<const char*>(stop) - chunk) + 1;
        from += static_cast<int64_t>(length);
    }
    return end;
}

}  // namespace vk

#pragma once

// Thin POSIX file helpers for the core (no toolkit): an owning descriptor and
// the few whole-file operations the store and the loaders share.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

class File {
public:
    enum class Mode { Read, ReadWrite, Append, Truncate };

    File() = default;
    File(const std::string& path, Mode mode) { open(path, mode); }
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    File& operator=(File&& other) noexcept;

    // Opens a regular file; a folder or anything else that is not a file fails.
    bool open(const std::string& path, Mode mode);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Size in bytes, or -1 on error.
    int64_t size() const;
    // Reads up to n bytes; returns the count read (0 at the end) or -1 on error.
    int64_t read(void* buffer, std::size_t n);
    // Reads exactly n bytes at offset; false on error or a short read.
    bool readAt(int64_t offset, void* buffer, std::size_t n) const;
    // Writes all n bytes; false on any error (a full disk included).
    bool write(const void* data, std::size_t n);
    bool seek(int64_t offset);
    bool truncate(int64_t length);

private:
    int fd_ = -1;
};

bool FileExists(const std::string& path);
// The name after the last folder separator.
std::string FileNameOf(std::string_view path);

// Appends n bytes to the file, creating it when missing.
bool AppendBytes(const std::string& path, const void* data, std::size_t n);

// Reads the last n bytes of the file into buffer and cuts them off; the file is
// deleted when nothing is left. An empty, missing or shorter file is left alone.
bool PopTail(const std::string& path, void* buffer, std::size_t n);

// Writes text to path through a temporary file in the same folder, renamed over
// path only when every byte is written: a full disk never leaves a half file.
bool ReplaceFileContents(const std::string& path, std::string_view text);

// The same for a file written piece by piece: the pieces go to a temporary
// file beside path, which replaces path at commit() only when every byte was
// written; otherwise (or without commit) it is removed.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    const std::string& temporary() const { return temporary_; }
    bool write(std::string_view text);
    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    // Every byte on the disk (the temporary closed), not yet renamed: files
    // that must replace theirs together are all made ready first.
    bool ready();
    bool commit();
    // The system's words for the first failure; empty while none.
    const std::string& reason() const { return reason_; }

private:
    bool failed();
    std::string path_, temporary_, reason_;
    File file_;
    bool ok_ = false;
    bool committed_ = false;
};

// Appends lines to the file, writing the header first into a new or empty
// one. A write that fails part way (a full disk) is cut back, so the file
// never ends in half a line that the next append would run on from.
// `reason` gets the system's words for a failure ("No space left on device").
bool AppendLines(const std::string& path, const std::string& header, const std::string& lines,
                 std::string* reason = nullptr);

// The system's words for an errno value.
std::string SystemReason(int error);

// Moves an existing file aside so a fresh one can take its name: path becomes
// "path.1", an earlier "path.1" becomes "path.2", and so on; nothing is lost.
// False when a rename failed (path may then still exist).
bool KeepAside(const std::string& path);

}  // namespace vk

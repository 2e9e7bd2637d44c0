#include "core/store/FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vk {

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool File::open(const std::string& path, Mode mode)
{
    close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    case Mode::Truncate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    }
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0)
        return false;
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return false;
    }
    return true;
}

void File::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

int64_t File::size() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return -1;
    return st.st_size;
}

int64_t File::read(void* buffer, std::size_t n)
{
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, n);
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return -1;
    }
}

bool File::readAt(int64_t offset, void* buffer, std::size_t n) const
{
    auto* out = static_cast<char*>(buffer);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += got;
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

bool File::write(const void* data, std::size_t n)
{
    const auto* in = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(fd_, in, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        in += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool File::seek(int64_t offset)
{
    return ::lseek(fd_, offset, SEEK_SET) == offset;
}

bool File::truncate(int64_t length)
{
    return ::ftruncate(fd_, length) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FileNameOf(std::string_view path)
{
    const auto cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool AppendBytes(const std::string& path, const void* data, std::size_t n)
{
    File file(path, File::Mode::Append);
    if (!file.isOpen())
        return false;
    const int64_t before = file.size();
    if (file.write(data, n))
        return true;
    file.truncate(before);  // leave no half record behind
    return false;
}

bool PopTail(const std::string& path, void* buffer, std::size_t n)
{
    File file(path, File::Mode::ReadWrite);
    if (!file.isOpen())
        return false;
    const int64_t size = file.size();
    if (size <= 0 || static_cast<uint64_t>(size) < n)
        return false;
    const int64_t rest = size - static_cast<int64_t>(n);
    if (!file.readAt(rest, buffer, n))
        return false;
    if (rest == 0) {
        file.close();
        return std::remove(path.c_str()) == 0;
    }
    return file.truncate(rest);
}

bool ReplaceFileContents(const std::string& path, std::string_view text)
{
    SafeFileWriter out(path);
    out.write(text);
    return out.commit();
}

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path), temporary_(path + ".~tmp")
{
    ok_ = file_.open(temporary_, File::Mode::Truncate) || failed();
}

SafeFileWriter::~SafeFileWriter()
{
    const int error = errno;  // the failure's reason outlives the clean-up
    if (!committed_)
        std::remove(temporary_.c_str());
    errno = error;
}

bool SafeFileWriter::failed()
{
    if (reason_.empty())
        reason_ = SystemReason(errno);
    ok_ = false;
    return false;
}

bool SafeFileWriter::write(std::string_view text)
{
    if (!ok_)
        return false;
    return file_.write(text.data(), text.size()) || failed();
}

bool SafeFileWriter::ready()
{
    if (ok_ && file_.isOpen()) {
        if (::fsync(file_.fd()) != 0)
            failed();
        file_.close();
    }
    return ok_;
}

bool SafeFileWriter::commit()
{
    if (!ready())
        return false;
    committed_ = std::rename(temporary_.c_str(), path_.c_str()) == 0 || failed();
    return committed_;
}

bool KeepAside(const std::string& path)
{
    if (!FileExists(path))
        return true;
    auto numbered = [&path](int n) { return path + "." + std::to_string(n); };
    int last = 1;
    while (FileExists(numbered(last)))
        ++last;
    // From the top down, so no rename lands on a file still to be moved.
    for (int n = last; n > 1; --n)
        if (std::rename(numbered(n - 1).c_str(), numbered(n).c_str()) != 0)
            return false;
    return std::rename(path.c_str(), numbered(1).c_str()) == 0;
}

std::string SystemReason(int error)
{
    return std::strerror(error);
}

bool AppendLines(const std::string& path, const std::string& header, const std::string& lines, std::string* reason)
{
    auto fail = [reason](int error) {
        if (reason)
            *reason = SystemReason(error);
        return false;
    };
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    const auto before = existed ? std::filesystem::file_size(path, error) : 0;
    if (error)
        return fail(error.value());
    File out(path, File::Mode::Append);
    if (!out.isOpen())
        return fail(errno);
    // A failure part way is cut back below: nothing of header or lines stays behind.
    if ((before > 0 || out.write(header.data(), header.size())) && out.write(lines.data(), lines.size()))
        return true;
    const int why = errno;
    out.truncate(static_cast<int64_t>(before));
    out.close();
    if (!existed)
        std::filesystem::remove(path, error);
    return fail(why);
}

}  // namespace vk

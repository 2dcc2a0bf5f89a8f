#include "posix_file_layer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace sordanel {

namespace {

class PosixFile : public File {
public:
    // `keeps` marks a file the user keeps (write-only: the WAVE file): Close then flushes it to
    // the disk, because some file systems report a full disk or a lost server only there.
    PosixFile(int fd, bool keeps) : fd_(fd), keeps_(keeps) {}
    ~PosixFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool Write(const void* data, std::size_t size) override {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        while (size > 0) {
            const ssize_t written = ::write(fd_, bytes, size);
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            bytes += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }

    bool Read(void* data, std::size_t size) override {
        auto* bytes = static_cast<std::uint8_t*>(data);
        while (size > 0) {
            const ssize_t got = ::read(fd_, bytes, size);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            bytes += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

    bool SeekToStart() override { return ::lseek(fd_, 0, SEEK_SET) == 0; }

    bool Close() override {
        if (fd_ < 0) {
            return false;
        }
        const bool flushed = !keeps_ || ::fsync(fd_) == 0;
        // The descriptor is gone whatever close() says, so it is never closed twice.
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return flushed && closed;
    }

private:
    int fd_;
    bool keeps_;
};

}  // namespace

std::unique_ptr<File> PosixFileLayer::Create(const std::string& path, FileAccess access) {
    // No O_TRUNC here: the file is truncated only once the lock is ours. O_NONBLOCK keeps a
    // named pipe from blocking the open; it changes nothing for the regular files we accept.
    const int mode = access == FileAccess::ReadWrite ? O_RDWR : O_WRONLY;
    int fd;
    do {
        fd = ::open(path.c_str(), mode | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return nullptr;
    }
    auto file = std::make_unique<PosixFile>(fd, access == FileAccess::WriteOnly);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
        return nullptr;
    }
    return file;
}

bool PosixFileLayer::Remove(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool PosixFileLayer::Replace(const std::string& from, const std::string& to) {
    struct stat status {};
    if (::lstat(from.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace sordanel

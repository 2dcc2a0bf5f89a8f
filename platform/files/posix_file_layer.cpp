#include "platform/files/posix_file_layer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>

#include "engine/temp_file_name.h"
#include "platform/files/litter_sweep.h"

namespace sordanel {

namespace {

// Scratch files hold the samples of a note not yet written: no one else needs to read them.
constexpr mode_t kScratchMode = 0600;

// A path split into its folder and the name inside it.
struct Place {
    std::string folder;
    std::string name;
};

Place PlaceOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

int OpenFolder(const std::string& folder) {
    return ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Six letters or digits that make a name of our own unique among others of its kind.
std::string RandomPart() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string part(6, ' ');
    for (char& c : part) {
        c = kLetters[pick(generator)];
    }
    return part;
}

// "prefix.<random>suffix": name, with the random part before its last dot.
std::string UniqueName(const std::string& name) {
    const auto dot = name.rfind('.');
    return name.substr(0, dot) + "." + RandomPart() + name.substr(dot);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Whether `name` in the folder is absent, or a regular file the user may replace. A file
// without any write permission is an earlier take the user protected; root is held to that
// too.
bool MayReplace(int folderFd, const std::string& name) {
    struct stat status {};
    if (::fstatat(folderFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode) && (status.st_mode & 0222) != 0 &&
           ::faccessat(folderFd, name.c_str(), W_OK, AT_EACCESS) == 0;
}

// Whether the name `name` in the folder still names the file open as `fd`.
bool StillNamed(int folderFd, const std::string& name, int fd) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && held.st_nlink > 0 &&
           ::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameFile(held, named);
}

class PosixFile : public File {
public:
    // `name` is the file's name in the folder, empty while it has none; `target` is where
    // Commit puts it, empty for a scratch file, which Commit deletes.
    PosixFile(int fd, int folderFd, std::string name, std::string target)
        : fd_(fd), folderFd_(folderFd), name_(std::move(name)), target_(std::move(target)) {}
    ~PosixFile() override {
        if (fd_ >= 0) {
            Discard();
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

    bool Commit() override {
        if (fd_ < 0) {
            return false;
        }
        if (target_.empty()) {
            Discard();
            return true;
        }
        // Some file systems report a full disk or a lost server only when the data is flushed.
        const bool placed = ::fsync(fd_) == 0 && (!name_.empty() || LinkUnderHiddenName()) &&
                            MayReplace(folderFd_, target_) &&
                            ::renameat(folderFd_, name_.c_str(), folderFd_, target_.c_str()) == 0;
        if (!placed) {
            Discard();
            return false;
        }
        name_.clear();
        CloseAll();
        return true;
    }

    void Discard() override {
        if (fd_ < 0) {
            return;
        }
        if (!name_.empty() && StillNamed(folderFd_, name_, fd_)) {
            ::unlinkat(folderFd_, name_.c_str(), 0);
        }
        name_.clear();
        CloseAll();
    }

private:
    // An unnamed file gets a name beside its target first, as rename needs one; the lock
    // keeps the sweep of other renders off it for the instant it carries that name.
    bool LinkUnderHiddenName() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = UniqueName(PartialFileName(target_));
            if (::linkat(AT_FDCWD, self.c_str(), folderFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_, "", folderFd_, name.c_str(), AT_EMPTY_PATH) == 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        return false;
    }

    void CloseAll() {
        ::close(fd_);
        ::close(folderFd_);
        fd_ = -1;
        folderFd_ = -1;
    }

    int fd_;
    int folderFd_;
    std::string name_;
    std::string target_;
};

// A new file under a unique name, locked and still carrying that name once locked (a sweep
// running at the same moment may have taken the name before the lock was ours).
int CreateUniqueLocked(int folderFd, const std::string& name, int access, mode_t mode,
                       std::string& created) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string unique = UniqueName(name);
        const int fd = ::openat(folderFd, unique.c_str(),
                                access | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        if (::flock(fd, LOCK_EX) == 0 && StillNamed(folderFd, unique, fd)) {
            created = unique;
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

// The file a scratch name already names, when it is a regular file no one holds (a killed
// run's, or free); truncated and locked.
int TakeFreeNamed(int folderFd, const std::string& name) {
    const int fd =
        ::openat(folderFd, name.c_str(),
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, kScratchMode);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(folderFd, name, fd) &&
        ::ftruncate(fd, 0) == 0) {
        return fd;
    }
    ::close(fd);
    return -1;
}

}  // namespace

bool PosixFileLayer::CheckTarget(const std::string& path) {
    const Place place = PlaceOf(path);
    if (place.name.empty() || place.name == "." || place.name == "..") {
        return false;
    }
    const int folderFd = OpenFolder(place.folder);
    if (folderFd < 0) {
        return false;
    }
    const long nameMax = ::fpathconf(folderFd, _PC_NAME_MAX);
    const bool fits = nameMax < 0 || place.name.size() <= static_cast<std::size_t>(nameMax);
    const bool fit = fits && ::faccessat(folderFd, ".", W_OK | X_OK, AT_EACCESS) == 0 &&
                     MayReplace(folderFd, place.name);
    ::close(folderFd);
    return fit;
}

std::unique_ptr<File> PosixFileLayer::CreateOutput(const std::string& path) {
    const Place place = PlaceOf(path);
    const int folderFd = OpenFolder(place.folder);
    if (folderFd < 0) {
        return nullptr;
    }
    SweepLitter(folderFd, IsPartialFileName);
    // Output files get the usual permissions (0666 less the umask), like any file the user
    // creates.
    int fd = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    std::string name;
    if (fd >= 0) {
        ::flock(fd, LOCK_EX);
    } else {
        fd = CreateUniqueLocked(folderFd, PartialFileName(place.name), O_WRONLY, 0666, name);
    }
    if (fd < 0) {
        ::close(folderFd);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd, folderFd, name, place.name);
}

void PosixFileLayer::SweepScratchFolder(const std::string& folder) {
    const int folderFd = OpenFolder(folder);
    if (folderFd >= 0) {
        SweepLitter(folderFd, IsScratchFileName);
        ::close(folderFd);
    }
}

std::unique_ptr<File> PosixFileLayer::CreateScratch(const std::string& preferredPath) {
    const Place place = PlaceOf(preferredPath);
    const int folderFd = OpenFolder(place.folder);
    if (folderFd < 0) {
        return nullptr;
    }
    SweepLitter(folderFd, IsScratchFileName);
    std::string name = place.name;
    int fd = TakeFreeNamed(folderFd, name);
    if (fd < 0) {
        fd = CreateUniqueLocked(folderFd, place.name, O_RDWR, kScratchMode, name);
    }
    if (fd < 0) {
        ::close(folderFd);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd, folderFd, name, std::string());
}

}  // namespace sordanel

#include "platform/files/litter_sweep.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

namespace sordanel {

namespace {

bool AllDigits(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

bool IsRandomPart(std::string_view text) {
    if (text.size() != 6) {
        return false;
    }
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

// Whether `stem` ends in ".<hash>" or ".<hash>.<random>".
bool EndsWithHash(std::string_view stem) {
    auto dot = stem.rfind('.');
    if (dot != std::string_view::npos && IsRandomPart(stem.substr(dot + 1))) {
        const std::string_view hashed = stem.substr(0, dot);
        const auto hashDot = hashed.rfind('.');
        if (hashDot != std::string_view::npos && AllDigits(hashed.substr(hashDot + 1))) {
            return true;
        }
    }
    return dot != std::string_view::npos && AllDigits(stem.substr(dot + 1));
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

void RemoveIfUnheld(int folderFd, const std::string& name) {
    const int fd =
        ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return;
    }
    struct stat held {};
    struct stat named {};
    // The name is deleted while the lock is ours, and only while it still names the file
    // locked, so a render that opens it at this moment finds it gone and makes a new one.
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
        ::unlinkat(folderFd, name.c_str(), 0);
    }
    ::close(fd);
}

}  // namespace

bool IsPartialFileName(std::string_view name) {
    constexpr std::string_view kEnd = ".part";
    if (name.size() < 2 || name.front() != '.' || !EndsWith(name, kEnd)) {
        return false;
    }
    const std::string_view stem = name.substr(1, name.size() - 1 - kEnd.size());
    return stem.find('.') != std::string_view::npos && EndsWithHash(stem);
}

bool IsScratchFileName(std::string_view name) {
    constexpr std::string_view kEnd = ".tmp";
    if (name.substr(0, 2) != "sd" || !EndsWith(name, kEnd) || name.size() < 2 + kEnd.size()) {
        return false;
    }
    const std::string_view stem = name.substr(2, name.size() - 2 - kEnd.size());
    const auto dot = stem.find('.');
    if (dot == std::string_view::npos) {
        return AllDigits(stem);
    }
    return AllDigits(stem.substr(0, dot)) && IsRandomPart(stem.substr(dot + 1));
}

void SweepLitter(int folderFd, bool (*isLitter)(std::string_view name)) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) {
        return;
    }
    DIR* folder = ::fdopendir(listFd);
    if (folder == nullptr) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(folder)) {
        if (isLitter(entry->d_name)) {
            candidates.emplace_back(entry->d_name);
        }
    }
    ::closedir(folder);
    for (const std::string& name : candidates) {
        RemoveIfUnheld(folderFd, name);
    }
}

}  // namespace sordanel

#pragma once

#include <memory>
#include <string>

#include "file_layer.h"

namespace sordanel {

// The engine's files on a POSIX file system.
//
// Create takes an advisory exclusive lock (flock) before it truncates, so a file that another
// Sordanel is still writing is refused at once and left as it is. Only regular files are
// accepted, and a name that is a symbolic link is refused: the engine deletes a failed file by
// its name, which must never remove a device or a link while a half-written target survives,
// and a link planted in a shared temporary directory must not redirect our writes.
class PosixFileLayer : public FileLayer {
public:
    std::unique_ptr<File> Create(const std::string& path, FileAccess access) override;
    // Deletes `path` only when it is a regular file.
    bool Remove(const std::string& path) override;
    // Renames the regular file `from` over `to`; rename(2) makes the change atomic.
    bool Replace(const std::string& from, const std::string& to) override;
};

}  // namespace sordanel

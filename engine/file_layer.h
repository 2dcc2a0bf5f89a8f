#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace sordanel {

// One open file of the engine's output. A failure is a false result; an exception thrown by
// an implementation counts as a failure too.
class File {
public:
    virtual ~File() = default;
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Reads exactly `size` bytes; false when they cannot be had.
    virtual bool Read(void* data, std::size_t size) = 0;
    virtual bool SeekToStart() = 0;
    virtual bool Close() = 0;
};

enum class FileAccess { WriteOnly, ReadWrite };

// The file services the engine relies on: create or truncate exclusively, delete by name, and
// put a finished file in the place of another in one step.
class FileLayer {
public:
    virtual ~FileLayer() = default;
    // Creates or truncates `path` for exclusive use; nullptr when that is impossible.
    virtual std::unique_ptr<File> Create(const std::string& path, FileAccess access) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Renames the closed file `from` to `to`, replacing what was there, atomically.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
};

}  // namespace sordanel

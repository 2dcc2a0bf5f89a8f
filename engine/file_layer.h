#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace sordanel {

// One open file of the engine's output. A failure is a false result; an exception thrown by
// an implementation counts as a failure too. A file that is neither committed nor discarded
// is discarded when it goes.
class File {
public:
    virtual ~File() = default;
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Reads exactly `size` bytes; false when they cannot be had.
    virtual bool Read(void* data, std::size_t size) = 0;
    virtual bool SeekToStart() = 0;
    // Makes the written bytes durable and puts the file in the place it was created for,
    // replacing what was there in one step, while no one else can take it; then closes it.
    // False when any of that fails: the file is then gone and the earlier one stays.
    virtual bool Commit() = 0;
    // Deletes the file while it is still ours, then closes it.
    virtual void Discard() = 0;
};

// The file services the engine relies on.
class FileLayer {
public:
    virtual ~FileLayer() = default;
    // Whether a finished file could take the place of `path`: called before any synthesis, so
    // that a target that can never be written is refused before the user waits for a note.
    virtual bool CheckTarget(const std::string& path) = 0;
    // A new, empty file that Commit puts at `path`; until then `path` keeps what it holds.
    // nullptr when that is impossible.
    virtual std::unique_ptr<File> CreateOutput(const std::string& path) = 0;
    // A scratch file to write and read back, named `preferredPath` where that name is free,
    // else given a name of its own beside it; nullptr when none can be made. Commit and
    // Discard both delete it.
    virtual std::unique_ptr<File> CreateScratch(const std::string& preferredPath) = 0;
};

}  // namespace sordanel

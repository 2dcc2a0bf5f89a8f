#pragma once

#include <memory>
#include <string>

#include "engine/file_layer.h"

namespace sordanel {

// The engine's files on a POSIX file system.
//
// A finished file only ever replaces a regular file the user may write, or nothing: a
// directory, a device, a named pipe, a socket or a symbolic link at the target is refused
// before synthesis and again just before the rename. A link is refused rather than written
// through: the file it names may be anywhere, even a device, and replacing the link itself
// would silently cut whatever relied on it.
//
// An output file is written unnamed (O_TMPFILE) in the target's folder, so a killed run leaves
// nothing; where the file system cannot do that, it is written under a hidden name of its own
// (".note.wav.<hash>.<random>.part"). Either way it is locked (flock) from its creation on, and
// linked, renamed into place or deleted while the lock is still held, so no other render can
// take it over. Scratch files keep the name asked for where it is free and locked by no one,
// else take a unique name beside it. Before creating, each call sweeps its folder of partial
// or scratch files of this program that no live process holds.
class PosixFileLayer : public FileLayer {
public:
    bool CheckTarget(const std::string& path) override;
    std::unique_ptr<File> CreateOutput(const std::string& path) override;
    std::unique_ptr<File> CreateScratch(const std::string& preferredPath) override;

    // Sweeps the temporary folder of scratch files killed runs left, as a run with Maximize
    // does; for a program to call when it starts, so that runs without Maximize clean up too.
    void SweepScratchFolder(const std::string& folder);
};

}  // namespace sordanel

#pragma once

#include <string_view>

namespace sordanel {

// Whether a folder entry is a partial output file of this program:
// ".<name>.<hash>[.<random>].part".
bool IsPartialFileName(std::string_view name);
// Whether a folder entry is a scratch (Maximize) file of this program:
// "sd<hash>[.<random>].tmp".
bool IsScratchFileName(std::string_view name);

// Deletes every regular file in the folder open as `folderFd` whose name `isLitter` accepts,
// that belongs to this user and whose lock no live process holds: what a killed run left.
// A file a live render holds is never touched.
void SweepLitter(int folderFd, bool (*isLitter)(std::string_view name));

}  // namespace sordanel

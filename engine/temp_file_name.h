#pragma once

#include <cstdint>
#include <string>

namespace sordanel {

// Hash of the output path that names its temporary sample file: every byte, taken as a signed
// 8-bit value, shifted left by its position modulo 19 and exclusive-ored in.
std::int32_t PathHash(const std::string& outputPath);

// The temporary sample file of a Generate for outputPath: tempDir + "sd<hash>.tmp". The same
// path always gives the same name, so a later run reuses and truncates the same file.
std::string TemporaryFileName(const std::string& tempDir, const std::string& outputPath);

// Where a Generate writes before its file is complete: a hidden name beside outputPath
// (".note.wav.<hash>.part" for "note.wav"), so that the finished file replaces the one at
// outputPath in one step, and a run that fails or is aborted leaves the file the user already
// had as it was.
std::string PartialFileName(const std::string& outputPath);

}  // namespace sordanel

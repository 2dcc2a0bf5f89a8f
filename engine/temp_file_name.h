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

}  // namespace sordanel

#pragma once

#include <string>

namespace sordanel {

// The system's directory for temporary files (TMPDIR, else /tmp), as a UTF-8 path ending
// with '/'.
std::string TemporaryDirectory();

}  // namespace sordanel

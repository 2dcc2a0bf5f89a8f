#pragma once

#include <string>

namespace sordanel {

// The directory for temporary files: TMPDIR when it is set and not empty, else /tmp. It ends
// with '/', as the engine expects when it appends a file name.
std::string SystemTempDir();

}  // namespace sordanel

#include "platform/files/system_temp_dir.h"

#include <cstdlib>

namespace sordanel {

std::string SystemTempDir() {
    const char* fromEnvironment = std::getenv("TMPDIR");
    std::string dir =
        fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "/tmp";
    if (dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

}  // namespace sordanel

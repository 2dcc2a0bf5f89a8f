#include "private_directory.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace sordanel {

std::optional<PrivateDirectory> PrivateDirectory::Create(const std::string& parent,
                                                         const std::string& prefix) {
    std::string pattern = parent;
    if (pattern.empty() || pattern.back() != '/') {
        pattern += '/';
    }
    pattern += prefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    return PrivateDirectory(pattern + '/');
}

PrivateDirectory::PrivateDirectory(PrivateDirectory&& other) noexcept
    : path_(std::move(other.path_)) {
    other.path_.clear();
}

PrivateDirectory::~PrivateDirectory() {
    if (!path_.empty()) {
        // Nothing to tell anyone at this point; a directory that cannot go is left behind.
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

}  // namespace sordanel

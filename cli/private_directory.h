#pragma once

#include <optional>
#include <string>

namespace sordanel {

// A directory only this process uses, made with mkdtemp (mode 0700, a fresh random name) and
// removed with whatever is left in it when the object goes. No other program, and no other
// render of the same batch, can meet a file inside it.
class PrivateDirectory {
public:
    // A new directory "<parent>/<prefix>XXXXXX"; nothing when it cannot be made.
    static std::optional<PrivateDirectory> Create(const std::string& parent,
                                                  const std::string& prefix);

    PrivateDirectory(PrivateDirectory&& other) noexcept;
    PrivateDirectory& operator=(PrivateDirectory&&) = delete;
    PrivateDirectory(const PrivateDirectory&) = delete;
    ~PrivateDirectory();

    // The directory's path, ending with '/'.
    const std::string& path() const { return path_; }

private:
    explicit PrivateDirectory(std::string path) : path_(std::move(path)) {}

    std::string path_;
};

}  // namespace sordanel

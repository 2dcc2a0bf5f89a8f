#include "platform/files/system_temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace sordanel {
namespace {

// Restores TMPDIR as the test found it.
class TmpdirGuard {
public:
    TmpdirGuard() {
        if (const char* value = std::getenv("TMPDIR")) {
            saved_ = value;
        }
    }
    ~TmpdirGuard() {
        if (saved_) {
            ::setenv("TMPDIR", saved_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

private:
    std::optional<std::string> saved_;
};

TEST(SystemTempDir, EndsWithASlashWhereverItComesFrom) {
    TmpdirGuard guard;
    ::setenv("TMPDIR", "/var/scratch", 1);
    EXPECT_EQ(SystemTempDir(), "/var/scratch/");
    ::setenv("TMPDIR", "/var/scratch/", 1);
    EXPECT_EQ(SystemTempDir(), "/var/scratch/");
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(SystemTempDir(), "/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(SystemTempDir(), "/tmp/");
}

}  // namespace
}  // namespace sordanel

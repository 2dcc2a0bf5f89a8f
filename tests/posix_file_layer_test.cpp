#include "posix_file_layer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sordanel {
namespace {

namespace fs = std::filesystem;

class PosixFileLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sordanel-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void Plant(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
    PosixFileLayer files_;
};

TEST_F(PosixFileLayerTest, CreateTruncatesWritesAndReadsBackExactly) {
    const std::string path = PathOf("note.tmp");
    Plant(path, "an earlier, longer content");

    auto file = files_.Create(path, FileAccess::ReadWrite);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fs::file_size(path), 0u) << "an existing file is truncated";
    ASSERT_TRUE(file->Write("abcdef", 6));
    ASSERT_TRUE(file->SeekToStart());
    char back[6] = {};
    ASSERT_TRUE(file->Read(back, sizeof back));
    EXPECT_EQ(std::string(back, 6), "abcdef");
    EXPECT_FALSE(file->Read(back, 1)) << "reading past the end is a failure, not a short read";
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(Contents(path), "abcdef");
}

TEST_F(PosixFileLayerTest, FileHeldByAnotherProcessIsRefusedAndLeftIntact) {
    const std::string path = PathOf("held.wav");
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        PosixFileLayer files;
        auto file = files.Create(path, FileAccess::WriteOnly);
        const bool wrote = file != nullptr && file->Write("being written", 13);
        char byte = wrote ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
        ::_exit(wrote ? 0 : 1);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 1) << "the holder could not create the file";

    EXPECT_EQ(files_.Create(path, FileAccess::WriteOnly), nullptr);
    EXPECT_EQ(files_.Create(path, FileAccess::ReadWrite), nullptr);
    EXPECT_EQ(Contents(path), "being written") << "a refused open must not truncate";

    (void)!::write(release[1], &byte, 1);
    int status = 0;
    ::waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(files_.Create(path, FileAccess::WriteOnly), nullptr) << "free again once closed";
}

TEST_F(PosixFileLayerTest, SecondOpenInTheSameProcessIsRefusedToo) {
    const std::string path = PathOf("twice.wav");
    auto first = files_.Create(path, FileAccess::WriteOnly);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Write("kept", 4));
    EXPECT_EQ(files_.Create(path, FileAccess::WriteOnly), nullptr);
    EXPECT_TRUE(first->Close());
    EXPECT_EQ(Contents(path), "kept");
}

TEST_F(PosixFileLayerTest, CreateFailsWhereNoFileCanBeMade) {
    EXPECT_EQ(files_.Create(PathOf("missing/note.wav"), FileAccess::WriteOnly), nullptr);
    EXPECT_EQ(files_.Create(dir_.string(), FileAccess::WriteOnly), nullptr) << "a directory";
    // sysfs refuses new files even to root, who could write into a read-only directory.
    EXPECT_EQ(files_.Create("/sys/sordanel-note.wav", FileAccess::WriteOnly), nullptr);
}

TEST_F(PosixFileLayerTest, OnlyRegularFilesAreCreatedOrRemoved) {
    // A device would be deleted by the clean-up of a failed run; a pipe would block the open;
    // through a link, the clean-up would delete the link and keep a half-written target.
    EXPECT_EQ(files_.Create("/dev/full", FileAccess::WriteOnly), nullptr);

    const std::string pipe = PathOf("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(files_.Create(pipe, FileAccess::WriteOnly), nullptr);
    EXPECT_FALSE(files_.Remove(pipe));
    EXPECT_TRUE(fs::exists(pipe));

    const std::string target = PathOf("target.wav");
    const std::string link = PathOf("link.wav");
    Plant(target, "precious");
    fs::create_symlink(target, link);
    EXPECT_EQ(files_.Create(link, FileAccess::WriteOnly), nullptr);
    EXPECT_FALSE(files_.Remove(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(target), "precious");
}

TEST_F(PosixFileLayerTest, RemoveDeletesARegularFileOnce) {
    const std::string path = PathOf("done.wav");
    Plant(path, "x");
    EXPECT_TRUE(files_.Remove(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(files_.Remove(path));
}

TEST_F(PosixFileLayerTest, ReplacePutsAFinishedFileInPlaceOfTheOldOne) {
    const std::string finished = PathOf(".part"), target = PathOf("take.wav");
    Plant(finished, "new take");
    Plant(target, "old take");
    EXPECT_TRUE(files_.Replace(finished, target));
    EXPECT_EQ(Contents(target), "new take");
    EXPECT_FALSE(fs::exists(finished));
    EXPECT_FALSE(files_.Replace(finished, target)) << "nothing left to move";
    EXPECT_EQ(Contents(target), "new take");
    EXPECT_FALSE(files_.Replace(PathOf("."), target)) << "only a regular file is moved";
}

TEST_F(PosixFileLayerTest, WriteBeyondTheFileSizeLimitFails) {
    // A real EFBIG: the first write call stores what fits (a partial write), the loop's next
    // call is refused, and Write must say so. Forked, so the limit stays with the child.
    const std::string path = PathOf("limited.wav");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        PosixFileLayer files;
        auto file = files.Create(path, FileAccess::WriteOnly);
        const std::vector<char> block(4096, 'x');
        const bool fits = file != nullptr && file->Write(block.data(), 600);
        const bool overflows = file != nullptr && file->Write(block.data(), block.size());
        ::_exit(fits && !overflows ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write past RLIMIT_FSIZE was reported as success";
    EXPECT_EQ(fs::file_size(path), 1000u);
}

}  // namespace
}  // namespace sordanel

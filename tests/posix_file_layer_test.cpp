// The file layer against real files, links, pipes, sockets and processes: what it refuses to
// replace, how an output file stays invisible and locked until it is in place, how scratch
// files avoid one another, and which litter it sweeps.

#include "platform/files/posix_file_layer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/temp_file_name.h"
#include "platform/files/litter_sweep.h"

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
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void Plant(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
    PosixFileLayer files_;
};

// A child process that holds an flock on `path` until it is told to go.
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release_), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
            char byte = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 1 : 0;
            (void)!::write(ready[1], &byte, 1);
            (void)!::read(release_[0], &byte, 1);
            ::_exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(byte, 1) << "the holder could not lock " << path;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder() {
        char byte = 0;
        (void)!::write(release_[1], &byte, 1);
        ::waitpid(pid_, nullptr, 0);
        ::close(release_[0]);
        ::close(release_[1]);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
};

TEST_F(PosixFileLayerTest, OutputIsInvisibleUntilCommittedAndThenReplacesTheEarlierTake) {
    const std::string path = PathOf("take.wav");
    Plant(path, "earlier take");
    auto file = files_.CreateOutput(path);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("new take", 8));
    EXPECT_EQ(Names(), std::set<std::string>{"take.wav"}) << "nothing beside it while written";
    EXPECT_EQ(Contents(path), "earlier take");
    EXPECT_TRUE(file->Commit());
    EXPECT_EQ(Contents(path), "new take");
    EXPECT_EQ(Names(), std::set<std::string>{"take.wav"});
    EXPECT_FALSE(file->Commit()) << "a file is put in place once";

    auto discarded = files_.CreateOutput(path);
    ASSERT_NE(discarded, nullptr);
    ASSERT_TRUE(discarded->Write("half", 4));
    discarded->Discard();
    EXPECT_EQ(Contents(path), "new take");
    {
        auto dropped = files_.CreateOutput(path);
        ASSERT_TRUE(dropped->Write("half", 4));
    }
    EXPECT_EQ(Contents(path), "new take") << "a file that goes uncommitted is discarded";
    EXPECT_EQ(Names(), std::set<std::string>{"take.wav"});
}

TEST_F(PosixFileLayerTest, TwoOutputsOfOnePathBothCompleteAndTheLaterCommitStays) {
    // Written side by side, as two renders of one path are: neither can take over the other's
    // file, and what lands is one of them whole.
    const std::string path = PathOf("same.wav");
    auto first = files_.CreateOutput(path);
    auto second = files_.CreateOutput(path);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(first->Write("first, longer", 13));
    ASSERT_TRUE(second->Write("second", 6));
    EXPECT_TRUE(second->Commit());
    EXPECT_EQ(Contents(path), "second");
    EXPECT_TRUE(first->Commit());
    EXPECT_EQ(Contents(path), "first, longer");
    EXPECT_EQ(Names(), std::set<std::string>{"same.wav"});
}

TEST_F(PosixFileLayerTest, CheckTargetAdmitsOnlyANewNameOrARegularFileTheUserMayReplace) {
    Plant(PathOf("take.wav"), "x");
    EXPECT_TRUE(files_.CheckTarget(PathOf("take.wav")));
    EXPECT_TRUE(files_.CheckTarget(PathOf("new.wav")));

    const std::string protectedTake = PathOf("protected.wav");
    Plant(protectedTake, "kept");
    fs::permissions(protectedTake,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, PathOf("socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_directory(PathOf("folder"));
    fs::create_symlink(PathOf("folder"), PathOf("to-folder"));
    fs::create_symlink(PathOf("take.wav"), PathOf("to-take.wav"));
    fs::create_symlink(PathOf("nowhere"), PathOf("dangling.wav"));
    const auto nameMax = static_cast<std::size_t>(::pathconf(dir_.c_str(), _PC_NAME_MAX));

    for (const std::string& refused :
         {protectedTake, PathOf("pipe"), PathOf("socket"), PathOf("folder"), PathOf("folder") + "/",
          PathOf("to-folder"), PathOf("to-take.wav"), PathOf("dangling.wav"),
          PathOf("missing/take.wav"), PathOf(std::string(nameMax + 1, 'n')),
          std::string("/dev/null"), std::string("/dev/full"), std::string("/proc/self/status"),
          std::string(""), std::string("/")}) {
        EXPECT_FALSE(files_.CheckTarget(refused)) << refused;
    }
    ::close(sock);
    EXPECT_EQ(Contents(protectedTake), "kept");
    EXPECT_TRUE(fs::is_symlink(PathOf("dangling.wav")));
    EXPECT_TRUE(files_.CheckTarget(PathOf(std::string(nameMax, 'n'))));
}

TEST_F(PosixFileLayerTest, CommitRefusesWhatAppearedAtTheTargetDuringTheRun) {
    const std::string path = PathOf("take.wav");
    auto file = files_.CreateOutput(path);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("new take", 8));
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(file->Commit());
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(Names(), std::set<std::string>{"take.wav"}) << "the refused file is gone";
}

TEST_F(PosixFileLayerTest, OutputLandsInItsFolderEvenWhenTheFolderWasRenamed) {
    fs::create_directory(PathOf("takes"));
    auto file = files_.CreateOutput(PathOf("takes/take.wav"));
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("new take", 8));
    fs::rename(PathOf("takes"), PathOf("renamed"));
    EXPECT_TRUE(file->Commit());
    EXPECT_EQ(Contents(PathOf("renamed/take.wav")), "new take");
}

TEST_F(PosixFileLayerTest, ScratchKeepsItsNameWhereFreeAndTakesItsOwnWhereHeld) {
    const std::string preferred = PathOf("sd297.tmp");
    auto first = files_.CreateScratch(preferred);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Write("abcdef", 6));
    EXPECT_EQ(Contents(preferred), "abcdef") << "the name asked for, where it was free";

    auto second = files_.CreateScratch(preferred);
    ASSERT_NE(second, nullptr) << "a held name gives a name of its own, not a failure";
    ASSERT_TRUE(second->Write("xyz", 3));
    ASSERT_TRUE(second->SeekToStart());
    char back[3] = {};
    ASSERT_TRUE(second->Read(back, 3));
    EXPECT_EQ(std::string(back, 3), "xyz");
    EXPECT_FALSE(second->Read(back, 1)) << "reading past the end is a failure, not a short read";
    EXPECT_EQ(Contents(preferred), "abcdef") << "the holder's file is untouched";
    EXPECT_EQ(Names().size(), 2u);
    for (const std::string& name : Names()) {
        EXPECT_TRUE(IsScratchFileName(name)) << name << " escapes the sweep of a killed run";
    }
    EXPECT_TRUE(second->Commit());
    first->Discard();
    EXPECT_TRUE(Names().empty()) << "both deleted";
}

TEST_F(PosixFileLayerTest, ScratchNameHeldByAnotherProcessOrPlantedAsALinkIsLeftAlone) {
    const std::string preferred = PathOf("sd11535.tmp");
    {
        const LockHolder holder(preferred);
        Plant(preferred, "another render's samples");
        auto file = files_.CreateScratch(preferred);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(Contents(preferred), "another render's samples");
    }
    fs::remove(preferred);
    const std::string elsewhere = PathOf("precious");
    Plant(elsewhere, "precious");
    fs::create_symlink(elsewhere, preferred);
    auto file = files_.CreateScratch(preferred);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("samples", 7));
    EXPECT_EQ(Contents(elsewhere), "precious") << "a planted link redirected the samples";
    EXPECT_TRUE(fs::is_symlink(preferred));
}

TEST_F(PosixFileLayerTest, SweepRemovesOnlyUnheldLitterOfThisProgram) {
    const std::string deadPartial = PathOf(".note.wav.123.part");
    const std::string deadUnique = PathOf(".note.wav.-45.aB3xY9.part");
    const std::string livePartial = PathOf(".other.wav.77.Zz9Zz9.part");
    for (const auto& name : {deadPartial, deadUnique}) {
        Plant(name, "killed run");
    }
    const std::string userFiles[] = {PathOf("note.wav"), PathOf(".hidden.part"),
                                     PathOf(".notes.part"), PathOf("sd.tmp"), PathOf("sdx12.tmp")};
    for (const auto& name : userFiles) {
        Plant(name, "the user's");
    }
    {
        const LockHolder holder(livePartial);
        auto file = files_.CreateOutput(PathOf("note.wav"));
        ASSERT_NE(file, nullptr);
        EXPECT_FALSE(fs::exists(deadPartial));
        EXPECT_FALSE(fs::exists(deadUnique));
        EXPECT_TRUE(fs::exists(livePartial)) << "a live render's file was swept";
    }
    for (const auto& name : userFiles) {
        EXPECT_EQ(Contents(name), "the user's") << name;
    }

    Plant(PathOf("sd-12.tmp"), "killed run");
    Plant(PathOf("sd12.Ab12Cd.tmp"), "killed run");
    ASSERT_NE(files_.CreateScratch(PathOf("sd99.tmp")), nullptr);
    EXPECT_FALSE(fs::exists(PathOf("sd-12.tmp")));
    EXPECT_FALSE(fs::exists(PathOf("sd12.Ab12Cd.tmp")));
    EXPECT_TRUE(fs::exists(livePartial)) << "a scratch sweep takes scratch files only";
}

TEST_F(PosixFileLayerTest, NothingIsCreatedWhereNoFileCanBeMade) {
    EXPECT_EQ(files_.CreateOutput(PathOf("missing/note.wav")), nullptr);
    EXPECT_EQ(files_.CreateScratch(PathOf("missing/sd1.tmp")), nullptr);
    // sysfs refuses new files even to root, who could write into a read-only directory.
    EXPECT_EQ(files_.CreateOutput("/sys/sordanel-note.wav"), nullptr);
    EXPECT_EQ(files_.CreateScratch("/sys/sd1.tmp"), nullptr);
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
        auto file = files.CreateScratch(path);
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

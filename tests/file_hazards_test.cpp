// sordanel-render as a hostile or unlucky user runs it: targets that are devices, pipes,
// folders and links; renders of one path side by side; closed standard descriptors; kills,
// interrupts and hang-ups at random moments (seeded, so a failure replays); file size and
// address space limits; an error pipe nobody reads. Whatever happens, a file at a target is
// either the earlier take or a complete note (its size matches its header and libsndfile reads
// it), the exit code says which, and the next render leaves the folder and $TMPDIR clean.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/render_process.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;
using testing::Contents;

constexpr const char* kCannotCreate =
    "Cannot create output file. Check if it isn't open in another program and if the specified "
    "directory exists";
// The shortest note: 3087 samples.
constexpr std::uintmax_t kShortNoteBytes = 44 + 2 * 3087;

struct Ended {
    bool exited;  // false: killed by a signal
    int code;
    std::string err;
};

class FileHazards : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sordanel-hazards-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        library_ = dir_ / "library";
        tmp_ = dir_ / "tmp";
        fs::create_directories(library_);
        fs::create_directories(tmp_);
    }
    void TearDown() override {
        if (mounted_) {
            ::umount2((dir_ / "dev").c_str(), MNT_DETACH);
        }
        fs::remove_all(dir_);
    }

    // Starts the renderer with TMPDIR at tmp_ and stderr into `errFile`; `inChild` readies the
    // child (limits, descriptors) just before it becomes the renderer.
    pid_t Start(
        std::vector<std::string> args, const std::function<void()>& inChild = [] {},
        const std::string& errFile = "stderr") const {
        args.insert(args.begin(), SORDANEL_RENDER);
        const std::string errPath = (dir_ / errFile).string();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("TMPDIR", tmp_.c_str(), 1);
            ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            inChild();
            testing::ExecArguments(args);
        }
        return pid;
    }
    Ended Wait(pid_t pid, const std::string& errFile = "stderr") const {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status),
                Contents(dir_ / errFile)};
    }
    Ended Run(
        std::vector<std::string> args, const std::function<void()>& inChild = [] {}) const {
        return Wait(Start(std::move(args), inChild));
    }

    std::set<std::string> Entries(const fs::path& dir) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_, library_, tmp_;
    bool mounted_ = false;
};

// Whether `path` is a complete note: its size is what its header says, and libsndfile reads
// every frame it announces.
::testing::AssertionResult IsCompleteNote(const fs::path& path) {
    const std::string bytes = Contents(path);
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0) {
        return ::testing::AssertionFailure() << path << " is no WAVE file";
    }
    std::uint32_t dataSize = 0;
    std::memcpy(&dataSize, bytes.data() + 40, 4);
    if (bytes.size() != 44u + dataSize) {
        return ::testing::AssertionFailure()
               << path << " has " << bytes.size() << " bytes, its header says " << 44 + dataSize;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return ::testing::AssertionFailure() << "libsndfile cannot read " << path;
    }
    std::vector<short> samples(static_cast<std::size_t>(info.frames));
    const sf_count_t read = sf_read_short(file, samples.data(), info.frames);
    sf_close(file);
    if (read != static_cast<sf_count_t>(dataSize / 2)) {
        return ::testing::AssertionFailure() << path << ": libsndfile read " << read << " frames";
    }
    return ::testing::AssertionSuccess();
}

// Each of these targets can never take a note: refused at once, with code 1, nothing touched.
TEST_F(FileHazards, TargetsThatCanNeverBeWrittenAreRefusedAndLeftAsTheyWere) {
    const fs::path folder = library_ / "folder";
    fs::create_directory(folder);
    ASSERT_EQ(::mkfifo((library_ / "pipe.wav").c_str(), 0644), 0);
    fs::create_symlink(folder, library_ / "to-folder.wav");
    fs::create_symlink(library_ / "nowhere.wav", library_ / "dangling.wav");
    std::ofstream(library_ / "take.wav") << "earlier take";
    fs::create_symlink(library_ / "take.wav", library_ / "to-take.wav");
    std::ofstream(library_ / "protected.wav") << "protected take";
    fs::permissions(library_ / "protected.wav", fs::perms::owner_read | fs::perms::group_read);
    std::vector<std::string> targets = {(library_ / "pipe.wav").string(),
                                        folder.string(),
                                        folder.string() + "/",
                                        (library_ / "to-folder.wav").string(),
                                        (library_ / "dangling.wav").string(),
                                        (library_ / "to-take.wav").string(),
                                        (library_ / "protected.wav").string(),
                                        (library_ / "missing" / "note.wav").string()};
    // A name longer than the file system allows, in a path the renderer still admits.
    const std::size_t longName = 390 - library_.string().size() - 1;
    if (longName > 255) {
        targets.push_back((library_ / std::string(longName, 'n')).string());
    }
    const auto before = Entries(library_);

    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const Ended ended = Run({"-o", target, "--duration", "0.07"});
        EXPECT_EQ(ended.code, 1);
        EXPECT_NE(ended.err.find(kCannotCreate), std::string::npos) << ended.err;
    }
    EXPECT_EQ(Entries(library_), before);
    EXPECT_TRUE(fs::is_fifo(library_ / "pipe.wav"));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(fs::is_symlink(library_ / "dangling.wav"));
    EXPECT_FALSE(fs::exists(library_ / "nowhere.wav"));
    EXPECT_EQ(Contents(library_ / "take.wav"), "earlier take");
    EXPECT_EQ(Contents(library_ / "protected.wav"), "protected take");
    EXPECT_TRUE(fs::is_empty(tmp_));
}

// The device files of /dev stand in a private mount namespace, made with mknod on a tmpfs of
// the test's own, so that no failure can touch the machine's.
TEST_F(FileHazards, DevicesAreNeverReplaced) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        GTEST_SKIP() << "no private mount namespace to make devices in: " << std::strerror(errno);
    }
    const fs::path dev = dir_ / "dev";
    fs::create_directory(dev);
    ASSERT_EQ(::mount("tmpfs", dev.c_str(), "tmpfs", 0, "size=65536"), 0) << std::strerror(errno);
    mounted_ = true;
    const fs::path null = dev / "null", full = dev / "full";
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) {
        GTEST_SKIP() << "mknod is not allowed here: " << std::strerror(errno);
    }
    for (const fs::path& device : {null, full}) {
        SCOPED_TRACE(device.string());
        for (const char* quality : {"low", "high"}) {
            const Ended ended =
                Run({"-o", device.string(), "--duration", "0.07", "--quality", quality});
            EXPECT_EQ(ended.code, 1);
            EXPECT_NE(ended.err.find(kCannotCreate), std::string::npos) << ended.err;
        }
        const Ended preview = Run({"-o", device.string(), "--preview", "--duration", "0.07"});
        EXPECT_EQ(preview.code, 1) << preview.err;
        EXPECT_TRUE(fs::is_character_file(device)) << "the device was replaced";
    }
    EXPECT_EQ(Entries(dev), (std::set<std::string>{"full", "null"}));
    EXPECT_TRUE(fs::is_empty(tmp_));
}

// Three renders of one path at once, 200 times, with Maximize, so their temporary files meet
// on one name too: all finish, and the file is always one of them whole.
TEST_F(FileHazards, ThreeRendersOfOnePathAllFinishWithOneWholeFile) {
    const std::string target = (library_ / "same.wav").string();
#if defined(__SANITIZE_ADDRESS__)
    // A sanitized renderer takes most of its time starting up; the Release build runs all 200.
    constexpr int kRounds = 25;
#else
    constexpr int kRounds = 200;
#endif
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<pid_t> renders;
        for (int k = 0; k < 3; ++k) {
            renders.push_back(Start(
                {"-o", target, "--duration", "0.07", "--quality", "low"}, [] {},
                "stderr" + std::to_string(k)));
        }
        for (int k = 0; k < 3; ++k) {
            const Ended ended =
                Wait(renders[static_cast<std::size_t>(k)], "stderr" + std::to_string(k));
            ASSERT_EQ(ended.code, 0) << ended.err;
        }
        ASSERT_TRUE(IsCompleteNote(target));
        ASSERT_EQ(Entries(library_), std::set<std::string>{"same.wav"});
        ASSERT_TRUE(fs::is_empty(tmp_));
    }
}

// Fifty renders into one folder at once; C1, E2 and G3 name the same temporary file, as do
// many of the takes.
TEST_F(FileHazards, FiftyParallelRendersIntoOneFolderAllFinish) {
    const char* notes[] = {"C1", "E2", "G3"};
    std::vector<std::string> names;
    for (int k = 0; k < 50; ++k) {
        names.push_back(k < 3 ? std::string(notes[k]) + ".wav"
                              : "take" + std::to_string(k / 10) + std::to_string(k % 10) + ".wav");
    }
    std::vector<pid_t> renders;
    for (std::size_t k = 0; k < names.size(); ++k) {
        renders.push_back(Start(
            {"-o", (library_ / names[k]).string(), "--duration", "0.07"}, [] {},
            "stderr" + std::to_string(k)));
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
        const Ended ended = Wait(renders[k], "stderr" + std::to_string(k));
        EXPECT_EQ(ended.code, 0) << names[k] << ": " << ended.err;
        EXPECT_TRUE(IsCompleteNote(library_ / names[k]));
    }
    EXPECT_EQ(Entries(library_).size(), names.size());
    EXPECT_TRUE(fs::is_empty(tmp_));
}

// With its standard descriptors closed, the renderer's first files would take their numbers,
// and its messages would land in them.
TEST_F(FileHazards, ClosedStandardDescriptorsNeverMakeMessagesPartOfANote) {
    fs::create_directory(library_ / "D2.wav");  // a failing note, so that there is a message
    const Ended ended = Run({"--notes", "C2..E2", "--jobs", "3", "-o", library_.string()}, [] {
        ::close(0);
        ::close(1);
        ::close(2);
    });
    EXPECT_TRUE(ended.exited);
    EXPECT_EQ(ended.code, 1);
    EXPECT_EQ(Entries(library_).size(), 5u);
    for (const char* name : {"C2.wav", "C#2.wav", "D#2.wav", "E2.wav"}) {
        EXPECT_TRUE(IsCompleteNote(library_ / name));
    }
    EXPECT_TRUE(fs::is_empty(tmp_));
}

// A file size limit (ulimit -f) ends a render with the message of a full disk, not SIGXFSZ; an
// error pipe nobody reads (SIGPIPE) does not keep it from cleaning up and giving its code.
TEST_F(FileHazards, FileSizeLimitAndUnreadErrorPipeEndInAFailureWithNothingLeft) {
    std::ofstream(library_ / "take.wav") << "earlier take";
    const std::string target = (library_ / "take.wav").string();
    const auto limited = [] {
        const rlimit limit{16384, 16384};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    struct Case {
        const char* maximize;
        const char* message;
    };
    for (const Case c : {Case{"--no-maximize", "Error writing to WAVE file. Probably disk is full"},
                         Case{"--duration",
                              "Error writing to temporary file in system TEMP "
                              "directory. Probably disk full"}}) {
        SCOPED_TRACE(c.maximize);
        std::vector<std::string> args = {"-o", target, "--duration", "0.5"};
        if (std::string(c.maximize) == "--no-maximize") {
            args.push_back(c.maximize);
        }
        const Ended ended = Run(args, limited);
        EXPECT_TRUE(ended.exited) << "killed by signal " << ended.code;
        EXPECT_EQ(ended.code, 2);
        EXPECT_NE(ended.err.find(c.message), std::string::npos) << ended.err;

        const Ended unread = Run(args, [&] {
            limited();
            int pipe[2];
            ::pipe(pipe);
            ::dup2(pipe[1], 2);
            ::close(pipe[0]);
            ::close(pipe[1]);
        });
        EXPECT_TRUE(unread.exited) << "killed by signal " << unread.code;
        EXPECT_EQ(unread.code, 2);
        EXPECT_EQ(Contents(target), "earlier take");
        EXPECT_EQ(Entries(library_), std::set<std::string>{"take.wav"});
        EXPECT_TRUE(fs::is_empty(tmp_));
    }
}

// A batch short of address space meets failing allocations and thread starts somewhere;
// whatever it meets, it is reported and cleaned up, and nothing aborts.
TEST_F(FileHazards, AddressSpaceLimitInABatchNeverAborts) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than these limits leave";
#endif
    int failures = 0;
    for (const rlim_t megabytes : {16, 32, 48, 64, 96}) {
        SCOPED_TRACE(std::to_string(megabytes) + " MB");
        const Ended ended =
            Run({"--notes", "C2..C3", "--jobs", "13", "--duration", "0.3", "-o", library_.string()},
                [megabytes] {
                    const rlimit limit{megabytes << 20, megabytes << 20};
                    ::setrlimit(RLIMIT_AS, &limit);
                });
        ASSERT_TRUE(ended.exited) << "killed by signal " << ended.code << "\n" << ended.err;
        if (ended.code != 0) {
            ++failures;
            EXPECT_FALSE(ended.err.empty());
        }
        for (const std::string& name : Entries(library_)) {
            EXPECT_NE(name.front(), '.') << "partial file left: " << name;
            EXPECT_TRUE(IsCompleteNote(library_ / name));
        }
        EXPECT_TRUE(fs::is_empty(tmp_));
        fs::remove_all(library_);
        fs::create_directory(library_);
    }
    EXPECT_GT(failures, 0) << "no limit was tight enough to fail";
}

// A render killed at a random moment may leave files behind; the next render into the same
// folder and the same $TMPDIR sweeps them, whatever file it writes, with Maximize or without.
TEST_F(FileHazards, NextRenderSweepsWhatAKilledRenderLeft) {
    std::mt19937 random(1107);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t killed = Start({"-o", (library_ / "killed.wav").string(), "--duration", "2"});
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 120000));
        ::kill(killed, SIGKILL);
        Wait(killed);
        std::vector<std::string> next = {"-o", (library_ / "next.wav").string(), "--duration",
                                         "0.07"};
        if (round % 2 == 1) {
            next.push_back("--no-maximize");
        }
        const Ended ended = Run(next);
        ASSERT_EQ(ended.code, 0) << ended.err;
        std::set<std::string> left = Entries(library_);
        if (left.erase("killed.wav") > 0) {
            EXPECT_TRUE(IsCompleteNote(library_ / "killed.wav")) << "it was killed after the end";
        }
        EXPECT_EQ(left, std::set<std::string>{"next.wav"});
        EXPECT_TRUE(fs::is_empty(tmp_));
        fs::remove(library_ / "killed.wav");
        fs::remove(library_ / "next.wav");
    }
}

// Ctrl-C, SIGTERM or a hang-up at a random moment, through the second pass and the final
// rename too: either the take is complete and the code 0, or the earlier take is untouched
// and the code 255 (or, before the renderer has started, the signal's own end).
TEST_F(FileHazards, InterruptAtAnyMomentKeepsTheEarlierTakeOrCompletesTheNew) {
    std::mt19937 random(2011);
    const std::string target = (library_ / "take.wav").string();
    // The moments range over the whole run and a little beyond, however fast this machine (or
    // this build) renders.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(Run({"-o", target, "--duration", "2"}).code, 0);
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - started)
                             .count();
    std::uniform_int_distribution<long> moment(0, runTime * 13 / 10);
    const int signals[] = {SIGINT, SIGTERM, SIGHUP};
    int completed = 0, kept = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::ofstream(target, std::ios::trunc) << "earlier take";
        std::vector<std::string> args = {"-o", target, "--duration", "2"};
        if (random() % 2 == 0) {
            args.push_back("--no-maximize");
        }
        const pid_t render = Start(args);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        const int signal = signals[random() % 3];
        ::kill(render, signal);
        const Ended ended = Wait(render);
        if (!ended.exited) {
            // Before the renderer asks for its interrupts it dies of them, having touched
            // nothing yet.
            EXPECT_EQ(ended.code, signal);
            EXPECT_EQ(Contents(target), "earlier take");
        } else if (ended.code == 0) {
            ++completed;
            EXPECT_TRUE(IsCompleteNote(target));
        } else {
            ++kept;
            EXPECT_EQ(ended.code, 255) << ended.err;
            EXPECT_EQ(Contents(target), "earlier take");
        }
        EXPECT_EQ(Entries(library_), std::set<std::string>{"take.wav"});
        EXPECT_TRUE(fs::is_empty(tmp_));
    }
    EXPECT_GT(completed, 0) << "no interrupt came late enough to find the take complete";
    EXPECT_GT(kept, 0) << "no interrupt came early enough to stop the take";
}

}  // namespace
}  // namespace sordanel

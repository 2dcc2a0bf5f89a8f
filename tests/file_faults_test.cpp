// The engine's files against real file systems that fail: a disk that fills up during the
// header, the samples or the second pass of Maximize, a temporary folder that is missing or
// read-only, an output folder that does not exist, an output another Sordanel is still
// writing too, and paths at the length limit or with bytes above 127. Whatever happens, the user
// reads the engine's message, the run ends with its code, no partial or temporary file stays,
// and the files the user already had (the earlier take at the same path and a file beside it)
// are as they were.
//
// The full disks are small tmpfs mounts in a private mount namespace, which needs root; where
// mounting is not allowed, a file size limit stands in for the full disk where it can.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "engine/engine_messages.h"
#include "engine/sound_engine.h"
#include "platform/files/posix_file_layer.h"
#include "tests/engine_fakes.h"
#include "tests/render_process.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;
using testing::Contents;

constexpr std::size_t kPage = 4096;

// Mounting our own file systems, once per process: a private mount namespace keeps them from
// the rest of the machine. Empty when allowed, else why not.
const std::string& MountRefusal() {
    static const std::string refusal = [] {
        if (::unshare(CLONE_NEWNS) != 0) {
            return std::string("no private mount namespace: ") + std::strerror(errno);
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return std::string("mounts cannot be made private: ") + std::strerror(errno);
        }
        return std::string();
    }();
    return refusal;
}

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sordanel-faults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        scratch_ = pattern;
        output_ = scratch_ / "out";
        temp_ = scratch_ / "tmp";
        fs::create_directories(output_);
        fs::create_directories(temp_);
        settings_.outputPath = (output_ / "note.wav").string();
        settings_.tempDir = temp_.string() + "/";
        settings_.autocorrection = AutocorrectionMode::Off;
        job_.progressDialog = &progress_;
        job_.progressOpen = true;
    }
    void TearDown() override {
        for (const fs::path& mounted : mounts_) {
            ::umount2(mounted.c_str(), MNT_DETACH);
        }
        fs::remove_all(scratch_);
    }

    // Mounts a tmpfs of `pages` pages over `dir`, read-only on request; false (and the test
    // skipped) where mounting is not allowed.
    bool Mount(const fs::path& dir, std::size_t pages, bool readOnly = false) {
        if (!MountRefusal().empty()) {
            return false;
        }
        const std::string size = "size=" + std::to_string(pages * kPage);
        if (::mount("tmpfs", dir.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, size.c_str()) != 0) {
            ADD_FAILURE() << "cannot mount a tmpfs: " << std::strerror(errno);
            return false;
        }
        mounts_.push_back(dir);
        return true;
    }

    // The user's files in the output folder: the earlier take at the output path and another
    // note beside it, one page each.
    void PlantUserFiles() {
        std::ofstream(settings_.outputPath, std::ios::binary) << "earlier take";
        std::ofstream(output_ / "other.wav", std::ios::binary) << "another note";
    }
    void ExpectUserFilesIntact() const {
        EXPECT_EQ(Contents(settings_.outputPath), "earlier take");
        EXPECT_EQ(Contents(output_ / "other.wav"), "another note");
    }
    // Only the user's own files stay: no partial file beside them, nothing in the temporary
    // folder.
    void ExpectNothingLeft(std::size_t userFiles = 2) const {
        std::size_t names = 0;
        for (const auto& entry : fs::directory_iterator(output_)) {
            EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
            ++names;
        }
        EXPECT_EQ(names, userFiles);
        EXPECT_TRUE(fs::is_empty(temp_)) << "a temporary file stayed behind";
    }

    GenerationResult Generate() {
        PosixFileLayer files;
        SoundEngine engine(settings_, job_, host_, files, player_);
        return engine.GenerateSound(false);
    }
    // The one message the run showed, and that it ended the progress dialog.
    void ExpectFailure(const char* message) const {
        ASSERT_EQ(host_.errors.size(), 1u);
        EXPECT_EQ(host_.errors[0], message);
        EXPECT_EQ(progress_.finishedCalls, 1);
        EXPECT_FALSE(job_.outputValid);
    }

    fs::path scratch_, output_, temp_;
    std::vector<fs::path> mounts_;
    GenerationSettings settings_;
    JobState job_;
    testing::RecordingHost host_;
    testing::RecordingPlayer player_;
    testing::RecordingProgress progress_;
};

// Lowers the limit on the size of any file this process writes, the stand-in for a full disk
// where no file system can be mounted; the old limit comes back when it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
};

TEST_F(FileFaults, DiskFullBeforeTheHeaderEndsWithCode3) {
    settings_.maximize = false;
    std::optional<FileSizeLimit> limit;
    if (Mount(output_, 2)) {
        PlantUserFiles();  // they fill both pages
    } else {
        PlantUserFiles();
        limit.emplace(0);
    }
    EXPECT_EQ(Generate(), GenerationResult::HeaderFailed);
    limit.reset();
    ExpectFailure(messages::kWaveWriteFailed);
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

TEST_F(FileFaults, DiskFullDuringTheSamplesEndsWithCode2) {
    settings_.maximize = false;
    std::optional<FileSizeLimit> limit;
    if (!Mount(output_, 4)) {
        limit.emplace(2 * kPage);
    }
    PlantUserFiles();
    EXPECT_EQ(Generate(), GenerationResult::WriteFailed);
    limit.reset();
    ExpectFailure(messages::kWaveWriteFailed);
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

TEST_F(FileFaults, TemporaryFolderFullDuringTheSamplesEndsWithCode2) {
    std::optional<FileSizeLimit> limit;
    if (!Mount(temp_, 2)) {
        limit.emplace(2 * kPage);
    }
    PlantUserFiles();
    EXPECT_EQ(Generate(), GenerationResult::WriteFailed);
    limit.reset();
    ExpectFailure(messages::kTemporaryWriteFailed);
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

TEST_F(FileFaults, DiskFullDuringTheSecondPassOfMaximizeEndsWithCode2) {
    // The temporary file has room; the WAVE file gets its header and then fills the disk.
    if (!Mount(output_, 5)) {
        GTEST_SKIP() << "the second pass needs a full disk beside a roomy temporary folder, "
                        "and "
                     << MountRefusal();
    }
    PlantUserFiles();
    settings_.maximize = true;
    EXPECT_EQ(Generate(), GenerationResult::WriteFailed);
    ExpectFailure(messages::kWaveWriteFailed);
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

TEST_F(FileFaults, MissingOrReadOnlyTemporaryFolderEndsWithCode1) {
    PlantUserFiles();
    settings_.tempDir = (scratch_ / "gone").string() + "/";
    EXPECT_EQ(Generate(), GenerationResult::NotStarted);
    ExpectFailure(messages::kCannotCreateTemporary);
    ExpectUserFilesIntact();
    ExpectNothingLeft();

    // Root writes into a folder whatever its mode, but not into a read-only file system.
    if (!Mount(temp_, 4, true)) {
        GTEST_SKIP() << "no read-only temporary folder: " << MountRefusal();
    }
    host_.errors.clear();
    progress_.finishedCalls = 0;
    settings_.tempDir = temp_.string() + "/";
    EXPECT_EQ(Generate(), GenerationResult::NotStarted);
    ExpectFailure(messages::kCannotCreateTemporary);
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

TEST_F(FileFaults, MissingOutputFolderEndsWithCode1AndCreatesNothing) {
    PlantUserFiles();
    settings_.outputPath = (output_ / "missing" / "note.wav").string();
    EXPECT_EQ(Generate(), GenerationResult::NotStarted);
    ExpectFailure(messages::kCannotCreateOutput);
    EXPECT_FALSE(fs::exists(output_ / "missing"));
    settings_.outputPath = (output_ / "note.wav").string();
    ExpectUserFilesIntact();
    ExpectNothingLeft();
}

// Whether process `pid` holds a file open inside `dir`, named or not.
bool HoldsFileIn(pid_t pid, const fs::path& dir) {
    std::error_code gone;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone)) {
        const std::string target = fs::read_symlink(fd.path(), gone).string();
        if (target.rfind(dir.string() + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST_F(FileFaults, AnotherRenderOfTheSameOutputNeitherBlocksNorDisturbsThisOne) {
    PlantUserFiles();
    const testing::RenderProcess other(scratch_ / "other");
    const pid_t writer = other.Start(
        {"-o", settings_.outputPath, "--quality", "high", "--duration", "20", "--no-maximize"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!HoldsFileIn(writer, output_) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(HoldsFileIn(writer, output_)) << "the other render never started";

    settings_.duration = 0.1f;
    EXPECT_EQ(Generate(), GenerationResult::Finished);
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_EQ(fs::file_size(settings_.outputPath), 44u + 2 * 4410);

    ::kill(writer, SIGINT);
    EXPECT_EQ(other.Wait(writer).exitCode, 255);
    EXPECT_EQ(fs::file_size(settings_.outputPath), 44u + 2 * 4410)
        << "the interrupted render touched the finished take";
    EXPECT_EQ(Contents(output_ / "other.wav"), "another note");
    ExpectNothingLeft();
}

TEST_F(FileFaults, BytesAbove127NameTheFilesAndLeaveNothingBehind) {
    // Not even valid UTF-8: a path is bytes. With Maximize the high bytes enter the temporary
    // file's name as negative values.
    settings_.outputPath = (output_ / "n\xC3\xB6te-\xFF\xFE.wav").string();
    settings_.duration = 0.2f;
    EXPECT_EQ(Generate(), GenerationResult::Finished);
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_EQ(fs::file_size(settings_.outputPath), 44u + 2 * 8820);
    ExpectNothingLeft(1);
}

// The renderer takes an output path of 390 characters and refuses one of 391 before it
// touches a file.
TEST_F(FileFaults, PathOf390CharactersIsRenderedAnd391Refused) {
    fs::path dir = output_;
    while (dir.string().size() < 390 - 60) {
        dir /= std::string(40, 'd');
    }
    fs::create_directories(dir);
    const auto pathOf = [&dir](std::size_t length) {
        const std::size_t name = length - dir.string().size() - 1 - 4;
        return (dir / (std::string(name, 'n') + ".wav")).string();
    };
    const std::string fits = pathOf(390), tooLong = pathOf(391);
    ASSERT_EQ(fits.size(), 390u);
    ASSERT_EQ(tooLong.size(), 391u);
    std::ofstream(tooLong) << "earlier take";
    std::ofstream(fits) << "earlier take";

    const testing::RenderProcess render(scratch_ / "render");
    const testing::Outcome refused = render.Run({"-o", tooLong, "--duration", "0.1"});
    EXPECT_EQ(refused.exitCode, 64);
    EXPECT_NE(refused.err.find("File path too long"), std::string::npos) << refused.err;
    EXPECT_EQ(Contents(tooLong), "earlier take");

    const testing::Outcome rendered = render.Run({"-o", fits, "--duration", "0.1"});
    EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
    EXPECT_EQ(fs::file_size(fits), 44u + 2 * 4410);
    EXPECT_EQ(Contents(tooLong), "earlier take");
    EXPECT_TRUE(fs::is_empty(render.TempDir()));
    std::size_t names = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++names;
    }
    EXPECT_EQ(names, 2u) << "a partial file stayed beside the notes";
}

}  // namespace
}  // namespace sordanel

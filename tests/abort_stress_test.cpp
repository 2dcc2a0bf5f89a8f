// Two hundred Generates on the real file layer, each aborted after a random block of its trial
// run or its main loop (seeded, so a failure replays): every one ends with 255, deletes its
// partial and temporary files, leaves the earlier take alone, and leaves no descriptor open.
// Leaks are LeakSanitizer's to find in the sanitizer build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/sound_engine.h"
#include "platform/files/posix_file_layer.h"
#include "tests/engine_fakes.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;

// Asks for the abort from the progress report of block `abortAt`, as the progress dialog's
// Abort does between two blocks.
class AbortingProgress : public ProgressReceiver {
public:
    AbortingProgress(JobState& job, int abortAt) : job_(job), abortAt_(abortAt) {}
    void SetProgress(float) override {
        if (reports_++ == abortAt_) {
            job_.abortRequested = true;
        }
    }
    void GenerationFinished() override { ++finishedCalls; }
    int finishedCalls = 0;

private:
    JobState& job_;
    int abortAt_;
    int reports_ = 0;
};

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

std::size_t Entries(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(AbortStress, EveryAbortedRunLeavesOnlyWhatTheUserHad) {
    std::string pattern = (fs::temp_directory_path() / "sordanel-aborts-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    fs::create_directories(dir / "tmp");
    const std::string output = (dir / "note.wav").string();
    std::ofstream(output) << "earlier take";

    const std::size_t descriptors = OpenDescriptors();
    std::mt19937 random(20240611);
    PosixFileLayer files;
    testing::RecordingHost host;
    testing::RecordingPlayer player;
    for (int run = 0; run < 200; ++run) {
        GenerationSettings settings;
        JobState job;
        settings.outputPath = output;
        settings.tempDir = (dir / "tmp").string() + "/";
        settings.duration = std::uniform_real_distribution<float>(0.07f, 0.3f)(random);
        settings.maximize = random() % 2 == 0;
        settings.autocorrection = static_cast<AutocorrectionMode>(random() % 3);
        // At most 18 blocks of 800 samples in the main loop, more with a trial run first.
        AbortingProgress progress(job, static_cast<int>(random() % 20));
        job.progressDialog = &progress;
        job.progressOpen = true;
        SoundEngine engine(settings, job, host, files, player);
        const GenerationResult result = engine.GenerateSound(false);

        SCOPED_TRACE("run " + std::to_string(run));
        if (result == GenerationResult::Finished) {
            // The abort came after the last block: the run completed and replaced the take.
            EXPECT_TRUE(job.outputValid);
            EXPECT_EQ(progress.finishedCalls, 1);
            std::ofstream(output) << "earlier take";
        } else {
            EXPECT_EQ(result, GenerationResult::Aborted);
            EXPECT_EQ(progress.finishedCalls, 0) << "no end report after an abort";
            std::string take;
            std::getline(std::ifstream(output), take);
            EXPECT_EQ(take, "earlier take");
        }
        ASSERT_EQ(Entries(dir), 2u) << "a partial file stayed beside the take";
        ASSERT_EQ(Entries(dir / "tmp"), 0u) << "a temporary file stayed";
        ASSERT_EQ(OpenDescriptors(), descriptors) << "a file of the run stayed open";
    }
    EXPECT_TRUE(host.errors.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace sordanel

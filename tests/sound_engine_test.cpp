#include "engine/sound_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/settings_tables.h"
#include "tests/engine_fakes.h"
#include "tests/heap_hooks.h"

namespace sordanel {
namespace {

using testing::MemoryFileLayer;
using testing::RecordingHost;
using testing::RecordingPlayer;
using testing::RecordingProgress;

// A Generate without a window: settings, fakes, and the progress dialog marked open.
struct Bench {
    Bench() {
        settings.outputPath = "/out/note.wav";
        settings.tempDir = "/tmp/";
        job.progressDialog = &progress;
        job.progressOpen = true;
    }
    GenerationResult Run(bool preview = false) { return engine.GenerateSound(preview); }

    GenerationSettings settings;
    JobState job;
    RecordingHost host;
    MemoryFileLayer files;
    RecordingPlayer player;
    RecordingProgress progress;
    SoundEngine engine{settings, job, host, files, player};
};

TEST(SoundEngineProgress, FullRunWeighsTheTrialRunAtSixTenths) {
    Bench bench;
    ASSERT_EQ(bench.Run(), GenerationResult::Finished);
    const auto& f = bench.progress.fractions;
    // The trial counts with its longest check, 21 blocks after the lock's 13; this one settles
    // after 13 and the progress goes on from the whole trial's share.
    const double trial = 0.6 * 34 * 800, total = 35280;
    ASSERT_EQ(f.size(), 26u + 45u)
        << "13 blocks of the lock and 13 of the check, then 44 full blocks and a partial one";
    EXPECT_FLOAT_EQ(f[0], static_cast<float>(0.6 * 800 / (trial + total)));
    EXPECT_FLOAT_EQ(f[25], static_cast<float>(0.6 * 26 * 800 / (trial + total)));
    EXPECT_FLOAT_EQ(f[26], static_cast<float>((800 + trial) / (trial + total)));
    EXPECT_FLOAT_EQ(f.back(), 1.0f);
    for (std::size_t k = 1; k < f.size(); ++k)
        EXPECT_GT(f[k], f[k - 1]);
    EXPECT_EQ(bench.progress.finishedCalls, 1);
    EXPECT_TRUE(bench.job.outputValid);
}

TEST(SoundEngineProgress, PreviewShowsPercentagesInIntegerArithmetic) {
    Bench bench;
    ASSERT_EQ(bench.Run(true), GenerationResult::Finished);
    const auto& s = bench.host.statuses;
    ASSERT_EQ(s.size(), 26u + 45u);
    EXPECT_EQ(s[0], "Generating preview - 0% done") << "60 x 800 / (16320 + 35280)";
    EXPECT_EQ(s[25], "Generating preview - 24% done") << "60 x 20800 / (16320 + 35280)";
    EXPECT_EQ(s[26], "Generating preview - 33% done") << "(100 x 800 + 60 x 27200) / 51600";
    EXPECT_EQ(s.back(), "Generating preview - 100% done");
    EXPECT_TRUE(bench.progress.fractions.empty()) << "a preview never calls the progress dialog";
}

TEST(SoundEngineProgress, WholeBlocksAddOneEmptyBlockThatStillReports) {
    Bench bench;
    bench.settings.autocorrection = AutocorrectionMode::Off;
    bench.settings.duration = 0.19955f;  // exactly 8800 samples, 11 blocks
    ASSERT_EQ(bench.Run(), GenerationResult::Finished);
    const auto& f = bench.progress.fractions;
    ASSERT_EQ(f.size(), 12u);
    EXPECT_FLOAT_EQ(f[0], 800.0f / 8800);
    EXPECT_EQ(f[10], 1.0f);
    EXPECT_EQ(f[11], 1.0f);
    EXPECT_EQ(bench.files.Bytes("/out/note.wav").size(), 44u + 2 * 8800);
}

TEST(SoundEngineProgress, ClosedDialogIsNotCalled) {
    Bench bench;
    bench.job.progressOpen = false;
    ASSERT_EQ(bench.Run(), GenerationResult::Finished);
    EXPECT_TRUE(bench.progress.fractions.empty());
    EXPECT_EQ(bench.progress.finishedCalls, 0);
    EXPECT_FALSE(bench.job.progressInUse);
}

// Requests an abort from the progress dialog after a given number of reports.
class AbortingProgress : public ProgressReceiver {
public:
    AbortingProgress(JobState& job, int afterReports) : job_(job), afterReports_(afterReports) {}
    void SetProgress(float) override {
        if (++reports == afterReports_)
            job_.abortRequested = true;
    }
    void GenerationFinished() override { finished++; }
    int reports = 0, finished = 0;

private:
    JobState& job_;
    int afterReports_;
};

TEST(SoundEngineAbort, EndsAfterTheBlockAndLeavesNoFile) {
    for (int afterReports : {3, 20}) {  // in the trial run, and in the main loop
        Bench bench;
        AbortingProgress aborting(bench.job, afterReports);
        bench.job.progressDialog = &aborting;
        EXPECT_EQ(bench.Run(), GenerationResult::Aborted);
        EXPECT_EQ(aborting.reports, afterReports) << "the abort is seen right after the block";
        EXPECT_EQ(aborting.finished, 0) << "an aborted run sends no end report";
        EXPECT_TRUE(bench.files.files.empty()) << "neither the WAVE nor the temporary file stays";
        EXPECT_FALSE(bench.job.outputValid);
        EXPECT_TRUE(bench.host.errors.empty());
    }
}

// Notes the allocation count at every report; nothing in between may allocate.
class AllocationWatch : public ProgressReceiver, public EngineHost {
public:
    void SetProgress(float) override { Note(); }
    void GenerationFinished() override {}
    void ShowError(std::string_view) override {}
    void ShowPreviewStatus(std::string_view) override { Note(); }
    void Note() {
        const long now = testing::heapAllocations.load();
        if (first < 0)
            first = now;
        last = now;
    }
    long first = -1, last = -1;
};

TEST(SoundEngineAllocation, NothingIsAllocatedOnceTheRunIsSetUp) {
    struct Run {
        bool preview, vibratoOn;
        AutocorrectionMode autocorrection;
    };
    // The last one replays its check's steps from the room taken at set-up.
    for (auto [preview, vibratoOn, autocorrection] :
         {Run{false, true, AutocorrectionMode::RealTime},
          Run{true, true, AutocorrectionMode::Precalculated},
          Run{false, false, AutocorrectionMode::Precalculated}}) {
        GenerationSettings settings;
        JobState job;
        settings.outputPath = "/out/note.wav";
        settings.tempDir = "/tmp/";
        settings.vibratoOn = vibratoOn;
        settings.autocorrection = autocorrection;
        settings.quality = Quality::High;
        AllocationWatch watch;
        job.progressDialog = &watch;
        job.progressOpen = true;
        MemoryFileLayer files;
        files.reserveBytes = 1 << 20;
        RecordingPlayer player;
        player.played.reserve(1 << 20);
        SoundEngine engine(settings, job, watch, files, player);
        ASSERT_EQ(engine.GenerateSound(preview), GenerationResult::Finished);
        EXPECT_EQ(engine.replayedSteps() > 0, !vibratoOn);
        EXPECT_GE(watch.first, 0);
        EXPECT_EQ(watch.last, watch.first) << (preview ? "preview" : "generate");
    }
}

TEST(SoundEnginePreview, IsCutToThreeSecondsAndReplayedWhileStillValid) {
    Bench bench;
    bench.settings.duration = 20.0f;
    bench.settings.autocorrection = AutocorrectionMode::Off;
    ASSERT_EQ(bench.Run(true), GenerationResult::Finished);
    EXPECT_EQ(bench.job.previewSound.size(), 44u + 2 * 132300);
    EXPECT_TRUE(bench.job.previewValid);
    EXPECT_EQ(bench.player.played, bench.job.previewSound);
    const auto statuses = bench.host.statuses.size();

    ASSERT_EQ(bench.Run(true), GenerationResult::Finished);
    EXPECT_EQ(bench.host.statuses.size(), statuses) << "an unchanged preview is not synthesised";
    EXPECT_EQ(bench.player.imagesPlayed, 2);
    EXPECT_EQ(bench.player.stops, 2) << "every run stops the sound first";
    EXPECT_TRUE(bench.files.files.empty()) << "a preview touches no file";
}

}  // namespace
}  // namespace sordanel

#include "engine/wave_output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>

#include "engine/sound_engine.h"
#include "engine/temp_file_name.h"
#include "engine/wave_header.h"
#include "tests/engine_fakes.h"
#include "tests/heap_hooks.h"

namespace sordanel {
namespace {

using testing::MemoryFileLayer;
using testing::RecordingPlayer;
using testing::RecordingProgress;

constexpr const char* kOutput = "/music/note.wav";
constexpr const char* kTempDir = "/tmp/";

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::vector<std::int16_t> Samples(const std::vector<std::uint8_t>& wave) {
    std::vector<std::int16_t> samples((wave.size() - kWaveHeaderBytes) / 2);
    std::memcpy(samples.data(), wave.data() + kWaveHeaderBytes, samples.size() * 2);
    return samples;
}

// A host whose error dialog can look at the files while the message is up.
class InspectingHost : public EngineHost {
public:
    void ShowError(std::string_view message) override {
        errors.emplace_back(message);
        if (onError)
            onError();
    }
    void ShowPreviewStatus(std::string_view) override {}
    std::vector<std::string> errors;
    std::function<void()> onError;
};

struct OutputRun {
    OutputRun() {
        settings.outputPath = kOutput;
        settings.tempDir = kTempDir;
        settings.autocorrection = AutocorrectionMode::Off;
        settings.duration = 0.1f;
        job.progressDialog = &progress;
        job.progressOpen = true;
    }
    GenerationResult Generate() { return engine.GenerateSound(false); }
    std::string TempName() const { return TemporaryFileName(kTempDir, kOutput); }
    std::string PartialName() const { return PartialFileName(kOutput); }

    GenerationSettings settings;
    JobState job;
    InspectingHost host;
    MemoryFileLayer files;
    RecordingPlayer player;
    RecordingProgress progress;
    SoundEngine engine{settings, job, host, files, player};
};

TEST(WaveFile, HeaderDescribesMono16BitAndTheFileHasExactlyItsSamples) {
    OutputRun run;
    run.settings.maximize = false;
    run.settings.duration = 0.8f;
    ASSERT_EQ(run.Generate(), GenerationResult::Finished);
    const auto& wave = run.files.Bytes(kOutput);
    ASSERT_EQ(wave.size(), 70604u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(Read32(wave, 4), 70596u);
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Read32(wave, 16), 16u);
    EXPECT_EQ(Read32(wave, 20), 0x00010001u) << "PCM, one channel";
    EXPECT_EQ(Read32(wave, 24), 44100u);
    EXPECT_EQ(Read32(wave, 28), 88200u);
    EXPECT_EQ(Read32(wave, 32), 0x00100002u) << "2 bytes a frame, 16 bits";
    EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");
    EXPECT_EQ(Read32(wave, 40), 70560u);
    EXPECT_FALSE(run.files.files.at(kOutput).open);
    EXPECT_TRUE(run.job.outputValid);
    EXPECT_EQ(run.progress.finishedCalls, 1);
}

TEST(TemporaryFileName, HashesThePathBytesAsSignedValues) {
    EXPECT_EQ(TemporaryFileName("/tmp/", "C:\\a.wav"), "/tmp/sd11535.tmp");
    EXPECT_EQ(TemporaryFileName("/tmp/", "abc"), "/tmp/sd297.tmp");
    EXPECT_LT(PathHash("a\xC3"), 0) << "a byte above 127 enters negative";
    EXPECT_EQ(TemporaryFileName("/t/", "\xC3"), "/t/sd-61.tmp");
    EXPECT_EQ(PartialFileName("/music/abc"),
              "/music/.abc." + std::to_string(PathHash("/music/abc")) + ".part");
    EXPECT_NE(PartialFileName("/m/G#2.wav"), PartialFileName("/m/C#3.wav"))
        << "notes of one folder never share a partial file";
    EXPECT_LT(PartialFileName("/m/" + std::string(300, 'x')).size(), 3u + 220u)
        << "a long name is cut to what a folder entry holds";
    EXPECT_EQ(PathHash(std::string(20, 'a')), PathHash(std::string(20, 'a')));
}

TEST(Maximize, LoudestSampleReachesFullScaleAndTheTemporaryFileIsGone) {
    for (int quality : {0, 1}) {
        OutputRun run;
        run.settings.quality = static_cast<Quality>(quality);
        run.settings.bowPressingForce = 3.5f;
        run.settings.bowSpeed = 0.6f;
        run.files.refusedPath = "";
        ASSERT_EQ(run.Generate(), GenerationResult::Finished);
        const auto samples = Samples(run.files.Bytes(kOutput));
        int loudest = 0;
        for (std::int16_t s : samples) {
            EXPECT_NE(s, -32768);
            loudest = std::max(loudest, std::abs(int{s}));
        }
        EXPECT_EQ(loudest, 32767);
        EXPECT_FALSE(run.files.Exists(run.TempName()));
    }
}

TEST(Maximize, VolumeHasNoEffect) {
    OutputRun quiet, loud;
    quiet.settings.volumeDb = -20;
    loud.settings.volumeDb = 30;
    ASSERT_EQ(quiet.Generate(), GenerationResult::Finished);
    ASSERT_EQ(loud.Generate(), GenerationResult::Finished);
    EXPECT_EQ(quiet.files.Bytes(kOutput), loud.files.Bytes(kOutput));
}

TEST(Maximize, PreviewRescalesTheImageInPlace) {
    OutputRun run;
    ASSERT_EQ(run.engine.GenerateSound(true), GenerationResult::Finished);
    const auto samples = Samples(run.job.previewSound);
    int loudest = 0;
    for (std::int16_t s : samples)
        loudest = std::max(loudest, std::abs(int{s}));
    EXPECT_GT(loudest, 30000);
    EXPECT_LE(loudest, 32767);
}

TEST(WithoutMaximize, LoudSamplesClipAtBothEnds) {
    OutputRun run;
    run.settings.maximize = false;
    run.settings.volumeDb = 30;
    run.settings.bowPressingForce = 3.5f;
    run.settings.bowSpeed = 0.6f;
    ASSERT_EQ(run.Generate(), GenerationResult::Finished);
    const auto samples = Samples(run.files.Bytes(kOutput));
    EXPECT_NE(std::find(samples.begin(), samples.end(), 32767), samples.end());
    EXPECT_NE(std::find(samples.begin(), samples.end(), -32768), samples.end());
    EXPECT_TRUE(run.files.files.size() == 1) << "no temporary file without Maximize";
}

struct FailureRow {
    const char* name;
    bool maximize;
    std::function<void(OutputRun&)> inject;
    const char* message;
    GenerationResult code;
};

TEST(WaveOutputFailures, EachShowsItsMessageDeletesEveryFileAndEndsWithItsCode) {
    const char* cannotCreate =
        "Cannot create output file. Check if it isn't open in another program and if the "
        "specified directory exists";
    const char* waveWrite = "Error writing to WAVE file. Probably disk is full";
    const FailureRow rows[] = {
        {"target unfit", true, [](OutputRun& r) { r.files.unfitTarget = kOutput; }, cannotCreate,
         GenerationResult::NotStarted},
        {"output refused", true, [](OutputRun& r) { r.files.refusedPath = r.PartialName(); },
         cannotCreate, GenerationResult::NotStarted},
        {"header write", true, [](OutputRun& r) { r.files.failFromWrite = 0; }, waveWrite,
         GenerationResult::HeaderFailed},
        {"temporary refused", true, [](OutputRun& r) { r.files.refusedPath = r.TempName(); },
         "Can't create temporary file in system TEMP directory", GenerationResult::NotStarted},
        {"temporary write", true, [](OutputRun& r) { r.files.failFromWrite = 1; },
         "Error writing to temporary file in system TEMP directory. Probably disk full",
         GenerationResult::WriteFailed},
        {"sample write, single pass", false, [](OutputRun& r) { r.files.failFromWrite = 1; },
         waveWrite, GenerationResult::WriteFailed},
        {"sample write, second pass", true, [](OutputRun& r) { r.files.failFromWrite = 3; },
         waveWrite, GenerationResult::WriteFailed},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        OutputRun run;
        run.settings.maximize = row.maximize;
        run.files.files["/music/other.wav"].bytes = {1, 2, 3};
        row.inject(run);
        bool filesStillThereDuringMessage = true;
        const bool created = row.code != GenerationResult::NotStarted ||
                             std::string(row.name) == "temporary refused";
        run.host.onError = [&] {
            filesStillThereDuringMessage = !created || run.files.Exists(run.PartialName());
        };
        EXPECT_EQ(run.Generate(), row.code);
        ASSERT_EQ(run.host.errors.size(), 1u);
        EXPECT_EQ(run.host.errors[0], row.message);
        EXPECT_TRUE(filesStillThereDuringMessage) << "the message comes before the clean-up";
        EXPECT_FALSE(run.files.Exists(kOutput));
        EXPECT_FALSE(run.files.Exists(run.PartialName()));
        EXPECT_FALSE(run.files.Exists(run.TempName()));
        EXPECT_EQ(run.files.Bytes("/music/other.wav").size(), 3u) << "other files untouched";
        EXPECT_EQ(run.progress.finishedCalls, 1) << "every failure sends the end report";
        if (row.code == GenerationResult::NotStarted) {
            EXPECT_TRUE(run.progress.fractions.empty())
                << "a run that cannot start synthesises nothing";
        }
        EXPECT_FALSE(run.job.outputValid);
    }
}

TEST(WaveOutputFailures, AnEarlierTakeSurvivesAFailedOrAbortedRunAndIsReplacedByAGoodOne) {
    const std::vector<std::uint8_t> earlier = {'o', 'l', 'd'};
    OutputRun failing;
    failing.files.files[kOutput].bytes = earlier;
    failing.files.failFromWrite = 2;
    EXPECT_EQ(failing.Generate(), GenerationResult::WriteFailed);
    EXPECT_EQ(failing.files.Bytes(kOutput), earlier);

    OutputRun aborted;
    aborted.files.files[kOutput].bytes = earlier;
    aborted.job.abortRequested = true;
    EXPECT_EQ(aborted.Generate(), GenerationResult::Aborted);
    EXPECT_EQ(aborted.files.Bytes(kOutput), earlier);
    EXPECT_FALSE(aborted.files.Exists(aborted.PartialName()));

    OutputRun good;
    good.files.files[kOutput].bytes = earlier;
    EXPECT_EQ(good.Generate(), GenerationResult::Finished);
    EXPECT_EQ(good.files.Bytes(kOutput).size(), 44u + 2 * 4410);
    EXPECT_EQ(good.files.files.size(), 1u) << "nothing beside the finished file";
}

// An interrupt heard while the second pass rescales, or between the last write and putting the
// file in place, keeps the earlier take; one that comes later finds the new take complete.
TEST(WaveOutputFailures, AnInterruptDuringTheEndKeepsTheEarlierTake) {
    const std::vector<std::uint8_t> earlier = {'o', 'l', 'd'};
    for (const bool maximize : {true, false}) {
        SCOPED_TRACE(maximize ? "second pass" : "before the file is put in place");
        OutputRun run;
        run.settings.maximize = maximize;
        run.files.files[kOutput].bytes = earlier;
        // After the last block's abort check: the second pass reads the temporary file; without
        // Maximize the last write (the header was the first) flushes the samples.
        const auto interrupt = [&] { run.job.abortRequested = true; };
        run.files.onRead = interrupt;
        run.files.onWrite = [&](int index) {
            if (!maximize && index == 1) {
                interrupt();
            }
        };
        EXPECT_EQ(run.Generate(), GenerationResult::Aborted);
        EXPECT_EQ(run.files.Bytes(kOutput), earlier);
        EXPECT_EQ(run.files.files.size(), 1u) << "no partial or temporary file left";
        EXPECT_TRUE(run.host.errors.empty());
        EXPECT_FALSE(run.job.outputValid);
    }
}

TEST(WaveOutputFailures, PreviewWithoutMemoryLeavesNoImageAndTriesAgainNextTime) {
    OutputRun run;
    run.settings.duration = 3.0f;
    testing::refuseAllocationsAbove = 100000;
    EXPECT_EQ(run.engine.GenerateSound(true), GenerationResult::NotStarted);
    testing::refuseAllocationsAbove = SIZE_MAX;
    ASSERT_EQ(run.host.errors.size(), 1u);
    EXPECT_EQ(run.host.errors[0], "Not enough memory to generate preview");
    EXPECT_TRUE(run.job.previewSound.empty());
    EXPECT_FALSE(run.job.previewValid);
    EXPECT_EQ(run.player.imagesPlayed, 0);
    EXPECT_EQ(run.progress.finishedCalls, 0) << "a preview has no progress dialog";

    EXPECT_EQ(run.engine.GenerateSound(true), GenerationResult::Finished);
    EXPECT_EQ(run.job.previewSound.size(), 44u + 2 * 132300);
}

}  // namespace
}  // namespace sordanel

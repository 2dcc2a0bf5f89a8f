// The trial run on its own measures what the synthesis driver's own trial run measures.

#include "engine/trial_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/settings_tables.h"
#include "engine/sound_engine.h"
#include "tests/engine_fakes.h"

namespace sordanel {
namespace {

TEST(TrialRun, MeasuresTheCorrectionAndTheClockOfAPrecalculatedGenerate) {
    for (const char* note : {"C2", "A4", "C6"}) {
        for (Quality quality : {Quality::Low, Quality::High}) {
            GenerationSettings settings;
            settings.noteIndex = FindNoteIndex(note);
            settings.quality = quality;
            settings.duration = 0.1f;
            settings.outputPath = "/note.wav";
            settings.tempDir = "/tmp/";
            JobState job;
            testing::RecordingHost host;
            testing::MemoryFileLayer files;
            testing::RecordingPlayer player;
            SoundEngine engine(settings, job, host, files, player);
            ASSERT_EQ(engine.GenerateSound(false), GenerationResult::Finished);

            const BowInputs bow = BowInputsOf(settings);
            const RunSetup run = ComputeRunSetup(settings, false);
            SineTable sine;
            FillSineTable(sine);
            TrialRun trial;
            trial.Setup(run, bow);
            while (trial.RunBlock(sine)) {
            }
            EXPECT_GT(trial.samplesDone(), run.precalcBlocks * kBlockSamples);
            EXPECT_LE(trial.samplesDone(), (run.precalcBlocks + run.checkBlocks) * kBlockSamples);
            EXPECT_EQ(trial.correction(), engine.autocorrection().freqCorrection())
                << note << " at quality " << static_cast<int>(quality);
            EXPECT_EQ(static_cast<float>(run.stepRate * trial.clockRatio()),
                      engine.runSetup().stepRate)
                << note << " at quality " << static_cast<int>(quality);
        }
    }
}

// The note replays the steps its check recorded instead of stepping the string again; it must
// sound exactly as when it steps them: from the string kept at the end of the recording, with
// the bow where the note has it there.
TEST(TrialRun, TheNoteReplaysItsCheckAsItWouldPlayIt) {
    struct Case {
        const char* note;
        Quality quality;
        float duration, t1Ratio, t2Ratio;
    };
    const Case cases[] = {
        {"C5", Quality::Low, 0.8f, 0.14f, 0.29f},   // the default note
        {"C1", Quality::Low, 0.8f, 0.14f, 0.29f},   // a check longer than the note
        {"C2", Quality::High, 1.0f, 0.65f, 0.65f},  // attack and release overlap
        {"A4", Quality::High, 0.5f, 0.05f, 0.05f},  // a short attack, a long sustain
    };
    for (const Case& c : cases) {
        GenerationSettings settings;
        settings.noteIndex = FindNoteIndex(c.note);
        settings.quality = c.quality;
        settings.duration = c.duration;
        settings.t1Ratio = c.t1Ratio;
        settings.t2Ratio = c.t2Ratio;
        settings.outputPath = "/note.wav";
        settings.tempDir = "/tmp/";
        // No replay; the whole recording; a recording that ends inside the attack.
        std::vector<std::uint8_t> stepped;
        for (std::uint32_t replaySteps : {0u, CheckRecording::kDefaultSteps, 3000u}) {
            JobState job;
            testing::RecordingHost host;
            testing::MemoryFileLayer files;
            testing::RecordingPlayer player;
            SoundEngine engine(settings, job, host, files, player, replaySteps);
            ASSERT_EQ(engine.GenerateSound(false), GenerationResult::Finished);
            const auto& bytes = files.Bytes("/note.wav");
            if (replaySteps == 0) {
                EXPECT_EQ(engine.replayedSteps(), 0u);
                stepped = bytes;
                continue;
            }
            EXPECT_GT(engine.replayedSteps(), 0u) << c.note;
            EXPECT_LE(engine.replayedSteps(), replaySteps) << c.note;
            EXPECT_TRUE(bytes == stepped) << c.note << " replaying " << engine.replayedSteps();
        }
    }
}

}  // namespace
}  // namespace sordanel

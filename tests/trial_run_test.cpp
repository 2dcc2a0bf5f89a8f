// The trial run on its own measures what the synthesis driver's own trial run measures.

#include "engine/trial_run.h"

#include <gtest/gtest.h>

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

            const BowInputs bow{settings.bowPressingForce, settings.bowSpeed,
                                settings.stringDamping,    settings.frictionRatio,
                                settings.t1Ratio,          settings.t2Ratio};
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

}  // namespace
}  // namespace sordanel

#include "cli/run_constants.h"

#include <charconv>

#include "engine/level_stage.h"
#include "engine/run_setup.h"
#include "engine/sound_box.h"
#include "engine/temp_file_name.h"

namespace sordanel {

namespace {

// The shortest decimal that reads back as the same float, so 523.251f prints as 523.251 rather
// than as the float's exact binary value.
double Shortest(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    std::from_chars(text, written.ptr, shortest);
    return shortest;
}

}  // namespace

nlohmann::json RunConstants(const GenerationSettings& settings, bool preview) {
    const RunSetup run = ComputeRunSetup(settings, preview);
    LevelStage level;
    level.Setup(settings.maximize, settings.volumeDb, run.noteFrequency, run.samplesPerStep,
                run.duration, run.totalSamples);
    SoundBox box;
    box.BuildResonatorBank(ActiveResonances(settings), run.stepRate, run.stepFraction,
                           run.noteFrequency, settings.stringToBoxRatio, run.profile.pointCount);
    const bool usesTemporaryFile = !preview && settings.maximize;

    return {
        {"noteFrequency", Shortest(run.noteFrequency)},
        {"pointCount", run.profile.pointCount},
        {"stepFraction", Shortest(run.stepFraction)},
        {"stepRate", Shortest(run.stepRate)},
        {"bowPoint", run.bowPoint},
        {"samplesPerStep", Shortest(run.samplesPerStep)},
        {"kernelStep", Shortest(run.kernelStep)},
        {"kernelTaps", run.kernelTaps},
        {"duration", Shortest(run.duration)},
        {"totalSamples", run.totalSamples},
        {"precalcBlocks", run.precalcBlocks},
        {"settleSteps", run.settleSteps},
        {"checkBlocks", run.checkBlocks},
        {"checkSteps", run.checkSteps},
        {"fadeStart", level.fadeStart()},
        {"outputGain", Shortest(level.outputGain())},
        {"highPassCoefficient", Shortest(level.highPassCoefficient())},
        {"resonatorCount", box.resonatorCount()},
        {"tempFile", usesTemporaryFile
                         ? nlohmann::json(TemporaryFileName(settings.tempDir, settings.outputPath))
                         : nlohmann::json(nullptr)},
    };
}

}  // namespace sordanel

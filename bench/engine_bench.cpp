// Rendering speed of whole notes. Counters: cpuPerSoundSecond (CPU seconds per second of
// sound; the default Low note should stay at or below 0.02) and nsPerPointStep (CPU time per
// moving string point and step; at most 2.4 for High quality). Interpolation: nsPerTap, the
// CPU time of one history value weighed by the kernel.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>

#include "cli/silent_player.h"
#include "engine/engine_host.h"
#include "engine/settings_tables.h"
#include "engine/sound_engine.h"
#include "engine/step_history.h"
#include "platform/files/posix_file_layer.h"
#include "platform/files/system_temp_dir.h"

namespace sordanel {
namespace {

// A benchmark's runs end well or not at all: nothing to show.
class QuietHost : public EngineHost {
public:
    void ShowError(std::string_view) override {}
    void ShowPreviewStatus(std::string_view) override {}
};

void RenderNote(benchmark::State& state, const char* note, int quality, float duration,
                bool preview) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.quality = static_cast<Quality>(quality);
    settings.duration = duration;
    // The real file layer in the temporary folder: the file's few writes weigh nothing beside
    // the synthesis.
    settings.tempDir = SystemTempDir();
    settings.outputPath = settings.tempDir + "sordanel-bench.wav";
    QuietHost host;
    PosixFileLayer files;
    SilentPlayer player;
    JobState job;
    SoundEngine engine(settings, job, host, files, player);

    double cpuSeconds = 0;
    for (auto _ : state) {
        job.previewValid = false;
        const std::clock_t start = std::clock();
        benchmark::DoNotOptimize(engine.GenerateSound(preview));
        cpuSeconds += double(std::clock() - start) / CLOCKS_PER_SEC;
    }
    const RunSetup& run = engine.runSetup();
    const double runs = static_cast<double>(state.iterations());
    const double soundSeconds = run.totalSamples / 44100.0;
    // The lock's steps only: the check ends when the string has settled, so its length is the
    // note's own, and a point-step here stays comparable with builds that had no check.
    const double trialSeconds = run.precalcBlocks * 800 / 44100.0;
    const double pointSteps =
        (soundSeconds + trialSeconds) * run.stepRate * (run.profile.pointCount - 2);
    state.counters["cpuPerSoundSecond"] = cpuSeconds / runs / soundSeconds;
    state.counters["nsPerPointStep"] = cpuSeconds / runs / pointSteps * 1e9;
    std::remove(settings.outputPath.c_str());
}

BENCHMARK_CAPTURE(RenderNote, DefaultLow, "C5", 0, 0.8f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighC5, "C5", 1, 0.8f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighE7, "E7", 1, 2.0f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, PreviewE7, "E7", 0, 3.0f, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighC1, "C1", 1, 2.0f, false)->Unit(benchmark::kMillisecond);

// The resampling of a note's string steps to output samples, alone: random history values,
// the note's kernel and tap count, and the phases of its successive samples. The kernel is
// read through the rows a run prepares, or directly, as a live voice reads it.
void InterpolateNote(benchmark::State& state, const char* note, int quality, bool prepared) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.quality = static_cast<Quality>(quality);
    const RunSetup run = ComputeRunSetup(settings, false);
    const InterpolationKernel& kernel = GetInterpolationKernel(run.profile.kernel);
    StepHistory history;
    if (prepared) {
        history.PrepareKernel(kernel, run.kernelStep, run.kernelTaps);
    }
    std::mt19937 random(1);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (std::uint32_t step = 0; step < StepHistory::kSize; ++step) {
        history.Store(step, value(random));
    }
    std::uint32_t sample = 0;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        const double t = sample++ / double{run.samplesPerStep};
        const double targetStep = std::floor(t);
        benchmark::DoNotOptimize(history.InterpolateOutput(kernel, run.kernelStep, run.kernelTaps,
                                                           static_cast<std::uint32_t>(targetStep),
                                                           (t - targetStep) * run.kernelStep));
    }
    const double cpuSeconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    state.counters["nsPerTap"] =
        cpuSeconds / static_cast<double>(state.iterations()) / run.kernelTaps * 1e9;
}

BENCHMARK_CAPTURE(InterpolateNote, LowC5, "C5", 0, true);
BENCHMARK_CAPTURE(InterpolateNote, HighE7, "E7", 1, true);
BENCHMARK_CAPTURE(InterpolateNote, LowC5Direct, "C5", 0, false);
BENCHMARK_CAPTURE(InterpolateNote, HighE7Direct, "E7", 1, false);

}  // namespace
}  // namespace sordanel

BENCHMARK_MAIN();

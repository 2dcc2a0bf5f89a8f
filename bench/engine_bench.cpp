// Rendering speed of whole notes. Counters: cpuPerSoundSecond (CPU seconds per second of
// sound; the default Low note should stay at or below 0.02) and nsPerPointStep (CPU time per
// moving string point and step; at most 2.4 for High quality).

#include <benchmark/benchmark.h>

#include <ctime>

#include "engine_fakes.h"
#include "settings_tables.h"
#include "sound_engine.h"

namespace sordanel {
namespace {

void RenderNote(benchmark::State& state, const char* note, int quality, float duration,
                bool preview) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.quality = static_cast<Quality>(quality);
    settings.duration = duration;
    settings.outputPath = "/bench.wav";
    settings.tempDir = "/tmp/";
    testing::RecordingHost host;
    testing::MemoryFileLayer files;
    testing::RecordingPlayer player;
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
    const double trialSeconds = run.precalcBlocks * 800 / 44100.0;
    const double pointSteps =
        (soundSeconds + trialSeconds) * run.stepRate * (run.profile.pointCount - 2);
    state.counters["cpuPerSoundSecond"] = cpuSeconds / runs / soundSeconds;
    state.counters["nsPerPointStep"] = cpuSeconds / runs / pointSteps * 1e9;
}

BENCHMARK_CAPTURE(RenderNote, DefaultLow, "C5", 0, 0.8f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighC5, "C5", 1, 0.8f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighE7, "E7", 1, 2.0f, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, PreviewE7, "E7", 0, 3.0f, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenderNote, HighC1, "C1", 1, 2.0f, false)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sordanel

BENCHMARK_MAIN();

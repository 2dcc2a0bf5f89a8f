// Speed of one voice of the LV2 instrument at 48000 Hz, held in its steady part, block by
// block as a host runs it. Counter cpuPerSoundSecond: CPU seconds per second of sound of one
// voice; below 1 it plays in real time on one core, and 1 / cpuPerSoundSecond voices fit.

#include <benchmark/benchmark.h>

#include <ctime>
#include <vector>

#include "lv2/voice_pool.h"

namespace sordanel::lv2 {
namespace {

constexpr float kRate = 48000;
constexpr std::uint32_t kBlock = 256;

void HeldVoice(benchmark::State& state, int midiNote, Quality quality) {
    GenerationSettings settings;
    settings.quality = quality;
    settings.autocorrection = AutocorrectionMode::RealTime;
    const LiveInputs inputs{.bowPressingForce = settings.bowPressingForce,
                            .bowSpeed = settings.bowSpeed,
                            .stringDamping = settings.stringDamping,
                            .frictionRatio = settings.frictionRatio,
                            .attackSeconds = 0.112f,
                            .releaseSeconds = 0.232f,
                            .vibratoOn = false,
                            .vibratoSpeedHz = 9.0f,
                            .vibratoDepth = 20,
                            .bendRatio = 1.0f};
    VoicePool pool(kRate, nullptr);
    pool.NoteOn(settings, midiNote, 127, 1);
    std::vector<float> out(kBlock);
    // One second of sound per iteration.
    const std::uint32_t blocks = static_cast<std::uint32_t>(kRate) / kBlock;
    double cpuSeconds = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        for (std::uint32_t b = 0; b < blocks; ++b) {
            pool.Render(inputs, out.data(), kBlock);
        }
        benchmark::DoNotOptimize(out.data());
        cpuSeconds += double(std::clock() - start) / CLOCKS_PER_SEC;
    }
    const double soundSeconds = static_cast<double>(state.iterations()) * blocks * kBlock / kRate;
    state.counters["cpuPerSoundSecond"] = cpuSeconds / soundSeconds;
}

BENCHMARK_CAPTURE(HeldVoice, LowC2, 36, Quality::Low)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeldVoice, LowC4, 60, Quality::Low)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeldVoice, LowC6, 84, Quality::Low)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeldVoice, HighC2, 36, Quality::High)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeldVoice, HighC4, 60, Quality::High)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeldVoice, HighC6, 84, Quality::High)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sordanel::lv2

BENCHMARK_MAIN();

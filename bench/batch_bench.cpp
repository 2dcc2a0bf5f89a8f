// A sample library's batch on every core: 25 notes, C2 to C4, at Low quality, rendered by one
// job and by two. On two free cores the two jobs should take about half the time of one. And
// a whole library at High quality, as a sample library is made.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "cli/batch_runner.h"
#include "cli/console_host.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

BatchRequest TwoOctaves(const std::string& directory, int jobs) {
    BatchRequest batch;
    batch.directory = directory;
    batch.jobs = jobs;
    for (int note = FindNoteIndex("C2"); note >= FindNoteIndex("C4"); --note) {
        batch.items.push_back(
            {note, -1, std::string(kNoteNames[static_cast<std::size_t>(note)]) + ".wav"});
    }
    return batch;
}

void BM_TwoOctaveBatch(benchmark::State& state) {
    std::string directory = (std::filesystem::temp_directory_path() / "sordanel-bench-XXXXXX");
    if (::mkdtemp(directory.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const BatchRequest batch = TwoOctaves(directory, static_cast<int>(state.range(0)));
    ConsoleHost console(false);
    std::atomic<bool> abortRequested{false};
    const GenerationSettings defaults;
    for (auto _ : state) {
        const auto results = RunBatch(batch, false, defaults, console, abortRequested);
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["notes"] = static_cast<double>(batch.items.size());
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_TwoOctaveBatch)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A whole sample library: every note from C1 to E7 at High quality, 3 s each, on two jobs.
// Counter: cpuSeconds, the process's CPU time per library, all threads.
void BM_HighLibrary(benchmark::State& state) {
    std::string directory = (std::filesystem::temp_directory_path() / "sordanel-bench-XXXXXX");
    if (::mkdtemp(directory.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    BatchRequest batch;
    batch.directory = directory;
    batch.jobs = 2;
    for (int note = FindNoteIndex("C1"); note >= FindNoteIndex("E7"); --note) {
        batch.items.push_back(
            {note, -1, std::string(kNoteNames[static_cast<std::size_t>(note)]) + ".wav"});
    }
    GenerationSettings settings;
    settings.quality = Quality::High;
    settings.duration = 3.0f;
    ConsoleHost console(false);
    std::atomic<bool> abortRequested{false};
    double cpuSeconds = 0;
    for (auto _ : state) {
        const double before = ProcessCpuSeconds();
        const auto results = RunBatch(batch, false, settings, console, abortRequested);
        cpuSeconds += ProcessCpuSeconds() - before;
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["cpuSeconds"] = cpuSeconds / static_cast<double>(state.iterations());
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_HighLibrary)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace sordanel
BENCHMARK_MAIN();

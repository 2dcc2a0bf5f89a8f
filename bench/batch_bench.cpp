// A sample library's batch on every core: 25 notes, C2 to C4, at Low quality, rendered by one
// job and by two. On two free cores the two jobs should take about half the time of one.
#include <benchmark/benchmark.h>
#include <stdlib.h>

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

}  // namespace
}  // namespace sordanel
BENCHMARK_MAIN();

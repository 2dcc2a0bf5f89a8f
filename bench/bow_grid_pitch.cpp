// How well the pitch lock holds across the bow: renders every combination of the lowest,
// default and highest bow force, bow speed, bow position, string damping and friction ratio
// (3^5 = 243 settings) at one note, quality, duration and autocorrection mode, and prints per
// setting whether the note holds a steady pitch, how far it lies from the target and how far
// its windows' pitches lie apart (cents), then the count of steady settings within 1 cent.
// One line per setting in a fixed order, so that two runs diff; the time goes to stderr.
//
//   bow_grid_pitch [--note C5] [--quality low|high] [--duration 2]
//                  [--autocorrection precalculated|realtime|off] [--threads 2]
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/note_steadiness.h"
#include "engine/settings_tables.h"
#include "tests/bow_grid.h"
#include "tests/memory_render.h"

namespace sordanel {
namespace {

constexpr double kHeldCents = 1;

struct GridRequest {
    GenerationSettings base;
    int threads = 2;
};

struct Outcome {
    Steadiness steadiness;
    std::optional<double> cents;
};

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr,
                 "bow_grid_pitch: %s\nusage: bow_grid_pitch [--note C5] [--quality low|high] "
                 "[--duration SECONDS] [--autocorrection precalculated|realtime|off] "
                 "[--threads N]\n",
                 why);
    std::exit(64);
}

GridRequest ParseRequest(int argc, char** argv) {
    GridRequest request;
    request.base.duration = 2;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            Usage("an option lacks its value");
        }
        const std::string_view value = argv[i + 1];
        if (option == "--note") {
            request.base.noteIndex = FindNoteIndex(argv[i + 1]);
            if (request.base.noteIndex < 0) {
                Usage("no such note");
            }
        } else if (option == "--quality" && (value == "low" || value == "high")) {
            request.base.quality = value == "low" ? Quality::Low : Quality::High;
        } else if (option == "--duration") {
            request.base.duration = std::strtof(argv[i + 1], nullptr);
            if (!(request.base.duration >= 0.07F && request.base.duration <= 20)) {
                Usage("the duration lies from 0.07 to 20 seconds");
            }
        } else if (option == "--autocorrection" && value == "precalculated") {
            request.base.autocorrection = AutocorrectionMode::Precalculated;
        } else if (option == "--autocorrection" && value == "realtime") {
            request.base.autocorrection = AutocorrectionMode::RealTime;
        } else if (option == "--autocorrection" && value == "off") {
            request.base.autocorrection = AutocorrectionMode::Off;
        } else if (option == "--threads") {
            request.threads = std::atoi(argv[i + 1]);
            if (request.threads < 1) {
                Usage("at least one thread");
            }
        } else {
            Usage("unknown option or value");
        }
    }
    return request;
}

Outcome Measure(const GenerationSettings& settings) {
    const testing::RenderedNote note = testing::RenderToMemory(settings);
    Outcome outcome{MeasureNote(note.samples, settings), std::nullopt};
    if (note.result != GenerationResult::Finished) {
        outcome.steadiness = {std::nullopt, false, "the render failed", 0};
    } else if (outcome.steadiness.hz) {
        outcome.cents = 1200 * std::log2(*outcome.steadiness.hz / note.targetHz);
    }
    return outcome;
}

int Run(int argc, char** argv) {
    const GridRequest request = ParseRequest(argc, argv);
    const auto start = std::chrono::steady_clock::now();
    std::vector<Outcome> outcomes(testing::kBowGridSettings);
    std::atomic<int> next{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < request.threads; ++t) {
        workers.emplace_back([&] {
            for (int i = next++; i < testing::kBowGridSettings; i = next++) {
                outcomes[static_cast<std::size_t>(i)] =
                    Measure(testing::BowGridSetting(request.base, i));
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const char* modes[] = {"realtime", "precalculated", "off"};
    std::printf("# note %s, %s quality, %g s, autocorrection %s\n",
                kNoteNames[static_cast<std::size_t>(request.base.noteIndex)],
                request.base.quality == Quality::Low ? "low" : "high", request.base.duration,
                modes[static_cast<int>(request.base.autocorrection)]);
    std::printf("%-8s %-8s %-8s %-10s %-8s %-6s %9s %7s  %s\n", "force", "speed", "position",
                "damping", "friction", "steady", "cents", "wander", "why");
    int steady = 0;
    int held = 0;
    for (int i = 0; i < testing::kBowGridSettings; ++i) {
        const GenerationSettings s = testing::BowGridSetting(request.base, i);
        const Outcome& o = outcomes[static_cast<std::size_t>(i)];
        char cents[16] = "-";
        if (o.cents) {
            std::snprintf(cents, sizeof cents, "%+.2f", *o.cents);
        }
        std::printf("%-8.5g %-8.5g %-8.5g %-10.5g %-8.5g %-6s %9s %7.2f  %s\n", s.bowPressingForce,
                    s.bowSpeed, s.bowPosition, s.stringDamping, s.frictionRatio,
                    o.steadiness.steady ? "yes" : "no", cents, o.steadiness.wanderCents,
                    o.steadiness.why.c_str());
        if (o.steadiness.steady) {
            ++steady;
            held += std::abs(*o.cents) <= kHeldCents ? 1 : 0;
        }
    }
    std::printf("steady settings within 1 cent: %d of %d steady (%d settings)\n", held, steady,
                testing::kBowGridSettings);
    std::fprintf(stderr, "bow_grid_pitch: %d settings in %.1f s on %d threads\n",
                 testing::kBowGridSettings, seconds, request.threads);
    return 0;
}

}  // namespace
}  // namespace sordanel

int main(int argc, char** argv) {
    return sordanel::Run(argc, argv);
}

#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <span>

#include "engine/check_recording.h"
#include "engine/generation_result.h"
#include "engine/sound_engine.h"
#include "engine/string_lanes.h"

namespace sordanel {

// Up to four Generates at once, for a batch: each note runs in its own engine, with its own
// trial run, body, clock and file, while the strings of those that share a point count and a
// bow point step side by side, through the trial runs and the notes. Every note comes out as its
// engine alone would make it, byte for byte. It allocates nothing.
class NoteLanes {
public:
    static constexpr std::size_t kMaxNotes = StringLanes::kLanes;

    // Runs each engine's Generate to its end: results[i] is engines[i]'s result, unless the
    // engine threw, whose exception is then failures[i].
    void Run(std::span<SoundEngine* const> engines, std::span<GenerationResult> results,
             std::span<std::exception_ptr> failures);

private:
    // The steps of one pass, at most: the lanes' values are handed to the engines after each.
    static constexpr std::uint32_t kPassSteps = 64;

    StringLanes lanes_;
    std::array<std::array<StepValues, kPassSteps>, kMaxNotes> steps_{};
    std::array<std::array<float, kPassSteps>, kMaxNotes> middles_{};  // the middle points
};

}  // namespace sordanel

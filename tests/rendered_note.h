#pragma once

// A note generated through the engine with in-memory stand-ins, read back as samples: what the
// tests of the sound measure.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/generation_settings.h"
#include "engine/job_state.h"
#include "engine/sound_engine.h"
#include "engine/wave_header.h"
#include "tests/engine_fakes.h"

namespace sordanel::testing {

struct RenderedNote {
    std::vector<double> samples;  // on the 16-bit scale
    float targetHz;
};

// Generates the note of `settings` (their output path and temporary folder are set here); the
// run must finish.
inline RenderedNote RenderInMemory(GenerationSettings settings) {
    settings.outputPath = "/note.wav";
    settings.tempDir = "/tmp/";
    RecordingHost host;
    MemoryFileLayer files;
    RecordingPlayer player;
    JobState job;
    SoundEngine engine(settings, job, host, files, player);
    EXPECT_EQ(engine.GenerateSound(false), GenerationResult::Finished);
    const auto& wave = files.Bytes("/note.wav");
    RenderedNote note{std::vector<double>((wave.size() - kWaveHeaderBytes) / 2),
                      engine.runSetup().noteFrequency};
    for (std::size_t n = 0; n < note.samples.size(); ++n) {
        std::int16_t s;
        std::memcpy(&s, wave.data() + kWaveHeaderBytes + 2 * n, 2);
        note.samples[n] = s;
    }
    return note;
}

}  // namespace sordanel::testing

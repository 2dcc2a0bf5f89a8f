#pragma once

// A note generated through the engine with in-memory stand-ins, read back as samples: what the
// tests of the sound and the measuring programs of bench/ listen to.

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
    std::vector<double> samples;  // on the 16-bit scale; empty when the run did not finish
    float targetHz;
    GenerationResult result;
};

// Generates the note of `settings` (their output path and temporary folder are set here).
inline RenderedNote RenderToMemory(GenerationSettings settings) {
    settings.outputPath = "/note.wav";
    settings.tempDir = "/tmp/";
    RecordingHost host;
    MemoryFileLayer files;
    RecordingPlayer player;
    JobState job;
    SoundEngine engine(settings, job, host, files, player);
    const GenerationResult result = engine.GenerateSound(false);
    RenderedNote note{{}, engine.runSetup().noteFrequency, result};
    if (result != GenerationResult::Finished) {
        return note;
    }
    const auto& wave = files.Bytes("/note.wav");
    note.samples.resize((wave.size() - kWaveHeaderBytes) / 2);
    for (std::size_t n = 0; n < note.samples.size(); ++n) {
        std::int16_t s;
        std::memcpy(&s, wave.data() + kWaveHeaderBytes + 2 * n, 2);
        note.samples[n] = s;
    }
    return note;
}

}  // namespace sordanel::testing

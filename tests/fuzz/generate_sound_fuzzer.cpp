// A short note over any settings the window admits: both qualities, every pitch-lock mode,
// vibrato and detune at their extremes, every box ratio and resonance combination, with and
// without Maximize, as a Generate and as a preview. No sample is NaN or infinite, no
// maximised sample is -32768, and the file holds exactly its header and samples.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/settings_rules.h"
#include "engine/settings_tables.h"
#include "engine/sound_engine.h"
#include "engine/wave_header.h"
#include "tests/engine_fakes.h"

namespace {

using namespace sordanel;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ChooseSettings(FuzzedDataProvider& in, GenerationSettings& s) {
    s.noteIndex = in.ConsumeIntegralInRange(0, kNoteCount - 1);
    s.justIntonation = static_cast<Temperament>(in.ConsumeIntegralInRange(0, 1));
    s.keyIndex = in.ConsumeIntegralInRange(0, 11);
    s.detune = in.ConsumeIntegralInRange(-105, 105);
    s.bowPressingForce = BowPressingForceAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.bowSpeed = BowSpeedAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.bowPosition = BowPositionAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.stringDamping = StringDampingAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.frictionRatio = FrictionRatioAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.t1Ratio = EnvelopeRatioAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.t2Ratio = EnvelopeRatioAt(in.ConsumeIntegralInRange(0, 20), 20);
    s.vibratoOn = in.ConsumeBool();
    s.vibratoSpeedIndex = in.ConsumeIntegralInRange(0, 28);
    s.vibratoDepth = 10 + 5 * in.ConsumeIntegralInRange(0, 28);
    s.stringToBoxRatio = StringToBoxRatioAt(in.ConsumeIntegralInRange(0, 13), 13);
    s.pseudorandomResonances = in.ConsumeBool();
    for (bool& on : s.resonanceOn)
        on = in.ConsumeBool();
    for (std::size_t i = 0; i < 4; ++i) {
        s.resonanceFreq[i] = 40 + 5 * in.ConsumeIntegralInRange(0, 292);
        s.resonanceWidthIndex[i] =
            WidthIndexAfterTypedFreq(s.resonanceFreq[i], in.ConsumeIntegralInRange(0, 15));
        s.resonanceAmp[i] = in.ConsumeIntegralInRange(1, 20);
    }
    s.pseudorandomAmp = in.ConsumeIntegralInRange(1, PseudorandomAmpMax());
    s.quality = static_cast<Quality>(in.ConsumeIntegralInRange(0, 1));
    s.volumeDb = in.ConsumeIntegralInRange(-20, 30);
    s.duration = in.ConsumeFloatingPointInRange(0.07f, 0.15f);
    s.maximize = in.ConsumeBool();
    s.autocorrection = static_cast<AutocorrectionMode>(in.ConsumeIntegralInRange(0, 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    GenerationSettings settings;
    ChooseSettings(in, settings);
    const bool preview = in.ConsumeBool();
    settings.outputPath = "/fuzz/note.wav";
    settings.tempDir = "/tmp/";

    testing::RecordingHost host;
    testing::MemoryFileLayer files;
    testing::RecordingPlayer player;
    JobState job;
    SoundEngine engine(settings, job, host, files, player);
    Check(engine.GenerateSound(preview) == GenerationResult::Finished);
    Check(host.errors.empty());

    const std::uint32_t total = engine.runSetup().totalSamples;
    const std::vector<std::uint8_t>& wave =
        preview ? job.previewSound : files.Bytes(settings.outputPath);
    Check(wave.size() == kWaveHeaderBytes + 2 * std::size_t{total});
    for (std::size_t at = kWaveHeaderBytes; at < wave.size(); at += 2) {
        std::int16_t s;
        std::memcpy(&s, &wave[at], 2);
        Check(!settings.maximize || preview || s != -32768);
    }
    for (const auto& [name, bytes] : files.removed) {
        for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
            float x;
            std::memcpy(&x, &bytes[at], 4);
            Check(std::isfinite(x));
        }
    }
    Check(std::isfinite(engine.levelStage().peakLevel()));
    return 0;
}

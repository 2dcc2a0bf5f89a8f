// The note must be in tune: the pitch measured from the rendered sound, across the whole note
// range at both qualities, against the target frequency.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine_fakes.h"
#include "note_frequency.h"
#include "settings_tables.h"
#include "sound_engine.h"
#include "wave_header.h"

namespace sordanel {
namespace {

using testing::MemoryFileLayer;
using testing::RecordingHost;
using testing::RecordingPlayer;

std::vector<double> Render(const char* note, int quality, int autocorrection, float& targetHz) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.quality = quality;
    settings.autocorrection = autocorrection;
    // Long enough for some 25 periods of the steady part even for the lowest notes.
    settings.duration = std::max(0.6f, 125 / NoteFrequency({settings.noteIndex, 40, 0, 0, 0}));
    settings.outputPath = "/note.wav";
    settings.tempDir = "/tmp/";
    RecordingHost host;
    MemoryFileLayer files;
    RecordingPlayer player;
    SoundEngine engine(settings, host, files, player);
    EXPECT_EQ(engine.GenerateSound(false), GenerationResult::Finished);
    targetHz = engine.runSetup().noteFrequency;
    const auto& wave = files.Bytes("/note.wav");
    std::vector<double> samples((wave.size() - kWaveHeaderBytes) / 2);
    for (std::size_t n = 0; n < samples.size(); ++n) {
        std::int16_t s;
        std::memcpy(&s, wave.data() + kWaveHeaderBytes + 2 * n, 2);
        samples[n] = s;
    }
    return samples;
}

double Correlation(const std::vector<double>& x, std::size_t from, std::size_t length,
                   std::size_t lag) {
    double sum = 0;
    for (std::size_t n = from; n < from + length; ++n)
        sum += x[n] * x[n + lag];
    return sum;
}

// The fundamental of the steady part (between attack and release), from the autocorrelation
// peak near a lag of many periods, refined by a parabola through its neighbours: measuring
// over many periods keeps the sub-sample error small even for the shortest periods.
double MeasureHz(const std::vector<double>& x, double expectedHz) {
    const std::size_t from = x.size() * 3 / 10, length = x.size() / 5;
    const double period = 44100 / expectedHz;
    const double periods = std::max(1.0, std::floor(length / 2.0 / period));
    const auto low = static_cast<std::size_t>((periods - 0.3) * period);
    const auto high = static_cast<std::size_t>((periods + 0.3) * period) + 1;
    std::size_t best = low;
    for (std::size_t lag = low; lag <= high; ++lag) {
        if (Correlation(x, from, length, lag) > Correlation(x, from, length, best))
            best = lag;
    }
    const double a = Correlation(x, from, length, best - 1);
    const double b = Correlation(x, from, length, best);
    const double c = Correlation(x, from, length, best + 1);
    const double lag = best + 0.5 * (a - c) / (a - 2 * b + c);
    return 44100 * periods / lag;
}

// The pitch lock holds the string's period to the reference oscillator, and the trial run
// measures the correction under the same full bow that the steady part of the note has, so
// what remains is the ripple of the averaged correction and the estimator's sub-sample error
// over some 25 periods: both well under a cent. Two cents leaves room for them and still sits
// below the smallest difference a trained ear hears (about five).
constexpr double kBoundCents = 2.0;

TEST(SoundEnginePitch, PrecalculatedNotesAreInTuneFromC1ToE7AtBothQualities) {
    for (int quality : {0, 1}) {
        for (const char* note : {"C1", "G1", "C2", "C3", "C4", "A4", "C5", "C6", "C7", "E7"}) {
            float targetHz = 0;
            const auto samples = Render(note, quality, 1, targetHz);
            const double cents = 1200 * std::log2(MeasureHz(samples, targetHz) / targetHz);
            std::printf("quality %d %-3s target %8.3f Hz error %+6.2f cents\n", quality, note,
                        targetHz, cents);
            EXPECT_NEAR(cents, 0.0, kBoundCents) << note << " at quality " << quality;
        }
    }
}

TEST(SoundEnginePitch, RealTimeLockAlsoHoldsTheNote) {
    for (const char* note : {"C2", "A4", "C7"}) {
        float targetHz = 0;
        const auto samples = Render(note, 0, 0, targetHz);
        const double cents = 1200 * std::log2(MeasureHz(samples, targetHz) / targetHz);
        EXPECT_NEAR(cents, 0.0, kBoundCents) << note;
    }
}

}  // namespace
}  // namespace sordanel

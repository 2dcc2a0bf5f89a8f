#include "engine/level_stage.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/note_frequency.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

float Hz(const char* note) {
    return NoteFrequency({FindNoteIndex(note), 40, Temperament::Equal, 0, 0});
}

LevelStage Stage(float noteHz, bool maximize = true, int volumeDb = 2, float samplesPerStep = 1.5f,
                 float duration = 0.8f) {
    LevelStage stage;
    stage.Setup(maximize, volumeDb, noteHz, samplesPerStep, duration,
                static_cast<std::uint32_t>(44100 * double{duration}));
    return stage;
}

TEST(LevelStage, HighPassCornerFollowsTheNoteUpToHalf) {
    EXPECT_NEAR(Stage(Hz("C4")).highPassCoefficient(), 0.355953f, 1e-6);
    EXPECT_NEAR(Stage(Hz("C1")).highPassCoefficient(), 0.0444941f, 1e-7);
    EXPECT_EQ(Stage(Hz("F#4")).highPassCoefficient(), 0.5f);
    EXPECT_EQ(Stage(Hz("E7")).highPassCoefficient(), 0.5f);
}

TEST(LevelStage, GainHoldsVolumeMaximizeLevelAndResamplingFactor) {
    const float c4 = Hz("C4");
    const double unity = Stage(c4, false, 0).outputGain();
    EXPECT_NEAR(unity, std::sqrt(60.0) * 4.545485 * 1.4 * 32767, 1.0);
    EXPECT_NEAR(Stage(c4, false, 2).outputGain() / unity, 5.72243 / 4.545485, 1e-5);
    EXPECT_NEAR(Stage(c4, false, -20).outputGain() / unity, 0.1, 1e-6);
    EXPECT_NEAR(Stage(c4, false, 30).outputGain() / unity, 143.741 / 4.545485, 1e-4);
    EXPECT_NEAR(Stage(c4, true, 30).outputGain() / unity, 0.194006503 / 4.545485, 1e-7)
        << "Maximize ignores the volume";
    EXPECT_NEAR(Stage(c4, false, 0, 0.25f).outputGain() / unity, 0.25, 1e-6);
    EXPECT_NEAR(Stage(Hz("C6"), false, 0).outputGain(),
                std::sqrt(22050 / double{Hz("C6")}) * 4.545485 * 1.4 * 32767, 1.0);
}

TEST(LevelStage, LastTwentyMillisecondsFadeToSilence) {
    LevelStage stage = Stage(Hz("C4"), false, 0);
    EXPECT_EQ(stage.fadeStart(), 34398);
    // A constant input on fresh stages shows the fade factor alone in their first sample.
    const float unit = 1.0f / stage.outputGain();
    const auto firstSampleAt = [unit](std::uint32_t n) {
        return Stage(Hz("C4"), false, 0).MakeOutputSample(unit, n).x;
    };
    const float plain = firstSampleAt(34398);
    EXPECT_NEAR(firstSampleAt(34399) / plain, 880.0 / 881, 1e-6);
    EXPECT_NEAR(firstSampleAt(35278) / plain, 1.0 / 881, 1e-6);
    EXPECT_EQ(firstSampleAt(35279), 0.0f);
}

TEST(LevelStage, TheFadeSilencesWhatTheHighPassStillHolds) {
    // C1's high-pass remembers some 22 samples. A steady low tone faded out must end at
    // silence, not on the high-pass's memory of it.
    LevelStage stage = Stage(Hz("C1"), false, 0, 4.41f, 2.0f);
    const float amplitude = 30000.0f / stage.outputGain();
    OutputSample last{};
    for (std::uint32_t n = 0; n < 88200; ++n) {
        const double phase = 2 * 3.141592653589793 * Hz("C1") * n / 44100;
        last = stage.MakeOutputSample(static_cast<float>(amplitude * std::sin(phase)), n);
    }
    EXPECT_EQ(last.s, 0);
}

TEST(LevelStage, QuantisationFloorsAndClamps) {
    EXPECT_EQ(LevelStage::Quantize(-0.5f), -1);
    EXPECT_EQ(LevelStage::Quantize(0.999f), 0);
    EXPECT_EQ(LevelStage::Quantize(32767.2f), 32767);
    EXPECT_EQ(LevelStage::Quantize(-32768.7f), -32768);
    EXPECT_EQ(LevelStage::Quantize(1e9f), 32767);
    EXPECT_EQ(LevelStage::Quantize(-1e9f), -32768);
}

TEST(LevelStage, PeakIsKeptOnlyWithMaximizeAndSilenceStaysSilent) {
    LevelStage silent = Stage(Hz("A4"));
    for (std::uint32_t n = 0; n < 1000; ++n) {
        EXPECT_EQ(silent.MakeOutputSample(0.0f, n).s, 0);
    }
    EXPECT_EQ(silent.peakLevel(), 1e-7f);
    EXPECT_EQ(RescaleToPeak(0.0f, silent.peakLevel()), 0);
    EXPECT_EQ(RescalePreviewSample(0, silent.peakLevel()), 0);

    LevelStage plain = Stage(Hz("A4"), false);
    plain.MakeOutputSample(1.0f, 0);
    EXPECT_EQ(plain.peakLevel(), 1e-7f);
}

TEST(MaximizeRescale, PeakBecomesFullScaleOnBothSidesAndNeverMinus32768) {
    EXPECT_EQ(RescaleToPeak(1234.5f, 1234.5f), 32767);
    EXPECT_EQ(RescaleToPeak(-1234.5f, 1234.5f), -32767);
    EXPECT_EQ(RescaleToPeak(617.25f, 1234.5f), 16383);
    // A preview works on quantised samples and the peak rounded up.
    EXPECT_EQ(RescalePreviewSample(-6, 5.5f), -32767);
    EXPECT_EQ(RescalePreviewSample(5, 5.5f), 27305) << "floor(5 x 32767 / 6)";
    EXPECT_EQ(RescalePreviewSample(5, 5.0f), 32767);
}

}  // namespace
}  // namespace sordanel

#include "engine/run_setup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/autocorrection.h"
#include "engine/bow_envelope.h"
#include "engine/generation_settings.h"
#include "engine/note_frequency.h"
#include "engine/settings_tables.h"
#include "engine/vibrato.h"

namespace sordanel {
namespace {

float Hz(const char* note, int justIntonation = 0, int key = 0, int detune = 0) {
    return NoteFrequency(
        {FindNoteIndex(note), 40, static_cast<Temperament>(justIntonation), key, detune});
}

TEST(NoteFrequency, EqualTemperamentJustIntonationAndDetune) {
    EXPECT_NEAR(Hz("A4"), 439.9999, 5e-4);
    EXPECT_NEAR(Hz("C5"), 523.2510, 5e-4);
    EXPECT_NEAR(Hz("E7"), 2637.02, 5e-3);
    EXPECT_NEAR(Hz("C1"), 32.7032, 5e-5);
    EXPECT_NEAR(Hz("A4", 1, 0), 436.0425, 5e-4) << "A is the major sixth, 5/3, above C";
    EXPECT_NEAR(Hz("A4", 1, 9), 439.9999, 5e-4) << "the tonic itself keeps its tempered pitch";
    EXPECT_NEAR(Hz("C4", 1, 9), 263.9999, 5e-4) << "a minor third, 6/5, above the A below";
    EXPECT_NEAR(Hz("F#4", 1, 0) / Hz("C4", 1, 0), 7.0 / 5, 1e-6) << "the tritone is 7/5";
    EXPECT_NEAR(Hz("A4", 0, 0, 105) / Hz("A4"), 1.06253, 1e-5);
    EXPECT_NEAR(Hz("A4", 0, 0, -105) / Hz("A4"), 0.94115, 1e-5);
}

struct Expected {
    int quality;
    bool preview;
    float stepFraction, stepRate, samplesPerStep, kernelStep;
    int bowPoint;
    unsigned kernelTaps, settleSteps;
};

TEST(RunSetup, DefaultNoteDerivesThePublishedConstantsAtEveryQuality) {
    const Expected cases[] = {
        {0, false, 0.0024324325f, 215114.3f, 0.205007f, 92.6633f, 6, 63, 34944},
        {1, false, 0.0012328768f, 424414.7f, 0.103908f, 228.5972f, 12, 259, 68944},
        {0, true, 0.12f / 19, 82848.1f, 0.532299f, 56.4237f, 3, 15, 13458},
    };
    for (const Expected& e : cases) {
        GenerationSettings settings;
        settings.quality = static_cast<Quality>(e.quality);
        const RunSetup run = ComputeRunSetup(settings, e.preview);
        SCOPED_TRACE(testing::Message() << "quality " << e.quality << " preview " << e.preview);
        EXPECT_NEAR(run.noteFrequency, 523.2510f, 5e-4);
        EXPECT_FLOAT_EQ(run.stepFraction, e.stepFraction);
        EXPECT_NEAR(run.stepRate, e.stepRate, 0.1);
        EXPECT_NEAR(run.samplesPerStep, e.samplesPerStep, 1e-6);
        EXPECT_NEAR(run.kernelStep, e.kernelStep, 1e-3);
        EXPECT_EQ(run.bowPoint, e.bowPoint);
        EXPECT_EQ(run.kernelTaps, e.kernelTaps);
        EXPECT_EQ(run.settleSteps, e.settleSteps);
        EXPECT_EQ(run.totalSamples, 35280u);
    }
    GenerationSettings settings;
    EXPECT_EQ(ComputeRunSetup(settings, false).precalcBlocks, 13u);
    settings.autocorrection = AutocorrectionMode::RealTime;
    EXPECT_EQ(ComputeRunSetup(settings, false).precalcBlocks, 0u) << "no trial run in real time";
}

TEST(RunSetup, AHostsRateChangesOnlyTheOutputSideOfTheRun) {
    GenerationSettings settings;
    settings.quality = Quality::High;
    const RunSetup file = ComputeRunSetup(settings, false);
    for (float rate : {48000.0f, 96000.0f}) {
        const RunSetup live = ComputeRunSetup(settings, false, rate);
        EXPECT_EQ(live.stepFraction, file.stepFraction);
        EXPECT_EQ(live.stepRate, file.stepRate);
        EXPECT_EQ(live.bowPoint, file.bowPoint);
        EXPECT_NEAR(live.samplesPerStep, file.samplesPerStep * rate / 44100, 1e-6);
        // The kernel is stretched over the same span of output time, so fewer steps lie
        // under it as the output rate rises.
        EXPECT_NEAR(live.kernelStep, file.kernelStep * rate / 44100, 1e-3);
        EXPECT_NEAR(live.kernelTaps, file.kernelTaps * 44100 / rate, 1.0);
        EXPECT_EQ(live.totalSamples, static_cast<std::uint32_t>(rate * settings.duration));
    }
}

TEST(RunSetup, KernelTapsGrowWithTheStepRate) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex("C4");
    EXPECT_EQ(ComputeRunSetup(settings, false).kernelTaps, 31u);
    settings.quality = Quality::High;
    EXPECT_EQ(ComputeRunSetup(settings, false).kernelTaps, 129u);
    settings.noteIndex = FindNoteIndex("E7");
    EXPECT_EQ(ComputeRunSetup(settings, false).kernelTaps, 1309u);
}

TEST(RunSetup, LowNotesRunAtTheStepRateFloor) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex("B1");  // 61.7 Hz: below 10000 steps/s in a preview
    const RunSetup preview = ComputeRunSetup(settings, true);
    EXPECT_EQ(preview.stepRate, 10000.0f);
    EXPECT_FLOAT_EQ(preview.stepFraction, preview.noteFrequency / 10000.0f);
    EXPECT_GT(ComputeRunSetup(settings, false).stepRate, 10000.0f) << "Low runs finer anyway";
}

TEST(RunSetup, DurationGivesTheSampleCountAndAPreviewStopsAtThreeSeconds) {
    GenerationSettings settings;
    settings.duration = 0.07f;
    EXPECT_EQ(ComputeRunSetup(settings, false).totalSamples, 3087u);
    settings.duration = 20.0f;
    EXPECT_EQ(ComputeRunSetup(settings, false).totalSamples, 882000u);
    const RunSetup preview = ComputeRunSetup(settings, true);
    EXPECT_EQ(preview.totalSamples, 132300u);
    EXPECT_EQ(preview.duration, 3.0f);
}

TEST(RunSetup, TrialRunCoversAtLeast115PeriodsInWholeBlocks) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex("A4");
    for (int quality : {0, 1}) {
        settings.quality = static_cast<Quality>(quality);
        EXPECT_EQ(ComputeRunSetup(settings, false).precalcBlocks, 15u) << "quality " << quality;
    }
    EXPECT_EQ(ComputeRunSetup(settings, true).precalcBlocks, 15u);
}

TEST(Autocorrection, LoopConstantsFollowTheStepFraction) {
    Autocorrection loop;
    loop.Setup(0.0024324325f, Autocorrection::Input::Displacement);
    EXPECT_NEAR(loop.pole(), 0.985308f, 1e-6);
    EXPECT_NEAR(loop.inputGain(), -2.94123f, 1e-5);
    EXPECT_EQ(loop.freqCorrection(), 0.0f);
    SineTable sine;
    FillSineTable(sine);
    loop.Update(0.0f, 1.0, sine);
    EXPECT_EQ(loop.freqCorrection(), 0.0f) << "a string at rest gets no correction";
}

// A middle point pushed aside ten times further than it swings, swinging exactly at the
// reference's frequency: the loop sees a constant phase and so asks for a steady correction.
// Measured on the plain displacement, the offset turns the phase round every period and the
// correction sweeps its whole range.
TEST(Autocorrection, ASwingFarOffItsRestPositionGivesASteadyPhase) {
    constexpr float kStepFraction = 0.0024324325f;
    SineTable sine;
    FillSineTable(sine);
    auto correctionSpread = [&](Autocorrection::Input input) {
        Autocorrection loop;
        loop.Setup(kStepFraction, input);
        const double updatesPerPeriod = 1.0 / (4.0 * kStepFraction);
        float low = 1;
        float high = -1;
        for (int k = 0; k < 40 * static_cast<int>(updatesPerPeriod); ++k) {
            const double x = 0.0034 + 0.00034 * std::sin(2 * M_PI * k / updatesPerPeriod + 1.0);
            loop.Update(static_cast<float>(x), 1.0, sine);
            if (k > 20 * updatesPerPeriod) {
                low = std::min(low, loop.freqCorrection());
                high = std::max(high, loop.freqCorrection());
            }
        }
        return high - low;
    };
    // What remains is the filters' ripple at twice the note's frequency, about ±0.01.
    EXPECT_LT(correctionSpread(Autocorrection::Input::SwingAboutRest), 0.03);
    EXPECT_GT(correctionSpread(Autocorrection::Input::Displacement), 0.3);
}

TEST(Vibrato, DefaultDepthSwingsTheTimeStepByAboutOnePointTwoPercent) {
    Vibrato vibrato;
    vibrato.Setup(9.0f, 20, 215114.3f);
    EXPECT_NEAR(vibrato.vibratoScale(), 0.01189262f, 1e-7);
    EXPECT_NEAR(vibrato.vibratoStep(), 9.0 / 215114.3 * 256, 1e-9);
    SineTable sine;
    FillSineTable(sine);
    const auto quarterPeriod = static_cast<std::uint32_t>(64 / vibrato.vibratoStep()) + 1;
    EXPECT_NEAR(vibrato.Term(quarterPeriod, sine), 0.01189262f, 1e-6);
    EXPECT_EQ(vibrato.Term(0, sine), 0.0f);
}

TEST(BowEnvelope, AttackReleaseOverlapAndLift) {
    EXPECT_FLOAT_EQ(BowEnvelope(0.0f, 0.05f, 0.05f), 0.12f);
    EXPECT_FLOAT_EQ(BowEnvelope(0.025f, 0.05f, 0.05f), 0.56f);
    EXPECT_FLOAT_EQ(BowEnvelope(0.05f, 0.05f, 0.05f), 1.0f);
    EXPECT_FLOAT_EQ(BowEnvelope(0.5f, 0.14f, 0.29f), 1.0f);
    // The release is a parabola leaving its start horizontally: a quarter down at half way.
    EXPECT_NEAR(BowEnvelope(0.975f, 0.05f, 0.05f), 0.75f, 1e-6);
    EXPECT_NEAR(BowEnvelope(0.7100001f, 0.14f, 0.29f), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(BowEnvelope(1.0f, 0.14f, 0.29f), 0.0f);
    EXPECT_EQ(BowEnvelope(1.0001f, 0.65f, 0.65f), 0.0f) << "past 1 the bow is lifted";
    // Overlapping attack and release multiply and never reach 1.
    float highest = 0;
    for (int i = 0; i <= 1000; ++i) {
        highest = std::max(highest, BowEnvelope(i / 1000.0f, 0.65f, 0.65f));
    }
    EXPECT_LT(highest, 0.9f);
    EXPECT_NEAR(BowEnvelope(0.5f, 0.65f, 0.65f),
                (1 - (1 - 0.5 / 0.65) * 0.88) * (1 - std::pow(1 - 0.5 / 0.65, 2)), 1e-6);
}

}  // namespace
}  // namespace sordanel

namespace sordanel {
namespace {

TEST(HeldBowEnvelope, RisesHoldsWhileHeldAndFallsFromWhereTheKeyCameUp) {
    const double attack = 0.2, release = 0.4, held = -1;
    EXPECT_FLOAT_EQ(HeldBowEnvelope(0, held, attack, release), 0.12f);
    EXPECT_FLOAT_EQ(HeldBowEnvelope(0.1, held, attack, release), 0.56f);
    EXPECT_FLOAT_EQ(HeldBowEnvelope(0.2, held, attack, release), 1.0f);
    EXPECT_FLOAT_EQ(HeldBowEnvelope(600, held, attack, release), 1.0f) << "held for ten minutes";
    // The release: the run's parabola, a quarter down half way, and the bow lifted after it.
    EXPECT_FLOAT_EQ(HeldBowEnvelope(3.0, 0, attack, release), 1.0f);
    EXPECT_FLOAT_EQ(HeldBowEnvelope(3.2, 0.2, attack, release), 0.75f);
    EXPECT_EQ(HeldBowEnvelope(3.4, 0.4, attack, release), 0.0f);
    EXPECT_EQ(HeldBowEnvelope(30, 27, attack, release), 0.0f);
    // A key let go during the attack: the attack goes on rising under the falling release.
    EXPECT_FLOAT_EQ(HeldBowEnvelope(0.15, 0.05, attack, release),
                    static_cast<float>(AttackShare(0.75) * ReleaseShare(0.125)));
}

}  // namespace
}  // namespace sordanel

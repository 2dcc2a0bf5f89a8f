// The steadiness verdict on synthetic notes whose answer is known: steady tones from C1 to E7
// and tones with vibrato are steady at their pitch; a tone that jumps or glides, noise,
// silence and a body ringing down after the bow has left are not, and say why; and the steady
// part of a note is the stretch between the bow's attack and its release.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "cli/note_steadiness.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;

// A tone of partials 1/k up to 10 kHz whose frequency and level follow the given functions of
// time (seconds).
std::vector<double> Tone(
    double seconds, const std::function<double(double)>& hz,
    const std::function<double(double)>& level = [](double) { return 1.0; }) {
    std::vector<double> x(static_cast<std::size_t>(seconds * kRate));
    double phase = 0;
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double f = hz(t);
        phase += 2 * std::numbers::pi * f / kRate;
        double sum = 0;
        for (int k = 1; k * f < 10000; ++k) {
            sum += std::sin(k * phase) / k;
        }
        x[n] = 8000 * level(t) * sum;
    }
    return x;
}

std::vector<double> SteadyTone(double hz, double seconds) {
    return Tone(seconds, [hz](double) { return hz; });
}

double Cents(double measured, double hz) {
    return 1200 * std::log2(measured / hz);
}

void ExpectSteadyAt(const Steadiness& verdict, double hz, double cents) {
    EXPECT_TRUE(verdict.steady) << verdict.why;
    ASSERT_TRUE(verdict.hz.has_value()) << verdict.why;
    EXPECT_NEAR(Cents(*verdict.hz, hz), 0.0, cents);
}

TEST(NoteSteadiness, SteadyTonesFromC1ToE7AreSteadyAtTheirPitch) {
    for (const double hz : {32.703, 65.406, 261.63, 523.25, 1661.2, 2637.0}) {
        SCOPED_TRACE(hz);
        const Steadiness verdict = JudgeSteadiness(SteadyTone(hz, 1.0), kRate, std::nullopt);
        ExpectSteadyAt(verdict, hz, 0.1);
        EXPECT_LT(verdict.wanderCents, 0.2);
    }
    // The steady part of C1 at the default 0.8 s holds some twelve periods: two windows that
    // overlap still judge it, and still see it glide.
    ExpectSteadyAt(JudgeSteadiness(SteadyTone(32.703, 0.38), kRate, std::nullopt), 32.703, 0.1);
    const auto glide = [](double t) { return 32.703 * std::exp2(50.0 / 1200 * t); };
    EXPECT_FALSE(JudgeSteadiness(Tone(0.38, glide), kRate, std::nullopt).steady);
}

// Each window spans whole vibrato periods, so each reads the same centre; a vibrato that the
// part cannot hold twice over leaves nothing to judge. (Much deeper vibratos than these the
// estimate cannot follow: it then reads no pitch, and the note counts as not steady.)
TEST(NoteSteadiness, VibratoCountsAsSteadyOverWholePeriods) {
    struct Case {
        double hz, vibratoHz, depth;
    };
    for (const Case c :
         {Case{32.703, 5.5, 20}, Case{32.703, 9, 20}, Case{440, 5.5, 20}, Case{440, 9, 40},
          Case{2637, 5.5, 20}, Case{2637, 9, 40}, Case{2637, 20, 20}}) {
        SCOPED_TRACE(std::to_string(c.hz) + " Hz, vibrato " + std::to_string(c.vibratoHz) + " Hz " +
                     std::to_string(c.depth) + " cents");
        const auto vibrato = [c](double t) {
            return c.hz *
                   std::exp2(c.depth / 1200 * std::sin(2 * std::numbers::pi * c.vibratoHz * t));
        };
        ExpectSteadyAt(JudgeSteadiness(Tone(1.0, vibrato), kRate, c.vibratoHz), c.hz, 5);
    }
    const auto slow = [](double t) {
        return 440 * std::exp2(20.0 / 1200 * std::sin(2 * std::numbers::pi * 0.6 * t));
    };
    const Steadiness verdict = JudgeSteadiness(Tone(1.0, slow), kRate, 0.6);
    EXPECT_FALSE(verdict.steady);
    EXPECT_EQ(verdict.why, "too short to judge");
}

TEST(NoteSteadiness, APitchThatJumpsOrGlidesIsNotSteady) {
    for (const double hz : {32.703, 440.0, 2637.0}) {
        SCOPED_TRACE(hz);
        const auto jump = [hz](double t) { return t < 0.5 ? hz : hz * std::exp2(1.0 / 12); };
        const Steadiness jumping = JudgeSteadiness(Tone(1.0, jump), kRate, std::nullopt);
        EXPECT_FALSE(jumping.steady);
        EXPECT_FALSE(jumping.why.empty());

        // Ten cents over the part: each window is nearly steady, the windows are not.
        const auto glide = [hz](double t) { return hz * std::exp2(10.0 / 1200 * t); };
        const Steadiness gliding = JudgeSteadiness(Tone(1.0, glide), kRate, std::nullopt);
        EXPECT_FALSE(gliding.steady);
        EXPECT_NEAR(gliding.wanderCents, 10 * 5.0 / 6, 2);
        EXPECT_EQ(gliding.why.rfind("pitch wanders by ", 0), 0u) << gliding.why;
    }
    // An octave jump of the string's motion, as under a heavy bow.
    const auto octave = [](double t) { return t < 0.7 ? 220.0 : 440.0; };
    EXPECT_FALSE(JudgeSteadiness(Tone(1.0, octave), kRate, std::nullopt).steady);
}

TEST(NoteSteadiness, NoiseSilenceAndARingingBodyHaveNoSteadyPitch) {
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0, 3000);
    std::vector<double> hiss(44100);
    for (double& s : hiss) {
        s = noise(random);
    }
    const Steadiness noisy = JudgeSteadiness(hiss, kRate, std::nullopt);
    EXPECT_FALSE(noisy.steady);
    EXPECT_FALSE(noisy.hz.has_value());
    EXPECT_FALSE(noisy.why.empty());

    const Steadiness silent = JudgeSteadiness(std::vector<double>(44100, 0.0), kRate, std::nullopt);
    EXPECT_FALSE(silent.steady);
    EXPECT_EQ(silent.why, "silent");

    // The body's resonances ringing down once the bow has stopped: inharmonic, and dying.
    std::vector<double> ringing(44100);
    for (std::size_t n = 0; n < ringing.size(); ++n) {
        const double t = static_cast<double>(n) / kRate;
        for (const auto& [hz, decay] : {std::pair{280.0, 8.0}, {415.0, 6.0}, {212.0, 9.0}}) {
            ringing[n] += 6000 * std::exp(-decay * t) * std::sin(2 * std::numbers::pi * hz * t);
        }
    }
    const Steadiness ringsDown = JudgeSteadiness(ringing, kRate, std::nullopt);
    EXPECT_FALSE(ringsDown.steady);
    EXPECT_FALSE(ringsDown.why.empty());

    // One clear partial dying away is a pitch, but no sustained note.
    const Steadiness dying = JudgeSteadiness(
        Tone(
            1.0, [](double) { return 523.25; }, [](double t) { return std::exp(-3 * t); }),
        kRate, std::nullopt);
    EXPECT_FALSE(dying.steady);
    EXPECT_EQ(dying.why.rfind("dies away by ", 0), 0u) << dying.why;
}

// A note whose pitch and level move only while the bow rises and falls: the steady part between
// them is steady, whatever the envelope's shares and the note's length.
TEST(NoteSteadiness, TheSteadyPartLiesBetweenTheBowsAttackAndRelease) {
    struct Case {
        float t1, t2, seconds;
    };
    for (const Case c : {Case{0.14F, 0.29F, 2.0F}, Case{0.05F, 0.05F, 1.0F}, Case{0.3F, 0.2F, 3.0F},
                         Case{0.14F, 0.29F, 0.8F}}) {
        SCOPED_TRACE(std::to_string(c.t1) + " " + std::to_string(c.t2) + " " +
                     std::to_string(c.seconds));
        GenerationSettings settings;
        settings.t1Ratio = c.t1;
        settings.t2Ratio = c.t2;
        settings.duration = c.seconds;
        // Where the bow's envelope is flat, as a share of the note.
        const double pace = 1.05 + 0.02 / c.seconds;
        const double attackEnds = c.t1 / pace;
        const double releaseStarts = (1 - c.t2) / pace;
        const auto hz = [&](double t) {
            const double p = t / c.seconds;
            return p < attackEnds ? 500.0 : p > releaseStarts ? 560.0 : 523.25;
        };
        const auto level = [&](double t) {
            const double p = t / c.seconds;
            return p < attackEnds ? 0.2 + p / attackEnds : p > releaseStarts ? 0.3 : 1.0;
        };
        const std::vector<double> note = Tone(c.seconds, hz, level);
        ExpectSteadyAt(MeasureNote(note, settings), 523.25, 0.2);
    }
    // Attack and release that leave little between them: the middle of the note.
    GenerationSettings overlapping;
    overlapping.t1Ratio = 0.65F;
    overlapping.t2Ratio = 0.65F;
    const std::vector<double> samples(1000);
    const auto middle = SteadyPart(samples, overlapping);
    EXPECT_EQ(middle.data(), samples.data() + 300);
    EXPECT_EQ(middle.size(), 300u);
}

}  // namespace
}  // namespace sordanel

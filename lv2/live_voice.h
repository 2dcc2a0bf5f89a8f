#pragma once

#include <cstdint>

#include "engine/autocorrection.h"
#include "engine/bowed_string.h"
#include "engine/generation_settings.h"
#include "engine/interpolation_kernel.h"
#include "engine/output_high_pass.h"
#include "engine/run_setup.h"
#include "engine/sine_table.h"
#include "engine/sound_box.h"
#include "engine/step_history.h"
#include "engine/vibrato.h"

namespace sordanel::lv2 {

// What a player may change while a note sounds; read at every bow refresh (every fourth
// output sample). Everything else a note takes when it starts.
struct LiveInputs {
    float bowPressingForce;  // before the note's velocity scales it
    float bowSpeed;
    float stringDamping;
    float frictionRatio;
    float attackSeconds;
    float releaseSeconds;
    bool vibratoOn;
    float vibratoSpeedHz;
    std::int32_t vibratoDepth;  // cents
    float bendRatio;            // pitch bend as a factor of the string's time step
};

// The bow force of a note struck with `velocityShare` (0 .. 1) of the full velocity: from the
// bottom of the force's range up to the set force.
float VelocityForce(float bowPressingForce, float velocityShare);

// One played note of the model: the engine's string, body and interpolation run sample by
// sample at the host's rate, the bow held by the key instead of a fixed duration. Everything
// it needs is sized here, so starting, playing and ending a note allocate nothing.
class LiveVoice {
public:
    // How the note's pitch is held: by the running loop, by a trial run's constant correction
    // (the loop holds it until the trial run's result arrives), or not at all.
    enum class Lock { RealTime, AwaitingTrial, Constant, Off };

    // Starts the note of `settings` (its note, tuning, quality, bow position and body) at the
    // host's `sampleRate`. velocityShare 0 .. 1 scales the bow force within its range.
    void Start(const NoteSettings& settings, float velocityShare, float sampleRate,
               const SineTable& sine);
    // The key came up: the release starts.
    void Release();
    void Stop() { active_ = false; }  // silent at once
    // Fades out over a few milliseconds and ends: a voice taken for another note.
    void FadeOut();
    // The trial run's correction arrived; it replaces the running loop from now on.
    void UseConstantCorrection(float correction);

    // Adds `frames` output samples at full scale 1 into `out`. Ends the voice once the bow has
    // left the string and the ringing has died away.
    void Render(const LiveInputs& inputs, float* out, std::uint32_t frames);

    bool active() const { return active_; }
    bool fading() const { return fadeLeft_ > 0; }
    bool released() const { return released_; }
    Lock lock() const { return lock_; }
    float freqCorrection() const { return autocorrection_.freqCorrection(); }
    const RunSetup& runSetup() const { return run_; }

private:
    void RefreshBow(const LiveInputs& inputs);
    void RunStringTo(std::uint64_t targetStep);
    float NextSample(const LiveInputs& inputs);

    const SineTable* sine_ = nullptr;
    const InterpolationKernel* kernel_ = nullptr;
    RunSetup run_{};
    std::uint32_t kernelTaps_ = 0;
    BowedString string_;
    SoundBox box_;
    StepHistory history_;
    Autocorrection autocorrection_;
    Vibrato vibrato_;
    OutputHighPass highPass_;
    double noteGain_ = 0;
    double sampleRate_ = 0;
    float velocityShare_ = 1;  // where the velocity puts the force within its range

    Lock lock_ = Lock::Off;
    bool active_ = false;
    bool released_ = false;
    bool lifted_ = false;
    std::uint64_t sampleIndex_ = 0;
    std::uint64_t releaseSample_ = 0;
    std::uint64_t stepCount_ = 0;
    std::uint32_t quietSamples_ = 0;
    std::uint32_t fadeLeft_ = 0;  // samples; 0 when not fading
    std::uint32_t fadeLength_ = 1;
    float vibratoTerm_ = 0;
    float bendRatio_ = 1;
    float bowVelocity_ = 0;
    float prevBowVelocity_ = 0;
};

}  // namespace sordanel::lv2

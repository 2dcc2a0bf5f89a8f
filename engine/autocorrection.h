#pragma once

#include "sine_table.h"

namespace sordanel {

// A phase-locked loop between the string's middle point and a reference oscillator at the
// target frequency. Its phase error, scaled by the loop gain, corrects the string's time step
// around a base correction that a trial run measured.
class Autocorrection {
public:
    void Setup(float stepFraction);  // constants and state for one run; no base correction
    // The loop's state back to rest, keeping the constants and the base correction.
    void Restart();
    // One measurement, every fourth string step. `x` is the middle point's displacement;
    // `referenceScale` is 1 + vibratoTerm where the reference follows the vibrato, else 1.
    void Update(float x, double referenceScale, const SineTable& sine);

    float freqCorrection() const { return freqCorrection_; }
    // The correction the loop works around: its output is base + gain x phase.
    void setBase(float base) { base_ = base; }
    void setGain(double gain) { gain_ = gain; }
    // Phase of the string's fundamental against the reference at the latest update, radians.
    float phase() const { return phase_; }

    float pole() const { return pole_; }
    float inputGain() const { return inputGain_; }
    float levelDecay() const { return levelDecay_; }
    float referenceStep() const { return referenceStep_; }

private:
    float pole_ = 0;
    float inputGain_ = 0;
    float levelDecay_ = 0;
    float referenceStep_ = 0;
    float meanFollow_ = 0;
    float base_ = 0;
    double gain_ = 0.06;
    float pllPhase_ = 0;
    float pllI_ = 0;
    float pllQ_ = 0;
    float pllLevel_ = 0;
    float mean_ = 0;
    float phase_ = 0;
    float freqCorrection_ = 0;
};

}  // namespace sordanel

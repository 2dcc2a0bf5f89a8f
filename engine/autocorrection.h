#pragma once

#include "engine/sine_table.h"

namespace sordanel {

// A phase-locked loop between the string's middle point and a reference oscillator at the
// target frequency. Its phase error, scaled by the loop gain, corrects the string's time step.
class Autocorrection {
public:
    void Setup(float stepFraction);  // constants and state for one run
    // One measurement, every fourth string step. `x` is the middle point's displacement;
    // `referenceScale` is 1 + vibratoTerm in real time (the loop follows the vibrato) and 1 in
    // the trial run.
    void Update(float x, double referenceScale, const SineTable& sine);

    float freqCorrection() const { return freqCorrection_; }
    void setFreqCorrection(float correction) { freqCorrection_ = correction; }

    float pole() const { return pole_; }
    float inputGain() const { return inputGain_; }
    float levelDecay() const { return levelDecay_; }
    float referenceStep() const { return referenceStep_; }

private:
    float pole_ = 0;
    float inputGain_ = 0;
    float levelDecay_ = 0;
    float referenceStep_ = 0;
    float pllPhase_ = 0;
    float pllI_ = 0;
    float pllQ_ = 0;
    float pllLevel_ = 0;
    float freqCorrection_ = 0;
};

}  // namespace sordanel
